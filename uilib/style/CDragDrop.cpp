#include "uilib/style/CDragDrop.h"

#include "uilib/controls/CScrollArea.h"
#include "uilib/style/CCustomLayout.h"
#include "uilib/style/GlobLayout.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDragMoveEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPointer>
#include <QSet>

#include <optional>

namespace {

enum State { Idle, PickedUp, External };

// Spacings along the rows of a box or flow layout; a point in a gap belongs to its neighbours.
QSize rowSpacings(QLayout* layout)
{
    if (auto* flow = qobject_cast<CCustomLayout*>(layout))
        return QSize(qMax(0, flow->horizontalSpacing()), qMax(0, flow->verticalSpacing()));
    auto* box = qobject_cast<QBoxLayout*>(layout);
    if (!box)
        return QSize();
    const int spacing = qMax(0, box->spacing());
    const bool horizontal = box->direction() == QBoxLayout::LeftToRight || box->direction() == QBoxLayout::RightToLeft;
    return horizontal ? QSize(spacing, 0) : QSize(0, spacing);
}

bool reachesDragDistance(const QPoint& offset)
{
    return offset.manhattanLength() >= QApplication::startDragDistance();
}

} // namespace

class CDragDrop::Private : public QObject
{
public:
    // The place under a point of the container.
    struct Location
    {
        QPoint point;
        bool inside = false;
        bool onSpacer = false;
        bool onIndicator = false;
        QWidget* widget = nullptr;
        int index = -1;
        QPoint offset;
    };

    explicit Private(CDragDrop* owner)
        : QObject(owner)
        , owner(owner)
    {
    }

    bool eventFilter(QObject* watchedObject, QEvent* event) override;

    Location locate(const QPoint& point) const;
    bool updateIndicator();
    int targetOnRow(int current) const;
    void placeIndicator(int position);
    void removeIndicator();
    void emitIndicatorGeometry();
    bool pickUp(const QPoint& point);
    void stop();
    void updateAcceptDrops();
    void watch(QObject* object);
    void unwatchAll();

    bool trackChildren(QEvent* event);
    bool containerEvent(QEvent* event);
    bool childEvent(QWidget* child, QEvent* event);
    bool containerMouseMove(QMouseEvent* event);
    bool containerMouseRelease(QMouseEvent* event);
    bool dragEnter(QDragEnterEvent* event);
    bool dragMove(QDragMoveEvent* event);
    bool drop(QDropEvent* event);
    bool cancelKey(QKeyEvent* event);

    CDragDrop* owner;
    QPointer<QLayout> layout;
    QPointer<QWidget> container;
    QSet<QObject*> watched;
    Location location;
    bool localMoveEnabled = false;
    bool externalDropEnabled = false;
    int state = Idle;
    std::optional<QPoint> pressPos;
    bool dragging = false;
    QPointer<QWidget> draggedWidget;
    int startIndex = -1;
    bool dropAllowed = false;
    MimeDataFilter mimeDataFilter;
    QPointer<QWidget> dropIndicator;
    // The indicator's own size limits, given back for external drops.
    QSize indicatorMinimum;
    QSize indicatorMaximum;
};

CDragDrop::CDragDrop(QObject* parent)
    : QObject(parent)
    , d(new Private(this))
{
}

CDragDrop::~CDragDrop() = default;

void CDragDrop::setLayout(QLayout* layout)
{
    if (layout == d->layout)
        return;
    d->stop();
    d->unwatchAll();
    d->layout = layout;
    d->container = layout ? layout->parentWidget() : nullptr;
    if (!d->container) {
        if (d->dropIndicator)
            d->dropIndicator->setParent(nullptr);
        return;
    }
    d->container->installEventFilter(d);
    d->updateAcceptDrops();
    const auto children = d->container->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* child : children)
        d->watch(child);
    if (d->dropIndicator)
        d->dropIndicator->setParent(d->container);
}

QLayout* CDragDrop::layout() const
{
    return d->layout;
}

void CDragDrop::setLocalMoveEnabled(bool enabled)
{
    if (enabled != d->localMoveEnabled) {
        d->localMoveEnabled = enabled;
        emit localMoveEnabledChanged(enabled);
    }
    d->updateAcceptDrops();
}

