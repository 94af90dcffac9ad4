// 1,000 rows of a panel, a label and two buttons: built, styled and painted offscreen, then one
// palette switch that restyles them all. Prints times and the memory the rows take.

#include "BenchTiming.h"
#include "app/CApplicaiton.h"
#include "app/CSystemTools.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Rows = 1000;

class DarkBenchPalette : public Cpalette
{
public:
    using Cpalette::Cpalette;
    QString name() const override { return QStringLiteral("bench-dark"); }
    bool isDark() const override { return true; }
};

CPanel* makeRow(int index)
{
    auto* row = new CPanel(0);
    auto* layout = new QHBoxLayout(row);
    auto* text = new CWidgetText(row);
    text->setText(QStringLiteral("Row %1 with a caption").arg(index));
    layout->addWidget(text);
    for (const char* caption : {"Edit", "Remove"}) {
        auto* button = new CButton(11, row);
        button->setText(QString::fromLatin1(caption));
        layout->addWidget(button);
    }
    row->resize(row->sizeHint().expandedTo(QSize(400, 44)));
    return row;
}

void paintRow(QWidget* row, QImage& image)
{
    QPainter painter(&image);
    row->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
}

} // namespace

int main(int argc, char** argv)
{
    CApplicaiton app(argc, argv);
    CStyle* style = CSystemTools::instance()->style();
    auto* dark = new DarkBenchPalette(style);
    style->registerPalette(dark);
    const long before = residentKb();
    QImage image(400, 60, QImage::Format_ARGB32_Premultiplied);
    QElapsedTimer timer;
    timer.start();
    std::vector<std::unique_ptr<CPanel>> rows;
    rows.reserve(Rows);
    for (int i = 0; i < Rows; ++i) {
        rows.emplace_back(makeRow(i));
        paintRow(rows.back().get(), image);
    }
    const double build = timer.nsecsElapsed() / 1e6;
    const long after = residentKb();
    timer.restart();
    if (!style->setCurrentStyle(dark->name()))
        return 1;
    const double toDark = timer.nsecsElapsed() / 1e6;
    std::printf("%d rows built, styled and painted  %9.2f ms (%.4f ms per row)\n", Rows, build, build / Rows);
    std::printf("palette switch to dark             %9.2f ms\n", toDark);
    std::printf("memory of the rows                 %9ld kB (%.2f kB per row)\n", after - before,
                double(after - before) / Rows);
    return 0;
}
