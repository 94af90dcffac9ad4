#include "uilib/style/CShadowPanel.h"

#include "uilib/controls/CBorder.h"
#include "uilib/style/CAnimationProgress.h"
#include "uilib/style/CPlatformIntegration.h"
#include "uilib/style/DrawPrimitives.h"

#include <QPainter>
#include <QtMath>
#include <QWidget>
#include <QWindow>

#include <algorithm>

#include <private/qhighdpiscaling_p.h>

// Qt's own image blur, exported by the widgets module.
Q_DECL_IMPORT void qt_blurImage(QPainter* p, QImage& blurImage, qreal radius, bool quality, bool alphaOnly,
                                int transposed = 0);

namespace {

constexpr int kFadeMs = 250;

// A translucent tool window that takes no input and never activates, showing the image.
class ShadowWindow : public QWidget
{
public:
    explicit ShadowWindow(QWidget* owner)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
                               | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint)
        , m_owner(owner)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_NoSystemBackground);
    }

    void setImage(const QImage& image) { m_image = image; }

    void place(const QRect& deviceGeometry, double ratio, int alpha)
    {
        QWindow* ownerWindow = m_owner ? m_owner->windowHandle() : nullptr;
        const QRect logical = ownerWindow ? QHighDpi::fromNativePixels(deviceGeometry, ownerWindow)
                                          : QRect(deviceGeometry.topLeft() / ratio, deviceGeometry.size() / ratio);
        m_image.setDevicePixelRatio(ratio);
        m_alpha = alpha;
        setGeometry(logical);
        update();
    }

    void setShown(bool shown)
    {
        setVisible(shown);
        if (!shown || !m_owner)
            return;
        // Stacked right below the window it belongs to.
        raise();
        m_owner->raise();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setOpacity(m_alpha / 255.0);
        painter.drawImage(rect(), m_image);
    }

private:
    QPointer<QWidget> m_owner;
    QImage m_image;
    int m_alpha = 255;
};

class WindowSurface : public IShadowSurface
{
public:
    explicit WindowSurface(QWidget* owner) : m_window(new ShadowWindow(owner)) {}
    ~WindowSurface() override { delete m_window; }

    void setImage(const QImage& image) override { m_window->setImage(image); }
    void update(const QRect& deviceGeometry, double ratio, int alpha) override
    {
        m_window->place(deviceGeometry, ratio, alpha);
    }
    void setShown(bool shown) override { m_window->setShown(shown); }

private:
    ShadowWindow* m_window;
};

CShadowPanel::SurfaceFactory& surfaceFactory()
{
    static CShadowPanel::SurfaceFactory factory;
    return factory;
}

bool sameRatio(double a, double b)
{
    return qFuzzyCompare(a, b);
}

} // namespace

