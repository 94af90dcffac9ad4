#include <QtTest>

#include "model/AppPaths.h"

#include <unistd.h>

class TestAppPaths : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void folders();
    void latestProjectFile();
    void clearDirKeepsFolder();
    void removeMissingIsTrue();
    void linksAreNotFollowed();
    void removeStopsAtReadOnly();
    void token();
    void secondsText_data();
    void secondsText();

private:
    QTemporaryDir* m_root = nullptr;
    QString m_tmp;
    QString m_config;
    QByteArray m_savedTmp;
    QByteArray m_savedConfig;
};

static void touch(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}

void TestAppPaths::init()
{
    m_root = new QTemporaryDir();
    QVERIFY(m_root->isValid());
    m_tmp = m_root->filePath("tmp");
    m_config = m_root->filePath("config");
    QDir().mkpath(m_tmp);
    m_savedTmp = qgetenv("TMPDIR");
    m_savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("TMPDIR", m_tmp.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", m_config.toLocal8Bit());
    QCoreApplication::setApplicationName(QStringLiteral("Slide App"));
}

void TestAppPaths::cleanup()
{
    // The next temporary folder must not be made in the one removed here.
    qputenv("TMPDIR", m_savedTmp);
    qputenv("XDG_CONFIG_HOME", m_savedConfig);
    delete m_root;
    m_root = nullptr;
}

void TestAppPaths::folders()
{
    const QString root = m_tmp + QStringLiteral("/.Slide App-%1").arg(getuid());
    QCOMPARE(AppPaths::tempCacheDir(), root + "/cache");
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    for (const QString& folder : {root, root + "/cache"}) {
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(QFileInfo(folder).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
                 ownerOnly);
    }
    // A root left open by an earlier run is closed again.
    QFile::setPermissions(root, ownerOnly | QFile::ReadOther | QFile::ExeOther);
    AppPaths::tempCacheDir();
    QCOMPARE(QFileInfo(root).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), ownerOnly);

    QCOMPARE(AppPaths::userCacheDir(), m_config + "/Slide App/cache");
    QVERIFY(!QFileInfo::exists(m_config + "/Slide App/cache"));

    QCOMPARE(AppPaths::latestDir(), m_config + "/Slide App/latest");
    QVERIFY(QFileInfo(m_config + "/Slide App/latest").isDir());
}

void TestAppPaths::latestProjectFile()
{
    QCOMPARE(AppPaths::latestProjectFile(), QString());
    const QString dir = AppPaths::latestDir();
    QDir().mkpath(dir + "/folder.json");
    touch(dir + "/notes.txt");
    QCOMPARE(AppPaths::latestProjectFile(), QString());
    touch(dir + "/project.json");
    QCOMPARE(AppPaths::latestProjectFile(), dir + "/project.json");
}

void TestAppPaths::clearDirKeepsFolder()
{
    const QString dir = m_root->filePath("work");
    QDir().mkpath(dir + "/sub/deeper");
    touch(dir + "/a.txt");
    touch(dir + "/.hidden");
    touch(dir + "/sub/deeper/b.txt");
    AppPaths::clearDir(dir);
    QVERIFY(QFileInfo(dir).isDir());
    QVERIFY(QDir(dir).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));

    AppPaths::clearDir(m_root->filePath("missing"));
    QVERIFY(!QFileInfo::exists(m_root->filePath("missing")));
}

void TestAppPaths::removeMissingIsTrue()
{
    QVERIFY(AppPaths::removeDirRecursively(m_root->filePath("missing")));
    const QString dir = m_root->filePath("work");
    QDir().mkpath(dir + "/sub");
    touch(dir + "/sub/c.txt");
    QVERIFY(AppPaths::removeDirRecursively(dir));
    QVERIFY(!QFileInfo::exists(dir));
}

void TestAppPaths::linksAreNotFollowed()
{
    const QString outside = m_root->filePath("outside");
    QDir().mkpath(outside + "/inner");
    touch(outside + "/keep.txt");
    touch(outside + "/inner/keep2.txt");

    for (bool clear : {true, false}) {
        const QString dir = m_root->filePath("work");
        QDir().mkpath(dir);
        QVERIFY(QFile::link(outside, dir + "/to-folder"));
        QVERIFY(QFile::link(outside + "/keep.txt", dir + "/to-file"));
        QVERIFY(QFile::link(m_root->filePath("nowhere"), dir + "/broken"));
        if (clear) {
            AppPaths::clearDir(dir);
            QVERIFY(QFileInfo(dir).isDir());
            QVERIFY(QDir(dir).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
            QVERIFY(AppPaths::removeDirRecursively(dir));
        } else {
            QVERIFY(AppPaths::removeDirRecursively(dir));
        }
        QVERIFY(!QFileInfo::exists(dir));
        QVERIFY(QFileInfo::exists(outside + "/keep.txt"));
        QVERIFY(QFileInfo::exists(outside + "/inner/keep2.txt"));
    }

    // A link given as the folder itself goes as a link.
    const QString link = m_root->filePath("link-folder");
    QVERIFY(QFile::link(outside, link));
    QVERIFY(AppPaths::removeDirRecursively(link));
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(QFileInfo::exists(outside + "/inner/keep2.txt"));
}

void TestAppPaths::removeStopsAtReadOnly()
{
    if (geteuid() == 0)
        QSKIP("root may delete from a read-only folder");
    const QString dir = m_root->filePath("work");
    QDir().mkpath(dir + "/locked");
    touch(dir + "/locked/file.txt");
    QFile::setPermissions(dir + "/locked", QFile::ReadOwner | QFile::ExeOwner);
    QVERIFY(!AppPaths::removeDirRecursively(dir));
    QVERIFY(QFileInfo::exists(dir + "/locked/file.txt"));
    QFile::setPermissions(dir + "/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestAppPaths::token()
{
    const QString a = createUniqueToken();
    const QString b = createUniqueToken();
    QCOMPARE(a.size(), 32);
    QVERIFY(QRegularExpression("^[0-9a-f]{32}$").match(a).hasMatch());
    QVERIFY(a != b);
}

void TestAppPaths::secondsText_data()
{
    QTest::addColumn<int>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "0";
    QTest::newRow("whole") << 3000 << "3";
    QTest::newRow("fifteen") << 15000 << "15";
    QTest::newRow("half") << 2500 << "2.5";
    QTest::newRow("rounded") << 1234 << "1.2";
    QTest::newRow("under one") << 500 << "0.5";
}

void TestAppPaths::secondsText()
{
    QFETCH(int, ms);
    QFETCH(QString, text);
    QCOMPARE(msecsToSecondsText(ms), text);
}

QTEST_GUILESS_MAIN(TestAppPaths)
#include "tst_apppaths.moc"
