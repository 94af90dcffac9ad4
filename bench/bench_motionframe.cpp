// Time of one motion frame of a cached photo slide, per motion and fill mode.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>

#include "model/MotionType.h"
#include "model/ProjectItemSimple.h"

#include <algorithm>

namespace {

// Rounds of frames over the whole progress; the best round is printed, being the one least
// disturbed by other work on the machine.
constexpr int kFrames = 60;
constexpr int kRounds = 5;
const QSize kFrame(1920, 1080);

// A 12-megapixel photo with fine detail, so that scaling has real work.
QString writePhoto(const QTemporaryDir& dir)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, image.width(), image.height());
    gradient.setColorAt(0, QColor(30, 80, 160));
    gradient.setColorAt(1, QColor(230, 190, 60));
    painter.fillRect(image.rect(), gradient);
    for (int i = 0; i < 400; ++i) {
        painter.setBrush(QColor::fromHsv(i * 37 % 360, 200, 230));
        painter.drawEllipse(QPoint(i * 97 % 4000, i * 53 % 3000), 60, 40);
    }
    painter.end();
    const QString path = dir.filePath("photo.jpg");
    image.save(path, "jpg", 90);
    return path;
}

struct Case
{
    const char* name;
    int motion;
    bool scaleToFit;
    bool blur;
    bool caption;
};

void measure(const QString& photo, const Case& c)
{
    ProjectItemSimple slide(photo, 3000, 0);
    if (c.caption)
        slide.text().text = QStringLiteral("Caption over a moving picture");
    QElapsedTimer timer;
    timer.start();
    slide.renderMotion(c.motion, kFrame.width(), kFrame.height(), c.scaleToFit, c.blur, 0);
    const double firstMs = timer.nsecsElapsed() / 1e6;
    double ms = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        timer.restart();
        for (int i = 0; i < kFrames; ++i) {
            QImage frame = slide.renderMotion(c.motion, kFrame.width(), kFrame.height(),
                                              c.scaleToFit, c.blur, 10000.0 * i / (kFrames - 1));
            if (c.caption)
                slide.drawText(frame);
        }
        ms = std::min(ms, timer.nsecsElapsed() / 1e6 / kFrames);
    }
    QTextStream(stdout) << QString("%1 %2x%3: %4 ms/frame (%5 fps); first frame %6 ms\n")
                               .arg(QLatin1String(c.name), -26)
                               .arg(kFrame.width())
                               .arg(kFrame.height())
                               .arg(ms, 0, 'f', 2)
                               .arg(1000 / ms, 0, 'f', 0)
                               .arg(firstMs, 0, 'f', 0);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString photo = writePhoto(dir);
    const Case cases[] = {
        {"pan", MotionPanLeft, false, false, false},
        {"pan up", MotionPanUp, false, false, false},
        {"zoom in", MotionZoomInCenter, false, false, false},
        {"zoom out, fit", MotionZoomOutLeft, true, false, false},
        {"zoom in, fit, blur", MotionZoomInCenter, true, true, false},
        {"pan with caption", MotionPanLeft, false, false, true},
    };
    for (const Case& c : cases)
        measure(photo, c);
    return 0;
}
