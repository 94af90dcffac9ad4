#include <QtTest>

#include "app/audio/AudioFilesController.h"
#include "app/audio/Mp3.h"
#include "app/audio/WavConversion.h"
#include "support/AudioFixture.h"
#include "support/FakeAudioPlayer.h"

#include <QMimeData>
#include <QSemaphore>

namespace {

AudioTrack track(const QString& name, qint64 durationMs = 1000)
{
    AudioTrack t;
    t.fileName = "/music/" + name + ".mp3";
    t.wavFileName = "/wav/" + name + ".wav";
    t.duration_ms = durationMs;
    return t;
}

QStringList names(const AudioFilesController& controller)
{
    QStringList list;
    for (int row = 0; row < controller.rowCount(); ++row)
        list << controller.data(controller.index(row, 1)).toString();
    return list;
}

QMimeData* rowPayload(const QByteArray& text)
{
    auto* mime = new QMimeData;
    mime->setData(AudioFilesController::kRowMimeType, text);
    return mime;
}

} // namespace

// The track list: imports with their signals, cancel and removal while an import waits,
// row moves, drops, the columns and the one-track play, on stand-in conversions.
class TestAudioFilesController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void importSignals();
    void failureSkippedOrderKept();
    void cancelDuringSecond();
    void nothingAdded();
    void removalDuringImport();
    void secondImportWhileWaiting();
    void moveRows_data();
    void moveRows();
    void mimeDataOfRows();
    void columns();
    void settersNotifyOnChange();
    void urlDrops_data();
    void urlDrops();
    void togglePlay();
    void prepareRemakesMissingWavFiles();
    void importsThroughTheConverters();

private:
    // Imports name "x" as track x; "bad" fails; "gate" waits for the gate.
    void useStandInImport();
    // A track whose WAV file exists in the temporary folder.
    AudioTrack trackWithWav(const QString& name);
    QStringList m_log;
    QSemaphore m_gate;
    QTemporaryDir m_dir;
    FakeAudioPlayer* m_player = nullptr;
    QScopedPointer<AudioFilesController> m_controller;
};

void TestAudioFilesController::init()
{
    m_player = new FakeAudioPlayer;
    m_controller.reset(new AudioFilesController([this] { return m_dir.path(); }, nullptr, new Mp3(m_player)));
    m_log.clear();
    AudioFilesController* c = m_controller.data();
    connect(c, &AudioFilesController::importStarted, this, [this] { m_log << "started"; });
    connect(c, &AudioFilesController::importProgressChanged, this,
            [this](int value, qlonglong remaining) { m_log << QStringLiteral("%1 %2").arg(value).arg(remaining); });
    connect(c, &AudioFilesController::audioChanged, this, [this] { m_log << "changed"; });
    connect(c, &AudioFilesController::importFinished, this, [this] { m_log << "finished"; });
    useStandInImport();
    // A wait that nothing ends fails the test instead of hanging it.
    QTimer::singleShot(20000, c, [c] { c->cancelImport(); });
}

void TestAudioFilesController::cleanup()
{
    m_gate.release(10);
    m_controller.reset();
    QThreadPool::globalInstance()->waitForDone();
    m_gate.acquire(m_gate.available());
}

void TestAudioFilesController::useStandInImport()
{
    m_controller->setImportWork([this](const QString& source, const QString&) {
        if (source == "gate")
            m_gate.acquire();
        AudioTrack t = track(source);
        if (source == "bad")
            t.duration_ms = -1;
        return t;
    });
}

AudioTrack TestAudioFilesController::trackWithWav(const QString& name)
{
    AudioTrack t = track(name);
    t.wavFileName = m_dir.filePath(name + ".wav");
    QFile wav(t.wavFileName);
    if (wav.open(QIODevice::WriteOnly))
        wav.close();
    return t;
}

void TestAudioFilesController::importSignals()
{
    QCOMPARE(m_controller->importFiles({"a", "b", "c"}, -1), 3);

    QCOMPARE(m_log, QStringList({"started", "0 0", "33 0", "66 0", "changed", "finished"}));
    QCOMPARE(names(*m_controller), QStringList({"a", "b", "c"}));
}

void TestAudioFilesController::failureSkippedOrderKept()
{
    m_controller->setTracks({track("x"), track("y")});

    QCOMPARE(m_controller->importFiles({"a", "bad", "c"}, 1), 2);

    QCOMPARE(names(*m_controller), QStringList({"x", "a", "c", "y"}));
}

void TestAudioFilesController::cancelDuringSecond()
{
    connect(m_controller.data(), &AudioFilesController::importProgressChanged, this, [this](int value) {
        if (value == 33)
            QTimer::singleShot(0, this, [this] {
                m_controller->cancelImport();
                m_gate.release();
            });
    });

    QCOMPARE(m_controller->importFiles({"a", "gate", "c"}, -1), 1);

    QCOMPARE(names(*m_controller), QStringList({"a"}));
    QCOMPARE(m_log, QStringList({"started", "0 0", "33 0", "changed", "finished"}));
}

