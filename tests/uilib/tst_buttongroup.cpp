#include "support/UiTestSupport.h"
#include "support/WindowMouse.h"

#include "uilib/controls/CButton.h"
#include "uilib/style/CButtonGroup.h"

#include <QSignalSpy>

namespace {

// Three members side by side in a shown parent, values 1 to 3, 100 pixels wide each 200 apart.
struct GroupFixture
{
    GroupFixture()
    {
        parent.resize(700, 100);
        for (int value = 1; value <= 3; ++value) {
            auto* button = new CButton(10, &parent);
            button->setGeometry((value - 1) * 200, 10, 100, 30);
            group.addButton(button, value);
        }
        indicator = new QWidget(&parent);
        indicator->setGeometry(0, 50, 10, 4);
        parent.show();
    }
    CButton* member(int value) const { return group.buttonByValue(value); }

    QWidget parent;
    CButtonGroup group;
    QWidget* indicator;
};

} // namespace

class TestButtonGroup : public QObject
{
    Q_OBJECT
private slots:
    void addingTwiceKeepsOneEntry();
    void destroyedMemberIsSkipped();
    void silentSetEmitsNothing();
    void unknownValueKeepsCheckedMember();
    void noneAllowedUnchecksOnUnknownValue();
    void clickGivesMemberThenGroupToggled();
    void indicatorEdgesMoveFastAndSlow();
    void indicatorLandsAtOnceWithoutAnimation();
};

void TestButtonGroup::addingTwiceKeepsOneEntry()
{
    GroupFixture fixture;
    CButton* first = fixture.member(1);
    QCOMPARE(fixture.group.addButton(first, 7), first);
    QCOMPARE(fixture.group.buttons().size(), 3);
    QCOMPARE(fixture.group.buttonByValue(1), first);
    QVERIFY(first->isCheckable());
    QVERIFY(first->isExclusive());
    QCOMPARE(fixture.group.addButton(nullptr, 1), nullptr);
}

void TestButtonGroup::destroyedMemberIsSkipped()
{
    GroupFixture fixture;
    QVERIFY(fixture.group.setCheckedValueSilently(2));
    delete fixture.member(2);
    QCOMPARE(fixture.group.buttons().size(), 2);
    QCOMPARE(fixture.group.checkedButton(), nullptr);
    QVERIFY(!fixture.group.checkedValue().isValid());
}

void TestButtonGroup::silentSetEmitsNothing()
{
    GroupFixture fixture;
    fixture.member(1)->setChecked(true);
    QSignalSpy spy(&fixture.group, &CButtonGroup::toggled);
    QVERIFY(fixture.group.setCheckedValueSilently(3));
    QCoreApplication::processEvents();
    QCOMPARE(spy.size(), 0);
    QCOMPARE(fixture.group.checkedValue(), QVariant(3));
    QVERIFY(!fixture.member(1)->isChecked());
}

void TestButtonGroup::unknownValueKeepsCheckedMember()
{
    GroupFixture fixture;
    fixture.member(2)->setChecked(true);
    QVERIFY(!fixture.group.setCheckedValue(42));
    QCoreApplication::processEvents();
    QCOMPARE(fixture.group.checkedButton(), fixture.member(2));
}

void TestButtonGroup::noneAllowedUnchecksOnUnknownValue()
{
    QWidget parent;
    CButtonGroup group;
    group.setNoneAllowed(true);
    CButton* button = group.addButton(new CButton(10, &parent), 1);
    QVERIFY(!button->isExclusive());
    button->setChecked(true);
    QSignalSpy spy(&group, &CButtonGroup::toggled);
    QVERIFY(group.setCheckedValue(42));
    QTRY_COMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).value<CButton*>(), nullptr);
    QVERIFY(!button->isChecked());
}

void TestButtonGroup::clickGivesMemberThenGroupToggled()
{
    GroupFixture fixture;
    fixture.member(1)->setChecked(true);
    QStringList order;
    connect(fixture.member(3), &CButton::toggled, [&] { order << "member"; });
    connect(&fixture.group, &CButtonGroup::toggled, [&](CButton* button, const QVariant& value) {
        QCOMPARE(button, fixture.member(3));
        QCOMPARE(value, QVariant(3));
        order << "group";
    });
    sendClick(fixture.member(3));
    QTRY_COMPARE(order, QStringList({"member", "group"}));
    QCoreApplication::processEvents();
    QCOMPARE(order.size(), 2);
    QVERIFY(!fixture.member(1)->isChecked());
}

void TestButtonGroup::indicatorEdgesMoveFastAndSlow()
{
    ManualAnimationClock clock;
    GroupFixture fixture;
    fixture.member(1)->setChecked(true);
    fixture.group.setSelectionIndicator(fixture.indicator);
    fixture.member(2)->setChecked(true);
    // Moving right: the right edge leads in 150 ms, the left trails in 400 ms, both OutCubic.
    const auto outCubic = [](double from, double to, double t) {
        return from + (to - from) * QEasingCurve(QEasingCurve::OutCubic).valueForProgress(t);
    };
    clock.advance(75);
    QVERIFY(qAbs(fixture.indicator->geometry().right() + 1 - outCubic(100, 300, 0.5)) <= 1);
    QVERIFY(qAbs(fixture.indicator->x() - outCubic(0, 200, 75.0 / 400)) <= 1);
    clock.advance(75);
    QCOMPARE(fixture.indicator->geometry().right() + 1, 300);
    QVERIFY(fixture.indicator->x() < 200);
    clock.advance(250);
    QCOMPARE(fixture.indicator->geometry(), QRect(200, 50, 100, 4));
    // Moving left: now the left edge leads.
    fixture.member(1)->setChecked(true);
    clock.advance(150);
    QCOMPARE(fixture.indicator->x(), 0);
    QVERIFY(fixture.indicator->geometry().right() + 1 > 100);
    clock.advance(250);
    QCOMPARE(fixture.indicator->geometry(), QRect(0, 50, 100, 4));
}

void TestButtonGroup::indicatorLandsAtOnceWithoutAnimation()
{
    ManualAnimationClock clock;
    GroupFixture fixture;
    fixture.member(3)->setChecked(true);
    fixture.group.setSelectionIndicator(fixture.indicator);
    QCOMPARE(fixture.indicator->geometry(), QRect(400, 50, 100, 4));
}

TY_UI_TEST_MAIN(TestButtonGroup)
#include "tst_buttongroup.moc"