CShadowPanel::CShadowPanel(QWidget* window, CBorder* border, QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_border(border)
    , m_fade(new CAnimationProgress(this, AnimationParams{QEasingCurve::InQuad, kFadeMs, QEasingCurve::InQuad,
                                                          kFadeMs, 0.0, 1.0}))
{
    m_fade->jumpToEnd();
    connect(m_fade, &CAnimationProgress::progressChanged, this, [this] { layeredUpdate(); });
    if (m_border) {
        connect(m_border, &CBorder::shadowColorChanged, this, [this] {
            if (m_record.visible)
                rebuild();
        });
    }
}

CShadowPanel::~CShadowPanel() = default;

void CShadowPanel::setSurfaceFactory(const SurfaceFactory& factory)
{
    surfaceFactory() = factory;
}

void CShadowPanel::refresh()
{
    QWindow* native = m_window ? m_window->windowHandle() : nullptr;
    if (m_surface && native == m_nativeWindow) {
        follow();
        return;
    }
    m_surface.reset();
    QObject::disconnect(m_opacityConnection);
    m_record = Record();
    m_hasImage = false;
    if (!m_border)
        return;
    m_nativeWindow = native;
    if (!native)
        return;
    m_opacityConnection = connect(native, &QWindow::opacityChanged, this, [this](qreal opacity) {
        if (sameRatio(opacity, m_windowOpacity))
            return;
        m_windowOpacity = opacity;
        layeredUpdate();
    });
    m_surface = surfaceFactory() ? surfaceFactory()(m_window) : std::make_unique<WindowSurface>(m_window);
    m_windowOpacity = native->opacity();
    follow();
}

int CShadowPanel::alpha() const
{
    return qRound(m_windowOpacity * m_fade->progress() * 255);
}

QRect CShadowPanel::shadowGeometry(const QRect& deviceWindowRect, int blur, double ratio)
{
    const int grow = qRound(blur * ratio);
    return deviceWindowRect.adjusted(-grow, -grow, grow, grow);
}

CShadowPanel::Step CShadowPanel::nextStep(const Record& previous, const Record& next, bool hasImage)
{
    const bool sameLook = sameRatio(previous.ratio, next.ratio) && previous.anchorSide == next.anchorSide
        && previous.anchorAlignment == next.anchorAlignment;
    const bool sameVisibility = previous.visible == next.visible;
    if (sameLook && sameVisibility && previous.geometry == next.geometry)
        return Step::None;
    if (!sameLook)
        return Step::Rebuild;
    const bool justHidden = previous.visible && !next.visible;
    const bool stillHidden = sameVisibility && !next.visible;
    const bool sameImage = sameVisibility && previous.geometry.size() == next.geometry.size() && hasImage;
    return justHidden || stillHidden || sameImage ? Step::Update : Step::Rebuild;
}

bool CShadowPanel::shouldShow() const
{
    QWidget* window = m_window;
    return window && window->isVisible() && !window->isMinimized() && !window->isMaximized()
        && !window->isFullScreen() && CPlatformIntegration::isCompositingManagerRunning();
}

CShadowPanel::Record CShadowPanel::currentRecord() const
{
    Record record;
    record.visible = shouldShow();
    const double ratio = m_window->devicePixelRatioF();
    record.ratio = ratio;
    record.anchorSide = m_border->anchorSide();
    record.anchorAlignment = m_border->anchorAlignment();
    const QRect deviceRect = m_nativeWindow ? QHighDpi::toNativePixels(m_window->geometry(), m_nativeWindow.data())
                                            : QRect(m_window->pos() * ratio, m_window->size() * ratio);
    record.geometry = shadowGeometry(deviceRect, m_border->shadowBlur(), ratio);
    return record;
}

void CShadowPanel::follow()
{
    if (!m_surface || !m_window || !m_border)
        return;
    const Record next = currentRecord();
    const Step step = nextStep(m_record, next, m_hasImage);
    if (step == Step::None)
        return;
    const bool visibilityChanged = next.visible != m_record.visible;
    m_record = next;
    if (visibilityChanged)
        m_fade->resetToStart();
    if (step == Step::Rebuild)
        rebuild();
    else
        layeredUpdate();
    if (!visibilityChanged)
        return;
    m_surface->setShown(next.visible);
    if (next.visible)
        m_fade->playForward();
}

void CShadowPanel::layeredUpdate()
{
    if (m_surface)
        m_surface->update(m_record.geometry, m_record.ratio, alpha());
}

void CShadowPanel::rebuild()
{
    if (!m_surface || !m_border)
        return;
    // A hidden shadow needs no image: showing it builds one anyway.
    m_hasImage = m_record.visible;
    if (m_hasImage)
        m_surface->setImage(buildImage(m_record.geometry.size(), m_record.ratio, m_border));
    layeredUpdate();
}

namespace {

QImage transparentImage(const QSize& size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage blurredOutline(const QSize& deviceSize, double ratio, const CBorder* border)
{
    // The blur works at half size: an even size comes back in place, an odd one would shift.
    const QSize even((deviceSize.width() + 1) & ~1, (deviceSize.height() + 1) & ~1);
    QImage image = transparentImage(even);
    const double blur = border->shadowBlur() * ratio;
    const QRectF inner(blur, blur, deviceSize.width() - 2 * blur, deviceSize.height() - 2 * blur);
    QPainterPath outline;
    if (const CBorder::ShapeFunction shape = border->shapeFunction()) {
        outline = shape(border, inner.size(), ratio).translated(inner.topLeft());
    } else {
        const QMargins radii = border->margins();
        outline = roundedRectPath(inner, qRound(radii.left() * ratio), qRound(radii.top() * ratio),
                                  qRound(radii.right() * ratio), qRound(radii.bottom() * ratio));
    }
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillPath(outline.translated(0, border->shadowOffset() * ratio), Qt::black);
    }
    qt_blurImage(nullptr, image, blur, false, true);
    {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), border->shadowColor());
    }
    if (image.size() != even)
        image = image.scaled(even, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (even != deviceSize)
        image = image.copy(QRect(QPoint(), deviceSize));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillPath(outline, Qt::transparent);
    return image;
}

// The size of a shadow built whole that holds every corner and a middle row and column
// that stand for the straight edges; deviceSize itself when the window is too small to slice.
// The blur's tail fades below one step of alpha within about three blur radii.
QSize sliceSize(const QSize& deviceSize, double ratio, const CBorder* border)
{
    const QMargins radii = border->margins();
    const int radius = qRound(qMax(qMax(radii.left(), radii.top()), qMax(radii.right(), radii.bottom())) * ratio);
    const int margin = qCeil(border->shadowBlur() * ratio);
    const int reach = 3 * margin + 8 + radius;
    const auto side = [&](int full, int extra) {
        const int wanted = 2 * (margin + reach + extra) + 2;
        return wanted >= full ? full : wanted + ((full - wanted) & 1);
    };
    return QSize(side(deviceSize.width(), 0), side(deviceSize.height(), qCeil(qAbs(border->shadowOffset() * ratio))));
}

// The slice with its middle row and column repeated up to deviceSize, each pixel written once;
// the middle lies under the window and comes out clear. The growth is even, so the blur's
// half-size grid lines up.
QImage stretchSlice(const QImage& slice, const QSize& deviceSize)
{
    QImage image(deviceSize, QImage::Format_ARGB32_Premultiplied);
    const int cx = slice.width() / 2;
    const int cy = slice.height() / 2;
    const int dx = deviceSize.width() - slice.width();
    const int dy = deviceSize.height() - slice.height();
    const int right = slice.width() - cx;
    for (int y = 0; y < deviceSize.height(); ++y) {
        const int from = y < cy ? y : (y < cy + dy ? cy : y - dy);
        const auto* source = reinterpret_cast<const quint32*>(slice.constScanLine(from));
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        std::copy_n(source, cx, line);
        std::fill_n(line + cx, dx, source[cx]);
        std::copy_n(source + cx, right, line + cx + dx);
    }
    return image;
}

} // namespace

QImage CShadowPanel::buildImage(const QSize& deviceSize, double ratio, const CBorder* border)
{
    if (!border || deviceSize.isEmpty())
        return transparentImage(deviceSize);
    if (border->shapeFunction())
        return blurredOutline(deviceSize, ratio, border);
    const QSize slice = sliceSize(deviceSize, ratio, border);
    if (slice == deviceSize)
        return blurredOutline(deviceSize, ratio, border);
    return stretchSlice(blurredOutline(slice, ratio, border), deviceSize);
}
