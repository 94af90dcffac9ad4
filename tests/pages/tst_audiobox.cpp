#include <QtTest>

#include "app/CSystemTools.h"
#include "app/SettingsProvider.h"
#include "app/audio/AudioFilesController.h"
#include "app/audio/Mp3.h"
#include "model/ProjectFile.h"
#include "pages/AudioBox.h"
#include "pages/DragIcon.h"
#include "pages/PageShell.h"
#include "pages/TimeSelector.h"
#include "pages/TyStyle.h"
#include "pages/VideoPlayer.h"
#include "pages/VideoPlayerWidget.h"
#include "resources/Resources.h"
#include "support/FakeAudioPlayer.h"
#include "support/PreviewProjects.h"
#include "support/UiTestSupport.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWidgetTextIcon.h"
#include "uilib/style/CDragDrop.h"
#include "uilib/style/CListWidget.h"
#include "uilib/style/CStyle.h"

#include <QMimeData>
#include <QSemaphore>
#include <QThreadPool>

#include <memory>

namespace {

constexpr int kWaitMs = 20000;

// A project page's preview panel (its music on a fake player) and audio box over settings in a
// temporary folder.
struct Rig
{
    Rig()
    {
        settings = std::make_unique<SettingsProvider>(dir.filePath(QStringLiteral("settings.ini")),
                                                      QSettings::IniFormat, nullptr);
        panel = new VideoPlayerWidget(&window);
        panel->setMusicPlayerFactory([](QObject* parent) { return new Mp3(new FakeAudioPlayer, parent); });
        panel->setGeometry(0, 0, 500, 340);
        box = new AudioBox(panel, settings.get(), &window);
        box->setGeometry(0, 340, 500, 300);
        box->updateTexts();
        window.resize(500, 640);
    }

    // A track of the given length and name whose WAV exists.
    AudioTrack track(qint64 ms, const QString& name = QStringLiteral("a"))
    {
        AudioTrack track;
        track.fileName = dir.filePath(name + QStringLiteral(".mp3"));
        track.wavFileName = dir.filePath(name + QStringLiteral(".wav"));
        track.duration_ms = ms;
        QFile wav(track.wavFileName);
        wav.open(QIODevice::WriteOnly);
        return track;
    }

    // Imports take each file as it is, 2 seconds long.
    void importAsIs()
    {
        panel->audioFiles()->setImportWork([](const QString& source, const QString&) {
            AudioTrack track;
            track.fileName = source;
            track.duration_ms = 2000;
            return track;
        });
    }

    // Binds the project to the panel, then to the box, as the project page does.
    void bind(ProjectFile* project)
    {
        panel->setProject(project);
        box->setProject(project);
    }

    AudioBox::RowWidget* row(int position) const
    {
        return dynamic_cast<AudioBox::RowWidget*>(box->list()->dragDrop()->layout()->itemAt(position)->widget());
    }

    bool emptyStateShown() const
    {
        return !box->emptyLayout()->hint()->isHidden() && !box->emptyLayout()->addButton()->isHidden();
    }

    // Sends a drag of the data into the list, or over the given child of it (or out, with null
    // data); true when the drop is offered.
    bool drag(QMimeData* data, QWidget* over = nullptr)
    {
        QWidget* target = over ? over : box->list()->widget();
        if (!data) {
            QDragLeaveEvent leave;
            QApplication::sendEvent(target, &leave);
            return false;
        }
        const QPoint point = over ? over->rect().center() : QPoint(target->width() / 2, 10);
        QDragEnterEvent enter(point, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QDragMoveEvent move(point, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &move);
        return enter.isAccepted() && move.isAccepted();
    }

    QTemporaryDir dir;
    std::unique_ptr<SettingsProvider> settings;
    QWidget window;
    VideoPlayerWidget* panel;
    AudioBox* box;
};

// An empty file of that name in the folder, its folders made as needed.
QString filePath(const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile(path).open(QIODevice::WriteOnly);
    return path;
}

} // namespace

// The music section of the project page: rows, footer, empty state, settings and drops.
class TestAudioBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void totalCountsTracksAndTheirLength_data();
    void totalCountsTracksAndTheirLength();
    void noTracksShowTheEmptyState();
    void emptyStateGivesWayWhileADropIsAllowed_data();
    void emptyStateGivesWayWhileADropIsAllowed();
    void dropOnTheAddButtonAddsTheMusic();
    void rowsShowNumberNameAndLength();
    void projectSettingsShowWithoutWritingBack();
    void settingsFollowedWithoutAProject();
    void footerControlsReachTheTrackList();
    void rowPlayStopsThePreviewAndPlaysTheTrack();
    void rowPlayCancelsAPreviewAboutToStart();
    void rowDeleteRemovesTheTrack();
    void rowsMoveByDragging();
    void droppedFolderImportsItsMusic();
    void mimeFilter_data();
    void mimeFilter();
    void addingFiles_data();
    void addingFiles();
};