void TestAudioFilesController::nothingAdded()
{
    QCOMPARE(m_controller->importFiles({"bad", "bad"}, -1), 0);

    QCOMPARE(m_log, QStringList({"started", "0 0", "50 0", "finished"}));
    QCOMPARE(m_controller->rowCount(), 0);
}

void TestAudioFilesController::removalDuringImport()
{
    m_controller->setTracks({track("x"), track("y"), track("z")});
    connect(m_controller.data(), &AudioFilesController::importProgressChanged, this, [this](int value) {
        if (value == 50)
            QTimer::singleShot(0, this, [this] {
                m_controller->removeTrack(m_controller->index(2, 0));
                m_controller->removeTrack(m_controller->index(0, 0));
                m_gate.release();
            });
    });

    QCOMPARE(m_controller->importFiles({"a", "gate"}, 3), 2);

    QCOMPARE(names(*m_controller), QStringList({"y", "a", "gate"}));
}

void TestAudioFilesController::secondImportWhileWaiting()
{
    int second = -1;
    QStringList logOfSecond;
    connect(m_controller.data(), &AudioFilesController::importProgressChanged, this, [&](int value) {
        if (value == 0)
            QTimer::singleShot(0, this, [&] {
                const QStringList before = m_log;
                second = m_controller->importFiles({"b"}, -1);
                m_controller->prepareWavFiles();
                logOfSecond = m_log.mid(before.size());
                m_gate.release();
            });
    });

    QCOMPARE(m_controller->importFiles({"gate"}, -1), 1);

    QCOMPARE(second, 0);
    QVERIFY(logOfSecond.isEmpty());
    QCOMPARE(names(*m_controller), QStringList({"gate"}));
}

void TestAudioFilesController::moveRows_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<bool>("changed");

    const QStringList same = {"a", "b", "c", "d"};
    QTest::newRow("0 on 2") << QByteArray("0") << 2 << true << QStringList {"b", "c", "a", "d"} << true;
    QTest::newRow("3 on 1") << QByteArray("3") << 1 << true << QStringList {"a", "d", "b", "c"} << true;
    QTest::newRow("on the count") << QByteArray("1") << 4 << true << QStringList {"a", "c", "d", "b"} << true;
    QTest::newRow("same row") << QByteArray("2") << 2 << true << same << false;
    QTest::newRow("last on the count") << QByteArray("3") << 4 << true << same << false;
    QTest::newRow("no number") << QByteArray("two") << 1 << false << same << false;
    QTest::newRow("unknown row") << QByteArray("4") << 1 << false << same << false;
    QTest::newRow("negative row") << QByteArray("-1") << 1 << false << same << false;
    QTest::newRow("past the count") << QByteArray("0") << 5 << false << same << false;
}

void TestAudioFilesController::moveRows()
{
    QFETCH(QByteArray, payload);
    QFETCH(int, row);
    QFETCH(bool, result);
    QFETCH(QStringList, order);
    QFETCH(bool, changed);
    m_controller->setTracks({track("a"), track("b"), track("c"), track("d")});
    QSignalSpy changes(m_controller.data(), &AudioFilesController::audioChanged);
    QSignalSpy moves(m_controller.data(), &QAbstractItemModel::rowsMoved);
    QSignalSpy refreshed(m_controller.data(), &QAbstractItemModel::dataChanged);
    QScopedPointer<QMimeData> mime(rowPayload(payload));

    QCOMPARE(m_controller->dropMimeData(mime.data(), Qt::MoveAction, row, 0, QModelIndex()), result);

    QCOMPARE(names(*m_controller), order);
    QCOMPARE(changes.size(), changed ? 1 : 0);
    QCOMPARE(moves.size(), changed ? 1 : 0);
    for (const QList<QVariant>& args : refreshed)
        QVERIFY(args.at(1).toModelIndex().row() < m_controller->rowCount());
}

void TestAudioFilesController::mimeDataOfRows()
{
    m_controller->setTracks({track("a"), track("b"), track("c")});

    QScopedPointer<QMimeData> one(m_controller->mimeData({m_controller->index(2, 1)}));
    QVERIFY(one);
    QCOMPARE(one->data("kestrova/slideshow-audio-item-rows"), QByteArray("2"));
    QScopedPointer<QMimeData> two(m_controller->mimeData({m_controller->index(0, 1), m_controller->index(1, 1)}));
    QVERIFY(!two);
}

void TestAudioFilesController::columns()
{
    AudioTrack t = track("long.song", 185400);
    m_controller->setTracks({t});

    QCOMPARE(m_controller->columnCount(), 4);
    QVERIFY(!m_controller->data(m_controller->index(0, 0)).isValid());
    QCOMPARE(m_controller->data(m_controller->index(0, 1)).toString(), QString("long.song"));
    QCOMPARE(m_controller->data(m_controller->index(0, 2)).toString(), QString("03:05"));
    QCOMPARE(m_controller->data(m_controller->index(0, 3)).toBool(), false);
    QVERIFY(!m_controller->data(m_controller->index(0, 1), Qt::EditRole).isValid());
    QVERIFY(!m_controller->data(m_controller->index(1, 1)).isValid());
}

