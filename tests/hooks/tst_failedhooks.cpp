#include <QtTest>

#include "app/hooks/InlineHook.h"
#include "app/hooks/QtFunctionHook.h"
#include "support/QtTargets.h"
#include "support/UiTestSupport.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/QtDetours.h"

#include <QSignalSpy>

// The application object's hooks when each target already has a hook of another: the installs
// fail, Qt's functions stay as they are and the library behaves as without hooks.
class TestFailedHooks : public QObject
{
    Q_OBJECT

private slots:
    void installsFailAndLeaveQtAlone();
    void labelStillEmitsOncePerChange();
};

namespace {

// Status of the hook created on each target before the application object.
QVector<int> occupyStatuses;

void occupied() {}

void occupyTargets()
{
    if (!qtHookEngine())
        return;
    for (const QtTarget& target : qtTargets())
        occupyStatuses.append(createInlineHook(target.address(), reinterpret_cast<void*>(&occupied), nullptr));
}

} // namespace

void TestFailedHooks::installsFailAndLeaveQtAlone()
{
    QCOMPARE(occupyStatuses, QVector<int>(qtTargets().size(), int(HookOk)));
    QVERIFY(!installWidgetAtHook());
    QVERIFY(!hookQWindowGeometry());
    QVERIFY(!hookQTextDocumentSetDefaultTextOption());
    QVERIFY(!hookQLabelSetText());
    QVERIFY(!isQLabelSetTextHooked());
    for (const QtTarget& target : qtTargets())
        QCOMPARE(memoryBytes(target.address(), 16), fileBytes(target.address(), 16));
}

void TestFailedHooks::labelStillEmitsOncePerChange()
{
    CWidgetText label;
    QSignalSpy spy(&label, &CWidgetText::textChanged);
    label.setText("one");
    label.setText("one");
    label.setText("two");
    QCOMPARE(label.text(), QString("two"));
    QCOMPARE(spy.size(), 2);
}

int main(int argc, char** argv)
{
    occupyTargets();
    return runUiTest<TestFailedHooks>(argc, argv);
}

#include "tst_failedhooks.moc"
