#include "support/UiTestSupport.h"

#include "app/CSystemTools.h"
#include "pages/ProgressBox.h"
#include "pages/TyStyle.h"
#include "resources/Resources.h"
#include "platform/RecordingTaskbarProgress.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CProgressBar.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CStyle.h"

#include <QSignalSpy>

#include <memory>

namespace {

// A shown native window holding a box whose elapsed time reads a clock the test drives.
struct Scene
{
    Scene()
    {
        window.resize(600, 200);
        box = new ProgressBox(&window);
        box->setClock([this] { return now; });
        window.show();
        window.winId();
    }

    QString elapsedAfterTick() const
    {
        QSignalSpy changed(box->elapsedLabel(), &CWidgetText::textChanged);
        changed.wait(2000);
        return box->elapsedLabel()->text();
    }

    ManualAnimationClock animations;
    QWidget window;
    ProgressBox* box;
    qint64 now = 1000;
};

void pause(ProgressBox* box, bool paused)
{
    QSignalSpy toggled(box, &ProgressBox::pauseToggled);
    box->pauseButton()->setCheckedAndEmit(paused);
    QVERIFY(toggled.wait(5000));
    QCOMPARE(toggled.last().at(0).toBool(), paused);
}

} // namespace

// The progress box of composing and import: bar texts, pause, times and the task-bar mirror.
class TestProgressBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void startsHidden();
    void importHasNoPause();
    void pauseDisablesBar();
    void remainingTime_data();
    void remainingTime();
    void elapsedLeavesOutPause();
    void secondStartResets();
    void mirrorFollowsVisibility();
    void cancelClick();
};

// The application's look, which gives the buttons their size.
void TestProgressBox::initTestCase()
{
    initSlideshowResources();
    CStyle* style = CSystemTools::instance()->style();
    style->registerPalette(new TyStyle(style));
    QVERIFY(style->setCurrentStyle(QStringLiteral("TyStyle")));
    RecordingTaskbarProgress::install();
}

void TestProgressBox::cleanupTestCase()
{
    RecordingTaskbarProgress::uninstall();
}

void TestProgressBox::startsHidden()
{
    Scene scene;
    QVERIFY(scene.box->isHidden());
    QCOMPARE(scene.box->styleKind(), 1054);
    QVERIFY(scene.box->pauseButton()->isCheckable());
    QCOMPARE(scene.box->progressBar()->minimum(), 0);
    QCOMPARE(scene.box->progressBar()->maximum(), 100);
}

void TestProgressBox::importHasNoPause()
{
    Scene scene;
    scene.box->startImport();
    QVERIFY(scene.box->isVisible());
    QCOMPARE(scene.box->progressBar()->text(), QStringLiteral("Импорт аудио: 0%"));
    QVERIFY(scene.box->pauseButton()->isHidden());
    QVERIFY(!scene.box->pauseButton()->isChecked());
    QVERIFY(scene.box->remainingLabel()->isHidden());
    scene.box->setProgress(25, 0);
    QCOMPARE(scene.box->progressBar()->text(), QStringLiteral("Импорт аудио: 25%"));
}

void TestProgressBox::pauseDisablesBar()
{
    Scene scene;
    scene.box->startComposing();
    QVERIFY(!scene.box->pauseButton()->isHidden());
    scene.box->setProgress(40, 5000);
    QCOMPARE(scene.box->progressBar()->text(), QStringLiteral("40%"));
    pause(scene.box, true);
    QCOMPARE(scene.box->progressBar()->text(), QStringLiteral("На паузе"));
    QVERIFY(!scene.box->progressBar()->isEnabled());
    pause(scene.box, false);
    QCOMPARE(scene.box->progressBar()->text(), QStringLiteral("40%"));
    QVERIFY(scene.box->progressBar()->isEnabled());
}

