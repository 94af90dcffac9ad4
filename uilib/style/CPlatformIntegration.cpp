#include "uilib/style/CPlatformIntegration.h"

#include "uilib/controls/CBorder.h"
#include "uilib/style/CShadowPanel.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QX11Info>
#include <QtMath>

#include <xcb/xcb.h>

#include <cmath>

namespace {

// How often a move or resize run by the window system checks whether a button is still held.
constexpr int kButtonPollMs = 40;

bool isEdge(int area)
{
    return area >= CPlatformIntegration::HitLeft && area <= CPlatformIntegration::HitBottomRight;
}

Qt::Edges edgesOf(int area)
{
    switch (area) {
    case CPlatformIntegration::HitLeft: return Qt::LeftEdge;
    case CPlatformIntegration::HitTop: return Qt::TopEdge;
    case CPlatformIntegration::HitRight: return Qt::RightEdge;
    case CPlatformIntegration::HitBottom: return Qt::BottomEdge;
    case CPlatformIntegration::HitTopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case CPlatformIntegration::HitTopRight: return Qt::TopEdge | Qt::RightEdge;
    case CPlatformIntegration::HitBottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case CPlatformIntegration::HitBottomRight: return Qt::BottomEdge | Qt::RightEdge;
    default: return {};
    }
}

Qt::CursorShape cursorOf(int area)
{
    switch (area) {
    case CPlatformIntegration::HitLeft:
    case CPlatformIntegration::HitRight: return Qt::SizeHorCursor;
    case CPlatformIntegration::HitTop:
    case CPlatformIntegration::HitBottom: return Qt::SizeVerCursor;
    case CPlatformIntegration::HitTopLeft:
    case CPlatformIntegration::HitBottomRight: return Qt::SizeFDiagCursor;
    default: return Qt::SizeBDiagCursor;
    }
}

// One side of a resize: the new extent within the limits.
int boundedExtent(int extent, int minimum, int maximum)
{
    return qBound(qMax(1, minimum), extent, qMax(qMax(1, minimum), maximum));
}

// Whether any mouse button is down, asked of the X server where the window system runs the move
// (it keeps the button events to itself meanwhile).
bool buttonHeld()
{
    if (QX11Info::isPlatformX11() && QX11Info::connection()) {
        xcb_connection_t* connection = QX11Info::connection();
        const xcb_query_pointer_cookie_t cookie = xcb_query_pointer(connection, QX11Info::appRootWindow());
        xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(connection, cookie, nullptr);
        if (!reply)
            return false;
        const bool held = reply->mask & (XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3);
        free(reply);
        return held;
    }
    return QGuiApplication::mouseButtons() != Qt::NoButton;
}

} // namespace

struct CPlatformIntegration::Private
{
    // A press on the caption or a border, waiting for the pointer to move, then the move or
    // resize it started.
    struct Drag
    {
        int area = HitNone;
        QPoint grab;
        QRect startGeometry;
        bool started = false;
        bool manual = false;
    };

    CPlatformIntegration* owner;
    QPointer<QWidget> widget;
    CBorder* border;
    bool resizable = false;
    bool movable = false;
    QPointer<QWidget> titleBar;
    QList<QPointer<QWidget>> titleBarControls;
    bool movingByUser = false;
    bool resizingByUser = false;
    bool inSizeMove = false;
    bool dwmFrame = false;
    QPointer<CShadowPanel> shadowPanel;
    QPointer<QWindow> nativeWindow;
    std::optional<Drag> drag;
    QTimer* buttonPoll;
    bool cursorOverridden = false;

    Private(CPlatformIntegration* o, QWidget* window)
        : owner(o), widget(window), border(new CBorder(window)), buttonPoll(new QTimer(o))
    {
        border->setParent(o);
        buttonPoll->setInterval(kButtonPollMs);
        QObject::connect(buttonPoll, &QTimer::timeout, o, [this] {
            if (!buttonHeld())
                finishUserAction();
        });
    }