void TestAudioFilesController::settersNotifyOnChange()
{
    QSignalSpy changes(m_controller.data(), &AudioFilesController::audioChanged);

    m_controller->setOffset(0);
    m_controller->setFade(0);
    m_controller->setLoop(false);
    QCOMPARE(changes.size(), 0);
    m_controller->setOffset(5);
    m_controller->setFade(2);
    m_controller->setLoop(true);
    QCOMPARE(changes.size(), 3);
    m_controller->setOffsetSilently(7);
    QCOMPARE(m_controller->offset(), 7);
    QCOMPARE(changes.size(), 3);
}

void TestAudioFilesController::urlDrops_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("added");
    QTest::addColumn<bool>("message");

    QTest::newRow("a folder fully added") << QStringList {"folder"} << 3 << false;
    QTest::newRow("a file that fails") << QStringList {"a", "bad"} << 1 << true;
    QTest::newRow("an item without audio") << QStringList {"a", "text"} << 1 << true;
    QTest::newRow("nothing added") << QStringList {"bad"} << 0 << true;
}

void TestAudioFilesController::urlDrops()
{
    QFETCH(QStringList, items);
    QFETCH(int, added);
    QFETCH(bool, message);
    m_controller->setDroppedFiles([](const QUrl& url) {
        const QString name = url.fileName();
        if (name == "folder")
            return QStringList {"f1", "f2", "f3"};
        return name == "text" ? QStringList() : QStringList {name};
    });
    int messages = 0;
    m_controller->setNotAllAddedMessage([&messages] { ++messages; });
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& item : items)
        urls << QUrl::fromLocalFile("/drop/" + item);
    mime.setUrls(urls);

    QCOMPARE(m_controller->dropMimeData(&mime, Qt::CopyAction, 0, 0, QModelIndex()), added > 0);

    QCOMPARE(m_controller->rowCount(), added);
    QCOMPARE(messages, message ? 1 : 0);
}

void TestAudioFilesController::togglePlay()
{
    const AudioTrack present = trackWithWav("a");
    QVERIFY(QFileInfo::exists(present.wavFileName));
    m_controller->setTracks({track("missing"), present});

    m_controller->togglePlay(m_controller->index(0, 0));
    QCOMPARE(m_player->state(), QMediaPlayer::StoppedState);
    QCOMPARE(m_controller->data(m_controller->index(0, 3)).toBool(), false);

    m_controller->togglePlay(m_controller->index(1, 0));
    QCOMPARE(m_player->state(), QMediaPlayer::PlayingState);
    QCOMPARE(m_controller->data(m_controller->index(1, 3)).toBool(), true);

    m_controller->togglePlay(m_controller->index(1, 0));
    QCOMPARE(m_player->state(), QMediaPlayer::StoppedState);
    QCOMPARE(m_controller->data(m_controller->index(1, 3)).toBool(), false);
}

void TestAudioFilesController::prepareRemakesMissingWavFiles()
{
    const AudioTrack kept = trackWithWav("kept");
    QVERIFY(QFileInfo::exists(kept.wavFileName));
    AudioTrack empty = track("empty");
    empty.wavFileName.clear();
    m_controller->setTracks({track("gone"), kept, empty});
    m_log.clear();
    QStringList converted;
    m_controller->setConvertWork([&converted](const QString& source, const QString&) {
        converted << source;
        return source + ".new.wav";
    });

    m_controller->prepareWavFiles();

    QCOMPARE(converted, QStringList({"/music/gone.mp3", "/music/empty.mp3"}));
    const QList<AudioTrack> tracks = m_controller->tracks();
    QCOMPARE(tracks.at(0).wavFileName, QString("/music/gone.mp3.new.wav"));
    QCOMPARE(tracks.at(1).wavFileName, kept.wavFileName);
    QCOMPARE(tracks.at(2).wavFileName, QString("/music/empty.mp3.new.wav"));
    QCOMPARE(m_log, QStringList({"started", "0 0", "33 0", "66 0", "finished"}));
}

void TestAudioFilesController::importsThroughTheConverters()
{
    const QString source = m_dir.filePath("song 'one'.ogg");
    QVERIFY(AudioFixture::makeTone(source, 1.5));
    const QString temp = m_dir.filePath("run");
    AudioFilesController controller([&temp] { return temp; });

    QCOMPARE(controller.importFiles({source, m_dir.filePath("missing.mp3")}, -1), 1);

    const AudioTrack imported = controller.tracks().value(0);
    QCOMPARE(imported.fileName, source);
    QCOMPARE(imported.wavFileName, temp + "/WavTempDir/file_0.wav");
    QVERIFY2(qAbs(imported.duration_ms - 1500) <= 100, qPrintable(QString::number(imported.duration_ms)));
    cleanupWavTempDir();
}

QTEST_GUILESS_MAIN(TestAudioFilesController)
#include "tst_audiofilescontroller.moc"
