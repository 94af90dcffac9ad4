#include <QtTest>

#include "app/Application.h"
#include "app/CSystemTools.h"
#include "app/ProductUpdateChecker.h"
#include "app/SettingsProvider.h"
#include "support/AppTestSupport.h"
#include "support/SystoolsTestSupport.h"

#include <QCryptographicHash>
#include <QUrlQuery>

#include <memory>

namespace {

int s_argc = 1;
char s_name[] = "tst_updatecheck";
char* s_argv[] = {s_name, nullptr};

const QString kNews = QStringLiteral("https://example.org/news.html");
const QString kDownload = QStringLiteral("https://example.org/download.html");

struct Notice
{
    QString version;
    QString news;
    QString download;
};

// Records the notices instead of showing them.
class RecordingTools : public CSystemTools
{
public:
    using CSystemTools::CSystemTools;
    QList<Notice> notices;
    void showUpdateAvailable(const QString& version, const QString& news, const QString& download) override
    {
        notices.append({version, news, download});
    }
};

class RecordingApplication : public Application
{
public:
    using Application::Application;

protected:
    CSystemTools* createSystemTools() override { return new RecordingTools(this); }
};

QString md5(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

} // namespace

// Each case makes its own application ("a run") on a settings file that may outlive it.
class TestUpdateCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void queryCarriesIdsAndVersion();
    void versionIsNotSubstitutedAgain();
    void replies_data();
    void replies();
    void slowReplyOnlyFinishes();
    void noticeOncePerVersionOverTwoRuns();
    void enablingSendsOneRequestAndAllowsTheNotice();

private:
    void startRun(bool checkEnabled = true);
    RecordingTools* tools() const { return static_cast<RecordingTools*>(CSystemTools::instance()); }
    // Shows a main window and makes it the active one, so deferred notices may show.
    void showActiveMainWindow();

    PrivateFolders m_folders;
    std::unique_ptr<QTemporaryDir> m_settingsFolder;
    std::unique_ptr<RecordingApplication> m_app;
    std::unique_ptr<CWindow> m_mainWindow;
    std::unique_ptr<LoopbackHttpServer> m_server;
};

void TestUpdateCheck::init()
{
    m_settingsFolder.reset(new QTemporaryDir);
    m_server.reset();
}

void TestUpdateCheck::cleanup()
{
    m_mainWindow.reset();
    m_server.reset();
    m_app.reset();
}

void TestUpdateCheck::startRun(bool checkEnabled)
{
    m_mainWindow.reset();
    m_server.reset();
    m_app.reset();
    m_app.reset(new RecordingApplication(s_argc, s_argv));
    QCoreApplication::setApplicationName(QStringLiteral("ty update test"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.1.3"));
    m_server.reset(new LoopbackHttpServer);
    QVERIFY(m_server->listen());
    const QString file = m_settingsFolder->filePath(QStringLiteral("settings.ini"));
    {
        QSettings raw(file, QSettings::IniFormat);
        raw.setValue(QStringLiteral("updateServiceUrl"), m_server->url(QStringLiteral("/check.php")));
    }
    auto* settings = new SettingsProvider(file, QSettings::IniFormat, m_app.get());
    settings->setUpdateCheckerEnabled(checkEnabled);
    m_app->setSettings(settings);
}

void TestUpdateCheck::showActiveMainWindow()
{
    m_mainWindow.reset(new CWindow(16, nullptr));
    m_mainWindow->resize(300, 200);
    tools()->setMainWindow(m_mainWindow.get());
    m_mainWindow->show();
    m_mainWindow->activateWindow();
    QTRY_VERIFY(m_mainWindow->isActiveWindow());
}

void TestUpdateCheck::queryCarriesIdsAndVersion()
{
    startRun();
    m_server->setBody("1.0");
    ProductUpdateChecker checker(QStringLiteral("machine-7"), QStringLiteral("95"), kNews, kDownload, nullptr);
    QCOMPARE(checker.serviceUrl(), QStringLiteral("https://kestrovasoft.com/check.php"));
    checker.setServiceUrl(m_server->url(QStringLiteral("/check.php")));
    QSignalSpy finished(&checker, &ProductUpdateChecker::finished);
    checker.request(10000);
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(m_server->requests().size(), 1);
    const QUrl request = m_server->requests().first();
    QCOMPARE(request.path(), QStringLiteral("/check.php"));
    const QUrlQuery query(request);
    const QString mid = md5("machine-7Kestrova");
    QCOMPARE(query.queryItemValue(QStringLiteral("mso")), QStringLiteral("1"));
    QCOMPARE(query.queryItemValue(QStringLiteral("pid")), QStringLiteral("95"));
    QCOMPARE(query.queryItemValue(QStringLiteral("mid")), mid);
    QCOMPARE(query.queryItemValue(QStringLiteral("h")), md5("95" + mid.toLatin1() + "Kestrova"));
    QCOMPARE(query.queryItemValue(QStringLiteral("ver")), QStringLiteral("1.1.3"));
    QCOMPARE(query.queryItems().size(), 5);
}

void TestUpdateCheck::versionIsNotSubstitutedAgain()
{
    startRun();
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0%3"));
    ProductUpdateChecker checker(QStringLiteral("m"), QStringLiteral("95"), kNews, kDownload, nullptr);
    const QString text = checker.queryText();
    QVERIFY2(text.endsWith(QStringLiteral("&ver=2.0%3")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("?mso=1&pid=95&mid=")), qPrintable(text));
}

void TestUpdateCheck::replies_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("newer");

    QTest::newRow("1.2") << QByteArray("1.2") << true;
    QTest::newRow("1.1.4") << QByteArray("1.1.4") << true;
    QTest::newRow("1.1.3") << QByteArray("1.1.3") << false;
    QTest::newRow("1.1") << QByteArray("1.1") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("no version") << QByteArray("none") << false;
    QTest::newRow("markup after the version") << QByteArray("9.9 <a href='https://evil.example'>x</a>") << true;
}

void TestUpdateCheck::replies()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, newer);
    startRun();
    m_server->setBody(body);
    ProductUpdateChecker checker(QStringLiteral("m"), QStringLiteral("95"), kNews, kDownload, nullptr);
    checker.setServiceUrl(m_server->url(QStringLiteral("/check.php")));
    QSignalSpy finished(&checker, &ProductUpdateChecker::finished);
    QSignalSpy offered(&checker, &ProductUpdateChecker::newVersionAvalible);
    QSignalSpy errors(&checker, &ProductUpdateChecker::error);
    checker.request(10000);
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(offered.count(), newer ? 1 : 0);
    if (newer)
        QCOMPARE(offered.first(), (QList<QVariant>{QString::fromUtf8(body), kNews, kDownload}));
    QCOMPARE(errors.count(), 0);
}

