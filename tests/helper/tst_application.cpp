#include <QtTest>

#include "helper/Application.h"
#include "model/AppPaths.h"

// Needs the real application object: the test's main creates it.
class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void identity();
    void cacheFolderNotCreatable();
    void cacheFolderCreatedOnce();
    void defaultCacheRoot();
};

void TestApplication::identity()
{
    QCOMPARE(Application::instance(), qApp);
    QCOMPARE(QCoreApplication::applicationName(), QString("Kestrova Slideshow Maker"));
    QCOMPARE(QCoreApplication::organizationName(), QString("KestrovaSoft"));
    QCOMPARE(QCoreApplication::applicationVersion(), QString("1.0.8"));
    QVERIFY(!QCoreApplication::organizationDomain().isEmpty());
}

// Runs first: a cache folder once made is kept for the run.
void TestApplication::cacheFolderNotCreatable()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile blocker(dir.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    Application* app = Application::instance();
    app->setCacheRoot(blocker.fileName() + "/cache");
    QVERIFY(app->cacheFolder().isEmpty());
    QVERIFY(app->cacheFolder().isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"file"});
}

void TestApplication::cacheFolderCreatedOnce()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Application* app = Application::instance();
    app->setCacheRoot(dir.filePath("a/b"));
    const QString folder = app->cacheFolder();
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(QFileInfo(folder).isAbsolute());
    QCOMPARE(QFileInfo(folder).absolutePath(), dir.filePath("a/b"));
    QVERIFY(!QUuid::fromString(QFileInfo(folder).fileName()).isNull());
    QVERIFY(QFileInfo(folder).fileName().startsWith('{'));
    QCOMPARE(app->cacheFolder(), folder);
    QCOMPARE(QDir(dir.filePath("a/b")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 1);
}

void TestApplication::defaultCacheRoot()
{
    QCOMPARE(AppPaths::userCacheDir(),
             QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                 + "/Kestrova Slideshow Maker/cache");
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