void TestAudioBox::initTestCase()
{
    // Rows take their width from the program's own look.
    initSlideshowResources();
    CStyle* style = CSystemTools::instance()->style();
    style->registerPalette(new TyStyle(style));
    QVERIFY(style->setCurrentStyle(QStringLiteral("TyStyle")));
}

void TestAudioBox::cleanup()
{
    PageShell::functions().chooseAudioFiles = nullptr;
    PageShell::functions().showAudioNotAddedMessage = nullptr;
}

void TestAudioBox::totalCountsTracksAndTheirLength_data()
{
    QTest::addColumn<QList<qint64>>("lengths");
    QTest::addColumn<QString>("text");
    QTest::newRow("one") << QList<qint64>{3000} << QStringLiteral("Всего: 1 аудио (00:03)");
    QTest::newRow("half a second rounds up") << QList<qint64>{3000, 61500}
                                             << QStringLiteral("Всего: 2 аудио (01:05)");
    QTest::newRow("over an hour") << QList<qint64>{3600000, 1400} << QStringLiteral("Всего: 2 аудио (60:01)");
}

void TestAudioBox::totalCountsTracksAndTheirLength()
{
    QFETCH(QList<qint64>, lengths);
    QFETCH(QString, text);
    auto project = colourProject(2, 1000);
    Rig rig;
    for (int i = 0; i < lengths.size(); ++i)
        project->audio_files << rig.track(lengths.at(i), QString::number(i));
    rig.bind(project.get());
    QCOMPARE(rig.box->totalLabel()->text(), text);
    QVERIFY(!rig.box->footer()->isHidden());
    QVERIFY(!rig.emptyStateShown());
}

void TestAudioBox::noTracksShowTheEmptyState()
{
    Rig rig;
    QVERIFY(rig.box->footer()->isHidden());
    QVERIFY(rig.emptyStateShown());
    QCOMPARE(rig.box->totalLabel()->text(), QStringLiteral("Всего: 0 аудио (00:00)"));

    auto project = colourProject(2, 1000);
    project->audio_files = {rig.track(3000)};
    rig.bind(project.get());
    QVERIFY(!rig.box->footer()->isHidden());
    QVERIFY(!rig.emptyStateShown());
    // Unbound, the box shows none of the panel's tracks.
    rig.box->setProject(nullptr);
    QCOMPARE(rig.panel->audioFiles()->rowCount(), 1);
    QCOMPARE(rig.box->model(), nullptr);
    QVERIFY(rig.box->footer()->isHidden());
    QVERIFY(rig.emptyStateShown());
    // The last track deleted.
    rig.box->setProject(project.get());
    QVERIFY(!rig.emptyStateShown());
    rig.panel->audioFiles()->removeTrack(rig.panel->audioFiles()->index(0, 0));
    QVERIFY(rig.box->footer()->isHidden());
    QVERIFY(rig.emptyStateShown());
    QCOMPARE(rig.box->totalLabel()->text(), QStringLiteral("Всего: 0 аудио (00:00)"));
}

void TestAudioBox::emptyStateGivesWayWhileADropIsAllowed_data()
{
    QTest::addColumn<bool>("overAddButton");
    QTest::newRow("over the list") << false;
    // The add button lies over the empty list: a drag there is a drag over the list.
    QTest::newRow("over the add button") << true;
}

