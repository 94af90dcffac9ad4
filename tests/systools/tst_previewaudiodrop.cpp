#include "support/AppTestSupport.h"
#include "support/SystoolsTestSupport.h"
#include "support/UiTestSupport.h"

#include "app/Application.h"
#include "app/Ui.h"
#include "app/audio/AudioFilesController.h"
#include "pages/InterfaceText.h"
#include "pages/VideoPlayerWidget.h"
#include "resources/Resources.h"
#include "uilib/controls/CDialogMessage.h"

#include <QLabel>
#include <QMimeData>
#include <QtTest>

#include <memory>

namespace {

int s_argc = 1;
char s_name[] = "tst_previewaudiodrop";
char* s_argv[] = {s_name, nullptr};

} // namespace

// Files dropped on the preview panel's track list: folders are walked for music files and the
// program's message tells when not all of them became tracks.
class TestPreviewAudioDrop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void drop_data();
    void drop();

private:
    std::unique_ptr<PrivateFolders> m_folders;
    std::unique_ptr<Application> m_app;
};

void TestPreviewAudioDrop::initTestCase()
{
    m_folders.reset(new PrivateFolders);
    QVERIFY(m_folders->isValid());
    m_app.reset(new Application(s_argc, s_argv));
    initSlideshowResources();
    QVERIFY(dynamic_cast<Ui*>(m_app->systemTools()));
}

void TestPreviewAudioDrop::cleanupTestCase()
{
    m_app.reset();
    m_folders.reset();
}

void TestPreviewAudioDrop::drop_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("tracks");
    QTest::addColumn<bool>("message");

    const QStringList folder{"music/a.mp3", "music/notes.txt"};
    QTest::newRow("folder of a track and a text") << folder << QStringList{"music"} << QStringList{"music/a.mp3"}
                                                  << false;
    QTest::newRow("a text beside the folder") << folder + QStringList{"readme.txt"}
                                              << QStringList{"music", "readme.txt"} << QStringList{"music/a.mp3"}
                                              << true;
    QTest::newRow("a track that fails") << QStringList{"music/a.mp3", "music/broken.ogg"} << QStringList{"music"}
                                        << QStringList{"music/a.mp3"} << true;
}

void TestPreviewAudioDrop::drop()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, dropped);
    QFETCH(QStringList, tracks);
    QFETCH(bool, message);

    QTemporaryDir dir;
    for (const QString& file : files)
        touchFile(dir.filePath(file));
    VideoPlayerWidget panel;
    AudioFilesController* list = panel.audioFiles();
    list->setImportWork([](const QString& source, const QString&) {
        AudioTrack track;
        track.fileName = source;
        track.duration_ms = source.endsWith(QLatin1String("broken.ogg")) ? -1 : 1000;
        return track;
    });
    QString shown;
    DialogAnswerer answerer([&shown](CDialogMessage* box) {
        for (QLabel* label : box->findChildren<QLabel*>())
            shown += label->text();
        box->done(1);
    });
    NestedLoopWatchdog watchdog(10000);

    QStringList paths;
    for (const QString& item : dropped)
        paths.append(dir.filePath(item));
    std::unique_ptr<QMimeData> mime(fileUrlsMime(paths));
    QVERIFY(list->dropMimeData(mime.get(), Qt::CopyAction, 0, 0, QModelIndex()));

    QStringList added;
    for (const AudioTrack& track : list->tracks())
        added.append(QDir(dir.path()).relativeFilePath(track.fileName));
    QCOMPARE(added, tracks);
    QCOMPARE(answerer.answered(), message);
    if (message) {
        QVERIFY2(shown.contains(interfaceText(43)), qPrintable(shown));
        QVERIFY2(shown.contains(interfaceText(44)), qPrintable(shown));
    }
}

int main(int argc, char** argv)
{
    TestPreviewAudioDrop test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_previewaudiodrop.moc"
