#include "pages/ElasticSpacer.h"

#include <algorithm>

namespace {

QSizePolicy::Policy policyAlong(Qt::Orientation orientation, Qt::Orientation axis)
{
    return orientation == axis ? QSizePolicy::Maximum : QSizePolicy::Fixed;
}

} // namespace

ElasticSpacer::SlaveSpacer::SlaveSpacer(const QSize& size, QLayout* layout)
    : QSpacerItem(size.width(), size.height(), QSizePolicy::Fixed, QSizePolicy::Fixed)
    , m_layout(layout)
{
}

ElasticSpacer::SlaveSpacer::~SlaveSpacer() = default;

ElasticSpacer::ElasticSpacer(int minimum, int size, Qt::Orientation orientation)
    : QSpacerItem(orientation == Qt::Horizontal ? size : 0, orientation == Qt::Vertical ? size : 0,
                  policyAlong(orientation, Qt::Horizontal), policyAlong(orientation, Qt::Vertical))
    , m_minimum(minimum)
    , m_orientation(orientation)
{
}

ElasticSpacer::~ElasticSpacer() = default;

QSize ElasticSpacer::minimumSize() const
{
    return alongOrientation(QSize(m_minimum, m_minimum));
}

void ElasticSpacer::setGeometry(const QRect& rect)
{
    QSpacerItem::setGeometry(rect);
    const QSize size = alongOrientation(rect.size());
    for (const QPointer<SlaveSpacer>& slave : m_slaves) {
        if (!slave)
            continue;
        slave->changeSize(size.width(), size.height(), QSizePolicy::Fixed, QSizePolicy::Fixed);
        if (QLayout* layout = slave->hostLayout())
            layout->invalidate();
    }
}

QSpacerItem* ElasticSpacer::createSlave(QLayout* layout)
{
    auto* slave = new SlaveSpacer(alongOrientation(geometry().size()), layout);
    m_slaves.erase(std::remove_if(m_slaves.begin(), m_slaves.end(),
                                 [](const QPointer<SlaveSpacer>& dead) { return dead.isNull(); }),
                  m_slaves.end());
    m_slaves.emplace_back(slave);
    return slave;
}

// The extent along the orientation, 0 across it.
QSize ElasticSpacer::alongOrientation(const QSize& size) const
{
    return m_orientation == Qt::Horizontal ? QSize(size.width(), 0) : QSize(0, size.height());
}
