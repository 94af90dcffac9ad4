#include "support/UiTestSupport.h"

#include "uilib/controls/CButton.h"
#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CButtonGroup.h"
#include "uilib/style/CIcon.h"

#include <QDialog>
#include <QEnterEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolTip>

namespace {

// A shown window with one button; mouse events go straight to the button.
struct ButtonFixture
{
    explicit ButtonFixture(int kind = 10)
    {
        window.resize(300, 120);
        button = new CButton(kind, &window);
        button->setText(QStringLiteral("Press"));
        button->setGeometry(10, 10, 120, 40);
        window.show();
    }
    void enter() const
    {
        QEnterEvent event(QPointF(5, 5), QPointF(15, 15), button->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(button, &event);
    }
    void mouse(QEvent::Type type, QPoint pos, Qt::MouseButton cause, Qt::MouseButtons held) const
    {
        QMouseEvent event(type, pos, button->mapToGlobal(pos), cause, held, Qt::NoModifier);
        QCoreApplication::sendEvent(button, &event);
    }
    // Steps: enter, press, chord (left and right held), out, in, release.
    void run(const QStringList& steps) const
    {
        const QPoint inside(20, 20);
        const QPoint outside(400, 20);
        for (const QString& step : steps) {
            if (step == "enter")
                enter();
            else if (step == "press")
                mouse(QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::LeftButton);
            else if (step == "chord")
                mouse(QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::LeftButton | Qt::RightButton);
            else if (step == "out")
                mouse(QEvent::MouseMove, outside, Qt::NoButton, Qt::LeftButton);
            else if (step == "in")
                mouse(QEvent::MouseMove, inside, Qt::NoButton, Qt::LeftButton);
            else if (step == "release")
                mouse(QEvent::MouseButtonRelease, inside, Qt::LeftButton, Qt::NoButton);
        }
    }

    QWidget window;
    CButton* button;
};

} // namespace

class TestButton : public QObject
{
    Q_OBJECT
private slots:
    void mouseSequences_data();
    void mouseSequences();
    void clickedComesAfterReleaseAndAfterToggled();
    void stayPressedOutsideStaysDown();
    void blockedCheckedAndEmitTellsGroupSilently();
    void modalWindowCompletesClickThenBlocksLook();
    void elidedTextShowsFullTextAsToolTip();
    void deletingButtonFromToggledIsSafe();
    void focusModeShowsFocusedButtonHovered();
    void focusModeChangesKeepOneFilter();
    void styleButtonSetsBehaviour_data();
    void styleButtonSetsBehaviour();
    void checkAnimationFollowsGivenIcon();
    void sizeHintIsCachedUntilGeometryChanges();
};

void TestButton::mouseSequences_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("exclusive");
    QTest::addColumn<bool>("clickableWhenChecked");
    QTest::addColumn<bool>("checkedBefore");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("toggles");
    QTest::addColumn<bool>("checkedAfter");
    const QStringList click{"enter", "press", "release"};
    QTest::newRow("click") << click << false << false << false << false << 1 << 0 << false;
    QTest::newRow("left and right chord") << QStringList{"enter", "chord", "release"} << false << false << false
                                          << false << 0 << 0 << false;
    QTest::newRow("drag out") << QStringList{"enter", "press", "out", "release"} << false << false << false
                              << false << 0 << 0 << false;
    QTest::newRow("drag out and back in") << QStringList{"enter", "press", "out", "in", "release"} << false
                                          << false << false << false << 1 << 0 << false;
    QTest::newRow("checkable toggles") << click << true << false << false << false << 0 << 1 << true;
    QTest::newRow("checkable unchecks") << click << true << false << false << true << 0 << 1 << false;
    QTest::newRow("checked exclusive stays") << click << true << true << false << true << 0 << 0 << true;
    QTest::newRow("clickable when checked") << click << true << true << true << true << 1 << 0 << true;
    QTest::newRow("release without press") << QStringList{"enter", "release"} << false << false << false << false
                                           << 0 << 0 << false;
}

