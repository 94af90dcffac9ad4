#include <QtTest>

#include "app/CApplicaiton.h"
#include "app/CSystemTools.h"
#include "platform/FontStandIns.h"
#include "platform/SingleInstanceChannel.h"
#include "support/AppTestSupport.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QMouseEvent>
#include <QWidget>
#include <QtConcurrent>

namespace {

class CountingTools : public CSystemTools
{
public:
    using CSystemTools::CSystemTools;
    void setupStyle() override
    {
        ++setUps;
        CSystemTools::setupStyle();
    }
    int setUps = 0;
};

class CountingApplication : public CApplicaiton
{
public:
    using CApplicaiton::CApplicaiton;
    int made = 0;

protected:
    CSystemTools* createSystemTools() override
    {
        ++made;
        return new CountingTools(this);
    }
};

CountingApplication* application()
{
    return static_cast<CountingApplication*>(QCoreApplication::instance());
}

// Records where mouse moves arrive and accepts or ignores them as told.
class MoveTarget : public QWidget
{
public:
    MoveTarget()
    {
        setMouseTracking(true);
        resize(100, 50);
    }
    QList<QPointF> positions;
    bool accept = true;

protected:
    void mouseMoveEvent(QMouseEvent* event) override
    {
        positions << event->localPos();
        event->setAccepted(accept);
    }
};

} // namespace

class TestApplicationBase : public QObject
{
    Q_OBJECT

private slots:
    void mouseMovesToWindowsAreFloored_data();
    void mouseMovesToWindowsAreFloored();
    void mouseMovesToWidgetsAreLeftAlone();
    void currentVersionOverridesGivenVersion_data();
    void currentVersionOverridesGivenVersion();
    void configFilePathMakesTheFolder();
    void servicesAreMadeOnce();
    void guiThreadIsTheConstructingOne();
    void roleIsTakenAtFirstQuestion();
    void designFacesHaveTheirStandIn();
};

void TestApplicationBase::mouseMovesToWindowsAreFloored_data()
{
    QTest::addColumn<QPointF>("sent");
    QTest::addColumn<QPointF>("received");
    QTest::addColumn<bool>("accept");
    QTest::newRow("fractions") << QPointF(10.75, 3.5) << QPointF(10, 3) << true;
    QTest::newRow("negative half") << QPointF(-0.5, 2) << QPointF(-1, 2) << true;
    QTest::newRow("whole") << QPointF(7, 8) << QPointF(7, 8) << true;
    QTest::newRow("ignored") << QPointF(10.75, 3.5) << QPointF(10, 3) << false;
}

