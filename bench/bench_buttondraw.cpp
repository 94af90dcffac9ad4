// Painting 200 button drawings, each with an icon, a text and a secondary text, at device pixel
// ratio 1.5: with the icon pictures cached (warm) and with the icon cache emptied before every
// round (cold).
#include "BenchTiming.h"
#include "app/CApplicaiton.h"
#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CButtonDraw.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CResourceCache.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"
#include "uilib/style/LibUtils.h"

#include <QImage>
#include <QPainter>
#include <QStyleOption>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Buttons = 200;
constexpr int Columns = 10;
const QSize Cell(140, 40);
constexpr double Ratio = 1.5;

std::vector<std::unique_ptr<CButtonDraw>> makeButtons()
{
    std::vector<std::unique_ptr<CButtonDraw>> buttons;
    for (int i = 0; i < Buttons; ++i) {
        auto button = std::make_unique<CButtonDraw>(nullptr);
        button->setFont(makeFont(13, QFont::Normal, QStringLiteral("DejaVu Sans")));
        currentPalette()->styleButton(button.get(), 16, QStringLiteral(":/uilib/close-10.svg"));
        button->setIconRecolored(true);
        button->setText(QStringLiteral("Button %1").arg(i));
        button->setSecondaryText(QStringLiteral("Ctrl+%1").arg(i % 10));
        button->setRect(QRect(QPoint((i % Columns) * Cell.width(), (i / Columns) * Cell.height()), Cell));
        buttons.push_back(std::move(button));
    }
    return buttons;
}

double paintMs(std::vector<std::unique_ptr<CButtonDraw>>& buttons, bool cold)
{
    const QSize size(Columns * Cell.width(), (Buttons / Columns) * Cell.height());
    QImage target(int(std::ceil(size.width() * Ratio)), int(std::ceil(size.height() * Ratio)),
                  QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(Ratio);
    CAnimationWidget state(0, nullptr);
    CResourceCache* cache = CIconRepo::instance()->cache();
    return medianMs(30, [&] {
        if (cold) {
            cache->setCacheLimit(0);
            cache->setCacheLimit(50);
        }
        target.fill(Qt::white);
        QPainter painter(&target);
        QStyleOption option;
        option.rect = QRect(QPoint(), size);
        CPainterScope scope(&painter, &option);
        for (auto& button : buttons) {
            button->CPanelDraw::paint(scope, state);
            button->paint(scope, state);
        }
    });
}

} // namespace

int main(int argc, char** argv)
{
    CApplicaiton app(argc, argv);
    std::vector<std::unique_ptr<CButtonDraw>> buttons = makeButtons();
    const double warm = paintMs(buttons, false);
    const double cold = paintMs(buttons, true);
    std::printf("ratio %.1f  %d buttons, icon cache warm  %8.3f ms (%.4f ms per button)\n", Ratio, Buttons, warm,
                warm / Buttons);
    std::printf("ratio %.1f  %d buttons, icon cache cold  %8.3f ms (%.4f ms per button)\n", Ratio, Buttons, cold,
                cold / Buttons);
    return 0;
}
