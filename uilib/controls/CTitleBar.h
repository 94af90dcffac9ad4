#pragma once

#include "uilib/controls/CButton.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/controls/CWidgetText.h"

#include <QHBoxLayout>
#include <QPointer>

// The caption row of a frameless window: icon, title centred over the whole row, two areas for
// the window's own widgets, and the minimise, maximise, restore and close buttons.
class CTitleBar : public CPanel
{
    Q_OBJECT
public:
    enum Button { Minimise = 1, Maximise = 2, Close = 4 };

    explicit CTitleBar(QWidget* window);
    ~CTitleBar() override;

    int buttons() const { return m_buttons; }
    void setButtons(int bits);

    CWidgetIcon* iconWidget() const { return m_icon; }
    CWidgetText* titleLabel() const { return m_title; }
    QHBoxLayout* extraLayout() const { return m_rightAreaLayout; }
    QWidget* leftArea() const { return m_leftArea; }
    QHBoxLayout* leftAreaLayout() const { return m_leftAreaLayout; }

    CButton* minimiseButton() const { return m_minimiseButton; }
    CButton* maximiseButton() const { return m_maximiseButton; }
    CButton* restoreButton() const { return m_restoreButton; }
    CButton* closeButton() const { return m_closeButton; }
    QWidget* spacerBefore() const { return m_spacerBefore; }
    QWidget* spacerAfter() const { return m_spacerAfter; }

    void updateTexts();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    CButton* addButton(int styleKind, int iconKind);
    CWidgetBase* addArea(QPointer<QHBoxLayout>& areaLayout);
    void updateButtons();
    void centreTitle();
    void minimiseWindow();

    int m_buttons = Minimise | Maximise | Close;
    QPointer<QWidget> m_window;
    QPointer<QHBoxLayout> m_layout;
    QPointer<CWidgetIcon> m_icon;
    QPointer<CWidgetText> m_title;
    QPointer<CWidgetBase> m_leftArea;
    QPointer<QHBoxLayout> m_leftAreaLayout;
    QPointer<CWidgetBase> m_rightArea;
    QPointer<QHBoxLayout> m_rightAreaLayout;
    QPointer<CWidgetBase> m_spacerBefore;
    QPointer<CWidgetBase> m_spacerAfter;
    QPointer<CButton> m_minimiseButton;
    QPointer<CButton> m_restoreButton;
    QPointer<CButton> m_maximiseButton;
    QPointer<CButton> m_closeButton;
};
