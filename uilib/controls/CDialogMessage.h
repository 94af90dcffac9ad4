#pragma once

#include "uilib/controls/CDialog.h"

#include <memory>

class CWidgetText;

// The message box: an icon beside (or above, by the palette) a text, and room for one extra widget
// such as a line edit below them.
class CDialogMessage : public CDialog
{
    Q_OBJECT
public:
    explicit CDialogMessage(QWidget* parent = nullptr, bool deferStyle = false);
    ~CDialogMessage() override;

    void setText(const QString& text);
    CWidgetText* textLabel() const;
    // An empty name hides the icon.
    void setIcon(const QString& name);
    void setSpacing(int spacing);
    // Below the message. A line edit added without noDefaultLink enables the default button only
    // while it holds text.
    void addExtraWidget(QWidget* widget, bool noDefaultLink = false);

    void showModeless(CWindow::ShowStrategy placement = CWindow::CenteredOnParent) override;

private:
    struct Private;
    void measureText();
    void applyDefaultLink();

    std::unique_ptr<Private> d;
};

// Whether a message text needs wrapping inside words: some word of its visible text is longer than
// 100 characters.
bool hasOverlongWord(const QString& text);
