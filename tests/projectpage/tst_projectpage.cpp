#include "support/AppTestSupport.h"
#include "support/PageFixture.h"

#include "app/Composer.h"
#include "app/HistoryModel.h"
#include "app/SettingsProvider.h"
#include "model/AppPaths.h"
#include "model/ProjectFile.h"
#include "model/ProjectItem.h"
#include "pages/AudioBox.h"
#include "pages/EffectSelectors.h"
#include "pages/ProjectPageForAllActions.h"
#include "pages/ProjectPageOutFileName.h"
#include "pages/ProjectPageSlidesHeader.h"
#include "pages/ProjectPageSlidesView.h"
#include "pages/ProjectPageVideoSettingsBox.h"
#include "pages/SlideRowWidget.h"
#include "pages/TextPage.h"
#include "pages/TimeSelector.h"
#include "pages/VideoPlayerWidget.h"
#include "platform/ToolPaths.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CComboBase.h"
#include "uilib/controls/CLinEdit.h"

#include <QDir>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSignalSpy>

namespace {

constexpr int kWaitMs = 20000;
const QString kFakeHelper = QStringLiteral(TY_BIN_DIR "/ty_fake_helper");
const QDateTime kNow(QDate(2024, 3, 7), QTime(9, 15, 2));
const QString kDefaultName = QStringLiteral("слайд-шоу_2024-03-07_091502");

QString videoFolder(const PageFixture& f)
{
    return f.folder() + QStringLiteral("/videos");
}

QStringList requestFiles(const PageFixture& f)
{
    return QDir(f.folder()).entryList({QStringLiteral("*.json")}, QDir::Files).filter(QRegularExpression(
        QStringLiteral("^\\{[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\}\\.json$")));
}

QStringList latestFiles()
{
    return QDir(AppPaths::latestDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

// Binding, naming, composing and autosaving a project, the caption page over the page, and the
// parts that share the list's columns.
class TestProjectPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void composeName_data();
    void composeName();
    void requestFileHoldsTheProject();
    void nothingToCompose();
    void chosenFormatIsStoredAndComposed();
    void successAddsHistoryAndFreshName();
    void latestFolder();
    void failedWriteKeepsPreviousAutosave();
    void failureAndCancel();
    void composeWhileRunningStartsTheNewRun();
    void composeMakesMissingOutputFolder();
    void boundNameKeepsInnerDots();
    void defaultNamePathUsesSlash();
    void captionPageDisablesRightColumn();
    void columnsSharedAfterUpdateTexts();
    void forAllTimeSetsEverySlideAndDefault();
    void withoutProjectSettingsReloadSelectors();
    void realHelperComposesAVideo();
};

void TestProjectPage::init()
{
    ProjectPage::setClock([] { return kNow; });
    ToolPaths::setHelper(kFakeHelper);
    AppPaths::clearDir(AppPaths::latestDir());
    testSettings()->setOutFileFormat(QStringLiteral("webm"));
}

void TestProjectPage::cleanup()
{
    ProjectPage::setClock({});
    ToolPaths::setHelper(QString());
}

void TestProjectPage::composeName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("placeholder");
    QTest::addColumn<QString>("expected");

    QTest::newRow("typed name") << QStringLiteral("holiday") << QStringLiteral("older") << QStringLiteral("holiday");
    QTest::newRow("placeholder") << QString() << QStringLiteral("older") << QStringLiteral("older");
    QTest::newRow("new default") << QString() << QString() << kDefaultName;
}

void TestProjectPage::composeName()
{
    QFETCH(QString, text);
    QFETCH(QString, placeholder);
    QFETCH(QString, expected);

    PageFixture f;
    // A helper that cannot start ends the run at once.
    ToolPaths::setHelper(f.folder() + QStringLiteral("/no-such-helper"));
    CLinEdit* edit = f.page()->outFileName()->nameEdit();
    edit->setText(text);
    edit->setPlaceholderText(placeholder);
    QSignalSpy finished(f.page(), &ProjectPage::composerFinished);
    f.page()->compose();
    QCOMPARE(f.project()->file_name, QDir::toNativeSeparators(videoFolder(f) + "/" + expected + ".webm"));
    QCOMPARE(f.project()->format, QStringLiteral("webm"));
    if (text.isEmpty() && placeholder.isEmpty()) {
        QCOMPARE(edit->text(), kDefaultName);
        QCOMPARE(edit->placeholderText(), kDefaultName);
        QCOMPARE(f.project()->name, kDefaultName);
    }
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
    QCOMPARE(finished.first().first().toString(), QString());
    QCOMPARE(f.messages.errors.size(), 1);
}

void TestProjectPage::requestFileHoldsTheProject()
{
    PageFixture f;
    QVERIFY(FakeHelper(f.folder()).setScript({{"exitCode", 1}}));
    QSignalSpy finished(f.page(), &ProjectPage::composerFinished);
    f.page()->compose();
    const QStringList requests = requestFiles(f);
    QCOMPARE(requests.size(), 1);
    std::unique_ptr<ProjectFile> written(ProjectFile::load(f.folder() + "/" + requests.first()));
    QVERIFY(written);
    QCOMPARE(written->itemCount(), f.project()->itemCount());
    QCOMPARE(written->file_name, f.project()->file_name);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
}

void TestProjectPage::nothingToCompose()
{
    PageFixture f{QString()};
    QSignalSpy started(f.page(), &ProjectPage::composerStarted);
    f.page()->compose();
    PageFixture unbound(QStringLiteral("c"), false);
    unbound.page()->compose();
    QCOMPARE(started.count(), 0);
    QVERIFY(requestFiles(f).isEmpty());
    QVERIFY(!f.page()->composer()->isRunning());
}

void TestProjectPage::chosenFormatIsStoredAndComposed()
{
    PageFixture f;
    const QString before = f.project()->file_name;
    f.page()->outFileName()->formatCombo()->setCurrentData(QStringLiteral("mov"));
    QCOMPARE(testSettings()->outFileFormat(), QStringLiteral("mov"));
    QCOMPARE(f.project()->format, QStringLiteral("webm"));
    QCOMPARE(f.project()->file_name, before);

    f.page()->outFileName()->nameEdit()->setText(QStringLiteral("clip"));
    const QString expected = QDir::toNativeSeparators(videoFolder(f) + QStringLiteral("/clip.mov"));
    QVERIFY(FakeHelper(f.folder()).setScript({{"output", expected}, {"content", "video"}}));
    QSignalSpy finished(f.page(), &ProjectPage::composerFinished);
    f.page()->compose();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
    QCOMPARE(finished.first().first().toString(), expected);
    QCOMPARE(f.history()->project(expected)->format, QStringLiteral("mov"));
}

void TestProjectPage::successAddsHistoryAndFreshName()
{
    PageFixture f;
    f.page()->outFileName()->nameEdit()->setText(QStringLiteral("first"));
    const QString expected = QDir::toNativeSeparators(videoFolder(f) + QStringLiteral("/first.webm"));
    QVERIFY(FakeHelper(f.folder()).setScript({{"output", expected}, {"content", "video"}}));
    QSignalSpy started(f.page(), &ProjectPage::composerStarted);
    QSignalSpy finished(f.page(), &ProjectPage::composerFinished);
    ProjectPage::setClock([] { return kNow.addSecs(60); });
    f.page()->compose();
    QCOMPARE(started.count(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
    QCOMPARE(finished.first().first().toString(), expected);
    QVERIFY(f.history()->project(expected));
    const QString fresh = QStringLiteral("слайд-шоу_2024-03-07_091602");
    QCOMPARE(f.page()->outFileName()->nameEdit()->text(), fresh);
    QCOMPARE(f.project()->file_name, QDir::toNativeSeparators(videoFolder(f) + "/" + fresh + ".webm"));
    QVERIFY(f.messages.errors.isEmpty());

    // Closing right after leaves nothing to reopen; a change makes the close keep it.
    f.page()->saveToLatest();
    QVERIFY(latestFiles().isEmpty());
    f.page()->applyDurationToAll(5000);
    f.page()->saveToLatest();
    QCOMPARE(latestFiles(), QStringList{f.project()->contentHash() + ".json"});
}

void TestProjectPage::latestFolder()
{
    PageFixture f;
    QFile stale(AppPaths::latestDir() + QStringLiteral("/old.json"));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    f.page()->saveToLatest();
    const QString saved = f.project()->contentHash() + ".json";
    QCOMPARE(latestFiles(), QStringList{saved});
    std::unique_ptr<ProjectFile> reopened(ProjectFile::load(AppPaths::latestDir() + "/" + saved));
    QVERIFY(reopened);
    QCOMPARE(reopened->itemCount(), 6);

    // Only the title slide: the folder is emptied and nothing written.
    PageFixture titleOnly{QString()};
    titleOnly.page()->saveToLatest();
    QVERIFY(latestFiles().isEmpty());
}

void TestProjectPage::failedWriteKeepsPreviousAutosave()
{
    PageFixture f;
    f.page()->saveToLatest();
    const QString previous = f.project()->contentHash() + ".json";
    f.page()->applyDurationToAll(5000);
    // The new file's place is taken by a folder, so writing it fails.
    QVERIFY(QDir().mkpath(AppPaths::latestDir() + "/" + f.project()->contentHash() + ".json"));
    f.page()->saveToLatest();
    QVERIFY(latestFiles().contains(previous));
    std::unique_ptr<ProjectFile> kept(ProjectFile::load(AppPaths::latestDir() + "/" + previous));
    QVERIFY(kept);
}

void TestProjectPage::failureAndCancel()
{
    PageFixture f;
    QSignalSpy finished(f.page(), &ProjectPage::composerFinished);
    int finishedBeforeError = -1;
    ProjectPage::Messages messages;
    messages.showCreationError = [&](const QString& error) {
        finishedBeforeError = finished.count();
        f.messages.errors.append(error);
    };
    ProjectPage::setMessages(messages);
    QVERIFY(FakeHelper(f.folder()).setScript({{"exitCode", 1}}));
    f.page()->compose();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
    QCOMPARE(finished.first().first().toString(), QString());
    QCOMPARE(f.messages.errors, QStringList{"ERR_GENERATOR"});
    QCOMPARE(finishedBeforeError, 1);

    QVERIFY(FakeHelper(f.folder()).setScript({{"waitCancel", true}}));
    QSignalSpy helperStarted(f.page()->composer(), &Composer::started);
    f.page()->compose();
    QTRY_COMPARE_WITH_TIMEOUT(helperStarted.count(), 1, kWaitMs);
    f.page()->cancelComposer();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, kWaitMs);
    QCOMPARE(finished.last().first().toString(), QString());
    QCOMPARE(f.messages.errors.size(), 1);
}

void TestProjectPage::composeWhileRunningStartsTheNewRun()
{
    PageFixture f;
    f.page()->outFileName()->nameEdit()->setText(QStringLiteral("again"));
    const QString expected = QDir::toNativeSeparators(videoFolder(f) + QStringLiteral("/again.webm"));
    QVERIFY(FakeHelper(f.folder()).setScript({{"waitCancel", true}}));
    QSignalSpy started(f.page(), &ProjectPage::composerStarted);
    QSignalSpy finished(f.page(), &ProjectPage::composerFinished);
    QSignalSpy helperStarted(f.page()->composer(), &Composer::started);
    f.page()->compose();
    QTRY_COMPARE_WITH_TIMEOUT(helperStarted.count(), 1, kWaitMs);

    QVERIFY(FakeHelper(f.folder()).setScript({{"output", expected}, {"content", "video"}}));
    f.page()->compose();
    QCOMPARE(started.count(), 2);
    // The first run's end starts the second and ends no progress.
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
    QCOMPARE(finished.first().first().toString(), expected);
    QCOMPARE(helperStarted.count(), 2);
    QVERIFY(f.history()->project(expected));
}

void TestProjectPage::composeMakesMissingOutputFolder()
{
    PageFixture f;
    const QString missing = f.folder() + QStringLiteral("/new/Desktop");
    testSettings()->setFolder(missing);
    QVERIFY(FakeHelper(f.folder()).setScript({{"exitCode", 1}}));
    QSignalSpy finished(f.page(), &ProjectPage::composerFinished);
    f.page()->compose();
    QVERIFY(QFileInfo(missing).isDir());
    QVERIFY(f.project()->file_name.startsWith(QDir::toNativeSeparators(missing + "/")));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
}

void TestProjectPage::boundNameKeepsInnerDots()
{
    PageFixture f(QStringLiteral("c"), false);
    f.project()->file_name = f.folder() + QStringLiteral("/videos/trip.2024.mp4");
    f.project()->format = QStringLiteral("mp4");
    f.page()->setProject(f.project(), false);
    QCOMPARE(f.page()->outFileName()->nameEdit()->text(), QStringLiteral("trip.2024"));
    QCOMPARE(f.page()->outFileName()->nameEdit()->placeholderText(), QStringLiteral("trip.2024"));
    QCOMPARE(f.page()->outFileName()->formatCombo()->currentData().toString(), QStringLiteral("mp4"));
    // Binding shows the project's format without choosing it for the settings.
    QCOMPARE(testSettings()->outFileFormat(), QStringLiteral("webm"));
}

void TestProjectPage::defaultNamePathUsesSlash()
{
    PageFixture f;
    f.page()->assignDefaultName();
    QCOMPARE(f.project()->name, kDefaultName);
    QCOMPARE(f.project()->file_name, QDir::toNativeSeparators(videoFolder(f) + "/" + kDefaultName + ".webm"));
    QVERIFY(!f.project()->file_name.contains(QLatin1Char('\\')));
}

void TestProjectPage::captionPageDisablesRightColumn()
{
    PageFixture f;
    f.page()->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.page()));
    QSignalSpy visibility(f.page(), &ProjectPage::editTextVisibilityChanged);
    f.page()->editCaption(f.project()->item(1));
    QTRY_VERIFY(f.page()->captionPage()->isVisible());
    QCOMPARE(visibility.count(), 1);
    QCOMPARE(visibility.first().first().toBool(), true);
    QVERIFY(!f.page()->videoSettingsBox()->isEnabled());
    QVERIFY(!f.page()->audioBox()->isEnabled());
    QVERIFY(!f.page()->previewButton()->isEnabled());
    QVERIFY(!f.page()->composeButton()->isEnabled());
    QVERIFY(f.page()->previewPanel()->isEnabled());
    const QRect over = f.page()->captionPage()->geometry();
    QCOMPARE(over.topLeft(), QPoint(0, 0));
    QCOMPARE(over.height(), f.page()->height());
    QVERIFY(over.right() < f.page()->previewPanel()->geometry().left());

