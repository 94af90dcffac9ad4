#include "uilib/controls/CWindowPopup.h"

#include "app/CSystemTools.h"
#include "uilib/controls/CButton.h"
#include "uilib/style/CPlatformIntegration.h"
#include "uilib/style/WindowRegion.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <vector>

namespace {

// Sends a copy of the mouse event to the widget at the same global position; true when accepted.
bool sendMouseCopy(QWidget* target, const QMouseEvent* event, QEvent::Type type)
{
    QMouseEvent copy(type, target->mapFromGlobal(event->globalPos()), event->globalPos(), event->button(),
                     event->buttons(), event->modifiers());
    copy.setAccepted(false);
    QCoreApplication::sendEvent(target, &copy);
    return copy.isAccepted();
}

QWidget* otherGrabber(const QWidget* popup)
{
    QWidget* grabber = QWidget::mouseGrabber();
    return grabber != popup ? grabber : nullptr;
}

} // namespace

struct CWindowPopup::Private
{
    QList<QPointer<QWidget>> passThrough;
    QPointer<QWidget> forwardTarget;
    std::vector<Qt::MouseButton> pressedButtons;

    void forwardPress(QWidget* target, Qt::MouseButton button)
    {
        forwardTarget = target;
        pressedButtons.push_back(button);
    }
};

CWindowPopup::CWindowPopup(int styleKind, int options, QWidget* parent, CWindow::ShadowType shadowType,
                           bool deferStyle)
    : CWindow(styleKind, options | 64, parent, shadowType, true, QString())
    , d(new Private)
{
    setMouseTracking(true);
    if (!deferStyle)
        applyStyle();
}

CWindowPopup::~CWindowPopup() = default;

void CWindowPopup::addPassThroughWidget(QWidget* widget)
{
    if (widget && !isPassThroughWidget(widget))
        d->passThrough.append(widget);
}

void CWindowPopup::removePassThroughWidget(QWidget* widget)
{
    d->passThrough.removeAll(widget);
}

bool CWindowPopup::isPassThroughWidget(const QWidget* widget) const
{
    return widget && d->passThrough.contains(const_cast<QWidget*>(widget));
}

QWidget* CWindowPopup::passThroughAt(QWidget* widget) const
{
    for (; widget && !widget->isWindow(); widget = widget->parentWidget()) {
        if (isPassThroughWidget(widget))
            return widget;
    }
    return isPassThroughWidget(widget) ? widget : nullptr;
}

void CWindowPopup::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (QWidget* grabber = otherGrabber(this)) {
        if (sendMouseCopy(grabber, event, event->type())) {
            d->forwardPress(grabber, event->button());
            return;
        }
    }
    QWidget* under = widgetUnderCursor();
    if (QWidget* passThrough = passThroughAt(under)) {
        d->forwardPress(passThrough, event->button());
        // The widget got no enter while the popup held the mouse: a move tells a button armed by the
        // press that the pointer is over it.
        if (sendMouseCopy(passThrough, event, event->type()))
            sendMouseCopy(passThrough, event, QEvent::MouseMove);
        return;
    }
    QWidget* window = under ? under->window() : nullptr;
    if (qobject_cast<CWindowPopup*>(window))
        return;
    auto* other = qobject_cast<CWindow*>(window);
    if (other && other->platformIntegration()) {
        const QPoint global = event->globalPos();
        if (other->platformIntegration()->hitTest(global.x(), global.y()) != CPlatformIntegration::HitClient) {
            // A caption or border press is the window system's: let it start before the popups go.
            QTimer::singleShot(0, qApp, &closeAllPopups);
            return;
        }
    }
    closeAllPopups();
}

void CWindowPopup::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointer<QWidget> target = d->forwardTarget;
    if (!target)
        return CWindow::mouseReleaseEvent(event);
    auto& buttons = d->pressedButtons;
    buttons.erase(std::remove(buttons.begin(), buttons.end(), event->button()), buttons.end());
    if (buttons.empty())
        d->forwardTarget = nullptr;
    sendMouseCopy(target, event, event->type());
    event->accept();
}

void CWindowPopup::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    if (QWidget* grabber = otherGrabber(this)) {
        if (sendMouseCopy(grabber, event, event->type()))
            return;
    }
    if (QWidget* passThrough = passThroughAt(widgetUnderCursor()))
        sendMouseCopy(passThrough, event, event->type());
}

void CWindowPopup::mouseMoveEvent(QMouseEvent* event)
{
    QWidget* target = d->forwardTarget ? d->forwardTarget.data() : otherGrabber(this);
    if (target)
        sendMouseCopy(target, event, event->type());
    CWindow::mouseMoveEvent(event);
}

void CWindowPopup::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        close();
        return;
    }
    CWindow::keyPressEvent(event);
}

void CWindowPopup::showEvent(QShowEvent* event)
{
    auto* opener = qobject_cast<CButton*>(parentWidget());
    if (opener && opener->isDown() && (QGuiApplication::mouseButtons() & Qt::LeftButton))
        d->forwardPress(opener, Qt::LeftButton);
    CWindow::showEvent(event);
}

void CWindowPopup::hideEvent(QHideEvent* event)
{
    const QPointer<QWidget> target = d->forwardTarget;
    const std::vector<Qt::MouseButton> buttons = std::move(d->pressedButtons);
    d->pressedButtons.clear();
    d->forwardTarget = nullptr;
    for (auto it = buttons.rbegin(); target && it != buttons.rend(); ++it) {
        const QPoint global = QCursor::pos();
        QMouseEvent release(QEvent::MouseButtonRelease, target->mapFromGlobal(global), global, *it,
                            QGuiApplication::mouseButtons(), QGuiApplication::keyboardModifiers());
        QCoreApplication::sendEvent(target, &release);
    }
    CWindow::hideEvent(event);
}

void closeAllPopups()
{
    for (int closed = 0; closed < 1024; ++closed) {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup)
            return;
        popup->close();
    }
}

QWidget* widgetUnderCursor()
{
    if (CSystemTools* tools = CSystemTools::instance())
        return tools->widgetUnderCursor();
    return regionAwareWidgetAt(QCursor::pos());
}