bool CDragDrop::isLocalMoveEnabled() const
{
    return d->localMoveEnabled;
}

void CDragDrop::setExternalDropEnabled(bool enabled)
{
    if (enabled != d->externalDropEnabled) {
        d->externalDropEnabled = enabled;
        emit externalDropEnabledChanged(enabled);
    }
    d->updateAcceptDrops();
}

bool CDragDrop::isExternalDropEnabled() const
{
    return d->externalDropEnabled;
}

void CDragDrop::setMimeDataFilter(const MimeDataFilter& filter)
{
    d->mimeDataFilter = filter;
}

void CDragDrop::setDropIndicator(QWidget* indicator)
{
    if (indicator == d->dropIndicator)
        return;
    d->stop();
    d->dropIndicator = indicator;
    if (!indicator)
        return;
    indicator->hide();
    d->indicatorMinimum = indicator->minimumSize();
    d->indicatorMaximum = indicator->maximumSize();
    if (d->container)
        indicator->setParent(d->container);
}

QWidget* CDragDrop::dropIndicator() const
{
    return d->dropIndicator;
}

bool CDragDrop::isDropAllowed() const
{
    return d->dropAllowed;
}

CDragDrop::Private::Location CDragDrop::Private::locate(const QPoint& point) const
{
    Location found;
    // An invalidated layout has no geometry until it runs again.
    layout->activate();
    QRect area = layout->geometry().marginsRemoved(layout->contentsMargins());
    area.setWidth(qMax(1, area.width()));
    area.setHeight(qMax(1, area.height()));
    found.point = point;
    if (container->rect().contains(point) && !area.contains(point)) {
        found.point.setX(qBound(area.left(), point.x(), area.left() + area.width() - 1));
        found.point.setY(qBound(area.top(), point.y(), area.top() + area.height() - 1));
    }
    if (!area.contains(found.point) || !container->visibleRegion().contains(point))
        return found;
    found.inside = true;
    const QSize spacing = rowSpacings(layout);
    const int h = spacing.width();
    const int v = spacing.height();
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (!item->geometry().adjusted(-h / 2, -v / 2, h - h / 2, v - v / 2).contains(found.point))
            continue;
        QWidget* widget = item->widget();
        if (!widget) {
            found.onSpacer = true;
        } else if (widget == dropIndicator) {
            found.onIndicator = true;
        } else {
            found.widget = widget;
            found.index = i;
            found.offset = found.point - widget->pos();
        }
        break;
    }
    return found;
}

bool CDragDrop::Private::updateIndicator()
{
    bool allowed = true;
    if (!location.inside) {
        placeIndicator(-1);
        allowed = false;
    } else if (location.onIndicator) {
        allowed = true;
    } else if (!location.widget || location.index == -1) {
        allowed = !location.onSpacer;
        if (allowed)
            placeIndicator(0);
    } else {
        const int current = layout->indexOf(dropIndicator);
        const int limit = current == -1 ? layout->count() : layout->count() - 1;
        const int target = qMin(targetOnRow(current), limit);
        placeIndicator(target < 0 ? -1 : target);
        location = locate(location.point);
    }
    if (allowed != dropAllowed) {
        dropAllowed = allowed;
        emit owner->dropAllowedChanged(allowed);
    }
    return allowed;
}

// A row taller than the indicator takes it after itself when pointed at below its middle.
// With the indicator already in the layout, a move across a row shifts it by one place.
int CDragDrop::Private::targetOnRow(int current) const
{
    const int i = location.index;
    const int rowHeight = location.widget->height();
    if (rowHeight <= dropIndicator->height())
        return i;
    const bool lowerHalf = location.offset.y() > rowHeight / 2;
    if (current == -1)
        return lowerHalf ? i + 1 : i;
    if (lowerHalf && i <= current)
        return i + 1;
    if (!lowerHalf && current <= i)
        return i - 1;
    return i;
}