void TestApplicationBase::mouseMovesToWindowsAreFloored()
{
    QFETCH(QPointF, sent);
    QFETCH(QPointF, received);
    QFETCH(bool, accept);
    MoveTarget target;
    target.accept = accept;
    target.show();
    QVERIFY(QTest::qWaitForWindowExposed(&target));

    for (const QEvent::Type type : {QEvent::MouseMove, QEvent::NonClientAreaMouseMove}) {
        target.positions.clear();
        QMouseEvent move(type, sent, sent, target.mapToGlobal(QPoint()) + sent, Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        move.setAccepted(!accept);
        QApplication::sendEvent(target.windowHandle(), &move);
        if (type == QEvent::MouseMove) {
            QCOMPARE(target.positions, QList<QPointF>{received});
            QCOMPARE(move.isAccepted(), accept);
        }
    }
}

void TestApplicationBase::mouseMovesToWidgetsAreLeftAlone()
{
    MoveTarget target;
    target.show();
    QMouseEvent move(QEvent::MouseMove, QPointF(10.75, 3.5), QPointF(10.75, 3.5), QPointF(10.75, 3.5),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &move);
    QCOMPARE(target.positions, QList<QPointF>{QPointF(10.75, 3.5)});
}

void TestApplicationBase::currentVersionOverridesGivenVersion_data()
{
    QTest::addColumn<QString>("productName");
    QTest::addColumn<QString>("keyName");
    QTest::addColumn<QVariant>("currentVersion");
    QTest::addColumn<QString>("expected");
    QTest::newRow("override") << "Product" << "Product" << QVariant("1.2.0") << "1.2.0";
    QTest::newRow("no value") << "Product" << "Product" << QVariant() << "1.1.3";
    QTest::newRow("other product") << "Product" << "Other" << QVariant("1.2.0") << "1.1.3";
    QTest::newRow("application name without product") << "" << "ty_base" << QVariant("2.0") << "2.0";
}

void TestApplicationBase::currentVersionOverridesGivenVersion()
{
    QFETCH(QString, productName);
    QFETCH(QString, keyName);
    QFETCH(QVariant, currentVersion);
    QFETCH(QString, expected);
    QCoreApplication::setOrganizationName(QStringLiteral("TyTestOrg"));
    QCoreApplication::setApplicationName(QStringLiteral("ty_base"));
    QSettings(QStringLiteral("TyTestOrg"), productName.isEmpty() ? QStringLiteral("ty_base") : productName).clear();
    {
        QSettings key(QStringLiteral("TyTestOrg"), keyName);
        key.clear();
        if (currentVersion.isValid())
            key.setValue(QStringLiteral("CurrentVersion"), currentVersion);
    }
    // The file the registry layer maps the key to.
    QVERIFY(!currentVersion.isValid()
            || QFile::exists(qEnvironmentVariable("XDG_CONFIG_HOME") + "/TyTestOrg/" + keyName + ".conf"));
    application()->setProductName(productName);
    application()->setVersion(QStringLiteral("1.1.3"));
    QCOMPARE(QCoreApplication::applicationVersion(), expected);
    QCOMPARE(application()->givenVersion(), QStringLiteral("1.1.3"));
}

void TestApplicationBase::configFilePathMakesTheFolder()
{
    QCoreApplication::setApplicationName(QStringLiteral("ty base app"));
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/ty base app");
    QVERIFY(!QFileInfo::exists(folder));
    QCOMPARE(CApplicaiton::configFilePath(QString()), folder);
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(CApplicaiton::configFilePath(QStringLiteral("settings.ini")), folder + QStringLiteral("/settings.ini"));
}

void TestApplicationBase::servicesAreMadeOnce()
{
    CSystemTools* tools = application()->systemTools();
    QVERIFY(tools);
    QCOMPARE(application()->systemTools(), tools);
    QCOMPARE(CSystemTools::instance(), tools);
    QCOMPARE(application()->made, 1);
    QCOMPARE(static_cast<CountingTools*>(tools)->setUps, 1);
    QCOMPARE(tools->parent(), application());
    QVERIFY(application()->iconRepo());
    QCOMPARE(application()->iconRepo(), application()->iconRepo());
}

void TestApplicationBase::guiThreadIsTheConstructingOne()
{
    QVERIFY(application()->isGuiThread());
    QVERIFY(!QtConcurrent::run([] { return application()->isGuiThread(); }).result());
}

void TestApplicationBase::roleIsTakenAtFirstQuestion()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const auto entries = [&] { return QDir(runtime).entryList(QDir::Files | QDir::System | QDir::Hidden); };
    QVERIFY2(entries().isEmpty(), qPrintable(entries().join(' ')));

    QVERIFY(!application()->isRunning());
    QVERIFY(!application()->isRunning());
    QVERIFY(!entries().isEmpty());

    SingleInstanceChannel second(QStringLiteral("ty_slideshow"));
    QVERIFY(second.isRunning());
    QSignalSpy received(application(), &CSingleApplication::messageReceived);
    HangWatchdog watchdog(20000, "wake-up message");
    QFuture<bool> sent = QtConcurrent::run([&second] { return second.sendMessage(QStringLiteral("Wake up!"), 5000); });
    QTRY_VERIFY_WITH_TIMEOUT(sent.isFinished(), 10000);
    QVERIFY(sent.result());
    QCOMPARE(received.count(), 1);
    QCOMPARE(received.at(0).at(0).toString(), QStringLiteral("Wake up!"));
}

// The program, the widget tests and the gallery all draw the design's faces with the stand-in.
void TestApplicationBase::designFacesHaveTheirStandIn()
{
    if (!QFontDatabase().families().contains(FontStandIns::kStandIn))
        QSKIP("The condensed DejaVu face is not installed.");
    for (const QString& family : FontStandIns::families())
        QCOMPARE(QFontInfo(QFont(family)).family(), FontStandIns::kStandIn);
}

int main(int argc, char** argv)
{
    // Before the application: its single-instance channel picks its folder when it is made.
    PrivateFolders folders;
    if (!folders.isValid())
        qFatal("no private folders");
    CountingApplication app(argc, argv);
    TestApplicationBase test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_applicationbase.moc"
