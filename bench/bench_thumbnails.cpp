// Row thumbnails of many large photos: time until the first ten and until all are cached, the
// GUI-thread time of one completion, and peak memory.
//   bench_thumbnails [count]   photos are written once into <temp>/ty_bench_thumbnails
#include "BenchPhotoFolder.h"
#include "BenchTiming.h"

#include "model/picture/ImageLoader.h"
#include "pages/SlideRowThumbnailCache.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThreadPool>

#include <cstdio>

namespace {

using Cache = SlideRowWidget::ThumbnailCache;
const int kSides[] = {64, 128};

int pendingCount(const QStringList& paths)
{
    int pending = 0;
    for (const QString& path : paths)
        for (int side : kSides)
            pending += Cache::instance()->isPending(side, path) ? 1 : 0;
    return pending;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    const QStringList paths = benchPhotoFolder(QStringLiteral("ty_bench_thumbnails"), count);
    const long baseKb = residentKb();
    std::printf("photos: %d of 4000x3000, sides 64 and 128, pool threads %d\n", count,
                QThreadPool::globalInstance()->maxThreadCount());

    QElapsedTimer timer;
    timer.start();
    for (const QString& path : paths)
        for (int side : kSides)
            Cache::instance()->thumbnail(side, path, nullptr);
    const int requested = count * int(std::size(kSides));
    double firstTen = -1;
    QDeadlineTimer deadline(600000);
    int pending = requested;
    while (pending > 0 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        pending = pendingCount(paths);
        if (firstTen < 0 && requested - pending >= 10)
            firstTen = timer.nsecsElapsed() / 1e9;
    }
    const double all = timer.nsecsElapsed() / 1e9;
    std::printf("first ten cached: %.3f s\nall %d cached: %.2f s%s\n", firstTen, requested, all,
                pending ? " (deadline passed)" : "");

    const QImage loaded = ImageLoader::loadImage(paths.first(), 128);
    int key = 0;
    const double completion = medianMs(200, [&] {
        Cache::instance()->complete(128, QStringLiteral("bench-%1").arg(key++), loaded);
    });
    std::printf("GUI time per completion (128): %.3f ms\n", completion);
    std::printf("resident: %ld kB before, %ld kB after, peak %ld kB\n", baseKb, residentKb(), peakResidentKb());
    return 0;
}
