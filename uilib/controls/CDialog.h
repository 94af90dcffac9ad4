#pragma once

#include "uilib/controls/CWindow.h"

#include <memory>

class CButton;
class CPanel;
class QBoxLayout;

// A window-modal dialog: a content panel above a row of buttons, each under an index the caller
// chooses. exec() returns the index of the button that ended it; Escape and closing give 0, Return
// the default button's index.
class CDialog : public CWindow
{
    Q_OBJECT
public:
    CDialog(int styleKind, int options, QWidget* parent = nullptr, CWindow::ShadowType shadowType = CWindow::Default,
            bool deferStyle = false);
    explicit CDialog(QWidget* parent = nullptr, CWindow::ShadowType shadowType = CWindow::Default,
                     bool deferStyle = false);
    ~CDialog() override;

    // Shows the dialog and waits in a nested loop; 0 at once when it already waits, and 0 when the
    // dialog is destroyed meanwhile.
    virtual int exec(CWindow::ShowStrategy placement = CWindow::CenteredOnParent);
    // Over a hidden or minimised parent window it waits for that window to show.
    virtual void showModeless(CWindow::ShowStrategy placement = CWindow::CenteredOnParent);
    // Ends the dialog with that result.
    virtual void done(int index);

    // Buttons at the front sit at the left edge, the others at the right. The first default stays.
    bool addButton(int index, CButton* button, bool isDefault = false, bool atFront = false);
    CButton* button(int index) const;
    CButton* defaultButton() const;
    CPanel* contentPanel() const;
    CPanel* buttonPanel() const;
    QBoxLayout* buttonLayout() const;
    int result() const;

    void setVisible(bool visible) override;

protected:
    bool event(QEvent* event) override;

private:
    struct Private;
    bool handleKey(QKeyEvent* event);
    void endLoop();
    void dropPendingShow();

    std::unique_ptr<Private> d;
};