    double ratio() const { return widget ? widget->devicePixelRatioF() : 1.0; }

    QPoint toDevice(const QPointF& local) const { return (local * ratio()).toPoint(); }

    bool isPlainState() const { return widget && !widget->isMaximized() && !widget->isFullScreen(); }

    bool isTitleBarControl(QWidget* child) const
    {
        for (QWidget* w = child; w && w != titleBar && w != widget; w = w->parentWidget()) {
            if (titleBarControls.contains(w))
                return true;
        }
        return false;
    }

    int titleBarArea(const QPoint& logical) const
    {
        if (!movable || !titleBar || !titleBar->isVisible())
            return HitNone;
        if (!titleBar->rect().contains(titleBar->mapFrom(widget, logical)))
            return HitNone;
        return isTitleBarControl(widget->childAt(logical)) ? HitClient : HitCaption;
    }

    void attachNativeWindow()
    {
        QWindow* window = widget ? widget->windowHandle() : nullptr;
        if (window == nativeWindow)
            return;
        if (nativeWindow)
            nativeWindow->removeEventFilter(owner);
        nativeWindow = window;
        if (nativeWindow)
            nativeWindow->installEventFilter(owner);
    }

    void applyFrame()
    {
        if (dwmFrame || !widget || !widget->windowHandle()) {
            delete shadowPanel;
            return;
        }
        if (!shadowPanel)
            shadowPanel = new CShadowPanel(widget, border, owner);
        shadowPanel->refresh();
    }

    void followWindow()
    {
        if (shadowPanel)
            shadowPanel->follow();
    }

    void beginUserAction()
    {
        drag->started = true;
        inSizeMove = true;
        const bool move = drag->area == HitCaption;
        if (move) {
            movingByUser = true;
            emit owner->moveByUserStarted();
        } else {
            resizingByUser = true;
            emit owner->resizeByUserStarted();
        }
        // A slot may have ended it already, by hiding the window.
        if (!drag)
            return;
        const bool bySystem = nativeWindow
            && (move ? nativeWindow->startSystemMove() : nativeWindow->startSystemResize(edgesOf(drag->area)));
        drag->manual = !bySystem;
        if (bySystem)
            buttonPoll->start();
    }

    void followPointer(const QPoint& global)
    {
        if (!widget || !drag)
            return;
        const QPoint delta = global - drag->grab;
        if (drag->area == HitCaption) {
            widget->move(drag->startGeometry.topLeft() + delta);
            return;
        }
        widget->setGeometry(resizedGeometry(drag->startGeometry, drag->area, delta, widget->minimumSize(),
                                            widget->maximumSize()));
    }

    // Ends a started move or resize once: its finished signal, then the state cleared.
    void finishUserAction()
    {
        buttonPoll->stop();
        drag.reset();
        inSizeMove = false;
        if (movingByUser) {
            movingByUser = false;
            emit owner->moveByUserFinished();
        }
        if (resizingByUser) {
            resizingByUser = false;
            emit owner->resizeByUserFinished();
        }
    }

    void updateHoverCursor(const QPointF& local)
    {
        if (!nativeWindow)
            return;
        const int area = resizable && isPlainState() ? owner->hitTestDevice(toDevice(local)) : HitNone;
        if (isEdge(area)) {
            nativeWindow->setCursor(cursorOf(area));
            cursorOverridden = true;
            return;
        }
        if (!cursorOverridden)
            return;
        cursorOverridden = false;
        QWidget* under = widget->childAt(local.toPoint());
        nativeWindow->setCursor((under ? under : widget.data())->cursor());
    }

    bool toggleMaximised()
    {
        if (!widget || !(widget->windowFlags() & Qt::WindowMaximizeButtonHint))
            return false;
        if (widget->isMaximized())
            widget->showNormal();
        else
            widget->showMaximized();
        return true;
    }

