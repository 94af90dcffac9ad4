#include <QtTest>

#include "app/Application.h"
#include "app/HistoryModel.h"
#include "app/ThubnailProvider.h"
#include "model/AppPaths.h"
#include "support/AppTestSupport.h"

#include <memory>

namespace {
int s_argc = 1;
char s_name[] = "tst_application";
char* s_argv[] = {s_name, nullptr};
} // namespace

// Each case makes its own application object and ends it, so the destructor is seen.
class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tempFolderIsOnePerRun();
    void initStartsServices();
    void destructorStopsThreadBeforeRemovingFolder();

private:
    std::unique_ptr<Application> m_app;
};

void TestApplication::init()
{
    m_app.reset(new Application(s_argc, s_argv));
    QCoreApplication::setApplicationName(QStringLiteral("ty app test"));
}

void TestApplication::cleanup()
{
    m_app.reset();
}

void TestApplication::tempFolderIsOnePerRun()
{
    const QString folder = m_app->tempFolder();
    const QFileInfo info(folder);
    QVERIFY(info.isAbsolute());
    QVERIFY(info.isDir());
    QCOMPARE(info.absolutePath(), QFileInfo(AppPaths::userCacheDir()).absoluteFilePath());
    QCOMPARE(info.fileName().size(), 38);
    QVERIFY(!QUuid::fromString(info.fileName()).isNull());
    QVERIFY(info.fileName().startsWith('{') && info.fileName().endsWith('}'));
    QCOMPARE(m_app->tempFolder(), folder);

    m_app.reset();
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(QFileInfo(AppPaths::userCacheDir()).isDir());
}

void TestApplication::initStartsServices()
{
    QVERIFY(!m_app->historyModel());
    QVERIFY(!m_app->findChild<ThubnailProvider*>());
    HangWatchdog watchdog(60000, "application init");
    QVERIFY(m_app->init());
    QVERIFY(m_app->historyModel());
    QCOMPARE(m_app->historyModel()->parent(), m_app.get());
    auto* thumbnails = m_app->findChild<ThubnailProvider*>();
    QVERIFY(thumbnails);
    QVERIFY(thumbnails->isRunning());
    QVERIFY(m_app->webAddress().isEmpty());
}

void TestApplication::destructorStopsThreadBeforeRemovingFolder()
{
    {
        HangWatchdog watchdog(60000, "application init");
        QVERIFY(m_app->init());
    }
    const QString folder = m_app->tempFolder();
    QFile file(folder + QStringLiteral("/inside/file.txt"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/inside")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    bool folderAtThreadEnd = false;
    bool historyAtThreadEnd = true;
    auto* thumbnails = m_app->findChild<ThubnailProvider*>();
    QPointer<HistoryModel> history = m_app->historyModel();
    connect(thumbnails, &QThread::finished, thumbnails, [&] {
        folderAtThreadEnd = QFileInfo::exists(folder);
        historyAtThreadEnd = !history.isNull();
    }, Qt::DirectConnection);
    HangWatchdog watchdog(10000, "application destructor");
    m_app.reset();
    QVERIFY(folderAtThreadEnd);
    QVERIFY(!historyAtThreadEnd);
    QVERIFY(!QFileInfo::exists(folder));
}

int main(int argc, char** argv)
{
    PrivateFolders folders;
    if (!folders.isValid())
        qFatal("no private folders");
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