void CDragDrop::Private::placeIndicator(int position)
{
    const bool localMove = state == PickedUp && draggedWidget;
    if (position < 0) {
        // The indicator leaves first, so the row comes back exactly at its place.
        removeIndicator();
        if (localMove && layout->indexOf(draggedWidget) < 0) {
            insertLayoutWidget(layout, startIndex, draggedWidget);
            draggedWidget->show();
        }
        return;
    }
    if (position == layout->indexOf(dropIndicator))
        return;
    layout->removeWidget(dropIndicator);
    if (localMove && !draggedWidget->isHidden()) {
        layout->removeWidget(draggedWidget);
        draggedWidget->hide();
    }
    insertLayoutWidget(layout, position, dropIndicator);
    if (dropIndicator->isHidden()) {
        dropIndicator->show();
        emit owner->dropIndicatorVisibilityChanged(true);
    }
    emitIndicatorGeometry();
}

void CDragDrop::Private::removeIndicator()
{
    layout->removeWidget(dropIndicator);
    if (!dropIndicator->isHidden()) {
        dropIndicator->hide();
        emit owner->dropIndicatorVisibilityChanged(false);
    }
}

void CDragDrop::Private::emitIndicatorGeometry()
{
    QWidget* viewport = container->parentWidget();
    if (viewport && viewport->objectName() == QLatin1String("qt_scrollarea_viewport")) {
        if (auto* area = qobject_cast<CScrollArea*>(viewport->parentWidget()))
            area->relayout();
    }
    layout->activate();
    emit owner->dropIndicatorGeometryChanged(
        QRect(dropIndicator->mapTo(container, QPoint(0, 0)), dropIndicator->size()));
}

bool CDragDrop::Private::pickUp(const QPoint& point)
{
    const Location found = locate(point);
    if (!found.widget || found.index < 0 || !found.widget->isEnabled()) {
        pressPos.reset();
        return false;
    }
    state = PickedUp;
    draggedWidget = found.widget;
    dropIndicator->setFixedSize(found.widget->size());
    startIndex = found.index;
    container->grabMouse();
    return true;
}

void CDragDrop::Private::stop()
{
    if (layout && dropIndicator)
        placeIndicator(-1);
    if (state == PickedUp)
        draggedWidget = nullptr;
    if (container && QWidget::mouseGrabber() == container)
        container->releaseMouse();
    if (container && QWidget::keyboardGrabber() == container)
        container->releaseKeyboard();
    pressPos.reset();
    state = Idle;
    if (dropAllowed) {
        dropAllowed = false;
        emit owner->dropAllowedChanged(false);
    }
    if (dragging) {
        dragging = false;
        emit owner->dragStopped();
    }
}

void CDragDrop::Private::updateAcceptDrops()
{
    if (container)
        container->setAcceptDrops(localMoveEnabled || externalDropEnabled);
}

void CDragDrop::Private::watch(QObject* object)
{
    if (watched.contains(object))
        return;
    watched.insert(object);
    object->installEventFilter(this);
}

void CDragDrop::Private::unwatchAll()
{
    if (container)
        container->removeEventFilter(this);
    for (QObject* object : qAsConst(watched))
        object->removeEventFilter(this);
    watched.clear();
}

bool CDragDrop::Private::eventFilter(QObject* watchedObject, QEvent* event)
{
    // Rows are watched from the start, so rows made before the indicator can be moved too.
    if (watchedObject == container && trackChildren(event))
        return false;
    if (!layout || !container || !dropIndicator)
        return false;
    if (watchedObject == container)
        return containerEvent(event);
    if (watched.contains(watchedObject))
        return childEvent(static_cast<QWidget*>(watchedObject), event);
    return false;
}

bool CDragDrop::Private::childEvent(QWidget* child, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (localMoveEnabled && mouse->button() == Qt::LeftButton && mouse->buttons() == Qt::LeftButton
            && child->isEnabled() && state == Idle)
            pressPos = mouse->pos() + child->pos();
        return false;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!localMoveEnabled || !(mouse->buttons() & Qt::LeftButton) || state != Idle || !pressPos
            || !reachesDragDistance(mouse->pos() + child->pos() - *pressPos))
            return false;
        if (!pickUp(*pressPos))
            return false;
        event->accept();
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            pressPos.reset();
        return false;
    case QEvent::MouseButtonDblClick:
        stop();
        return false;
    case QEvent::FocusOut:
        // Hiding the lifted row takes its focus away; that ends nothing.
        if (child == draggedWidget && !child->isHidden())
            stop();
        return false;
    case QEvent::KeyPress:
        return cancelKey(static_cast<QKeyEvent*>(event));
    default:
        return false;
    }
}

