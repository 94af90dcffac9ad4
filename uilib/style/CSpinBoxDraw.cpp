#include "uilib/style/CSpinBoxDraw.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CProxyStyle.h"
#include "uilib/style/LibUtils.h"

#include <QAbstractSpinBox>
#include <QStyleOptionSpinBox>

CDrawArrow::CDrawArrow(CSpinBoxDraw* spin, QWidget* spinWidget)
    : CButtonDraw(nullptr), m_spin(spin), m_animation(new CAnimationWidget(0, nullptr))
{
    m_animation->setWidget(spinWidget);
}

CDrawArrow::~CDrawArrow() = default;

void CDrawArrow::updateOwner()
{
    if (QWidget* spin = m_spin->widget())
        spin->update();
}

CSpinBoxDraw::CSpinBoxDraw(QWidget* owner)
    : CPanelDraw(owner), m_up(new CDrawArrow(this, owner)), m_down(new CDrawArrow(this, owner))
{
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(owner)) {
        spin->setFrame(false);
        m_style = new SpinBoxProxyStyle(this, spin);
        spin->setStyle(m_style);
    }
}

CSpinBoxDraw::~CSpinBoxDraw()
{
    if (m_style)
        m_style->forgetSpin();
    delete m_up;
    delete m_down;
}

void CSpinBoxDraw::paintButtons(CPainterScope& scope, const QStyleOptionSpinBox* option)
{
    if (!widget() || !option || option->buttonSymbols == QAbstractSpinBox::NoButtons)
        return;
    const bool enabled = option->state & QStyle::State_Enabled;
    paintArrow(scope, m_up, option, QStyle::SC_SpinBoxUp,
               enabled && (option->stepEnabled & QAbstractSpinBox::StepUpEnabled));
    paintArrow(scope, m_down, option, QStyle::SC_SpinBoxDown,
               enabled && (option->stepEnabled & QAbstractSpinBox::StepDownEnabled));
}

void CSpinBoxDraw::paintArrow(CPainterScope& scope, CDrawArrow* arrow, const QStyleOptionSpinBox* option,
                              int subControl, bool enabled)
{
    const auto control = QStyle::SubControl(subControl);
    if (!(option->subControls & control))
        return;
    QWidget* spin = widget();
    const QRect rect = spin->style()->subControlRect(QStyle::CC_SpinBox, option, control, spin);
    if (rect.isEmpty())
        return;
    const bool active = (option->activeSubControls & control) && enabled;
    const bool animated = spin->isVisible();
    CAnimationWidget* state = arrow->animation();
    arrow->setRect(rect);
    state->setHovered(active && (option->state & QStyle::State_MouseOver), animated);
    state->setPressed(active && (option->state & QStyle::State_Sunken), animated);
    state->setDisabled(!enabled, animated);
    arrow->CPanelDraw::paint(scope, *state);
    arrow->paint(scope, *state);
}

SpinBoxProxyStyle::SpinBoxProxyStyle(CSpinBoxDraw* spin, QObject* parent)
    : QProxyStyle(makeLibraryStyle()), m_spin(spin)
{
    setParent(parent);
}

SpinBoxProxyStyle::~SpinBoxProxyStyle() = default;

int SpinBoxProxyStyle::arrowColumn(const QStyleOptionSpinBox* option) const
{
    if (option->buttonSymbols == QAbstractSpinBox::NoButtons || !m_spin->upArrow() || !m_spin->downArrow())
        return 0;
    return m_spin->upArrow()->sizeHint().width();
}

QSize SpinBoxProxyStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                          const QWidget* widget) const
{
    const auto* spin = qstyleoption_cast<const QStyleOptionSpinBox*>(option);
    if (type != CT_SpinBox || !spin || !m_spin)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    return size + QSize(arrowColumn(spin), 0) + m_spin->sizeHint();
}

QRect SpinBoxProxyStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                        SubControl subControl, const QWidget* widget) const
{
    const auto* spin = qstyleoption_cast<const QStyleOptionSpinBox*>(option);
    const bool buttons = subControl == SC_SpinBoxUp || subControl == SC_SpinBoxDown;
    if (control != CC_SpinBox || !spin || !m_spin || !(buttons || subControl == SC_SpinBoxEditField))
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    const QRect frame = spin->rect.marginsRemoved(m_spin->margins() + m_spin->borderWidths());
    const int column = arrowColumn(spin);
    if (subControl == SC_SpinBoxEditField)
        return frame.adjusted(0, 0, -column, 0);
    if (column == 0)
        return QRect();
    const QRect area(frame.right() - column + 1, frame.top(), column, frame.height());
    const int centre = area.center().y();
    const bool up = subControl == SC_SpinBoxUp;
    QRect half = area;
    if (up)
        half.setBottom(centre);
    else
        half.setTop(centre + 1);
    const CDrawArrow* arrow = up ? m_spin->upArrow() : m_spin->downArrow();
    return alignRectInArea(arrow->sizeHint(), Qt::AlignRight | (up ? Qt::AlignBottom : Qt::AlignTop), half, false);
}

int SpinBoxProxyStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                 QStyleHintReturn* returnData) const
{
    if (hint == SH_SpinControls_DisableOnBounds)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
