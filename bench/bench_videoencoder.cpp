// Encoding speed per container and size, from frames drawn in advance.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>

#include "helper/VideoEncoder.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

constexpr int kFrames = 60;

// A few frames with gradients and shapes, so the codecs have real work.
QList<QImage> drawFrames(const QSize& size)
{
    QList<QImage> frames;
    for (int i = 0; i < 4; ++i) {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        QLinearGradient gradient(0, 0, size.width(), size.height());
        gradient.setColorAt(0, QColor::fromHsv(i * 40, 200, 220));
        gradient.setColorAt(1, QColor::fromHsv(200 + i * 20, 180, 90));
        painter.fillRect(image.rect(), gradient);
        for (int j = 0; j < 20; ++j) {
            painter.setBrush(QColor::fromHsv((j * 37 + i * 11) % 360, 220, 240));
            painter.drawEllipse(QPoint((j * 97 + i * 23) % size.width(), (j * 53 + i * 31) % size.height()),
                                size.width() / 12, size.height() / 10);
        }
        frames.append(image);
    }
    return frames;
}

void measure(const QString& extension, const QSize& size, const QList<QImage>& frames, const QTemporaryDir& dir)
{
    const QString file = dir.filePath("bench." + extension);
    VideoEncoder encoder;
    encoder.setFileName(file);
    encoder.setWidth(size.width());
    encoder.setHeight(size.height());
    encoder.setFps(30);
    QElapsedTimer timer;
    timer.start();
    if (!encoder.open()) {
        QTextStream(stdout) << extension << " " << size.width() << "x" << size.height() << ": open failed\n";
        return;
    }
    for (int i = 0; i < kFrames; ++i)
        encoder.encodeFrame(frames[i % frames.size()]);
    encoder.close();
    const double ms = timer.nsecsElapsed() / 1e6;
    QTextStream(stdout) << QString("%1 %2x%3: %4 frames in %5 ms, %6 ms/frame, %7 fps, %8 KiB\n")
                               .arg(extension, -5)
                               .arg(size.width())
                               .arg(size.height())
                               .arg(kFrames)
                               .arg(ms, 0, 'f', 0)
                               .arg(ms / kFrames, 0, 'f', 1)
                               .arg(kFrames * 1000.0 / ms, 0, 'f', 1)
                               .arg(QFileInfo(file).size() / 1024);
}

} // namespace

int main()
{
    av_log_set_level(AV_LOG_ERROR);
    QTemporaryDir dir;
    for (const QSize& size : {QSize(1280, 720), QSize(1920, 1080)}) {
        const QList<QImage> frames = drawFrames(size);
        for (const char* extension : {"mp4", "webm", "avi", "wmv", "mjpeg"})
            measure(extension, size, frames, dir);
    }
    return 0;
}
