#include "uilib/style/WindowRegion.h"

#include <QApplication>
#include <QBitmap>
#include <QLayout>
#include <QPainter>
#include <QPen>
#include <QWidget>

#include <algorithm>
#include <cmath>

void setRoundedWidgetMask(QWidget* widget, const QSize& size, const QPoint& offset, const QPainterPath& path,
                          qreal penWidth, bool inverted, bool whitePen)
{
    if (!widget || size.isEmpty())
        return;
    const double ratio = widget->devicePixelRatioF();
    QBitmap bitmap(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio)));
    bitmap.setDevicePixelRatio(ratio);
    bitmap.fill(inverted ? Qt::color1 : Qt::color0);
    {
        QPainter painter(&bitmap);
        painter.setBrush(inverted ? Qt::color0 : Qt::color1);
        painter.setPen(QPen(whitePen ? Qt::color0 : Qt::color1, std::round(penWidth * ratio) / ratio, Qt::SolidLine,
                            Qt::SquareCap, Qt::MiterJoin));
        painter.translate(offset);
        painter.drawPath(path);
    }
    applyWidgetRegion(widget, QRegion(bitmap));
}

void applyWidgetRegion(QWidget* widget, const QRegion& deviceRegion)
{
    if (!widget)
        return;
    const double ratio = widget->devicePixelRatioF();
    QRegion logical;
    for (const QRect& rect : deviceRegion) {
        logical += QRect(int(std::floor(rect.x() / ratio)), int(std::floor(rect.y() / ratio)),
                         int(std::ceil(rect.width() / ratio)), int(std::ceil(rect.height() / ratio)));
    }
    widget->setMask(logical);
}

void clearWidgetMask(QWidget* widget)
{
    if (widget)
        widget->clearMask();
}

QRegion makeNativeRectRegion(const QRect& rect, int radius)
{
    if (rect.isEmpty())
        return QRegion();
    QRegion region(rect);
    const int r = std::min(radius, std::min(rect.width(), rect.height()) / 2);
    if (r <= 0)
        return region;
    const QSize corner(r, r);
    const QSize oval(2 * r, 2 * r);
    const QPoint corners[] = {rect.topLeft(), QPoint(rect.right() + 1 - r, rect.top()),
                              QPoint(rect.right() + 1 - r, rect.bottom() + 1 - r),
                              QPoint(rect.left(), rect.bottom() + 1 - r)};
    const QPoint ovals[] = {rect.topLeft(), QPoint(rect.right() + 1 - 2 * r, rect.top()),
                            QPoint(rect.right() + 1 - 2 * r, rect.bottom() + 1 - 2 * r),
                            QPoint(rect.left(), rect.bottom() + 1 - 2 * r)};
    for (int i = 0; i < 4; ++i)
        region -= QRegion(QRect(corners[i], corner)) - QRegion(QRect(ovals[i], oval), QRegion::Ellipse);
    return region;
}

bool combineNativeRegion(QRegion& region, const QRect& rect, int radius, int mode)
{
    const QRegion shape = makeNativeRectRegion(rect, radius);
    switch (RegionCombine(mode)) {
    case RegionCombine::And: region &= shape; return true;
    case RegionCombine::Or: region |= shape; return true;
    case RegionCombine::Xor: region ^= shape; return true;
    case RegionCombine::Diff: region -= shape; return true;
    case RegionCombine::Copy: region = shape; return true;
    }
    return false;
}

namespace {

bool acceptsPoint(const QWidget* window, const QPoint& global)
{
    if (!window->isVisible() || window->isMinimized() || window->testAttribute(Qt::WA_TransparentForMouseEvents))
        return false;
    if (!window->frameGeometry().contains(global))
        return false;
    const QRegion mask = window->mask();
    return mask.isEmpty() || mask.contains(window->mapFromGlobal(global));
}

QWidget* childOrSelf(QWidget* window, const QPoint& global)
{
    QWidget* child = window->childAt(window->mapFromGlobal(global));
    return child ? child : window;
}

// The top-level widgets, those most likely on top first: the open popups (the active one first),
// then the active window, then the others in Qt's order.
QWidgetList windowsTopFirst()
{
    QWidgetList windows = QApplication::topLevelWidgets();
    const auto rank = [](const QWidget* window) {
        if (window == QApplication::activePopupWidget())
            return 0;
        if (window->windowType() == Qt::Popup)
            return 1;
        return window->isActiveWindow() ? 2 : 3;
    };
    std::stable_sort(windows.begin(), windows.end(),
                     [&rank](const QWidget* a, const QWidget* b) { return rank(a) < rank(b); });
    return windows;
}

} // namespace

QWidget* regionAwareWidgetAt(const QPoint& global)
{
    QWidget* top = QApplication::topLevelAt(global);
    if (!top)
        return nullptr;
    if (acceptsPoint(top, global))
        return childOrSelf(top, global);
    for (QWidget* window : windowsTopFirst()) {
        if (window != top && acceptsPoint(window, global))
            return childOrSelf(window, global);
    }
    return nullptr;
}

void updateGeometryTree(QWidget* widget)
{
    if (!widget)
        return;
    const QList<QWidget*> children = widget->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        if (!child->isWindow())
            updateGeometryTree(child);
    }
    if (QLayout* layout = widget->layout())
        layout->activate();
    else
        widget->updateGeometry();
}
