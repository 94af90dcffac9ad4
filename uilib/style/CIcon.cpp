#include "uilib/style/CIcon.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CResourceCache.h"
#include "uilib/style/DrawPrimitives.h"
#include "uilib/style/LibUtils.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace {

constexpr double Epsilon = 1e-12;

QString customSuffix(int state)
{
    switch (state) {
    case CIcon::Hover: return QStringLiteral("-hover");
    case CIcon::Pressed: return QStringLiteral("-pressed");
    case CIcon::Disabled: return QStringLiteral("-disabled");
    case CIcon::Checked: return QStringLiteral("-checked");
    case CIcon::CheckedHover: return QStringLiteral("-checked-hover");
    case CIcon::CheckedPressed: return QStringLiteral("-checked-pressed");
    case CIcon::CheckedDisabled: return QStringLiteral("-checked-disabled");
    default: return QString();
    }
}

QString standardSuffix(int state)
{
    switch (state) {
    case CIcon::Hover: return QStringLiteral("High");
    case CIcon::Pressed: return QStringLiteral("Press");
    case CIcon::Disabled: return QStringLiteral("Off");
    case CIcon::Checked: return QStringLiteral("Checked");
    case CIcon::CheckedHover: return QStringLiteral("CheckedHigh");
    case CIcon::CheckedPressed: return QStringLiteral("CheckedPress");
    case CIcon::CheckedDisabled: return QStringLiteral("CheckedOff");
    default: return QString();
    }
}