bool CDragDrop::Private::containerEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        return containerMouseMove(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        return containerMouseRelease(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonDblClick:
    case QEvent::WindowBlocked:
        stop();
        return false;
    case QEvent::DragEnter:
        return dragEnter(static_cast<QDragEnterEvent*>(event));
    case QEvent::DragMove:
        return dragMove(static_cast<QDragMoveEvent*>(event));
    case QEvent::DragLeave:
        if (state == External)
            stop();
        return false;
    case QEvent::Drop:
        return drop(static_cast<QDropEvent*>(event));
    case QEvent::KeyPress:
        return cancelKey(static_cast<QKeyEvent*>(event));
    default:
        return false;
    }
}

// True for the container's child events, which keep the watched set.
bool CDragDrop::Private::trackChildren(QEvent* event)
{
    if (event->type() != QEvent::ChildAdded && event->type() != QEvent::ChildRemoved)
        return false;
    QObject* child = static_cast<QChildEvent*>(event)->child();
    if (event->type() == QEvent::ChildRemoved) {
        if (watched.remove(child))
            child->removeEventFilter(this);
    } else if (child->isWidgetType()) {
        watch(child);
    }
    return true;
}

bool CDragDrop::Private::containerMouseMove(QMouseEvent* event)
{
    if (QWidget::mouseGrabber() != container)
        return false;
    event->ignore();
    if (state == PickedUp && draggedWidget) {
        location = locate(event->pos());
        if (dragging) {
            updateIndicator();
        } else if (pressPos && reachesDragDistance(event->pos() - *pressPos)) {
            dragging = true;
            updateIndicator();
            if (draggedWidget)
                emit owner->dragStarted(draggedWidget, draggedWidget->mapFrom(container, *pressPos));
        }
        event->accept();
        return true;
    }
    if (state != Idle || !pressPos || !pickUp(*pressPos))
        return false;
    event->accept();
    return true;
}

bool CDragDrop::Private::containerMouseRelease(QMouseEvent* event)
{
    event->ignore();
    if (QWidget::mouseGrabber() != container || event->button() != Qt::LeftButton)
        return false;
    container->releaseMouse();
    pressPos.reset();
    if (state != PickedUp || !draggedWidget)
        return false;
    QPointer<QWidget> row = draggedWidget;
    const int oldIndex = startIndex;
    QPointer<QWidget> frozen = container->parentWidget();
    if (frozen)
        frozen->setUpdatesEnabled(false);
    const int newIndex = layout->indexOf(dropIndicator);
    stop();
    event->accept();
    if (row && newIndex != -1 && oldIndex != -1 && newIndex != oldIndex) {
        // Taken out first: Qt's own path for a widget already in a layout would warn.
        layout->removeWidget(row);
        insertLayoutWidget(layout, newIndex, row);
        emit owner->widgetMoved(row, oldIndex, newIndex);
    }
    if (frozen)
        frozen->setUpdatesEnabled(true);
    return true;
}

bool CDragDrop::Private::dragEnter(QDragEnterEvent* event)
{
    const bool accepted = externalDropEnabled && (!mimeDataFilter || mimeDataFilter(event->mimeData()));
    if (!accepted) {
        event->ignore();
        return false;
    }
    state = External;
    dropIndicator->setMinimumSize(indicatorMinimum);
    dropIndicator->setMaximumSize(indicatorMaximum);
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

bool CDragDrop::Private::dragMove(QDragMoveEvent* event)
{
    if (state != External) {
        event->ignore();
        return false;
    }
    location = locate(event->pos());
    const bool allowed = updateIndicator();
    event->setAccepted(allowed);
    return allowed;
}

bool CDragDrop::Private::drop(QDropEvent* event)
{
    const int row = layout->indexOf(dropIndicator);
    stop();
    if (row == -1) {
        event->ignore();
        return false;
    }
    event->setDropAction(event->proposedAction());
    event->accept();
    emit owner->dropped(event->mimeData(), event->proposedAction(), row);
    return true;
}

bool CDragDrop::Private::cancelKey(QKeyEvent* event)
{
    if (!dragging || !event->matches(QKeySequence::Cancel))
        return false;
    event->accept();
    stop();
    return true;
}
