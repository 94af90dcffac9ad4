#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QThread>
#include <QWaitCondition>

// A worker thread that turns queued pictures into 62 x 62 thumbnails on grey, keeps them by id
// and announces each one. It checks its queue every 500 ms, 10 ms after a request; an
// interruption request ends it within one pause, stop() at once.
class ThubnailProvider : public QThread
{
    Q_OBJECT
public:
    static constexpr int kSide = 62;

    explicit ThubnailProvider(QObject* parent);
    ~ThubnailProvider() override;

    // Queues a picture; a skipped request is taken off the queue without a thumbnail.
    void appendRequest(const QString& id, const QString& path, bool skip = false);
    // The thumbnail of that id, null until it is made.
    QImage thumbnail(const QString& id) const;

    // Requests the interruption, ends the pause under way and waits for the thread.
    void stop();

    // The picture scaled to fit, centred on the grey square.
    static QImage makeThumbnail(const QImage& picture);

signals:
    // Emitted from the worker thread once the thumbnail is in the cache.
    void complete(QString id);

protected:
    void run() override;

private:
    struct Request
    {
        QString id;
        QString path;
        bool skip = false;
    };

    QList<Request> m_requests;
    QHash<QString, QImage> m_cache;
    mutable QMutex m_cacheMutex;
    QMutex m_queueMutex;
    // Signalled by stop(); the pauses wait on it under the queue mutex.
    QWaitCondition m_stopped;
};
