// Sliders at their ends and middle, with marks, trims and the value tip, disabled, and vertical.

#include "Gallery.h"

#include "uilib/controls/CButton.h"
#include "uilib/controls/CSlider.h"
#include "uilib/style/CStyle.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHoverEvent>
#include <QLabel>

namespace {

QColor accent()
{
    const QColor colour = currentPalette()->color(0);
    return colour.isValid() ? colour : currentPalette()->color(21);
}

// Trim handles in the accent, a little narrower than the value handle.
void styleTrims(CSlider* slider)
{
    for (bool upper : {false, true}) {
        CButton* trim = slider->trimHandle(upper);
        trim->setBackgroundColors(ColorSet(currentPalette()->color(21)));
        trim->setRadius({2, 2, 2, 2});
        trim->setFixedSize(4, 24);
    }
    slider->setTrimColors(currentPalette()->color(1), accent());
}

CSlider* addRow(QGridLayout* grid, const QString& caption)
{
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(caption), row, 0);
    auto* slider = new CSlider(37, Qt::Horizontal);
    slider->setAnimated(false);
    slider->setRange(0, 100);
    slider->setGrooveColors(currentPalette()->color(1), accent());
    slider->setMinimumWidth(240);
    grid->addWidget(slider, row, 1);
    return slider;
}

} // namespace

TY_GALLERY_ENTRY("slider-horizontal")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        QWidget sheet;
        auto* grid = new QGridLayout(&sheet);
        grid->setVerticalSpacing(14);
        addRow(grid, QStringLiteral("minimum"));
        addRow(grid, QStringLiteral("middle"))->setValue(50);
        addRow(grid, QStringLiteral("maximum"))->setValue(100);
        const QList<int> markCounts{-2, -1, 1, 5};
        QList<CSlider*> marked;
        for (int count : markCounts) {
            CSlider* slider = addRow(grid, QStringLiteral("marks %1").arg(count));
            slider->setMarks(count);
            slider->setMarkLook(QSize(2, 10), 1);
            slider->setValue(count == 1 ? 30 : 60);
            marked << slider;
        }
        CSlider* trimmed = addRow(grid, QStringLiteral("trims"));
        trimmed->setTrimValues(20, 80);
        styleTrims(trimmed);
        trimmed->setTrimsVisible(true);
        trimmed->setTrimsEnabled(true);
        trimmed->setValue(45);
        CSlider* tipped = addRow(grid, QStringLiteral("tip"));
        tipped->setValue(35);
        currentPalette()->styleButton(tipped->tipButton(), 28, QString());
        tipped->setTipTextFunction([](int value, QString& text, QString&) { text = QStringLiteral("%1 s").arg(value); });
        CSlider* disabled = addRow(grid, QStringLiteral("disabled"));
        disabled->setValue(50);
        disabled->setEnabled(false);
        sheet.adjustSize();
        sheet.show();
        QCoreApplication::processEvents();
        // The hover mark sits under the mouse at 80.
        QHoverEvent hover(QEvent::HoverMove, marked.first()->positionFromValue(80), QPointF(0, 0));
        QCoreApplication::sendEvent(marked.first(), &hover);
        tipped->showTip(70);
        page.add(renderWidget(&sheet, 1.0, currentPalette()->color(2)), QString(), dark);
        page.add(renderWidget(&sheet, 1.5, currentPalette()->color(2)), QString(), dark, 1.5);
    }
}

TY_GALLERY_ENTRY("slider-vertical")
{
    for (bool dark : {false, true}) {
        page.usePalette(dark);
        QWidget sheet;
        sheet.resize(120, 180);
        for (int i = 0; i < 3; ++i) {
            auto* slider = new CSlider(37, Qt::Vertical, &sheet);
            slider->setAnimated(false);
            slider->setGrooveColors(currentPalette()->color(1), accent());
            slider->setRange(0, 100);
            slider->setValue(i * 50);
            slider->setGeometry(10 + i * 36, 10, 24, 160);
        }
        sheet.show();
        page.add(renderWidget(&sheet, 1.0, currentPalette()->color(2)), QString(), dark);
    }
}