    bool handleMouse(QEvent* event)
    {
        auto* mouse = static_cast<QMouseEvent*>(event);
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            if (mouse->button() != Qt::LeftButton || (drag && drag->started))
                return false;
            const int area = owner->hitTestDevice(toDevice(mouse->localPos()));
            if (area < HitCaption)
                return false;
            drag = Drag{area, mouse->globalPos(), widget->geometry()};
            return true;
        }
        case QEvent::MouseMove:
            if (!drag) {
                if (mouse->buttons() == Qt::NoButton)
                    updateHoverCursor(mouse->localPos());
                return false;
            }
            if (!drag->started) {
                if (!(mouse->buttons() & Qt::LeftButton) || mouse->globalPos() == drag->grab)
                    return true;
                beginUserAction();
            }
            if (drag && drag->manual)
                followPointer(mouse->globalPos());
            return true;
        case QEvent::MouseButtonRelease:
            // Passed on, so that the widgets end their own press state.
            if (!drag || mouse->button() != Qt::LeftButton || (drag->started && !drag->manual))
                return false;
            if (drag->started)
                finishUserAction();
            drag.reset();
            return false;
        case QEvent::MouseButtonDblClick: {
            if (mouse->button() != Qt::LeftButton || dwmFrame)
                return false;
            if (owner->hitTestDevice(toDevice(mouse->localPos())) != HitCaption)
                return false;
            if (drag && drag->started)
                finishUserAction();
            drag.reset();
            return toggleMaximised();
        }
        default: return false;
        }
    }
};

CPlatformIntegration::CPlatformIntegration(QWidget* window)
    : QObject(window), d(std::make_unique<Private>(this, window))
{
    if (!window)
        return;
    window->installEventFilter(this);
    d->attachNativeWindow();
}

CPlatformIntegration::~CPlatformIntegration()
{
    if (d->drag && d->drag->started)
        d->finishUserAction();
    delete d->shadowPanel;
}

void CPlatformIntegration::setResizable(bool resizable)
{
    d->resizable = resizable;
}

void CPlatformIntegration::setMovable(bool movable)
{
    d->movable = movable;
}

void CPlatformIntegration::setTitleBar(QWidget* titleBar)
{
    d->titleBar = titleBar;
}

void CPlatformIntegration::setDwmFrame(bool on)
{
    d->dwmFrame = on;
    d->applyFrame();
}

bool CPlatformIntegration::isDwmFrame() const
{
    return d->dwmFrame;
}

bool CPlatformIntegration::isMovingByUser() const
{
    return d->movingByUser;
}

bool CPlatformIntegration::isResizingByUser() const
{
    return d->resizingByUser;
}

bool CPlatformIntegration::isInSizeMove() const
{
    return d->inSizeMove;
}

CBorder* CPlatformIntegration::border() const
{
    return d->border;
}

CShadowPanel* CPlatformIntegration::shadowPanel() const
{
    return d->shadowPanel;
}

void CPlatformIntegration::addTitleBarControl(QWidget* control)
{
    if (!control || d->titleBarControls.contains(control))
        return;
    d->titleBarControls.append(control);
}

void CPlatformIntegration::addTitleBarControls(const QList<QWidget*>& controls)
{
    for (QWidget* control : controls)
        addTitleBarControl(control);
}

QSize CPlatformIntegration::nativeSize() const
{
    if (!d->widget)
        return QSize();
    const QSizeF size = QSizeF(d->widget->size()) * d->ratio();
    return QSize(qRound(size.width()), qRound(size.height()));
}

bool CPlatformIntegration::nativeEvent(const QByteArray&, void*, long*)
{
    return false;
}

int CPlatformIntegration::hitTest(int x, int y) const
{
    if (!d->widget)
        return HitNone;
    return hitTestDevice(d->toDevice(d->widget->mapFromGlobal(QPoint(x, y))));
}

