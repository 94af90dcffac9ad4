// Transition effects: milliseconds per frame for every type at 1920 x 1080 (or --size WxH),
// with the new picture still (static) and changing every frame (moving). The sink keeps the
// last frames as the render job's queue does, so every frame pays for its own pixels.
// --sheet [folder] writes frames 0, n / 2 and n - 1 of every type as PNG files instead
// (default folder: transition-sheet in the build folder).
#include "model/transition/TransitionRenderer.h"

#include <QGuiApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLinearGradient>
#include <QPainter>

#include <cstdio>
#include <deque>

namespace {

const char* const typeNames[] = {
    "none", "random", "pixelate", "spiral in", "spiral out", "stripes", "wall", "checkerboard",
    "rotate out", "rotate in", "flip over", "wipe left-right", "wipe right-left",
    "wipe top-bottom", "wipe bottom-top", "wipe vertical in", "wipe vertical out",
    "stretch horizontal", "stretch vertical", "zoom in", "zoom out", "push from bottom",
    "push from left", "push from right", "push from top", "push from top-left", "fade black",
    "crossfade", "fade white"};

// A picture with a gradient, a grid and a big letter, so each effect's motion shows.
QImage picture(const QSize& size, const QColor& from, const QColor& to, const QString& letter)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QPen(Qt::white, 2));
    for (int x = 0; x < size.width(); x += size.width() / 8)
        painter.drawLine(x, 0, x, size.height());
    QFont font = painter.font();
    font.setPixelSize(size.height() / 2);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, letter);
    return image;
}

struct Pictures
{
    QImage old;
    QImage fresh[2];
};

// Average over one whole transition of n frames; -1 when it drew no frame.
double millisecondsPerFrame(int type, int n, const QSize& size, bool still, const Pictures& pictures)
{
    TransitionRenderer renderer;
    renderer.setFrameSize(size.width(), size.height(), Qt::SmoothTransformation);
    renderer.setIncremental(still);
    std::deque<QImage> queue;
    int fetches = 0;
    int frames = 0;
    QElapsedTimer timer;
    timer.start();
    renderer.render(type, n, [&] { return pictures.old; },
                    [&] { return pictures.fresh[still ? 0 : ++fetches % 2]; },
                    [&](const QImage& frame, int, int) {
                        queue.push_back(frame);
                        if (queue.size() > 2)
                            queue.pop_front();
                        ++frames;
                        return true;
                    });
    return frames ? timer.nsecsElapsed() / 1e6 / frames : -1.0;
}

void writeSheet(const QString& folder, int n, const QSize& size, const Pictures& pictures)
{
    QDir().mkpath(folder);
    for (int type = 0; type <= 28; ++type) {
        TransitionRenderer renderer;
        renderer.setFrameSize(size.width(), size.height(), Qt::SmoothTransformation);
        renderer.render(type, n, [&] { return pictures.old; }, [&] { return pictures.fresh[0]; },
                        [&](const QImage& frame, int index, int count) {
                            if (index == 0 || index == count / 2 || index == count - 1)
                                frame.save(QString("%1/type-%2-frame-%3.png")
                                               .arg(folder)
                                               .arg(type, 2, 10, QChar('0'))
                                               .arg(index, 2, 10, QChar('0')));
                            return true;
                        });
    }
    std::printf("contact sheet: %s\n", qPrintable(QDir(folder).absolutePath()));
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QSize size(1920, 1080);
    int n = 60;
    QString sheet;
    const QStringList args = app.arguments();
    for (int k = 1; k < args.size(); ++k) {
        if (args[k] == "--size" && k + 1 < args.size()) {
            const QStringList parts = args[++k].split('x');
            size = parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
        } else if (args[k] == "--frames" && k + 1 < args.size()) {
            n = args[++k].toInt();
        } else if (args[k] == "--sheet") {
            const bool named = k + 1 < args.size() && !args[k + 1].startsWith("--");
            sheet = named ? args[++k] : app.applicationDirPath() + "/../transition-sheet";
        }
    }
    if (size.isEmpty() || n < 1) {
        std::fprintf(stderr, "usage: bench_transitions [--size WxH] [--frames N] [--sheet [folder]]\n");
        return 2;
    }
    Pictures pictures;
    pictures.old = picture(size, QColor(20, 60, 160), QColor(120, 200, 255), "A");
    pictures.fresh[0] = picture(size, QColor(200, 80, 20), QColor(255, 220, 120), "B");
    pictures.fresh[1] = picture(size, QColor(190, 70, 30), QColor(250, 210, 110), "B");
    if (!sheet.isEmpty()) {
        writeSheet(sheet, n, size, pictures);
        return 0;
    }
    std::printf("%dx%d, %d frames, smooth scaling: ms per frame\n", size.width(), size.height(), n);
    std::printf("%4s  %-20s %8s %8s\n", "type", "effect", "static", "moving");
    for (int type = 0; type <= 28; ++type) {
        if (type == 1)
            continue;
        std::printf("%4d  %-20s %8.2f %8.2f\n", type, typeNames[type],
                    millisecondsPerFrame(type, n, size, true, pictures),
                    millisecondsPerFrame(type, n, size, false, pictures));
    }
    return 0;
}
