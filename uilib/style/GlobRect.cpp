#include "uilib/style/GlobRect.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformwindow.h>

#include <cmath>

QScreen* screenAt(const QPoint& p)
{
    QSet<QScreen*> visited;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (QScreen* screen : screens) {
        const QList<QScreen*> siblings = screen->virtualSiblings();
        for (QScreen* sibling : siblings) {
            if (visited.contains(sibling))
                continue;
            visited.insert(sibling);
            if (sibling->geometry().adjusted(0, 0, 1, 1).contains(p))
                return sibling;
        }
    }
    return nullptr;
}

QScreen* widgetScreen(QWidget* widget)
{
    return widget ? widget->screen() : nullptr;
}

QRect globalWidgetRect(QWidget* widget)
{
    if (!widget)
        return QRect();
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

QRect clampRectToScreen(const QRect& reference, QRect rect, int step, int margin)
{
    QScreen* screen = screenAt(reference.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return rect;
    const QRect area = screen->availableGeometry();
    // Right and bottom lie one past the area's last pixel.
    const int left = area.x();
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    int top = area.y();
    if (step > 1) {
        const int height = bottom - 2 * margin - top;
        top = bottom - 2 * margin - (height - height % step);
    }
    if (rect.left() < left)
        rect.moveLeft(left);
    if (rect.right() >= right)
        rect.moveRight(right - 1);
    if (rect.left() < left)
        rect.setLeft(left);
    if (rect.top() < top)
        rect.moveTop(top);
    if (rect.bottom() >= bottom)
        rect.moveBottom(bottom - 1);
    if (rect.top() < top)
        rect.setTop(top);
    return rect;
}

namespace {

void placeBesideSide(const QRect& anchor, QRect& rect, Qt::Edge side, int gap)
{
    switch (side) {
    case Qt::TopEdge:
        rect.moveBottom(anchor.top() - gap - 1);
        break;
    case Qt::LeftEdge:
        rect.moveRight(anchor.left() - gap - 1);
        break;
    case Qt::RightEdge:
        rect.moveLeft(anchor.left() + anchor.width() + gap);
        break;
    case Qt::BottomEdge:
        rect.moveTop(anchor.top() + anchor.height() + gap);
        break;
    }
}

// Moves rect's start to the anchor's start when it lies after it, else its end to
// the anchor's end when it lies before it; vertically beside a left or right side.
void alignToNearestEdge(const QRect& anchor, QRect& rect, Qt::Edge side, int shift)
{
    if (side == Qt::LeftEdge || side == Qt::RightEdge) {
        if (rect.top() > anchor.top() + shift)
            rect.moveTop(anchor.top() + shift);
        else if (rect.bottom() < anchor.bottom() + shift)
            rect.moveBottom(anchor.bottom() + shift);
        return;
    }
    if (rect.left() > anchor.left() + shift)
        rect.moveLeft(anchor.left() + shift);
    else if (rect.right() < anchor.right() + shift)
        rect.moveRight(anchor.right() + shift);
}

} // namespace

QRect placeRectBesideAnchor(const QRect& anchor, QRect rect, Qt::Edge side, Qt::Alignment alignment,
                            const QPoint& offset)
{
    placeBesideSide(anchor, rect, side, offset.x());
    const int shift = offset.y();
    switch (int(alignment)) {
    case Qt::AlignLeft:
        rect.moveLeft(anchor.left() + shift);
        break;
    case Qt::AlignRight:
        rect.moveRight(anchor.right() + shift);
        break;
    case Qt::AlignHCenter:
        rect.moveCenter(QPoint(anchor.center().x() + shift, rect.center().y()));
        break;
    case Qt::AlignJustify:
        alignToNearestEdge(anchor, rect, side, shift);
        break;
    case Qt::AlignTop:
        rect.moveTop(anchor.top() + shift);
        break;
    case Qt::AlignBottom:
        rect.moveBottom(anchor.bottom() + shift);
        break;
    case Qt::AlignVCenter:
        rect.moveCenter(QPoint(rect.center().x(), anchor.center().y() + shift));
        break;
    default:
        break;
    }
    return rect;
}

QRect fitRectInside(QRect rect, const QRect& area, Qt::AspectRatioMode mode)
{
    if (mode == Qt::IgnoreAspectRatio)
        return rect.intersected(area);
    if (rect.width() > area.width() || rect.height() > area.height())
        rect.setSize(rect.size().scaled(area.size(), mode));
    if (rect.left() < area.left())
        rect.moveLeft(area.left());
    if (rect.top() < area.top())
        rect.moveTop(area.top());
    if (rect.right() > area.right())
        rect.moveRight(area.right());
    if (rect.bottom() > area.bottom())
        rect.moveBottom(area.bottom());
    return rect;
}

QPoint nativeScreenToWidget(QWidget* widget, const QPoint& native)
{
    if (!widget)
        return QPoint();
    QWidget* window = widget->window();
    const QWindow* handle = window->windowHandle();
    if (!handle || !handle->handle())
        return QPoint();
    const QPoint client = handle->handle()->mapFromGlobal(native);
    const qreal ratio = handle->devicePixelRatio();
    const QPoint logical(int(std::lround(client.x() / ratio)), int(std::lround(client.y() / ratio)));
    return logical - widget->mapTo(window, QPoint(0, 0));
}
