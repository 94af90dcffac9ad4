// Caption drawing per frame: layout alone, the caption image of SlideText::render
// (made at the size of its rectangle) against one made through a frame-sized canvas,
// and ProjectItem::drawText over a frame.
#include "BenchTiming.h"
#include "model/ProjectItemColor.h"
#include "model/SlideText.h"

#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <functional>

namespace {

// Prints the median time of `runs` runs, after one warm-up run.
void report(const char* what, int runs, const std::function<void()>& work)
{
    std::printf("%-58s %8.3f ms\n", what, medianMs(runs, work));
}

// The caption image made the long way: a frame-sized canvas cut to the rectangle.
QImage throughFrameCanvas(const SlideText& caption, const QImage& frame)
{
    const SlideText::Layout layout = caption.layout(frame.width(), frame.height());
    QImage canvas = frame.copy();
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(caption.text_color);
    painter.setFont(layout.font);
    if (caption.bg_color.isValid())
        painter.fillRect(layout.rect, caption.bg_color);
    painter.drawText(layout.textArea, layout.flags, caption.text);
    painter.end();
    return canvas.copy(layout.rect);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    for (const QSize size : {QSize(460, 277), QSize(1920, 1080), QSize(3840, 2160)}) {
        QImage frame(size, QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::darkCyan);
        SlideText caption;
        caption.text = QStringLiteral("Summer by the sea\nДень первый");
        caption.text_color = Qt::white;
        caption.bg_color = Qt::black;
        caption.position = TextInfo::BottomRight;
        ProjectItemColor item(3000, 0);
        item.setText(caption);

        std::printf("-- %dx%d\n", size.width(), size.height());
        report("layout", 50, [&] { caption.layout(size.width(), size.height()); });
        report("render: caption image at its rectangle's size", 50, [&] {
            QImage image;
            QRect rect;
            caption.render(frame, image, rect);
        });
        report("same through a frame-sized canvas", 50,
               [&] { throughFrameCanvas(caption, frame); });
        report("drawText over a frame", 50, [&] {
            QImage copy = frame;
            item.drawText(copy);
        });
    }
    return 0;
}
