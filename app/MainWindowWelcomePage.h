#pragma once

#include "app/MainWindow.h"
#include "pages/DropIndicator.h"

#include <QStringList>

class CAnimationProgress;
class CButton;

// The empty state: one drop area for photos and folders of photos with a centred add button.
class MainWindow::WelcomePage : public DropIndicator
{
public:
    explicit WelcomePage(MainWindow* window);
    ~WelcomePage() override;

    CButton* addButton() const { return m_addButton; }
    CAnimationProgress* highlightAnimation() const { return m_highlight; }
    // The image files of the drag in progress; empty when it was not accepted.
    QStringList pendingFiles() const { return m_pendingFiles; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    MainWindow* m_window;
    CButton* m_addButton = nullptr;
    QStringList m_pendingFiles;
    CAnimationProgress* m_highlight = nullptr;
};
