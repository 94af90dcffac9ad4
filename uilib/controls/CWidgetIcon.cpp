#include "uilib/controls/CWidgetIcon.h"

#include "uilib/style/CIcon.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/CPainterScope.h"

#include <QPainterPath>
#include <QStyle>

namespace {
constexpr double DisabledOpacity = 0.7;
}

CWidgetIcon::CWidgetIcon(QWidget* parent)
    : CWidgetBase(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

CWidgetIcon::CWidgetIcon(const QString& iconName, QWidget* parent)
    : CWidgetIcon(iconName.toUtf8().constData(), parent)
{
}

CWidgetIcon::CWidgetIcon(const char* iconName, QWidget* parent)
    : CWidgetIcon(parent)
{
    setIconName(iconName);
}

CWidgetIcon::~CWidgetIcon() = default;

void CWidgetIcon::setIconName(const QString& name)
{
    setIconName(name.toUtf8().constData());
}

void CWidgetIcon::setIconName(const char* name)
{
    m_icon = CIconRepo::instance()->iconFromUtf8(name);
    updateGeometry();
    update();
}

void CWidgetIcon::setIconSize(const QSize& size)
{
    if (m_iconSize == size)
        return;
    m_iconSize = size;
    updateGeometry();
    update();
}

void CWidgetIcon::setIconColor(const QColor& color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

void CWidgetIcon::setAlignment(Qt::Alignment alignment)
{
    if (m_alignment == alignment)
        return;
    m_alignment = alignment;
    update();
}

void CWidgetIcon::setCornerRadius(int radius)
{
    m_cornerRadius = radius;
    update();
}

QSize CWidgetIcon::shownIconSize() const
{
    if (m_iconSize.isValid())
        return m_iconSize;
    return m_icon ? m_icon->defaultSize() : QSize(-1, -1);
}

QSize CWidgetIcon::minimumSizeHint() const
{
    return QRect(QPoint(), shownIconSize()).marginsAdded(contentsMargins()).size();
}

QSize CWidgetIcon::sizeHint() const
{
    return minimumSizeHint();
}

void CWidgetIcon::paintEvent(QPaintEvent*)
{
    CPainterScope scope(this);
    if (!m_icon || !m_icon->isValid())
        return;
    QPainter* painter = scope.painter();
    if (!isEnabled())
        painter->setOpacity(DisabledOpacity);
    const QRect area = contentsRect();
    const QSize size = shownIconSize();
    const bool clipped = m_cornerRadius != 0;
    if (clipped) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        QPainterPath clip;
        clip.addRoundedRect(QStyle::alignedRect(layoutDirection(), m_alignment, size, area), m_cornerRadius,
                            m_cornerRadius);
        painter->setClipPath(clip);
    }
    m_icon->paintAligned(painter, area, m_alignment, size, m_color, CIcon::Normal);
    if (clipped)
        painter->restore();
}
