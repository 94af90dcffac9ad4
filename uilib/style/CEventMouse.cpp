#include "uilib/style/CEventMouse.h"

#include <QCoreApplication>
#include <QDragMoveEvent>
#include <QList>
#include <QMouseEvent>
#include <QPointer>
#include <QWindow>
#include <private/qhighdpiscaling_p.h>

namespace {

class MouseFilter;

// Shared by every instance, touched on the GUI thread only.
struct SharedState
{
    MouseFilter* filter = nullptr;
    QList<CEventMouse*> instances;
    QPoint lastMovePos;
};

SharedState& shared()
{
    static SharedState state;
    return state;
}

QPoint toDevicePixels(const QPointF& globalPos, const QWindow* window)
{
    return QHighDpi::toNativePixels(globalPos, window).toPoint();
}

Qt::MouseButton pressedButton(const QMouseEvent* event)
{
    // The second press of a double click stands for the double click itself.
    if (event->flags() & Qt::MouseEventCreatedDoubleClick)
        return Qt::NoButton;
    switch (event->button()) {
    case Qt::LeftButton:
    case Qt::RightButton:
    case Qt::MiddleButton:
        return event->button();
    default:
        return Qt::NoButton;
    }
}

// Calls emitOn on every instance that exists now, in creation order, skipping those
// destroyed meanwhile; instances created meanwhile are not called.
template<typename Emit>
void emitOnInstances(Emit emitOn)
{
    QList<QPointer<CEventMouse>> snapshot;
    for (CEventMouse* instance : qAsConst(shared().instances))
        snapshot.append(instance);
    for (const QPointer<CEventMouse>& instance : qAsConst(snapshot)) {
        if (instance && shared().instances.contains(instance.data()))
            emitOn(instance.data());
    }
}

void reportMove(const QPoint& pos)
{
    if (pos == shared().lastMovePos)
        return;
    shared().lastMovePos = pos;
    emitOnInstances([pos](CEventMouse* instance) { emit instance->mouseMoved(pos); });
}

void reportPress(const QPoint& pos, Qt::MouseButton button)
{
    emitOnInstances([pos, button](CEventMouse* instance) { emit instance->mousePressed(pos, button); });
}

class MouseFilter : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWindowType())
            return false;
        auto* window = static_cast<QWindow*>(watched);
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseMove:
            reportMove(toDevicePixels(static_cast<QMouseEvent*>(event)->screenPos(), window));
            break;
        case QEvent::DragMove:
            reportMove(toDevicePixels(window->mapToGlobal(static_cast<QDragMoveEvent*>(event)->pos()), window));
            break;
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const Qt::MouseButton button = pressedButton(mouse);
            if (button != Qt::NoButton)
                reportPress(toDevicePixels(mouse->screenPos(), window), button);
            break;
        }
        default:
            break;
        }
        return false;
    }
};

} // namespace

CEventMouse::CEventMouse(QObject* parent)
    : QObject(parent)
{
    SharedState& state = shared();
    if (!state.filter) {
        // Without an application object there is nothing to watch: the instance stays silent.
        if (!QCoreApplication::instance())
            return;
        state.filter = new MouseFilter;
        QCoreApplication::instance()->installEventFilter(state.filter);
    }
    state.instances.append(this);
}

CEventMouse::~CEventMouse()
{
    SharedState& state = shared();
    state.instances.removeOne(this);
    if (!state.instances.isEmpty() || !state.filter)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(state.filter);
    delete state.filter;
    state.filter = nullptr;
}
