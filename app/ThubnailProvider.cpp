#include "app/ThubnailProvider.h"

#include "model/picture/ImageLoader.h"

#include <QMutexLocker>
#include <QPainter>

namespace {
constexpr int kIdlePauseMs = 500;
constexpr int kBusyPauseMs = 10;
const QColor kBackground(101, 101, 101);
} // namespace

ThubnailProvider::ThubnailProvider(QObject* parent)
    : QThread(parent)
{
}

ThubnailProvider::~ThubnailProvider() = default;

void ThubnailProvider::appendRequest(const QString& id, const QString& path, bool skip)
{
    QMutexLocker lock(&m_queueMutex);
    m_requests.append({id, path, skip});
}

QImage ThubnailProvider::thumbnail(const QString& id) const
{
    QMutexLocker lock(&m_cacheMutex);
    return m_cache.value(id);
}

void ThubnailProvider::stop()
{
    {
        QMutexLocker lock(&m_queueMutex);
        requestInterruption();
        m_stopped.wakeAll();
    }
    wait();
}

QImage ThubnailProvider::makeThumbnail(const QImage& picture)
{
    QImage thumbnail(kSide, kSide, QImage::Format_ARGB32);
    thumbnail.fill(kBackground);
    if (picture.isNull())
        return thumbnail;
    const QImage scaled = picture.scaled(kSide, kSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&thumbnail);
    painter.drawImage((kSide - scaled.width()) / 2, (kSide - scaled.height()) / 2, scaled);
    return thumbnail;
}

void ThubnailProvider::run()
{
    while (!isInterruptionRequested()) {
        Request request;
        bool taken = false;
        {
            QMutexLocker lock(&m_queueMutex);
            if (!m_requests.isEmpty()) {
                request = m_requests.takeFirst();
                taken = true;
            }
        }
        if (taken && !request.skip && !isInterruptionRequested()) {
            const QImage image = makeThumbnail(ImageLoader::loadImage(request.path, 0));
            {
                QMutexLocker lock(&m_cacheMutex);
                m_cache.insert(request.id, image);
            }
            emit complete(request.id);
        }
        QMutexLocker lock(&m_queueMutex);
        if (isInterruptionRequested())
            break;
        m_stopped.wait(&m_queueMutex, taken ? kBusyPauseMs : kIdlePauseMs);
    }
}