void TestUpdateCheck::slowReplyOnlyFinishes()
{
    startRun();
    m_server->setSilent(true);
    ProductUpdateChecker checker(QStringLiteral("m"), QStringLiteral("95"), kNews, kDownload, nullptr);
    checker.setServiceUrl(m_server->url(QStringLiteral("/check.php")));
    QSignalSpy finished(&checker, &ProductUpdateChecker::finished);
    QSignalSpy offered(&checker, &ProductUpdateChecker::newVersionAvalible);
    checker.request(300);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(m_server->requests().size(), 1);
    QCOMPARE(offered.count(), 0);
}

void TestUpdateCheck::noticeOncePerVersionOverTwoRuns()
{
    for (int run = 0; run < 2; ++run) {
        startRun();
        m_server->setBody("1.2");
        showActiveMainWindow();
        QSignalSpy available(m_app.get(), &Application::updateAvailable);
        m_app->setupUpdateChecker(QStringLiteral("m"), QStringLiteral("95"), kNews, kDownload, 0, 10000, 5);
        QCOMPARE(m_app->webAddress(), kDownload);
        QTRY_COMPARE_WITH_TIMEOUT(available.count(), 1, 10000);
        if (run == 0) {
            QTRY_COMPARE(tools()->notices.size(), 1);
            QCOMPARE(tools()->notices.first().version, QStringLiteral("1.2"));
            QCOMPARE(tools()->notices.first().news, kNews);
            QCOMPARE(tools()->notices.first().download, kDownload);
            QCOMPARE(m_app->settings()->updateCheckerShowedVersion(), QStringLiteral("1.2"));
        } else {
            // Nothing is even waiting to show.
            QVERIFY(!tools()->findChild<QObject*>(QStringLiteral("Update message")));
            QCOMPARE(tools()->notices.size(), 0);
        }
        QCOMPARE(m_server->requests().size(), 1);
    }
}

void TestUpdateCheck::enablingSendsOneRequestAndAllowsTheNotice()
{
    startRun(false);
    m_server->setBody("1.2");
    m_app->settings()->setUpdateCheckerShowedVersion(QStringLiteral("1.2"));
    showActiveMainWindow();
    QSignalSpy available(m_app.get(), &Application::updateAvailable);
    m_app->setupUpdateChecker(QStringLiteral("m"), QStringLiteral("95"), kNews, kDownload, 0, 10000, 5);
    QSignalSpy finished(m_app->updateChecker(), &ProductUpdateChecker::finished);
    // The first pass runs the scheduled check, which asks for nothing while disabled.
    QCoreApplication::processEvents();
    QCOMPARE(available.count(), 0);

    m_app->settings()->setUpdateCheckerEnabled(true);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(m_server->requests().size(), 1);
    QCOMPARE(available.count(), 1);
    QTRY_COMPARE(tools()->notices.size(), 1);
    // Switching it on again asks once more.
    m_app->settings()->setUpdateCheckerEnabled(false);
    m_app->settings()->setUpdateCheckerEnabled(true);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);
    QCOMPARE(m_server->requests().size(), 2);
}

int main(int argc, char** argv)
{
    TestUpdateCheck test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_updatecheck.moc"
