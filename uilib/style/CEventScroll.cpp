#include "uilib/style/CEventScroll.h"

#include "uilib/style/CEventChildren.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>

CEventScroll::CEventScroll(QAbstractScrollArea* area)
    : QObject(area)
    , m_area(area)
{
    const QList<QWidget*> descendants = area->findChildren<QWidget*>();
    for (QWidget* widget : descendants)
        widget->setMouseTracking(true);
    auto* children = new CEventChildren(CEventChildren::WatchAdded | CEventChildren::Recursive, area, area);
    connect(children, &CEventChildren::childWidgetAdded, this, [](QWidget* child) { child->setMouseTracking(true); });
    area->viewport()->installEventFilter(this);
    connect(area->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { recheck(); });
    connect(area->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { recheck(); });
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, [this] { recheck(); });
}

QWidget* CEventScroll::contentWidget() const
{
    auto* scrollArea = qobject_cast<QScrollArea*>(m_area.data());
    return scrollArea ? scrollArea->widget() : nullptr;
}

QWidget* CEventScroll::hoveredAt(const QPoint& globalPos) const
{
    if (!m_area)
        return nullptr;
    QWidget* found = m_area->childAt(m_area->mapFromGlobal(globalPos));
    if (found == m_area->viewport() || (found && found == contentWidget()))
        return nullptr;
    return found;
}

QList<QWidget*> CEventScroll::chainOf(QWidget* widget) const
{
    QList<QWidget*> chain;
    const QWidget* content = contentWidget();
    for (; widget && widget != content; widget = widget->parentWidget())
        chain.append(widget);
    return chain;
}

bool CEventScroll::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_area || watched != m_area->viewport())
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
        m_hovered = hoveredAt(static_cast<QMouseEvent*>(event)->globalPos());
        break;
    case QEvent::Leave:
        if (m_hovered && m_hovered != m_area->viewport()) {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(m_hovered, &leave);
        }
        m_hovered = nullptr;
        break;
    case QEvent::LayoutRequest:
        m_timer.start();
        break;
    default:
        break;
    }
    return false;
}

void CEventScroll::recheck()
{
    const QPoint cursorPos = QCursor::pos();
    QWidget* old = m_hovered;
    m_hovered = hoveredAt(cursorPos);
    if (m_hovered == old)
        return;
    QList<QWidget*> oldChain = chainOf(old);
    QList<QWidget*> newChain = chainOf(m_hovered);
    while (!oldChain.isEmpty() && !newChain.isEmpty() && oldChain.last() == newChain.last()) {
        oldChain.removeLast();
        newChain.removeLast();
    }
    // Receivers may delete widgets of either chain.
    QList<QPointer<QWidget>> leaving(oldChain.crbegin(), oldChain.crend());
    QList<QPointer<QWidget>> entering(newChain.crbegin(), newChain.crend());
    for (const QPointer<QWidget>& widget : qAsConst(leaving)) {
        if (!widget)
            continue;
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(widget, &leave);
    }
    for (const QPointer<QWidget>& widget : qAsConst(entering)) {
        if (!widget)
            continue;
        QEnterEvent enter(widget->mapFromGlobal(cursorPos), widget->window()->mapFromGlobal(cursorPos), cursorPos);
        QCoreApplication::sendEvent(widget, &enter);
    }
}
