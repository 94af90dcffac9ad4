#include "SelectorHost.h"

#include "model/SlideBackground.h"
#include "pages/SelectColorDialog.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CButtonGroup.h"
#include "uilib/style/CCustomLayout.h"

#include <QSignalSpy>
#include <QTimer>

#include <cmath>

namespace {

using ColorButton = SelectColorDialog::ColorButton;

QList<ColorButton*> swatches(const SelectColorDialog& dialog)
{
    QList<ColorButton*> result;
    for (CButton* button : dialog.buttonGroup()->buttons())
        result << static_cast<ColorButton*>(button);
    return result;
}

// How many device pixels of ring gray lie on the centre row between the swatch's left edge and
// its middle, on a white swatch over white.
double ringWidthInDevicePixels(ColorButton* swatch, double ratio)
{
    const QImage image = renderWidget(swatch, ratio, Qt::white);
    const QRect area = swatch->iconRect();
    const int y = int((area.center().y() + 0.5) * ratio);
    const int from = int(std::floor(area.left() * ratio)) - 1;
    const int to = int((area.left() + area.width() / 2.0) * ratio);
    double width = 0.0;
    for (int x = qMax(0, from); x < to; ++x)
        width += (255 - devicePixel(image, x, y).red()) / double(255 - QColor(Qt::gray).red());
    return width;
}

} // namespace

class ColorPickerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initSlideshowResources(); }

    void swatchesByMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("count");
        QTest::newRow("backgrounds") << 0 << 30;
        QTest::newRow("text colours") << 1 << -1;
        QTest::newRow("background colours") << 2 << 19;
        QTest::newRow("unknown") << 7 << 0;
    }
    void swatchesByMode()
    {
        QFETCH(int, mode);
        QFETCH(int, count);
        SelectColorDialog dialog(mode);
        const QList<ColorButton*> list = swatches(dialog);
        QList<QColor> unique;
        for (int i = 0; i < 18; ++i)
            unique << QColor(backgroundColorName(i));
        for (int i = 0; i < 30; ++i) {
            if (!unique.contains(QColor(backgroundTextColorName(i))))
                unique << QColor(backgroundTextColorName(i));
        }
        QCOMPARE(list.size(), count < 0 ? unique.size() : count);
        QCOMPARE(dialog.titleBar()->titleLabel()->text(), QStringLiteral("Добавить цвет"));
        QVERIFY(dialog.buttonPanel()->isHidden());
        QCOMPARE(dialog.selectedColorIndex(), -1);
        QVERIFY(!dialog.selectedColor().isValid());
        for (int i = 0; i < list.size(); ++i) {
            QCOMPARE(list.at(i)->styleKind(), 1031);
            if (mode == 0)
                QCOMPARE(list.at(i)->backgroundIndex(), i);
            else
                QCOMPARE(list.at(i)->color(), mode == 2 ? (i == 0 ? QColor(Qt::transparent) : unique.at(i - 1))
                                                        : unique.at(i));
        }
        QCOMPARE(dialog.swatchLayout()->contentsMargins(), QMargins(29, 0, 29, 29));
        const int margins = 29 + 29;
        const int expected = list.isEmpty() ? margins : (list.first()->sizeHint().width() + 2) * 9 + margins - 1;
        QCOMPARE(dialog.contentWidget()->width(), expected);
    }

    void textColoursNeverRepeat()
    {
        SelectColorDialog dialog(1);
        QList<QRgb> seen;
        for (ColorButton* swatch : swatches(dialog)) {
            QVERIFY2(!seen.contains(swatch->color().rgba()), qPrintable(swatch->color().name()));
            seen << swatch->color().rgba();
        }
        QVERIFY(seen.size() > 18);
    }

    void firstClickEndsTheDialog_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("swatch");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<int>("index");
        QTest::newRow("no colour") << 2 << 0 << QColor(Qt::transparent) << -1;
        QTest::newRow("text colour") << 1 << 3 << QColor(backgroundColorName(3)) << -1;
        QTest::newRow("background") << 0 << 21 << QColor() << 21;
    }
    void firstClickEndsTheDialog()
    {
        QFETCH(int, mode);
        QFETCH(int, swatch);
        QFETCH(QColor, color);
        QFETCH(int, index);
        SelectorHost host;
        host.window.show();
        SelectColorDialog dialog(mode, &host.window);
        QSignalSpy toggled(dialog.buttonGroup(), &CButtonGroup::toggled);
        // Preselection checks quietly and keeps the dialog open.
        if (mode == 0)
            dialog.setSelectedColorIndex(5);
        else
            dialog.setSelectedColor(QColor(backgroundColorName(5)));
        QVERIFY(swatches(dialog).at(mode == 2 ? 6 : 5)->isChecked());
        dialog.showModeless(CWindow::CenteredOnParent);
        QTRY_VERIFY(dialog.isVisible());
        QCOMPARE(toggled.count(), 0);
        clickInWindow(swatches(dialog).at(swatch));
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), 1);
        QCOMPARE(dialog.selectedColor(), color);
        QCOMPARE(dialog.selectedColorIndex(), index);
    }

    void invalidColourPreselectsNoColour()
    {
        SelectColorDialog dialog(2);
        dialog.setSelectedColor(QColor());
        QVERIFY(swatches(dialog).first()->isChecked());
        QCOMPARE(dialog.selectedColor(), QColor(Qt::transparent));
    }

    void escapeEndsWithZero()
    {
        SelectorHost host;
        host.window.show();
        SelectColorDialog dialog(1, &host.window);
        NestedLoopWatchdog watchdog(10000);
        QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QCOMPARE(dialog.exec(), 0);
        QVERIFY(!watchdog.fired());
        QCOMPARE(dialog.selectedColorIndex(), -1);
    }

    void ringsWhereSwatchesWouldNotShow()
    {
        SelectColorDialog backgrounds(0);
        for (ColorButton* swatch : swatches(backgrounds))
            QCOMPARE(swatch->hasRing(), swatch->backgroundIndex() == 0);
        for (int mode : {1, 2}) {
            SelectColorDialog colours(mode);
            for (ColorButton* swatch : swatches(colours)) {
                const QColor c = swatch->color();
                QCOMPARE(swatch->hasRing(), c.alpha() == 0 || c == QColor(Qt::white));
            }
        }
        ColorButton unknown(5, 1031, QStringLiteral(":/empty-50.svg"));
        unknown.setColor(Qt::white);
        QVERIFY(!unknown.hasRing());
    }

    void ringIsOneDevicePixel_data()
    {
        QTest::addColumn<double>("ratio");
        addRatioRows();
    }
    void ringIsOneDevicePixel()
    {
        QFETCH(double, ratio);
        ColorButton swatch(1, 1031, QStringLiteral(":/empty-50.svg"));
        swatch.setColor(Qt::white);
        swatch.resize(swatch.sizeHint());
        const double width = ringWidthInDevicePixels(&swatch, ratio);
        QVERIFY2(width > 0.7 && width < 1.3, qPrintable(QString::number(width)));
    }

    void noColourShowsItsMark()
    {
        ColorButton swatch(2, 1031, QStringLiteral(":/empty-50.svg"));
        swatch.setColor(Qt::transparent);
        swatch.resize(swatch.sizeHint());
        const QImage image = renderWidget(&swatch, 1.0, Qt::white);
        const QRect area = swatch.iconRect();
        bool reddish = false;
        for (int x = area.left(); x <= area.right() && !reddish; ++x) {
            for (int y = area.top(); y <= area.bottom() && !reddish; ++y) {
                const QColor c = devicePixel(image, x, y);
                reddish = c.red() > 200 && c.green() < 200 && c.blue() < 200;
            }
        }
        QVERIFY(reddish);
    }

    void pictureFollowsTheRatio()
    {
        ColorButton swatch(0, 1031, QStringLiteral(":/empty-50.svg"));
        swatch.setBackgroundIndex(20);
        swatch.resize(swatch.sizeHint());
        const QRect area = swatch.iconRect();
        const QImage once = renderWidget(&swatch, 1.0);
        const QImage twice = renderWidget(&swatch, 2.0);
        // The gradient is drawn anew at each ratio: the same colour at the same logical point.
        const QPoint centre = area.center();
        const QColor expected = backgroundImage(20, area.size()).pixelColor(area.width() / 2, area.height() / 2);
        for (const QImage& image : {once, twice}) {
            const QColor drawn = logicalPixel(image, centre);
            QVERIFY(qAbs(drawn.red() - expected.red()) < 16 && qAbs(drawn.blue() - expected.blue()) < 16);
        }
    }
};

TY_UI_TEST_MAIN(ColorPickerTest)
#include "tst_colorpicker.moc"
