#include <QtTest>

#include "helper/Application.h"
#include "helper/GeneratorThread.h"
#include "helper/IProgress.h"
#include "model/ProjectFile.h"
#include "support/SoundFixture.h"

#include <QJsonDocument>
#include <memory>

namespace {

// Pause and cancel as the test sets them; counts what the job reports.
class FakeProgress : public IProgress
{
public:
    void setCurrentTask(int) override {}
    void setTotal(qint64 value) override { total = value; }
    void setValue(qint64) override {}
    void setCurrentPage(int) override {}
    void beginStep() override {}
    void reset() override { ++resets; }
    void pause() override {}
    void endStep() override {}
    bool isCanceled() override { return canceled; }
    bool isPaused() override { return paused; }
    void step() override
    {
        if (++steps == cancelAtStep)
            canceled = true;
    }
    void addSubSteps(int) override {}

    bool canceled = false;
    bool paused = false;
    int resets = 0;
    int steps = 0;
    int cancelAtStep = -1;
    qint64 total = -1;
};

QImage frame()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::gray);
    return image;
}

} // namespace

// Needs the real application object: the test's main creates it.
class TestGeneratorThread : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void jobFolders();
    void frameIsQueuedAndCounted();
    void canceledFrameIsDropped();
    void pause_data();
    void pause();
    void tracksConvertedToNewWavFiles();
    void noRender_data();
    void noRender();
    void cancelAfterTheLastFrame();

private:
    QTemporaryDir m_root;
};

void TestGeneratorThread::initTestCase()
{
    QVERIFY(m_root.isValid());
    Application::instance()->setCacheRoot(m_root.filePath("cache"));
}

void TestGeneratorThread::jobFolders()
{
    FakeProgress progress;
    const QString cache = Application::instance()->cacheFolder();
    QString work;
    {
        GeneratorThread job(&progress);
        QVERIFY(job.isValid());
        work = job.workFolder();
        QCOMPARE(QFileInfo(work).absolutePath(), cache);
        QVERIFY(QFileInfo(work + "/images").isDir());
        QVERIFY(QFileInfo(work + "/video").isDir());
        QCOMPARE(Application::instance()->workFolder(), cache);
    }
    QVERIFY(!QFileInfo::exists(work));
    QVERIFY(QFileInfo(cache).isDir());
}

void TestGeneratorThread::frameIsQueuedAndCounted()
{
    FakeProgress progress;
    GeneratorThread job(&progress);
    QVERIFY(job.onFrame(frame(), 0));
    QVERIFY(job.onFrame(frame(), 666666));
    QCOMPARE(progress.steps, 2);
}

void TestGeneratorThread::canceledFrameIsDropped()
{
    FakeProgress progress;
    progress.canceled = true;
    progress.paused = true; // no waiting once canceled
    GeneratorThread job(&progress);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!job.onFrame(frame(), 0));
    QVERIFY(timer.elapsed() < 100);
    QCOMPARE(progress.steps, 0);
}

void TestGeneratorThread::pause_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("resumed") << false;
    QTest::newRow("canceled while paused") << true;
}

void TestGeneratorThread::pause()
{
    QFETCH(bool, cancel);
    FakeProgress progress;
    progress.paused = true;
    GeneratorThread job(&progress);
    // The job handles events while it waits, so the timer fires during the pause.
    QTimer::singleShot(300, [&] {
        if (cancel)
            progress.canceled = true;
        else
            progress.paused = false;
    });
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(job.onFrame(frame(), 0), !cancel);
    QVERIFY(timer.elapsed() >= 250);
    QVERIFY(timer.elapsed() < 2000);
    QCOMPARE(progress.steps, 1);
}

void TestGeneratorThread::tracksConvertedToNewWavFiles()
{
    const QString tone = m_root.filePath("tone.wav");
    QVERIFY(SoundFixture::makeTone(tone, 0.5, 1));
    FakeProgress progress;
    GeneratorThread job(&progress);
    const QString folder = Application::instance()->cacheFolder() + "/WavTempDir/";
    QDir(folder).removeRecursively();

    QCOMPARE(job.convertTrackToWav(tone), folder + "file_0.wav");
    QCOMPARE(job.convertTrackToWav(tone), folder + "file_1.wav");
    QCOMPARE(SoundFixture::probe(folder + "file_1.wav").channels, 2);
    QVERIFY(job.convertTrackToWav(m_root.filePath("missing.mp3")).isEmpty());
    QVERIFY(!QFileInfo::exists(folder + "file_2.wav"));
}

void TestGeneratorThread::noRender_data()
{
    QTest::addColumn<int>("fps");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("canceled");
    QTest::newRow("fps 0") << 0 << "mp4" << false;
    QTest::newRow("fps -5") << -5 << "mp4" << false;
    QTest::newRow("unknown format") << 10 << "nosuchformat" << false;
    QTest::newRow("no format") << 10 << "" << false;
    QTest::newRow("canceled") << 10 << "mp4" << true;
}

// The job stops before its first frame; an older output file stays as it was.
void TestGeneratorThread::noRender()
{
    QFETCH(int, fps);
    QFETCH(QString, format);
    QFETCH(bool, canceled);
    const QString output = m_root.filePath("out." + format);
    QFile old(output);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("older");
    old.close();
    const QJsonObject document{
        {"resolution", "32x24"}, {"fps", fps}, {"format", format}, {"file_name", output},
        {"images", QJsonArray{QJsonObject{{"type", "colored"}, {"time_ms", 1000}}}}};
    std::unique_ptr<ProjectFile> project(ProjectFile::fromJson(document));
    QVERIFY(project);

    FakeProgress progress;
    progress.canceled = canceled;
    GeneratorThread job(&progress);
    job.run(project.get());
    QCOMPARE(progress.resets, 0);
    QCOMPARE(progress.steps, 0);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("older"));
}

// Canceled at the last frame: the sound track is waited for, and the older file at the
// output path stays.
void TestGeneratorThread::cancelAfterTheLastFrame()
{
    const QString tone = m_root.filePath("tone.wav");
    QVERIFY(SoundFixture::makeTone(tone, 2));
    const QString output = m_root.filePath("last.mp4");
    const QJsonObject document{
        {"resolution", "32x24"}, {"fps", 10}, {"format", "mp4"}, {"file_name", output},
        {"images", QJsonArray{QJsonObject{{"type", "colored"}, {"time_ms", 1000}}}},
        {"audio", QJsonObject{{"files", QJsonArray{QJsonObject{{"file_name", tone}}}}}}};
    std::unique_ptr<ProjectFile> project(ProjectFile::fromJson(document));
    QVERIFY(project);

    FakeProgress whole;
    GeneratorThread(&whole).run(project.get());
    QVERIFY(whole.steps > 0);
    QVERIFY(QFileInfo(output).size() > 0);

    QFile old(output);
    QVERIFY(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write("older");
    old.close();
    FakeProgress progress;
    progress.cancelAtStep = whole.steps;
    QString work;
    {
        GeneratorThread job(&progress);
        work = job.workFolder();
        job.run(project.get());
    }
    QCOMPARE(progress.steps, whole.steps);
    QVERIFY(!QFileInfo::exists(work));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("older"));
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TestGeneratorThread test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_generatorthread.moc"
