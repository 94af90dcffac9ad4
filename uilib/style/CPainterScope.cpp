#include "uilib/style/CPainterScope.h"

#include "uilib/style/DrawPrimitives.h"

#include <QPaintDevice>
#include <QStyleOption>

#include <cmath>

CPainterScope::CPainterScope(QPaintDevice* device)
{
    if (device && m_owned.begin(device))
        open(QRectF(0, 0, device->width(), device->height()));
}

CPainterScope::CPainterScope(QPainter* painter, const QStyleOption* option)
    : m_borrowed(painter)
{
    if (painter)
        open(option ? QRectF(option->rect) : QRectF());
}

CPainterScope::~CPainterScope()
{
    if (m_saved)
        painter()->restore();
}

void CPainterScope::open(const QRectF& rect)
{
    QPainter* p = painter();
    m_area = rect;
    if (!p->device())
        return;
    p->save();
    m_saved = true;
    m_scale = p->device()->devicePixelRatioF();
    if (isWholeRatio(m_scale))
        return;

    const QTransform transform = p->deviceTransform();
    const double dx = transform.dx();
    const double dy = transform.dy();
    p->translate((std::round(dx) - dx) / m_scale, (std::round(dy) - dy) / m_scale);
    const double tx = std::round(dx);
    const double ty = std::round(dy);
    const auto snap = [this](double edge, double translation) {
        const double device = edge * m_scale + translation;
        return edge + (std::round(device) - device) / m_scale;
    };
    m_area.setCoords(snap(rect.left(), tx), snap(rect.top(), ty), snap(rect.right(), tx),
                     snap(rect.bottom(), ty));
}