void TestAudioBox::emptyStateGivesWayWhileADropIsAllowed()
{
    QFETCH(bool, overAddButton);
    auto project = colourProject(2, 1000);
    Rig rig;
    rig.bind(project.get());
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    QWidget* over = overAddButton ? rig.box->emptyLayout()->addButton() : nullptr;
    std::unique_ptr<QMimeData> data(fileUrlsMime({filePath(rig.dir, QStringLiteral("song.mp3"))}));
    QVERIFY(rig.drag(data.get(), over));
    QVERIFY(!rig.emptyStateShown());
    // The pointer goes on over the list, where the empty state was.
    QVERIFY(rig.drag(data.get()));
    QVERIFY(rig.box->list()->dragDrop()->isDropAllowed());
    QVERIFY(!rig.emptyStateShown());
    rig.drag(nullptr);
    QVERIFY(!rig.box->list()->dragDrop()->isDropAllowed());
    QVERIFY(rig.emptyStateShown());

    // Files that hold no music are not offered there either.
    std::unique_ptr<QMimeData> text(fileUrlsMime({filePath(rig.dir, QStringLiteral("notes.txt"))}));
    QVERIFY(!rig.drag(text.get(), over));
    QVERIFY(!rig.box->list()->dragDrop()->isDropAllowed());
    QVERIFY(rig.emptyStateShown());
}