    f.page()->captionPage()->hide();
    QCOMPARE(visibility.last().first().toBool(), false);
    QVERIFY(f.page()->videoSettingsBox()->isEnabled());
    QVERIFY(f.page()->audioBox()->isEnabled());
    QVERIFY(f.page()->composeButton()->isEnabled());

    // The caption style of all slides: the preview has nothing to show.
    f.page()->editCaption(nullptr);
    QTRY_VERIFY(f.page()->captionPage()->isVisible());
    QVERIFY(f.page()->captionPage()->isEditingAllSlides());
    QVERIFY(!f.page()->previewPanel()->isEnabled());
}

void TestProjectPage::columnsSharedAfterUpdateTexts()
{
    PageFixture f;
    f.page()->updateTexts();
    const AbstractRow::ColumnWidths header = f.page()->slidesHeader()->columnWidths();
    QCOMPARE(header.size(), int(AbstractRow::ColumnCount));
    QCOMPARE(f.page()->forAllActions()->columnWidths(), header);
    auto* view = f.page()->slidesView();
    for (int row = 0; row < f.project()->itemCount(); ++row) {
        auto* widget = qobject_cast<SlideRowWidget*>(view->indexWidget(view->model()->index(row, 0)));
        QCOMPARE(widget->columnWidths(), header);
    }
    // Rows added later take them too.
    f.page()->addColorSlide(3);
    auto* added = qobject_cast<SlideRowWidget*>(view->indexWidget(view->model()->index(6, 0)));
    QCOMPARE(added->columnWidths(), header);
}