void TestButton::mouseSequences()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, checkable);
    QFETCH(bool, exclusive);
    QFETCH(bool, clickableWhenChecked);
    QFETCH(bool, checkedBefore);
    QFETCH(int, clicks);
    QFETCH(int, toggles);
    QFETCH(bool, checkedAfter);
    ButtonFixture fixture;
    CButton* button = fixture.button;
    button->setCheckable(checkable);
    button->setExclusive(exclusive);
    button->setClickableWhenChecked(clickableWhenChecked);
    button->setChecked(checkedBefore);
    QSignalSpy clicked(button, &CButton::clicked);
    QSignalSpy toggled(button, &CButton::toggled);
    fixture.run(steps);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(clicked.size(), clicks);
    QCOMPARE(toggled.size(), toggles);
    QCOMPARE(button->isChecked(), checkedAfter);
    QVERIFY(!button->isDown());
}

void TestButton::clickedComesAfterReleaseAndAfterToggled()
{
    ButtonFixture fixture;
    CButton* button = fixture.button;
    button->setCheckable(true);
    button->setClickableWhenChecked(true);
    QStringList order;
    connect(button, &CButton::clicked, [&] { order << "clicked"; });
    connect(button, &CButton::toggled, [&] { order << "toggled"; });
    fixture.run({"enter", "press", "release"});
    QVERIFY(order.isEmpty());
    QTRY_COMPARE(order, QStringList({"toggled", "clicked"}));
}

void TestButton::stayPressedOutsideStaysDown()
{
    ButtonFixture fixture;
    CButton* button = fixture.button;
    button->setStayPressedOutside(true);
    fixture.run({"enter", "press", "out"});
    QVERIFY(button->isDown());
    QVERIFY(button->animation()->isPressed());
    QVERIFY(button->animation()->isHovered());
}

void TestButton::blockedCheckedAndEmitTellsGroupSilently()
{
    QWidget parent;
    CButtonGroup group;
    CButton* first = group.addButton(new CButton(10, &parent), 1);
    CButton* second = group.addButton(new CButton(10, &parent), 2);
    first->setChecked(true);
    QSignalSpy buttonToggled(second, &CButton::toggled);
    QSignalSpy groupToggled(&group, &CButtonGroup::toggled);
    second->blockSignals(true);
    second->setCheckedAndEmit(true);
    second->blockSignals(false);
    QTRY_VERIFY(!first->isChecked());
    QVERIFY(second->isChecked());
    QCOMPARE(buttonToggled.size(), 0);
    QCOMPARE(groupToggled.size(), 0);
}

void TestButton::modalWindowCompletesClickThenBlocksLook()
{
    ButtonFixture fixture;
    CButton* button = fixture.button;
    QSignalSpy clicked(button, &CButton::clicked);
    fixture.run({"enter", "press"});
    QDialog dialog(&fixture.window);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.show();
    QTRY_COMPARE(clicked.size(), 1);
    QVERIFY(!button->isDown());
    fixture.enter();
    fixture.run({"press"});
    QVERIFY(!button->animation()->isHovered());
    QVERIFY(!button->animation()->isPressed());
    fixture.run({"release"});
    dialog.hide();
    QTRY_VERIFY(button->animation()->isHovered());
}

void TestButton::elidedTextShowsFullTextAsToolTip()
{
    ButtonFixture fixture(12);
    CButton* button = fixture.button;
    const QString text = QStringLiteral("A rather long text that cannot fit in the button");
    button->setText(text);
    button->setFixedSize(60, 30);
    button->grab();
    QVERIFY(button->isTextElided());
    const QPoint pos(10, 10);
    QHelpEvent help(QEvent::ToolTip, pos, button->mapToGlobal(pos));
    QCoreApplication::sendEvent(button, &help);
    QTRY_COMPARE(QToolTip::text(), text);
    QToolTip::hideText();
    button->setToolTip(QStringLiteral("Own tip"));
    QHelpEvent again(QEvent::ToolTip, pos, button->mapToGlobal(pos));
    QCoreApplication::sendEvent(button, &again);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("Own tip"));
    QToolTip::hideText();
}

