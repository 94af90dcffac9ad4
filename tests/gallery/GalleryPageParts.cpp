// Parts of the editing pages: drop indicators of both kinds, dimmed and highlighted, at each
// ratio; the drag icon with the drop allowed and refused.

#include "Gallery.h"

#include "pages/DragIcon.h"
#include "pages/DropIndicator.h"
#include "uilib/controls/CButton.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CStyle.h"

#include <QBoxLayout>
#include <QGuiApplication>
#include <QPainter>

#include <memory>

namespace {

const QSize kIndicatorSizes[] = {QSize(240, 120), QSize(240, 40)};

// A row to drag: a filled panel with a text button on it.
QWidget* makeDragRow()
{
    auto* row = new QWidget;
    row->setAutoFillBackground(true);
    QPalette colours = row->palette();
    colours.setColor(QPalette::Window, currentPalette()->color(2));
    row->setPalette(colours);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 6, 12, 6);
    auto* button = new CButton(11);
    button->setText(QStringLiteral("Фото 01.jpg"));
    layout->addWidget(button);
    layout->addStretch(1);
    row->resize(260, 48);
    return row;
}

} // namespace

TY_GALLERY_ENTRY("page-drop-indicator")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        for (double ratio : {1.0, 1.25, 1.5, 2.0}) {
            for (int kind : {0, 1}) {
                for (double highlight : {0.0, 1.0}) {
                    DropIndicator indicator(nullptr, kind, false);
                    indicator.resize(kIndicatorSizes[kind]);
                    indicator.setHighlight(highlight);
                    const QImage image = paintInScope(indicator.size(), ratio, [&](CPainterScope& scope) {
                        scope.painter()->fillRect(scope.area(), currentPalette()->color(2));
                        indicator.paint(scope);
                    });
                    page.add(image, QStringLiteral("kind%1-highlight%2").arg(kind).arg(int(highlight)), dark,
                             ratio);
                }
            }
        }
    }
}

TY_GALLERY_ENTRY("page-drag-icon")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        std::unique_ptr<QWidget> row(makeDragRow());
        for (bool allowed : {true, false}) {
            DragIcon icon;
            icon.showFor(row.get(), QPoint(30, 20));
            icon.setScale(0.9);
            icon.setDropAllowedProgress(allowed ? 0.0 : 1.0);
            page.add(renderWidget(&icon, 1.0), allowed ? QStringLiteral("allowed") : QStringLiteral("refused"), dark);
            icon.hideIcon();
        }
    }
}