void TestProjectPage::forAllTimeSetsEverySlideAndDefault()
{
    PageFixture f;
    f.page()->forAllActions()->timeSelector()->setMsecValue(7000);
    for (ProjectItem* item : f.project()->items())
        QCOMPARE(item->time_ms(), 7000);
    QCOMPARE(f.project()->defaultTime_ms, 7000);
}

void TestProjectPage::withoutProjectSettingsReloadSelectors()
{
    PageFixture f(QStringLiteral("pc"), false);
    testSettings()->setDefaultTransition(TransitionType(7));
    QCOMPARE(int(f.page()->forAllActions()->transitionSelector()->transition()), 7);
    for (int index = 1; index < f.project()->itemCount(); ++index)
        QCOMPARE(f.project()->item(index)->time_ms(), 3000);
    // Every list operation waits for a project.
    f.page()->applyDurationToAll(9000);
    f.page()->addColorSlide(1);
    QCOMPARE(f.project()->itemCount(), 3);
    QCOMPARE(f.project()->item(1)->time_ms(), 3000);
}

void TestProjectPage::realHelperComposesAVideo()
{
    const QString helper = QStringLiteral(TY_BIN_DIR "/ty_helper");
    QVERIFY2(QFileInfo(helper).isExecutable(), "ty_helper is needed");
    ToolPaths::setHelper(helper);
    PageFixture f(QStringLiteral("ccc"));
    f.project()->resolution = Resolution(160, 120);
    f.project()->fps = 5;
    f.project()->transition_time_ms = 500;
    for (ProjectItem* item : f.project()->items())
        item->setTime_ms(500);
    f.page()->outFileName()->nameEdit()->setText(QStringLiteral("real"));
    QSignalSpy finished(f.page(), &ProjectPage::composerFinished);
    f.page()->compose();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 120000);
    const QString video = QDir::toNativeSeparators(videoFolder(f) + QStringLiteral("/real.webm"));
    QCOMPARE(finished.first().first().toString(), video);
    QVERIFY(QFileInfo(video).size() > 0);
    ProjectFile* entry = f.history()->project(video);
    QVERIFY(entry);
    QCOMPARE(entry->itemCount(), 4);
}

TY_PAGE_TEST_MAIN(TestProjectPage)
#include "tst_projectpage.moc"