int CPlatformIntegration::hitTestDevice(const QPoint& devicePoint) const
{
    QWidget* window = d->widget;
    if (!window)
        return HitNone;
    const QSize size = nativeSize();
    if (d->resizable && d->isPlainState()) {
        const int area = edgeArea(size, devicePoint, resizeBorderWidth(d->ratio()),
                                  window->minimumWidth() != window->maximumWidth(),
                                  window->minimumHeight() != window->maximumHeight());
        if (area != HitNone)
            return area;
    }
    const QPointF logical = QPointF(devicePoint) / d->ratio();
    const int caption = d->titleBarArea(QPoint(qFloor(logical.x()), qFloor(logical.y())));
    if (caption != HitNone)
        return caption;
    return QRect(QPoint(), size).contains(devicePoint) ? HitClient : HitNone;
}

int CPlatformIntegration::resizeBorderWidth(double ratio)
{
    return qRound(4 + 4 * ratio);
}

int CPlatformIntegration::edgeArea(const QSize& size, const QPoint& point, int border, bool horizontalEdges,
                                   bool verticalEdges)
{
    if (!QRect(QPoint(), size).contains(point))
        return HitNone;
    const bool left = point.x() < border;
    const bool right = point.x() >= size.width() - border;
    const bool top = point.y() < border;
    const bool bottom = point.y() >= size.height() - border;
    int area = HitNone;
    if (horizontalEdges && left)
        area = HitLeft;
    if (horizontalEdges && right)
        area = HitRight;
    if (verticalEdges && bottom)
        area = HitBottom;
    if (verticalEdges && top)
        area = HitTop;
    if (!horizontalEdges || !verticalEdges)
        return area;
    if (bottom && left)
        area = HitBottomLeft;
    if (bottom && right)
        area = HitBottomRight;
    if (top && left)
        area = HitTopLeft;
    if (top && right)
        return HitTopRight;
    return area;
}

QRect CPlatformIntegration::resizedGeometry(const QRect& start, int area, const QPoint& delta,
                                            const QSize& minimum, const QSize& maximum)
{
    const Qt::Edges edges = edgesOf(area);
    QRect rect = start;
    if (edges & Qt::LeftEdge) {
        const int width = boundedExtent(start.width() - delta.x(), minimum.width(), maximum.width());
        rect.setLeft(start.right() - width + 1);
    }
    if (edges & Qt::RightEdge)
        rect.setWidth(boundedExtent(start.width() + delta.x(), minimum.width(), maximum.width()));
    if (edges & Qt::TopEdge) {
        const int height = boundedExtent(start.height() - delta.y(), minimum.height(), maximum.height());
        rect.setTop(start.bottom() - height + 1);
    }
    if (edges & Qt::BottomEdge)
        rect.setHeight(boundedExtent(start.height() + delta.y(), minimum.height(), maximum.height()));
    return rect;
}

void CPlatformIntegration::startSystemMove(QWidget* widget, std::optional<QPoint> grab, std::optional<QPoint> pointer)
{
    if (!widget || !widget->window()->isVisible() || widget->window() != d->widget)
        return;
    if (d->drag && d->drag->started)
        return;
    d->attachNativeWindow();
    d->drag = Private::Drag{HitCaption, grab.value_or(QCursor::pos()), d->widget->geometry()};
    d->beginUserAction();
    if (d->drag && d->drag->manual)
        d->followPointer(pointer.value_or(QCursor::pos()));
}

bool CPlatformIntegration::isDwmCompositionEnabled()
{
    return false;
}

bool CPlatformIntegration::isCompositingManagerRunning()
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return true;
    return QX11Info::isPlatformX11() && QX11Info::isCompositingManagerRunning();
}

bool CPlatformIntegration::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == d->nativeWindow && d->widget) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: return d->handleMouse(event);
        default: return false;
        }
    }
    if (watched != d->widget)
        return false;
    switch (event->type()) {
    case QEvent::WinIdChange:
        d->attachNativeWindow();
        d->applyFrame();
        break;
    case QEvent::Hide:
        if (d->drag && d->drag->started)
            d->finishUserAction();
        d->drag.reset();
        d->followWindow();
        break;
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
    case QEvent::ScreenChangeInternal:
        d->followWindow();
        break;
    default: break;
    }
    return false;
}