QSize pixelSize(const QSize& logical, double ratio)
{
    return QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

QString colorKey(const QColor& color)
{
    return color.isValid() ? color.name() : QStringLiteral("original");
}

// "CIcon-<path>-<colour fields>-<ratio>-<width>-<height>-<state>)"; empty without a path.
QString cacheKey(const QString& path, const QStringList& colorFields, double ratio, const QSize& pixels, int state)
{
    if (path.isEmpty())
        return QString();
    QStringList parts{QStringLiteral("CIcon"), path};
    parts << colorFields << QString::number(ratio, 'g', 6) << QString::number(pixels.width())
          << QString::number(pixels.height()) << QString::number(state);
    return parts.join(QLatin1Char('-')) + QLatin1Char(')');
}

std::shared_ptr<QSvgRenderer> loadRenderer(const QString& file)
{
    if (!QFile::exists(file))
        return nullptr;
    auto renderer = std::make_shared<QSvgRenderer>(file);
    if (!renderer->isValid() || !renderer->defaultSize().isValid())
        return nullptr;
    return renderer;
}

// The image at the path and its resolution variants "@125" to "@2x" in one QIcon.
QIcon loadIcon(const QString& path)
{
    static const char* const resolutions[] = {"", "@125", "@150", "@175", "@200", "@2x"};
    QIcon icon;
    QStringList read;
    for (const char* resolution : resolutions) {
        const QString file = CIcon::variantPath(path, QLatin1String(resolution));
        if (read.contains(file))
            continue;
        read.append(file);
        QImageReader reader(file);
        reader.setAutoTransform(true);
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

bool findCached(CResourceCache* cache, const QString& key, QPixmap* out)
{
    return cache && !key.isEmpty() && cache->find(key, out);
}

void insertCached(CResourceCache* cache, const QString& key, const QPixmap& pixmap)
{
    if (cache && !key.isEmpty() && !pixmap.isNull())
        cache->insert(key, pixmap);
}

QPixmap recolored(const QPixmap& pixmap, const QColor& color)
{
    QImage image = pixmap.toImage();
    recolorImage(image, color);
    return QPixmap::fromImage(image);
}

} // namespace

CIcon::~CIcon() = default;

QPixmap CIcon::pixmap(double ratio, const QSize& size, const QColor&, int) const
{
    const QSize logical = sizeOrDefault(size);
    if (logical.isEmpty())
        return QPixmap();
    return makeTransparentPixmap(logical, ratio, Qt::transparent);
}

QPixmap CIcon::paint(double ratio, const QSize& size, const QColor& color, const CAnimationWidget& state) const
{
    const QSize logical = sizeOrDefault(size);
    if (logical.isEmpty())
        return QPixmap();
    const bool checked = state.isChecked();
    QPixmap result = makeTransparentPixmap(logical, ratio, Qt::transparent);
    QPainter painter(&result);
    const bool ownColors = !color.isValid();
    if (ownColors)
        painter.setOpacity(state.opacity());
    painter.drawPixmap(0, 0, pixmap(ratio, size, color, checked ? Checked : Normal));
    if (!ownColors)
        return result;
    if (state.isPressed()) {
        painter.setOpacity(painter.opacity() * state.pressedProgress());
        painter.drawPixmap(0, 0, pixmap(ratio, size, color, checked ? CheckedPressed : Pressed));
    } else if (!state.isDisabled() && state.hoveredProgress() > Epsilon) {
        painter.setOpacity(painter.opacity() * state.hoveredProgress());
        painter.drawPixmap(0, 0, pixmap(ratio, size, color, checked ? CheckedHover : Hover));
    }
    return result;
}

void CIcon::paintAligned(QPainter* painter, const QRect& rect, Qt::Alignment alignment, const QSize& size,
                         const QColor& color, int state) const
{
    const double ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QPixmap picture = pixmap(ratio, sizeOrDefault(size), color, state);
    if (picture.isNull())
        return;
    const QSize logical = toLogicalSize(picture.size(), picture.devicePixelRatioF());
    QPointF topLeft = alignRectInArea(logical, alignment, rect, false).topLeft();
    if (!isWholeRatio(ratio))
        topLeft = QPointF(std::round(topLeft.x() * ratio) / ratio, std::round(topLeft.y() * ratio) / ratio);
    painter->drawPixmap(topLeft, picture);
}

void CIcon::drawAligned(QPainter* painter, const QRect& rect, Qt::Alignment alignment, const QSize& size,
                        const QColor& color, const CAnimationWidget& state) const
{
    const double ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QPixmap picture = paint(ratio, sizeOrDefault(size), color, state);
    if (picture.isNull())
        return;
    const QSize logical = toLogicalSize(picture.size(), picture.devicePixelRatioF());
    painter->drawPixmap(alignRectInArea(logical, alignment, rect, false).topLeft(), picture);
}

int CIcon::variantFallback(int state)
{
    switch (state) {
    case Hover:
    case Pressed:
    case Disabled: return Normal;
    case Checked: return Pressed;
    case CheckedHover:
    case CheckedPressed:
    case CheckedDisabled: return Checked;
    default: return 0;
    }
}

QString CIcon::variantPath(const QString& path, const QString& suffix)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return path;
    return path.left(dot) + suffix + path.mid(dot);
}

const QList<int>& CIcon::variantStates()
{
    static const QList<int> states = {Hover, Pressed, Disabled, Checked, CheckedHover, CheckedPressed,
                                      CheckedDisabled};
    return states;
}

CIconCustom::CIconCustom(const QString& path, CResourceCache* cache)
    : m_cache(cache)
{
    std::shared_ptr<QSvgRenderer> normal = loadRenderer(path);
    if (!normal)
        return;
    m_renderers.insert(Normal, normal);
    setSize(normal->defaultSize());
    setPath(path);
    for (int state : variantStates()) {
        const QString file = variantPath(path, customSuffix(state));
        std::shared_ptr<QSvgRenderer> variant = file != path ? loadRenderer(file) : nullptr;
        m_renderers.insert(state, variant ? variant : m_renderers.value(variantFallback(state)));
    }
}

CIconCustom::~CIconCustom() = default;

QPixmap CIconCustom::pixmap(double ratio, const QSize& size, const QColor& color, int state) const
{
    if (!isValid())
        return QPixmap();
    const QSize pixels = pixelSize(sizeOrDefault(size), ratio);
    if (pixels.isEmpty())
        return QPixmap();
    const QString alpha = color.isValid() ? QString::number(color.alpha()) : QStringLiteral("original");
    const QString key = cacheKey(path(), {colorKey(color), alpha}, ratio, pixels, state);
    QPixmap result;
    if (findCached(m_cache, key, &result))
        return result;
    const std::shared_ptr<QSvgRenderer> renderer = m_renderers.value(state);
    if (!renderer)
        return QPixmap();
    if (color.isValid()) {
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setOpacity(color.alphaF());
        renderer->render(&painter, QRectF(QPointF(), QSizeF(pixels)));
        painter.end();
        recolorImage(image, color);
        result = QPixmap::fromImage(image);
    } else {
        result = QPixmap(pixels);
        result.fill(Qt::transparent);
        QPainter painter(&result);
        renderer->render(&painter, QRectF(QPointF(), QSizeF(pixels)));
    }
    result.setDevicePixelRatio(ratio);
    insertCached(m_cache, key, result);
    return result;
}

CIconStandard::CIconStandard(const QString& path, CResourceCache* cache)
    : m_cache(cache)
{
    const QIcon normal = loadIcon(path);
    if (normal.isNull())
        return;
    m_icons.insert(Normal, normal);
    const QList<QSize> sizes = normal.availableSizes();
    setSize(sizes.isEmpty() ? QSize() : sizes.first());
    setPath(path);
    for (int state : variantStates()) {
        const QString file = variantPath(path, standardSuffix(state));
        const bool own = file != path && QFile::exists(file);
        m_icons.insert(state, own ? loadIcon(file) : m_icons.value(variantFallback(state)));
    }
}

CIconStandard::~CIconStandard() = default;

QPixmap CIconStandard::pixmap(double ratio, const QSize& size, const QColor& color, int state) const
{
    if (!isValid())
        return QPixmap();
    const QSize logical = sizeOrDefault(size);
    const QSize pixels = pixelSize(logical, ratio);
    if (pixels.isEmpty())
        return QPixmap();
    const QString key = cacheKey(path(), {colorKey(color)}, ratio, pixels, state);
    QPixmap result;
    if (findCached(m_cache, key, &result))
        return result;
    if (!m_icons.contains(state))
        return QPixmap();
    result = makeTransparentPixmap(logical, ratio, Qt::transparent);
    {
        QPainter painter(&result);
        m_icons.value(state).paint(&painter, QRect(QPoint(), logical), Qt::AlignCenter, QIcon::Normal, QIcon::Off);
    }
    if (color.isValid())
        result = recolored(result, color);
    result.setDevicePixelRatio(ratio);
    insertCached(m_cache, key, result);
    return result;
}