void TestButton::deletingButtonFromToggledIsSafe()
{
    QWidget parent;
    CButtonGroup group;
    QPointer<CButton> button = group.addButton(new CButton(10, &parent), 1);
    connect(button, &CButton::toggled, button, [&] { delete button; });
    button->setCheckedAndEmit(true);
    QTRY_VERIFY(button.isNull());
    QCOMPARE(group.buttons().size(), 0);
    QCOMPARE(group.checkedButton(), nullptr);
}

void TestButton::focusModeShowsFocusedButtonHovered()
{
    ButtonFixture fixture;
    CButton* button = fixture.button;
    button->setFocusPolicy(Qt::StrongFocus);
    button->setFocusMode(1);
    QApplication::setActiveWindow(&fixture.window);
    button->setFocus();
    QTRY_VERIFY(button->hasFocus());
    QVERIFY(button->animation()->isHovered());
    button->setFocusMode(0);
    QVERIFY(!button->animation()->isHovered());
}

void TestButton::focusModeChangesKeepOneFilter()
{
    QWidget parent;
    auto* button = new CButton(10, &parent);
    auto* proxy = new QLineEdit(&parent);
    button->setFocusProxy(proxy);
    for (int mode : {1, 0, 1, 0})
        button->setFocusMode(mode);
    QCOMPARE(proxy->findChildren<FocusProxyFilter*>().size(), 1);
}

void TestButton::styleButtonSetsBehaviour_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("exclusive");
    QTest::addColumn<bool>("clickable");
    QTest::newRow("check box") << 13 << true << false << false;
    QTest::newRow("radio") << 14 << true << true << false;
    QTest::newRow("toggle") << 15 << true << false << false;
    QTest::newRow("list row") << 16 << false << true << false;
    QTest::newRow("selector") << 19 << true << true << true;
    QTest::newRow("push") << 11 << false << false << false;
}

void TestButton::styleButtonSetsBehaviour()
{
    QFETCH(int, kind);
    QFETCH(bool, checkable);
    QFETCH(bool, exclusive);
    QFETCH(bool, clickable);
    CButton button(kind);
    QCOMPARE(button.isCheckable(), checkable);
    QCOMPARE(button.isExclusive(), exclusive);
    QCOMPARE(button.isClickableWhenChecked(), clickable);
    if (kind != 11)
        QCOMPARE(button.sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
}

// Kind 13 without an icon of its own checks in 150 ms, linearly; with one, the palette's animation stays.
void TestButton::checkAnimationFollowsGivenIcon()
{
    ManualAnimationClock clock;
    QWidget window;
    auto* plain = new CButton(13, &window);
    auto* withIcon = new CButton(13, QStringLiteral("RadioIcon1"), &window);
    window.show();
    plain->setChecked(true);
    withIcon->setChecked(true);
    clock.advance(75);
    QVERIFY(qAbs(plain->animation()->checkedProgress() - 0.5) < 0.05);
    clock.advance(75);
    QCOMPARE(plain->animation()->checkedProgress(), 1.0);
    QVERIFY(withIcon->animation()->checkedProgress() < 0.95);
    QCOMPARE(withIcon->icon()->path(), QStringLiteral("RadioIcon1"));
}

void TestButton::sizeHintIsCachedUntilGeometryChanges()
{
    CButton button(11);
    button.setText(QStringLiteral("Go"));
    const QSize before = button.sizeHint();
    button.setText(QStringLiteral("A much longer caption"));
    QVERIFY(button.sizeHint().width() > before.width());
}

TY_UI_TEST_MAIN(TestButton)
#include "tst_button.moc"
