#include "uilib/controls/CPanel.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

CPanel::CPanel(int styleKind, QWidget* parent, bool deferStyle)
    : CWidgetBase(parent)
    , CPanelDraw(this)
    , CDrawable(styleKind)
    , m_animation(new CAnimationWidget(1, this))
{
    m_animation->setWidget(this);
    if (!deferStyle)
        applyStyle();
}

CPanel::CPanel(QWidget* parent, bool deferStyle)
    : CPanel(-1, parent, deferStyle)
{
}

CPanel::~CPanel() = default;

void CPanel::applyStyle()
{
    if (hasStyle())
        currentPalette()->stylePanel(this, styleKind());
}

void CPanel::paintEvent(QPaintEvent*)
{
    CPainterScope scope(this);
    CPanelDraw::paint(scope, *m_animation);
}

void CPanel::resizeEvent(QResizeEvent* event)
{
    CPanelDraw::resize(size());
    CWidgetBase::resizeEvent(event);
}
