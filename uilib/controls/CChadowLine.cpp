#include "uilib/controls/CChadowLine.h"

#include "app/CSystemTools.h"
#include "uilib/style/CEventGeom.h"
#include "uilib/style/CResourceCache.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QPainter>
#include <QPointer>

#include <cmath>

QT_BEGIN_NAMESPACE
Q_DECL_IMPORT void qt_blurImage(QPainter* p, QImage& blurImage, qreal radius, bool quality, bool alphaOnly,
                                int transposed = 0);
QT_END_NAMESPACE

namespace {

constexpr int maxWidgetSize = 16777215;

QPixmap makeShadowImage(double ratio, int size, const QColor& color)
{
    const int side = 1 + 4 * size;
    const QSize pixels = QSize(side, side) * ratio;
    QImage block(pixels, QImage::Format_ARGB32_Premultiplied);
    block.setDevicePixelRatio(ratio);
    block.fill(Qt::transparent);
    {
        QPainter painter(&block);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(QRect(size, size, side - 2 * size, side - 2 * size), Qt::black);
    }
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        qt_blurImage(&painter, block, size * ratio, false, true);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), color);
    }
    if (image.size() != pixels)
        image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

QPixmap shadowImage(double ratio, int size, const QColor& color)
{
    const QString key = QStringLiteral("%1-%2-%3").arg(ratio, 0, 'g', -1).arg(2 * size).arg(color.rgba());
    CSystemTools* tools = CSystemTools::instance();
    CResourceCache* cache = tools ? tools->resourceCache() : nullptr;
    QPixmap pixmap;
    if (cache && cache->find(key, &pixmap))
        return pixmap;
    pixmap = makeShadowImage(ratio, size, color);
    if (cache)
        cache->insert(key, pixmap);
    return pixmap;
}

int swappedEdge(int edge)
{
    switch (edge) {
    case Qt::TopEdge: return Qt::BottomEdge;
    case Qt::BottomEdge: return Qt::TopEdge;
    case Qt::LeftEdge: return Qt::RightEdge;
    case Qt::RightEdge: return Qt::LeftEdge;
    }
    return edge;
}

// The rectangle between a and b, a before b along the row or along the column.
QRect between(const QRect& a, const QRect& b, bool row)
{
    if (row)
        return QRect(QPoint(a.x() + a.width(), a.y()), QPoint(b.x() - 1, b.bottom()));
    return QRect(QPoint(a.x(), a.y() + a.height()), QPoint(b.right(), b.y() - 1));
}

} // namespace

class CChadowLine::Private : public QObject
{
public:
    explicit Private(CChadowLine* line) : QObject(line), owner(line) {}

    void place()
    {
        if (mode != 0 && target)
            owner->setGeometry(placement(edge, mode == 2, size, target->geometry()));
    }

    // A line shows only beside a target inside a parent widget: never as a window of its own.
    void follow(bool visible)
    {
        owner->setVisible(visible && owner->parentWidget());
        owner->raise();
    }

    CChadowLine* owner;
    int edge = 0;
    int mode = 0;
    int size = 0;
    QColor color;
    QPointer<QWidget> target;
};

CChadowLine::CChadowLine(int styleKind, int edge, int mode, QWidget* target, bool deferStyle)
    : QWidget(nullptr)
    , CDrawable(styleKind)
    , CAnimationShow2(this)
    , d(new Private(this))
{
    d->edge = edge;
    d->mode = mode;
    d->target = target;
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (mode != 0 && target) {
        auto* watcher = new CEventGeom(target, 0);
        connect(watcher, &CEventGeom::parentWidgetChanged, this, [this](QWidget* parent) {
            const bool visible = d->target && d->target->isVisible();
            setParent(parent);
            d->place();
            d->follow(visible);
        });
        connect(watcher, &CEventGeom::visibilityChanged, this, [this](bool visible) { d->follow(visible); });
        connect(watcher, &CEventGeom::geometryChanged, this, [this] { d->place(); });
        connect(target, &QObject::destroyed, this, &QObject::deleteLater);
        setParent(target->parentWidget());
        d->place();
        d->follow(target->isVisible());
    }
    if (!deferStyle)
        applyStyle();
}

CChadowLine::~CChadowLine() = default;

void CChadowLine::applyStyle()
{
    if (hasStyle())
        currentPalette()->styleShadowLine(this, styleKind());
}

void CChadowLine::setShadowSize(int size)
{
    if (size == d->size)
        return;
    d->size = size;
    if (d->mode != 0) {
        d->place();
        update();
        return;
    }
    const bool across = d->edge == Qt::TopEdge || d->edge == Qt::BottomEdge;
    setFixedHeight(across ? size : maxWidgetSize);
    setFixedWidth(across ? maxWidgetSize : size);
}

void CChadowLine::setColor(const QColor& color)
{
    if (color == d->color)
        return;
    d->color = color;
    update();
}

int CChadowLine::shadowSize() const { return d->size; }
QColor CChadowLine::color() const { return d->color; }
int CChadowLine::edge() const { return d->edge; }

QRect CChadowLine::placement(int edge, bool inside, int s, const QRect& g)
{
    switch (edge) {
    case Qt::TopEdge: return QRect(g.x(), g.y() - (inside ? 0 : s), g.width(), s);
    case Qt::LeftEdge: return QRect(g.x() - (inside ? 0 : s), g.y(), s, g.height());
    case Qt::RightEdge: return QRect(g.x() + g.width() - (inside ? s : 0), g.y(), s, g.height());
    case Qt::BottomEdge: return QRect(g.x(), g.y() + g.height() - (inside ? s : 0), g.width(), s);
    }
    return QRect();
}

void CChadowLine::paintEvent(QPaintEvent*)
{
    const int s = d->size;
    if (s <= 0 || !d->color.isValid() || d->color.alpha() == 0)
        return;
    QPainter painter(this);
    const double r = painter.device()->devicePixelRatioF();
    const QPixmap image = shadowImage(r, s, d->color);
    const int e = d->mode == 2 ? swappedEdge(d->edge) : d->edge;
    const QRect R = rect();
    const int k = int(std::lround(0.8 * s));
    const int dpx = int(std::lround(2 * s * r));
    QRect first;
    QRect last;
    QRect firstSource;
    QRect lastSource;
    const bool row = e == Qt::TopEdge || e == Qt::BottomEdge;
    if (row) {
        first = QRect(R.left() - k, R.top(), 2 * s, R.height());
        last = QRect(R.right() - 2 * s + k, R.top(), 2 * s, R.height());
        const int h = int(std::lround(R.height() * r));
        const int y0 = e == Qt::TopEdge ? 0 : image.height() - h;
        firstSource = QRect(0, y0, dpx, h);
        lastSource = QRect(dpx + 1, y0, dpx, h);
    } else {
        first = QRect(R.left(), R.top() - k, R.width(), 2 * s);
        last = QRect(R.left(), R.bottom() - 2 * s + k, R.width(), 2 * s);
        const int w = int(std::lround(R.width() * r));
        const int x0 = e == Qt::LeftEdge ? 0 : image.width() - w;
        firstSource = QRect(x0, 0, w, dpx);
        lastSource = QRect(x0, dpx + 1, w, dpx);
    }
    painter.drawPixmap(first, image, firstSource);
    painter.drawPixmap(between(first, last, row), image, between(firstSource, lastSource, row));
    painter.drawPixmap(last, image, lastSource);
}
