#include "pages/DragIcon.h"

#include "pages/NearlyEqual.h"
#include "uilib/style/CAnimateionProp.h"
#include "uilib/style/CEventMouse.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"
#include "uilib/style/DrawPrimitives.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <qpa/qplatformscreen.h>
#include <private/qhighdpiscaling_p.h>

#include <cmath>

namespace {

constexpr double kFullScale = 1.0;
constexpr double kShrunkScale = 0.9;
constexpr int kShrunkTop = 16;

const char kProgressProperty[] = "dropAllowedProgress";
const char kScaleProperty[] = "scale";

// The pointer position the mouse watcher gives, in logical coordinates of its screen.
QPoint toLogical(const QPoint& deviceGlobal)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    for (QScreen* candidate : QGuiApplication::screens()) {
        if (candidate->handle() && candidate->handle()->geometry().contains(deviceGlobal)) {
            screen = candidate;
            break;
        }
    }
    return screen ? QHighDpi::fromNativePixels(deviceGlobal, screen) : deviceGlobal;
}

} // namespace

DragIcon::DragIcon(QWidget* parent)
    : QWidget(parent)
    , m_animator(new CAnimateionProp(this))
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Input-transparent and out of the window manager's hands, so the X server neither gives it
    // the pointer nor the focus.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint
                   | Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint);
    m_animator->setAnimation(this, kProgressProperty,
                             {QEasingCurve::OutCubic, 150, QEasingCurve::InCubic, 150, 0.0, 1.0});
    m_animator->setAnimation(this, kScaleProperty,
                             {QEasingCurve::OutCubic, 200, QEasingCurve::InCubic, 200, kFullScale, kShrunkScale});
}

DragIcon::~DragIcon()
{
    hideIcon();
}

void DragIcon::showFor(QWidget* row, const QPoint& hotSpot)
{
    if (!row)
        return;
    QPixmap grabbed = grabWidgetBlurred(row, 0, QWidget::DrawWindowBackground | QWidget::DrawChildren, QRect());
    const int cut = int(std::ceil(grabbed.devicePixelRatioF()));
    m_pixmap = grabbed.copy(0, 0, grabbed.width(), qMax(0, grabbed.height() - cut));
    m_pixmap.setDevicePixelRatio(grabbed.devicePixelRatioF());
    m_hotSpot = hotSpot;
    placeAt(QCursor::pos());
    if (!isVisible()) {
        QGuiApplication::setOverrideCursor(Qt::ClosedHandCursor);
        m_animator->setState(kScaleProperty, false, false);
        show();
        raise();
        m_animator->setState(kScaleProperty, true, true);
    }
    if (!m_mouse) {
        m_mouse = new CEventMouse(this);
        connect(m_mouse, &CEventMouse::mouseMoved, this, &DragIcon::placeAtDevicePoint);
    }
}

void DragIcon::setDropAllowed(bool allowed)
{
    if (allowed == m_dropAllowed)
        return;
    m_dropAllowed = allowed;
    m_animator->setState(kProgressProperty, !allowed, isVisible());
}

void DragIcon::hideIcon()
{
    if (isVisible()) {
        QGuiApplication::restoreOverrideCursor();
        hide();
    }
    delete m_mouse;
}

void DragIcon::setDropAllowedProgress(double progress)
{
    if (nearlyEqual(progress, m_dropAllowedProgress))
        return;
    m_dropAllowedProgress = progress;
    update();
}

void DragIcon::setScale(double scale)
{
    if (nearlyEqual(scale, m_scale))
        return;
    m_scale = scale;
    placeAt(m_pointer);
}

QPoint DragIcon::pointerOffset() const
{
    const double t = (m_scale - kShrunkScale) / (kFullScale - kShrunkScale);
    const int shrunkX = int(std::lround(m_hotSpot.x() * kShrunkScale));
    if (std::abs(t) <= 1e-12)
        return QPoint(shrunkX, kShrunkTop);
    if (std::abs(t - 1.0) <= 1e-12)
        return m_hotSpot;
    const double x = (m_hotSpot.x() - shrunkX) * t + shrunkX;
    const double y = (m_hotSpot.y() - kShrunkTop) * t + kShrunkTop;
    return QPoint(int(std::lround(x)), int(std::lround(y)));
}

void DragIcon::placeAt(const QPoint& globalPointer)
{
    m_pointer = globalPointer;
    if (m_pixmap.isNull()) {
        hide();
        return;
    }
    const QSize logical = (QSizeF(m_pixmap.size()) / m_pixmap.devicePixelRatioF()).toSize();
    const QSize size(int(std::lround(logical.width() * m_scale)), int(std::lround(logical.height() * m_scale)));
    move(globalPointer - pointerOffset());
    setFixedSize(size);
}

void DragIcon::placeAtDevicePoint(const QPoint& deviceGlobal)
{
    placeAt(toLogical(deviceGlobal));
}

void DragIcon::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const Cpalette* palette = currentPalette();
    const QRectF frame = QRectF(rect()).adjusted(0, 0, -1, -1);
    painter.setPen(palette->color(1));
    painter.setBrush(palette->color(2));
    painter.drawRoundedRect(frame, 4, 4);

    const double ratio = devicePixelRatioF();
    const QPixmap scaled = m_pixmap.scaled(size() * ratio, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    painter.drawPixmap(rect(), scaled, QRect(QPoint(), size() * ratio));
    if (m_dropAllowedProgress <= 1e-12)
        return;
    painter.setOpacity(m_dropAllowedProgress);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(rect(), QColor(0, 0, 0, 127));
}
