#include "uilib/controls/CWidgetTextIcon.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QEvent>

CWidgetTextIcon::CWidgetTextIcon(int styleKind, const QString& iconName, QWidget* parent, bool deferStyle)
    : CWidgetBase(parent)
    , CButtonDraw(this)
    , CDrawable(styleKind)
    , m_animation(new CAnimationWidget(1, this))
{
    setUpButtonContent(*this, this, iconName);
    m_animation->setWidget(this);
    if (!deferStyle)
        applyStyle();
}

CWidgetTextIcon::CWidgetTextIcon(int styleKind, QWidget* parent, bool deferStyle)
    : CWidgetTextIcon(styleKind, QString(), parent, deferStyle)
{
}

CWidgetTextIcon::~CWidgetTextIcon() = default;

void CWidgetTextIcon::applyStyle()
{
    if (hasStyle())
        currentPalette()->styleButton(this, styleKind(), buttonIconPath(*this));
}

QSize CWidgetTextIcon::sizeHint() const
{
    if (m_sizes.hint == QSize(-1, -1))
        m_sizes.hint = CButtonDraw::sizeHint();
    return m_sizes.hint;
}

QSize CWidgetTextIcon::minimumSizeHint() const
{
    if (m_sizes.minimum == QSize(-1, -1))
        m_sizes.minimum = CButtonDraw::minimumSizeHint();
    return m_sizes.minimum;
}

void CWidgetTextIcon::geometryChanged()
{
    m_sizes.reset();
    updateGeometry();
}

bool CWidgetTextIcon::event(QEvent* event)
{
    if (event->type() == QEvent::ApplicationFontChange || event->type() == QEvent::FontChange)
        invalidateTextLayout();
    return CWidgetBase::event(event);
}

void CWidgetTextIcon::paintEvent(QPaintEvent*)
{
    CPainterScope scope(this);
    drawContent(scope);
}

void CWidgetTextIcon::resizeEvent(QResizeEvent* event)
{
    CPanelDraw::resize(size());
    CWidgetBase::resizeEvent(event);
}

void CWidgetTextIcon::drawContent(CPainterScope& scope)
{
    CPanelDraw::paint(scope, *m_animation);
    CButtonDraw::paint(scope, *m_animation);
}
