#pragma once

#include "pages/SlideRowWidget.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QPointer>

#include <functional>

class CResourceCache;

// Square thumbnails of photo files for the slide rows, one cache for the process. A picture that
// is not ready is loaded by a task of the global thread pool; the button that asked last is
// repainted when it arrives. Used only on the GUI thread, apart from the loading.
class SlideRowWidget::ThumbnailCache : public QObject
{
public:
    // Reads a picture covering side x side; null when it cannot be read.
    using Loader = std::function<QImage(const QString& path, int side)>;

    static ThumbnailCache* instance();
    ~ThumbnailCache() override;

    static QString key(int side, const QString& path);
    // The cached pixmap, or a null one while it loads.
    QPixmap thumbnail(int side, const QString& path, ThumbnailButton* requester);
    // Run by the pool task.
    void loadThumbnail(int side, const QString& path);
    // Takes a loaded picture on the GUI thread.
    void complete(int side, const QString& path, const QImage& image);

    bool isPending(int side, const QString& path) const;
    // Replaces the picture reader (tests); an empty one restores the image loader.
    void setLoader(Loader loader);
    // Lets go of every pixmap and drops loads that complete later; done when the application
    // is about to quit.
    void close();

private:
    ThumbnailCache();

    QHash<QString, QPointer<ThumbnailButton>> m_pending;
    CResourceCache* m_pictures;
    Loader m_loader;
    bool m_closed = false;
};
