#pragma once

#include "uilib/style/CButtonDraw.h"
#include "uilib/style/CPanelDraw.h"

#include <QPointer>
#include <QProxyStyle>

#include <memory>

class CAnimationWidget;
class CSpinBoxDraw;
class QStyleOptionSpinBox;
class SpinBoxProxyStyle;

// One arrow button of a spin box: a button drawing without a widget of its own, with its own
// hover, press and disabled animation on the spin box.
class CDrawArrow : public CButtonDraw
{
public:
    CDrawArrow(CSpinBoxDraw* spin, QWidget* spinWidget);
    ~CDrawArrow() override;

    void geometryChanged() override {}
    // Repaints the spin box.
    void updateOwner() override;
    CAnimationWidget* animation() const { return m_animation.get(); }

private:
    CSpinBoxDraw* m_spin;
    std::unique_ptr<CAnimationWidget> m_animation;
};

// The framed box of a spin box with its two arrow buttons, drawn by the library. On a
// QAbstractSpinBox it turns the frame off and installs the style that places the arrows.
class CSpinBoxDraw : public CPanelDraw
{
public:
    explicit CSpinBoxDraw(QWidget* owner);
    ~CSpinBoxDraw() override;

    CDrawArrow* upArrow() const { return m_up; }
    CDrawArrow* downArrow() const { return m_down; }
    // Paints the arrow buttons over the panel, each in its own state.
    void paintButtons(CPainterScope& scope, const QStyleOptionSpinBox* option);

private:
    void paintArrow(CPainterScope& scope, CDrawArrow* arrow, const QStyleOptionSpinBox* option, int subControl,
                    bool enabled);

    CDrawArrow* m_up;
    CDrawArrow* m_down;
    QPointer<SpinBoxProxyStyle> m_style;
};

// Makes room for the arrow column of a CSpinBoxDraw and places its two buttons. Its base is a
// style of its own, so the application's style is never adopted.
class SpinBoxProxyStyle : public QProxyStyle
{
public:
    SpinBoxProxyStyle(CSpinBoxDraw* spin, QObject* parent);
    ~SpinBoxProxyStyle() override;
    // The drawing is going: from now on the style answers as its base.
    void forgetSpin() { m_spin = nullptr; }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl subControl,
                         const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

private:
    int arrowColumn(const QStyleOptionSpinBox* option) const;

    CSpinBoxDraw* m_spin;
};