void TestProgressBox::remainingTime_data()
{
    QTest::addColumn<qint64>("remainingMs");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << qint64(0) << QString();
    QTest::newRow("negative") << qint64(-5) << QString();
    QTest::newRow("one ms") << qint64(1) << QStringLiteral("Осталось: 0:00:00");
    QTest::newRow("hour") << qint64(3725000) << QStringLiteral("Осталось: 1:02:05");
    QTest::newRow("past 32 bits") << qint64(3600000) * 1000 << QStringLiteral("Осталось: 1000:00:00");
}

void TestProgressBox::remainingTime()
{
    QFETCH(qint64, remainingMs);
    QFETCH(QString, text);
    Scene scene;
    scene.box->startComposing();
    scene.box->setProgress(40, remainingMs);
    QCOMPARE(scene.box->progressBar()->value(), 40);
    QCOMPARE(scene.box->remainingLabel()->isVisible(), !text.isEmpty());
    if (!text.isEmpty())
        QCOMPARE(scene.box->remainingLabel()->text(), text);
}

void TestProgressBox::elapsedLeavesOutPause()
{
    Scene scene;
    scene.box->startComposing();
    scene.now += 5000;
    QCOMPARE(scene.elapsedAfterTick(), QStringLiteral("Прошло: 0:00:05"));
    pause(scene.box, true);
    scene.now += 60000;
    QCOMPARE(scene.elapsedAfterTick(), QStringLiteral("Прошло: 0:00:05"));
    pause(scene.box, false);
    scene.now += 3000;
    QCOMPARE(scene.elapsedAfterTick(), QStringLiteral("Прошло: 0:00:08"));
    scene.box->stop();
    scene.now += 10000;
    // Stopped, the time stands.
    QSignalSpy changed(scene.box->elapsedLabel(), &CWidgetText::textChanged);
    QVERIFY(!changed.wait(700));
}

void TestProgressBox::secondStartResets()
{
    Scene scene;
    scene.box->startComposing();
    scene.box->setProgress(70, 1000);
    scene.now += 42000;
    QCOMPARE(scene.elapsedAfterTick(), QStringLiteral("Прошло: 0:00:42"));
    pause(scene.box, true);
    scene.box->startImport();
    QCOMPARE(scene.box->progressBar()->value(), 0);
    QVERIFY(scene.box->progressBar()->isEnabled());
    QVERIFY(scene.box->remainingLabel()->isHidden());
    // The label keeps its text until the first tick.
    QCOMPARE(scene.box->elapsedLabel()->text(), QStringLiteral("Прошло: 0:00:42"));
    scene.now += 1000;
    QCOMPARE(scene.elapsedAfterTick(), QStringLiteral("Прошло: 0:00:01"));
}

void TestProgressBox::mirrorFollowsVisibility()
{
    Scene scene;
    CProgressBar* bar = scene.box->progressBar();
    QVERIFY(!bar->isTaskbarProgressVisible());
    scene.box->startComposing();
    QVERIFY(bar->isTaskbarProgressVisible());
    QPointer<RecordingTaskbarProgress> entry = qobject_cast<RecordingTaskbarProgress*>(bar->taskbarProgress());
    QVERIFY(entry);
    scene.box->setProgress(30, 0);
    QCOMPARE(entry->value(), 30);
    scene.box->stop();
    scene.animations.advance(2000);
    QVERIFY(scene.box->isHidden());
    QVERIFY(!bar->isTaskbarProgressVisible());
    QVERIFY(!entry);
    scene.box->startImport();
    QVERIFY(bar->isTaskbarProgressVisible());
    scene.window.hide();
    QVERIFY(!bar->isTaskbarProgressVisible());
}

void TestProgressBox::cancelClick()
{
    Scene scene;
    scene.box->startComposing();
    scene.animations.advance(1000);
    QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
    QSignalSpy cancelled(scene.box, &ProgressBox::cancelClicked);
    WindowPointer(scene.window).click(scene.box->cancelButton());
    QVERIFY(cancelled.size() > 0 || cancelled.wait(5000));
    QCOMPARE(cancelled.size(), 1);
}

TY_UI_TEST_MAIN(TestProgressBox)

#include "tst_progressbox.moc"
