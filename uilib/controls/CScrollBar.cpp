#include "uilib/controls/CScrollBar.h"

#include "uilib/style/CMenuDraw.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QAbstractScrollArea>

CScrollBar::CScrollBar(int styleKind, QAbstractScrollArea* area, Qt::Orientation orientation, int hideMode,
                       QWidget* parent, bool deferStyle)
    : QScrollBar(orientation, parent)
    , CDrawable(styleKind)
    , m_hideMode(hideMode)
{
    setObjectName(orientation == Qt::Horizontal ? QStringLiteral("qt_horizontal_scroll_bar")
                                                : QStringLiteral("qt_vertical_scroll_bar"));
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(false);
    connect(this, &QAbstractSlider::rangeChanged, this, &CScrollBar::onRangeChanged);
    new CMenuDraw(this, 41);
    if (!deferStyle)
        applyStyle();
    attachTo(area);
}

CScrollBar::~CScrollBar() = default;

void CScrollBar::applyStyle()
{
    if (hasStyle())
        currentPalette()->styleScrollBar(this, styleKind());
}

bool CScrollBar::isScrollAvailable() const
{
    return minimum() != maximum();
}

void CScrollBar::attachTo(QAbstractScrollArea* area)
{
    if (!area)
        return;
    const bool horizontal = orientation() == Qt::Horizontal;
    m_source = horizontal ? area->horizontalScrollBar() : area->verticalScrollBar();
    if (!m_source)
        return;
    copyFromSource();
    if (horizontal)
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    else
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QAbstractSlider::valueChanged, m_source.data(), &QAbstractSlider::setValue);
    connect(m_source.data(), &QAbstractSlider::rangeChanged, this, &CScrollBar::copyFromSource);
    connect(m_source.data(), &QAbstractSlider::valueChanged, this, &CScrollBar::copyFromSource);
}

void CScrollBar::copyFromSource()
{
    if (!m_source)
        return;
    setOrientation(m_source->orientation());
    setRange(m_source->minimum(), m_source->maximum());
    setSingleStep(m_source->singleStep());
    setPageStep(m_source->pageStep());
    setValue(m_source->value());
}

void CScrollBar::onRangeChanged(int min, int max)
{
    const bool available = min != max;
    if (m_hideMode == 1)
        setVisible(available);
    emit scrollAvailableChanged(available);
}

void CScrollBar::paintEvent(QPaintEvent* event)
{
    if (m_hideMode == 2 && !isScrollAvailable())
        return;
    QScrollBar::paintEvent(event);
}

void CScrollBar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    copyFromSource();
}