// Music dropped on the empty state's add button is added as if dropped on the list.
void TestAudioBox::dropOnTheAddButtonAddsTheMusic()
{
    auto project = colourProject(2, 1000);
    Rig rig;
    rig.bind(project.get());
    rig.importAsIs();
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    CButton* add = rig.box->emptyLayout()->addButton();
    std::unique_ptr<QMimeData> data(fileUrlsMime({filePath(rig.dir, QStringLiteral("song.mp3"))}));
    QVERIFY(rig.drag(data.get(), add));
    QDropEvent drop(add->rect().center(), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(add, &drop);
    QVERIFY(drop.isAccepted());
    QTRY_COMPARE_WITH_TIMEOUT(project->audio_files.size(), 1, kWaitMs);
    QVERIFY(!rig.emptyStateShown());
}

void TestAudioBox::rowsShowNumberNameAndLength()
{
    auto project = colourProject(2, 1000);
    Rig rig;
    project->audio_files = {rig.track(3000, QStringLiteral("first")), rig.track(65000, QStringLiteral("<b>x&amp;"))};
    rig.bind(project.get());
    AudioBox::RowWidget* second = rig.row(1);
    QVERIFY(second);
    QCOMPARE(second->numberLabel()->text(), QStringLiteral("2"));
    // A name that looks like markup shows as written.
    QCOMPARE(second->nameLabel()->text(), QStringLiteral("<b>x&amp;"));
    QCOMPARE(second->nameLabel()->textFormat(), Qt::PlainText);
    QCOMPARE(second->durationLabel()->text(), QStringLiteral("01:05"));
    QVERIFY(!second->playButton()->isChecked());
    // Room for the longest length whatever the name.
    const QFontMetrics metrics(second->durationLabel()->font());
    QCOMPARE(second->durationLabel()->width(), metrics.horizontalAdvance(QStringLiteral("00:00:00")));
    QCOMPARE(second->height(), 32);

    // Moved to the top, it is numbered again.
    auto* tracks = rig.panel->audioFiles();
    std::unique_ptr<QMimeData> move(tracks->mimeData({tracks->index(1, 0)}));
    QVERIFY(tracks->dropMimeData(move.get(), Qt::MoveAction, 0, 0, QModelIndex()));
    QCOMPARE(rig.row(0)->nameLabel()->text(), QStringLiteral("<b>x&amp;"));
    QCOMPARE(rig.row(0)->numberLabel()->text(), QStringLiteral("1"));
    QCOMPARE(rig.row(1)->numberLabel()->text(), QStringLiteral("2"));

    // A name longer than the row ends in an ellipsis.
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    QTRY_VERIFY_WITH_TIMEOUT(rig.row(1)->isVisible(), kWaitMs);
    QVERIFY(!rig.row(1)->nameLabel()->isElided());
    tracks->setTracks({rig.track(3000, QString(200, QLatin1Char('n')))});
    QTRY_VERIFY_WITH_TIMEOUT(rig.row(0)->nameLabel()->isElided(), kWaitMs);
    QCOMPARE(rig.row(0)->nameLabel()->elideMode(), Qt::ElideRight);
}

void TestAudioBox::projectSettingsShowWithoutWritingBack()
{
    auto project = colourProject(2, 1000);
    project->audio_offset = -4;
    project->audio_fade = 3;
    project->audio_loop = true;
    Rig rig;
    rig.settings->setAudioOffset(2);
    project->audio_files = {rig.track(3000)};
    rig.panel->setProject(project.get());
    QSignalSpy changes(rig.panel->audioFiles(), &AudioFilesController::audioChanged);
    QSignalSpy loops(rig.box->loopButton(), &CButton::toggled);
    rig.box->setProject(project.get());
    QCOMPARE(rig.box->offsetSelector()->secValue(), -4);
    QCOMPARE(rig.box->fadeSelector()->secValue(), 3);
    QVERIFY(rig.box->loopButton()->isChecked());
    QCoreApplication::processEvents();
    QCOMPARE(changes.count(), 0);
    QCOMPARE(loops.count(), 0);
    QCOMPARE(project->audio_offset, -4);
    // A settings change leaves a bound project's values shown.
    rig.settings->setAudioOffset(5);
    QCOMPARE(rig.box->offsetSelector()->secValue(), -4);
}

void TestAudioBox::settingsFollowedWithoutAProject()
{
    Rig rig;
    rig.settings->setAudioOffset(-3);
    rig.settings->setAudioFade(2);
    QCOMPARE(rig.box->offsetSelector()->secValue(), -3);
    QCOMPARE(rig.box->fadeSelector()->secValue(), 2);
    // Unbinding shows the settings again.
    auto project = colourProject(2, 1000);
    project->audio_offset = 7;
    rig.bind(project.get());
    QCOMPARE(rig.box->offsetSelector()->secValue(), 7);
    rig.bind(nullptr);
    QCOMPARE(rig.box->offsetSelector()->secValue(), -3);
    QCOMPARE(rig.settings->audioOffset(), -3);
}

void TestAudioBox::footerControlsReachTheTrackList()
{
    auto project = colourProject(2, 1000);
    Rig rig;
    project->audio_files = {rig.track(3000)};
    rig.bind(project.get());
    QCOMPARE(rig.box->offsetSelector()->presets(),
             (QList<int>{-10000, -7000, -5000, -4000, -3000, -2000, -1000, 0, 1000, 2000, 3000, 4000, 5000,
                         7000, 10000}));
    QCOMPARE(rig.box->fadeSelector()->presets(), (QList<int>{0, 1000, 2000, 3000, 4000, 5000}));
    rig.box->offsetSelector()->setSecValue(-5);
    rig.box->fadeSelector()->setSecValue(4);
    rig.box->loopButton()->setCheckedAndEmit(true);
    QTRY_VERIFY(project->audio_loop);
    AudioFilesController* tracks = rig.panel->audioFiles();
    QCOMPARE(tracks->offset(), -5);
    QCOMPARE(tracks->fade(), 4);
    QVERIFY(tracks->isLoop());
    QCOMPARE(project->audio_offset, -5);
    QCOMPARE(project->audio_fade, 4);
}

void TestAudioBox::rowPlayStopsThePreviewAndPlaysTheTrack()
{
    auto project = colourProject(3, 1000);
    Rig rig;
    project->audio_files = {rig.track(3000, QStringLiteral("one")), rig.track(4000, QStringLiteral("two"))};
    rig.bind(project.get());
    rig.panel->playPreview(-1, QString(), false);
    QTRY_VERIFY_WITH_TIMEOUT(rig.panel->isActive(), kWaitMs);
    AudioFilesController* tracks = rig.panel->audioFiles();
    QSignalSpy refreshed(tracks, &QAbstractItemModel::dataChanged);

    rig.row(1)->playButton()->setCheckedAndEmit(true);
    QTRY_VERIFY_WITH_TIMEOUT(!refreshed.isEmpty(), kWaitMs);
    QVERIFY(!rig.panel->isActive());
    QVERIFY(!rig.panel->musicPlayer()->isPlaying());
    // The track list marked the second row as the one it plays.
    QCOMPARE(refreshed.first().at(0).toModelIndex().row(), 1);

    // Unchecked, the track list stops; nothing is left playing.
    rig.row(1)->playButton()->setCheckedAndEmit(false);
    QTRY_VERIFY_WITH_TIMEOUT(!tracks->index(1, 3).data().toBool(), kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!rig.row(1)->playButton()->isChecked(), kWaitMs);
}

// A track played between asking for a preview and its start is not stopped by that start: the
// preview's start is called off.
void TestAudioBox::rowPlayCancelsAPreviewAboutToStart()
{
    auto project = colourProject(3, 1000);
    Rig rig;
    project->audio_files = {rig.track(3000)};
    rig.bind(project.get());
    QSignalSpy started(rig.panel->player(), &VideoPlayer::started);
    rig.panel->playPreview(-1, QString(), false);
    QVERIFY(rig.panel->startTimer()->isActive());

    QSignalSpy toggled(rig.row(0)->playButton(), &CButton::toggled);
    rig.row(0)->playButton()->setCheckedAndEmit(true);
    QVERIFY(toggled.wait(kWaitMs));
    QVERIFY(!rig.panel->startTimer()->isActive());
    // Well past the start delay the preview has not started.
    QVERIFY(!started.wait(rig.panel->startTimer()->interval() * 5));
    QVERIFY(!rig.panel->isActive());
    QVERIFY(!rig.panel->toolbar()->playButton()->isChecked());
    rig.panel->audioFiles()->stop();
}

void TestAudioBox::rowDeleteRemovesTheTrack()
{
    auto project = colourProject(2, 1000);
    Rig rig;
    project->audio_files = {rig.track(3000, QStringLiteral("one")), rig.track(4000, QStringLiteral("two"))};
    rig.bind(project.get());
    emit rig.row(0)->deleteButton()->clicked();
    QCOMPARE(project->audio_files.size(), 1);
    QCOMPARE(QFileInfo(project->audio_files.first().fileName).completeBaseName(), QStringLiteral("two"));
    QCOMPARE(rig.box->totalLabel()->text(), QStringLiteral("Всего: 1 аудио (00:04)"));
    // A row whose list is gone does nothing.
    QPointer<AudioBox::RowWidget> row = rig.row(0);
    rig.box->setProject(nullptr);
    if (row)
        emit row->deleteButton()->clicked();
    QCOMPARE(project->audio_files.size(), 1);
}

void TestAudioBox::rowsMoveByDragging()
{
    QApplication::setStartDragDistance(10);
    auto project = colourProject(2, 1000);
    Rig rig;
    project->audio_files = {rig.track(1000, QStringLiteral("one")), rig.track(2000, QStringLiteral("two")),
                            rig.track(3000, QStringLiteral("three"))};
    rig.bind(project.get());
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    QTRY_VERIFY_WITH_TIMEOUT(rig.row(2) && rig.row(2)->isVisible(), kWaitMs);
    WindowMouse mouse(&rig.window);
    QWidget* handle = rig.row(0)->dragHandle();
    const QPoint grip(handle->width() / 2, handle->height() / 2);
    mouse.press(handle, grip);
    mouse.move(handle, grip + QPoint(11, 0));
    mouse.move(handle, grip + QPoint(12, 0));
    QVERIFY(rig.box->dragIcon()->isVisible());
    mouse.move(rig.row(2), QPoint(40, 28));
    mouse.release(rig.box->list()->dragDrop()->dropIndicator(), QPoint(40, 6));
    QTRY_VERIFY_WITH_TIMEOUT(!rig.box->dragIcon()->isVisible(), kWaitMs);
    QStringList names;
    for (const AudioTrack& track : project->audio_files)
        names << QFileInfo(track.fileName).completeBaseName();
    QCOMPARE(names, (QStringList{QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("one")}));
    QCOMPARE(rig.row(2)->nameLabel()->text(), QStringLiteral("one"));
    QCOMPARE(rig.row(2)->numberLabel()->text(), QStringLiteral("3"));
}

void TestAudioBox::droppedFolderImportsItsMusic()
{
    auto project = colourProject(2, 1000);
    Rig rig;
    project->audio_files = {rig.track(1000, QStringLiteral("one"))};
    rig.bind(project.get());
    rig.importAsIs();
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    filePath(rig.dir, QStringLiteral("album/b.ogg"));
    filePath(rig.dir, QStringLiteral("album/a.mp3"));
    filePath(rig.dir, QStringLiteral("album/cover.jpg"));
    std::unique_ptr<QMimeData> data(fileUrlsMime({rig.dir.filePath(QStringLiteral("album"))}));
    rig.drag(data.get());
    QVERIFY(rig.box->list()->dragDrop()->isDropAllowed());
    QWidget* content = rig.box->list()->widget();
    QDropEvent drop(rig.box->list()->dragDrop()->dropIndicator()->geometry().center(), Qt::CopyAction,
                    data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(content, &drop);
    QTRY_COMPARE_WITH_TIMEOUT(project->audio_files.size(), 3, kWaitMs);
    QCOMPARE(rig.box->totalLabel()->text(), QStringLiteral("Всего: 3 аудио (00:05)"));
}

void TestAudioBox::mimeFilter_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("folder with an mp3") << QStringList{QStringLiteral("music/deep/song.mp3")} << true;
    QTest::newRow("upper-case suffix") << QStringList{QStringLiteral("SONG.FLAC")} << true;
    QTest::newRow("text file") << QStringList{QStringLiteral("notes.txt")} << false;
    QTest::newRow("folder without music") << QStringList{QStringLiteral("photos/a.jpg")} << false;
}

void TestAudioBox::mimeFilter()
{
    QFETCH(QStringList, files);
    QFETCH(bool, allowed);
    auto project = colourProject(2, 1000);
    Rig rig;
    rig.bind(project.get());
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    QStringList dropped;
    for (const QString& name : files) {
        const QString path = filePath(rig.dir, name);
        // A nested file is dropped as its top folder.
        const QString top = name.section(QLatin1Char('/'), 0, 0);
        dropped << (name.contains(QLatin1Char('/')) ? rig.dir.filePath(top) : path);
    }
    std::unique_ptr<QMimeData> data(fileUrlsMime(dropped));
    rig.drag(data.get());
    QCOMPARE(rig.box->list()->dragDrop()->isDropAllowed(), allowed);
    QCOMPARE(rig.emptyStateShown(), !allowed);
    rig.drag(nullptr);
}

void TestAudioBox::addingFiles_data()
{
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("messages");
    QTest::newRow("none chosen") << QStringList() << 0 << 0;
    QTest::newRow("all added") << QStringList{QStringLiteral("a.mp3"), QStringLiteral("b.mp3")} << 2 << 0;
    QTest::newRow("one broken") << QStringList{QStringLiteral("a.mp3"), QStringLiteral("broken.mp3"),
                                               QStringLiteral("c.mp3")}
                                << 2 << 1;
    QTest::newRow("cancelled") << QStringList{QStringLiteral("a.mp3"), QStringLiteral("cancel.mp3"),
                                              QStringLiteral("c.mp3")}
                               << 1 << 0;
}

void TestAudioBox::addingFiles()
{
    QFETCH(QStringList, chosen);
    QFETCH(int, rows);
    QFETCH(int, messages);
    auto project = colourProject(2, 1000);
    Rig rig;
    rig.bind(project.get());
    // "cancel" stands for a cancel pressed while that file is read.
    AudioFilesController* tracks = rig.panel->audioFiles();
    QSemaphore cancelled;
    tracks->setImportWork([tracks, &cancelled](const QString& source, const QString&) {
        if (source.contains(QStringLiteral("cancel"))) {
            QMetaObject::invokeMethod(tracks, &AudioFilesController::cancelImport, Qt::QueuedConnection);
            cancelled.acquire();
        }
        AudioTrack track;
        track.fileName = source;
        track.duration_ms = source.contains(QStringLiteral("broken")) ? -1 : 2000;
        return track;
    });
    int asked = 0;
    int told = 0;
    PageShell::functions().chooseAudioFiles = [&] {
        ++asked;
        return chosen;
    };
    PageShell::functions().showAudioNotAddedMessage = [&] { ++told; };
    emit rig.box->emptyLayout()->addButton()->clicked();
    cancelled.release();
    QThreadPool::globalInstance()->waitForDone();
    QCOMPARE(asked, 1);
    QCOMPARE(told, messages);
    QCOMPARE(rig.panel->audioFiles()->rowCount(), rows);
    QCOMPARE(project->audio_files.size(), rows);
    QCOMPARE(rig.box->footer()->isHidden(), rows == 0);
}

TY_UI_TEST_MAIN(TestAudioBox)
#include "tst_audiobox.moc"
