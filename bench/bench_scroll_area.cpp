// A 600-pixel-high scroll area with top and bottom shadows and overlay bars over 1,000 rows of a
// label and a button, scrolled one row at a time 1,000 times with each step painted. Prints the
// time per step, the widgets painted, the memory the rows take and the shadow images in use.

#include "BenchTiming.h"
#include "app/CApplicaiton.h"
#include "app/CSystemTools.h"
#include "uilib/controls/CAnimationScrollBar.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CChadowLine.h"
#include "uilib/controls/CScrollArea.h"
#include "uilib/controls/CShadowInner.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CResourceCache.h"

#include <QHBoxLayout>
#include <QScrollBar>
#include <QSet>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Rows = 1000;
constexpr int Steps = 1000;
constexpr int RowHeight = 40;

QWidget* makeRow(int index)
{
    auto* row = new QWidget;
    row->setFixedHeight(RowHeight);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(8, 0, 8, 0);
    auto* text = new CWidgetText(row);
    text->setText(QStringLiteral("Row %1 with a caption").arg(index));
    layout->addWidget(text);
    auto* button = new CButton(11, row);
    button->setText(QStringLiteral("Edit"));
    layout->addWidget(button);
    return row;
}

QWidget* makeContent()
{
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < Rows; ++i)
        layout->addWidget(makeRow(i));
    return content;
}

// The cache key of the shadow image of a line, or 0 when none is cached.
qint64 shadowImageKey(const CChadowLine* line)
{
    const QString key = QStringLiteral("1-%1-%2").arg(2 * line->shadowSize()).arg(line->color().rgba());
    QPixmap pixmap;
    return CSystemTools::instance()->resourceCache()->find(key, &pixmap) ? pixmap.cacheKey() : 0;
}

// Counts the paint events of every widget.
class PaintCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    CApplicaiton app(argc, argv);
    QWidget window;
    window.resize(420, 600);
    auto* area = new CScrollArea(35, &window);
    area->setGeometry(0, 0, 420, 600);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->shadowInner()->setEdgeShadows(9, 42, 9);
    const long before = residentKb();
    area->setWidget(makeContent());
    installAnimatedScrollBars(40, area, 0);
    window.show();
    QCoreApplication::processEvents();
    const long after = residentKb();

    QScrollBar* bar = area->verticalScrollBar();
    const CChadowLine* line = area->shadowInner()->line(Qt::BottomEdge);
    QSet<qint64> shadowImages;
    std::vector<double> steps;
    steps.reserve(Steps);
    int direction = 1;
    PaintCounter paints;
    app.installEventFilter(&paints);
    QElapsedTimer total;
    total.start();
    for (int i = 0; i < Steps; ++i) {
        if (bar->value() + direction * RowHeight > bar->maximum() || bar->value() + direction * RowHeight < 0)
            direction = -direction;
        QElapsedTimer timer;
        timer.start();
        bar->setValue(bar->value() + direction * RowHeight);
        QCoreApplication::processEvents();
        steps.push_back(timer.nsecsElapsed() / 1e6);
        if (line)
            shadowImages.insert(shadowImageKey(line));
    }
    const double totalMs = total.nsecsElapsed() / 1e6;
    app.removeEventFilter(&paints);
    std::sort(steps.begin(), steps.end());
    shadowImages.remove(0);
    std::printf("%d one-row steps over %d rows   %9.2f ms\n", Steps, Rows, totalMs);
    std::printf("per step: median %.3f ms, 90th percentile %.3f ms, worst %.3f ms\n", steps[steps.size() / 2],
                steps[steps.size() * 9 / 10], steps.back());
    std::printf("widgets painted per step           %9.1f\n", double(paints.count) / Steps);
    std::printf("memory of the rows                 %9ld kB (%.2f kB per row)\n", after - before,
                double(after - before) / Rows);
    std::printf("shadow images in use while scrolling %7d\n", int(shadowImages.size()));
    return 0;
}
