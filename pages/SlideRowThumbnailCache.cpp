#include "pages/SlideRowThumbnailCache.h"

#include "model/picture/ImageLoader.h"
#include "uilib/style/CResourceCache.h"

#include <QCoreApplication>
#include <QPainter>
#include <QtConcurrent/QtConcurrentRun>

namespace {

constexpr int kCacheLimitMegabytes = 250;

QImage loadWithImageLoader(const QString& path, int side)
{
    return ImageLoader::loadImage(path, side);
}

} // namespace

SlideRowWidget::ThumbnailCache* SlideRowWidget::ThumbnailCache::instance()
{
    static ThumbnailCache cache;
    return &cache;
}

SlideRowWidget::ThumbnailCache::ThumbnailCache()
    : m_pictures(new CResourceCache(this))
    , m_loader(loadWithImageLoader)
{
    m_pictures->setCacheLimit(kCacheLimitMegabytes);
    if (auto* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &ThumbnailCache::close);
}

SlideRowWidget::ThumbnailCache::~ThumbnailCache() = default;

QString SlideRowWidget::ThumbnailCache::key(int side, const QString& path)
{
    return QStringLiteral("%1-%2").arg(side).arg(path);
}

QPixmap SlideRowWidget::ThumbnailCache::thumbnail(int side, const QString& path, ThumbnailButton* requester)
{
    if (m_closed)
        return QPixmap();
    const QString k = key(side, path);
    QPixmap pixmap;
    if (m_pictures->find(k, &pixmap))
        return pixmap;
    if (!m_pending.contains(k))
        QtConcurrent::run([this, side, path] { loadThumbnail(side, path); });
    m_pending.insert(k, requester);
    return QPixmap();
}

void SlideRowWidget::ThumbnailCache::loadThumbnail(int side, const QString& path)
{
    const QImage image = m_loader(path, side);
    QMetaObject::invokeMethod(
        this, [this, side, path, image] { complete(side, path, image); }, Qt::QueuedConnection);
}

void SlideRowWidget::ThumbnailCache::complete(int side, const QString& path, const QImage& image)
{
    if (m_closed)
        return;
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    if (!image.isNull()) {
        QPainter painter(&pixmap);
        painter.drawImage(QPoint((side - image.width()) / 2, (side - image.height()) / 2), image);
    }
    const QString k = key(side, path);
    m_pictures->insert(k, pixmap);
    const QPointer<ThumbnailButton> requester = m_pending.take(k);
    if (requester)
        requester->update();
}

bool SlideRowWidget::ThumbnailCache::isPending(int side, const QString& path) const
{
    return m_pending.contains(key(side, path));
}

void SlideRowWidget::ThumbnailCache::setLoader(Loader loader)
{
    m_loader = loader ? std::move(loader) : Loader(loadWithImageLoader);
}

void SlideRowWidget::ThumbnailCache::close()
{
    m_closed = true;
    m_pending.clear();
    delete m_pictures;
    m_pictures = nullptr;
}
