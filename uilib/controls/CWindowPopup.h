#pragma once

#include "uilib/controls/CWindow.h"

#include <memory>

// A window shown as a Qt popup: a press outside closes it, yet registered widgets outside it (the
// button that opened it) get their own clicks, presses another widget accepts keep reaching it, and
// a button still held when it hides is released.
class CWindowPopup : public CWindow
{
    Q_OBJECT
public:
    CWindowPopup(int styleKind, int options, QWidget* parent = nullptr,
                 CWindow::ShadowType shadowType = CWindow::Default, bool deferStyle = false);
    ~CWindowPopup() override;

    void addPassThroughWidget(QWidget* widget);
    void removePassThroughWidget(QWidget* widget);
    bool isPassThroughWidget(const QWidget* widget) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Private;
    // The registered widget that is the widget or holds it.
    QWidget* passThroughAt(QWidget* widget) const;

    std::unique_ptr<Private> d;
};

// Closes every open popup, the top one first.
void closeAllPopups();
// The widget under the cursor as the application service sees it.
QWidget* widgetUnderCursor();
