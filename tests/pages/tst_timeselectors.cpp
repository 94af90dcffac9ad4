#include "SelectorHost.h"

#include "model/TimeText.h"
#include "pages/LoopSelector.h"
#include "pages/TimeSelector.h"
#include "uilib/controls/CSpinBox.h"
#include "uilib/controls/CWidgetText.h"

#include <QLineEdit>
#include <QSignalSpy>

namespace {

// Opens the selector's popup with a click; null when it does not show.
template <class Selector>
typename Selector::Popup* openPopup(Selector* selector)
{
    clickInWindow(selector);
    if (!QTest::qWaitFor([selector] { return selector->popup() && selector->popup()->isVisible(); }))
        return nullptr;
    return selector->popup();
}

struct TimeFixture
{
    explicit TimeFixture(bool custom = true, bool applyToAll = false)
    {
        selector = host.add(new TimeSelector(18));
        selector->setSecPresets({1, 3, 5});
        selector->setMsecValueSilently(3000);
        selector->setCustomValueEnabled(custom);
        selector->setApplyToAllEnabled(applyToAll);
    }
    TimeSelector::Popup* open() { return openPopup(selector); }
    SelectorHost host;
    TimeSelector* selector;
};

struct LoopFixture
{
    explicit LoopFixture(int count)
    {
        selector = host.add(new LoopSelector(1034));
        selector->setPresets({1, 2, 3, 5});
        selector->setOneLoopDuration(90000);
        selector->setValueSilently(count);
    }
    LoopSelector::Popup* open() { return openPopup(selector); }
    SelectorHost host;
    LoopSelector* selector;
};

// Replaces the spin box's text as typed.
void typeInto(QAbstractSpinBox* spin, const QString& text)
{
    spin->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(spin, text);
}

} // namespace

class TimeSelectorsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initSlideshowResources(); }
    void cleanup() { closeAllPopups(); }

    void textShowsSecondsAndSecondsTruncate_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("sec");
        QTest::newRow("whole") << 3000 << QStringLiteral("3 сек") << 3;
        QTest::newRow("half") << 2500 << QStringLiteral("2.5 сек") << 2;
        QTest::newRow("negative preset") << -4000 << QStringLiteral("-4 сек") << -4;
        QTest::newRow("negative half") << -1500 << QStringLiteral("-1.5 сек") << -1;
    }
    void textShowsSecondsAndSecondsTruncate()
    {
        QFETCH(int, ms);
        QFETCH(QString, text);
        QFETCH(int, sec);
        TimeSelector selector(18);
        QSignalSpy secSpy(&selector, &TimeSelector::secValueChanged);
        QSignalSpy msecSpy(&selector, &TimeSelector::msecValueChanged);
        selector.setMsecValue(ms);
        QCOMPARE(selector.text(), text);
        QCOMPARE(secSpy.count(), 1);
        QCOMPARE(secSpy.first().first().toInt(), sec);
        QCOMPARE(msecSpy.first().first().toInt(), ms);
        selector.setMsecValue(ms);
        QCOMPARE(secSpy.count(), 1);
    }

    void silentSettersEmitNothing()
    {
        TimeSelector selector(18);
        QSignalSpy spy(&selector, &TimeSelector::msecValueChanged);
        QSignalSpy secSpy(&selector, &TimeSelector::secValueChanged);
        selector.setMsecValueSilently(1500);
        selector.setSecValueSilently(7);
        QCOMPARE(selector.msecValue(), 7000);
        QCOMPARE(selector.text(), QStringLiteral("7 сек"));
        QCOMPARE(spy.count() + secSpy.count(), 0);
        QVERIFY(!selector.signalsBlocked());
    }

    void presetCommitsOnceAndCloses()
    {
        TimeFixture fixture;
        TimeSelector::Popup* popup = fixture.open();
        QVERIFY(popup);
        QVERIFY(fixture.selector->isChecked());
        QVERIFY(popup->presetButton(3000)->isChecked());
        QSignalSpy spy(fixture.selector, &TimeSelector::msecValueChanged);
        QSignalSpy secSpy(fixture.selector, &TimeSelector::secValueChanged);
        clickInPopup(popup->presetButton(5000));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toInt(), 5000);
        QCOMPARE(secSpy.first().first().toInt(), 5);
        QTRY_VERIFY(!fixture.selector->popup());
        QVERIFY(!fixture.selector->isChecked());
        QCOMPARE(fixture.selector->text(), QStringLiteral("5 сек"));
        QCOMPARE(spy.count(), 1);
    }

    void checkedPresetDoesNothing()
    {
        TimeFixture fixture;
        TimeSelector::Popup* popup = fixture.open();
        QVERIFY(popup);
        QSignalSpy spy(fixture.selector, &TimeSelector::msecValueChanged);
        clickInPopup(popup->presetButton(3000));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QVERIFY(popup->isVisible());
        QVERIFY(popup->presetButton(3000)->isChecked());
        QCOMPARE(spy.count(), 0);
    }

    void typedValueCommitsOnOutsideClick()
    {
        TimeFixture fixture;
        TimeSelector::Popup* popup = fixture.open();
        QVERIFY(popup);
        QSignalSpy spy(fixture.selector, &TimeSelector::msecValueChanged);
        QSignalSpy secSpy(fixture.selector, &TimeSelector::secValueChanged);
        typeInto(popup->customSpin(), QStringLiteral("2.5"));
        QCOMPARE(popup->customSpin()->value(), 2.5);
        for (int ms : {1000, 3000, 5000})
            QVERIFY(!popup->presetButton(ms)->isChecked());
        QCOMPARE(spy.count(), 0);
        clickOutsidePopup(&fixture.host.window, QPoint(400, 110));
        QTRY_VERIFY(!fixture.selector->popup());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toInt(), 2500);
        QCOMPARE(secSpy.first().first().toInt(), 2);
        QCOMPARE(fixture.selector->text(), QStringLiteral("2.5 сек"));
        QVERIFY(!fixture.selector->isChecked());
    }

    void typedPresetChecksItsButton()
    {
        TimeFixture fixture;
        TimeSelector::Popup* popup = fixture.open();
        QVERIFY(popup);
        typeInto(popup->customSpin(), QStringLiteral("5"));
        QVERIFY(popup->presetButton(5000)->isChecked());
        QVERIFY(!popup->presetButton(3000)->isChecked());
    }

    void keysOfTheCustomField_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("emits");
        QTest::newRow("escape discards") << "7" << int(Qt::Key_Escape) << 3000 << 0;
        QTest::newRow("enter commits") << "7" << int(Qt::Key_Return) << 7000 << 1;
        QTest::newRow("enter on the initial value") << "3" << int(Qt::Key_Return) << 3000 << 0;
    }
    void keysOfTheCustomField()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(int, expected);
        QFETCH(int, emits);
        TimeFixture fixture;
        TimeSelector::Popup* popup = fixture.open();
        QVERIFY(popup);
        QSignalSpy spy(fixture.selector, &TimeSelector::msecValueChanged);
        typeInto(popup->customSpin(), typed);
        QTest::keyClick(popup->customSpin(), Qt::Key(key));
        QTRY_VERIFY(!fixture.selector->popup());
        QCOMPARE(fixture.selector->msecValue(), expected);
        QCOMPARE(spy.count(), emits);
    }

    void applyToAll_data()
    {
        QTest::addColumn<bool>("custom");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("applied");
        QTest::addColumn<int>("changes");
        QTest::newRow("no custom field: the current value") << false << QString() << 3000 << 0;
        QTest::newRow("typed value") << true << "4.5" << 4500 << 1;
        QTest::newRow("custom field untouched") << true << QString() << 3000 << 0;
    }
    void applyToAll()
    {
        QFETCH(bool, custom);
        QFETCH(QString, typed);
        QFETCH(int, applied);
        QFETCH(int, changes);
        TimeFixture fixture(custom, true);
        TimeSelector::Popup* popup = fixture.open();
        QVERIFY(popup);
        QCOMPARE(popup->applyToAllButton()->text(), QStringLiteral("Применить ко всем слайдам"));
        if (!typed.isEmpty())
            typeInto(popup->customSpin(), typed);
        QSignalSpy changed(fixture.selector, &TimeSelector::msecValueChanged);
        QSignalSpy all(fixture.selector, &TimeSelector::msecApplyToAll);
        QSignalSpy allSec(fixture.selector, &TimeSelector::secApplyToAll);
        clickInPopup(popup->applyToAllButton());
        QTRY_COMPARE(all.count(), 1);
        QCOMPARE(all.first().first().toInt(), applied);
        QCOMPARE(allSec.first().first().toInt(), applied / 1000);
        QTRY_VERIFY(!fixture.selector->popup());
        QCOMPARE(changed.count(), changes);
        QCOMPARE(fixture.selector->msecValue(), applied);
    }

    void pressingTheSelectorAgainCommits()
    {
        TimeFixture fixture;
        TimeSelector::Popup* popup = fixture.open();
        QVERIFY(popup);
        QSignalSpy spy(fixture.selector, &TimeSelector::msecValueChanged);
        typeInto(popup->customSpin(), QStringLiteral("12"));
        clickInPopup(fixture.selector);
        QTRY_VERIFY(!fixture.selector->popup());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(fixture.selector->msecValue(), 12000);
        QVERIFY(!fixture.selector->isChecked());
    }

    void selectorDeletedWithItsPopupOpen()
    {
        TimeFixture fixture;
        QPointer<TimeSelector::Popup> popup = fixture.open();
        QVERIFY(popup);
        typeInto(popup->customSpin(), QStringLiteral("9"));
        delete fixture.selector;
        QVERIFY(!popup);
        QCoreApplication::processEvents();
    }

    void popupWithoutCustomField()
    {
        TimeFixture fixture(false);
        TimeSelector::Popup* popup = fixture.open();
        QVERIFY(popup);
        QVERIFY(!popup->customSpin());
        QVERIFY(!popup->applyToAllButton());
        QCOMPARE(popup->presetButton(1000)->text(), QStringLiteral("1 сек"));
        QVERIFY(popup->contentWidget()->minimumWidth() >= fixture.selector->width());
    }

    void loopText()
    {
        LoopSelector selector(1034);
        QSignalSpy spy(&selector, &LoopSelector::valueChanged);
        selector.setOneLoopDuration(90000);
        selector.setValueSilently(2);
        QCOMPARE(selector.text(), QStringLiteral("2 раз (03:00)"));
        selector.setOneLoopDuration(61500);
        QCOMPARE(selector.text(), QStringLiteral("2 раз (02:03)"));
        QCOMPARE(spy.count(), 0);
        QCOMPARE(selector.textAlignment(), Qt::AlignRight | Qt::AlignVCenter);
        LoopSelector combo(18);
        QCOMPARE(combo.sizePolicy().horizontalPolicy(), QSizePolicy::MinimumExpanding);
    }

    void loopOpensWithCustomRowOffThePresets_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("custom");
        QTest::newRow("preset") << 3 << false;
        QTest::newRow("off the presets") << 7 << true;
    }
    void loopOpensWithCustomRowOffThePresets()
    {
        QFETCH(int, count);
        QFETCH(bool, custom);
        LoopFixture fixture(count);
        LoopSelector::Popup* popup = fixture.open();
        QVERIFY(popup);
        QCOMPARE(popup->customRow()->isChecked(), custom);
        QCOMPARE(popup->customSpin()->value(), count);
        QCOMPARE(popup->customTotal()->text(), msecsToMinSecText(90000 * count));
        QCOMPARE(popup->presetButton(3)->isChecked(), !custom);
        QCOMPARE(popup->presetButton(2)->secondaryText(), QStringLiteral("03:00"));
    }

    void loopEnterOnSevenEmitsOnce()
    {
        LoopFixture fixture(2);
        LoopSelector::Popup* popup = fixture.open();
        QVERIFY(popup);
        QSignalSpy spy(fixture.selector, &LoopSelector::valueChanged);
        typeInto(popup->customSpin(), QStringLiteral("7"));
        QVERIFY(popup->customRow()->isChecked());
        QCOMPARE(popup->customTotal()->text(), QStringLiteral("10:30"));
        QTest::keyClick(popup->customSpin(), Qt::Key_Return);
        QTRY_VERIFY(!fixture.selector->popup());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toInt(), 7);
        QCOMPARE(fixture.selector->text(), QStringLiteral("7 раз (10:30)"));
    }

    void loopEscapeKeepsTheCount()
    {
        LoopFixture fixture(2);
        LoopSelector::Popup* popup = fixture.open();
        QVERIFY(popup);
        QSignalSpy spy(fixture.selector, &LoopSelector::valueChanged);
        typeInto(popup->customSpin(), QStringLiteral("5"));
        QVERIFY(popup->presetButton(5)->isChecked());
        QVERIFY(!popup->customRow()->isChecked());
        QTest::keyClick(popup->customSpin(), Qt::Key_Escape);
        QTRY_VERIFY(!fixture.selector->popup());
        QCOMPARE(fixture.selector->value(), 2);
        QCOMPARE(spy.count(), 0);
    }

    void loopPresetCommits()
    {
        LoopFixture fixture(2);
        LoopSelector::Popup* popup = fixture.open();
        QVERIFY(popup);
        QSignalSpy spy(fixture.selector, &LoopSelector::valueChanged);
        clickInPopup(popup->presetButton(5));
        QTRY_VERIFY(!fixture.selector->popup());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(fixture.selector->value(), 5);
    }

    void loopSpinRefusesZeroAndHundred()
    {
        LoopFixture fixture(2);
        LoopSelector::Popup* popup = fixture.open();
        QVERIFY(popup);
        CSpinBox* spin = popup->customSpin();
        typeInto(spin, QStringLiteral("0"));
        QVERIFY(spin->value() >= 1);
        typeInto(spin, QStringLiteral("100"));
        QVERIFY(spin->value() <= 99);
        QCOMPARE(spin->minimum(), 1);
        QCOMPARE(spin->maximum(), 99);
    }
};

TY_UI_TEST_MAIN(TimeSelectorsTest)
#include "tst_timeselectors.moc"
