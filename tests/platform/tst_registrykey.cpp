#include <QtTest>

#include "platform/RegistryKey.h"
#include "platform/SessionKey.h"

#include <QSettings>

#include <future>

class TestRegistryKey : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void keyToFile_data();
    void keyToFile();
    void sameFileAsSettings();
    void missingReadsZero();
    void valuesRoundTrip();
    void refusedNames();
    void readsSeeExternalWrite();
    void readsOtherInstanceAtOnce();
    void keepsWhatItDoesNotOwn();
    void concurrentWritersLoseNothing();
    void hostileSessionIds_data();
    void hostileSessionIds();
    void removeOneAndAllSessions();
    void removeDoesNotFollowLinks();

private:
    QString configPath(const QString& relative) const { return m_config + QLatin1Char('/') + relative; }
    QStringList filesUnderConfig() const;

    QTemporaryDir* m_root = nullptr;
    QString m_config;
};

static const QString kRoot = QStringLiteral("HKEY_CURRENT_USER\\Software\\");

static void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(content), qint64(content.size()));
}

static QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestRegistryKey::init()
{
    m_root = new QTemporaryDir();
    QVERIFY(m_root->isValid());
    m_config = m_root->filePath("config");
    qputenv("XDG_CONFIG_HOME", m_config.toLocal8Bit());
    QCoreApplication::setApplicationName(QStringLiteral("Slide App"));
}

void TestRegistryKey::cleanup()
{
    delete m_root;
    m_root = nullptr;
}

QStringList TestRegistryKey::filesUnderConfig() const
{
    QStringList files;
    QDirIterator it(m_root->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

void TestRegistryKey::keyToFile_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("file");
    QTest::newRow("two parts") << kRoot + "KestrovaSoft\\Product" << "KestrovaSoft/Product.conf";
    QTest::newRow("one part") << kRoot + "Solo" << "Solo.conf";
    QTest::newRow("session") << kRoot + "Slide App\\Sessions\\ab12" << "Slide App/Sessions/ab12.conf";
    QTest::newRow("other root") << "HKEY_LOCAL_MACHINE\\Software\\A" << "";
    QTest::newRow("no root") << "Software\\A" << "";
    QTest::newRow("root only") << "HKEY_CURRENT_USER\\Software" << "";
    QTest::newRow("trailing separator") << kRoot + "A\\" << "";
    QTest::newRow("empty part") << kRoot + "A\\\\B" << "";
    QTest::newRow("dot") << kRoot + "A\\.\\B" << "";
    QTest::newRow("dot dot") << kRoot + "A\\..\\..\\B" << "";
    QTest::newRow("slash") << kRoot + "A\\b/../../c" << "";
    QTest::newRow("nul") << kRoot + QStringLiteral("A\\b") + QChar(0) + "c" << "";
    QTest::newRow("empty") << "" << "";
}

void TestRegistryKey::keyToFile()
{
    QFETCH(QString, key);
    QFETCH(QString, file);
    const RegistryKey k(key);
    QCOMPARE(k.isValid(), !file.isEmpty());
    QCOMPARE(k.filePath(), file.isEmpty() ? QString() : configPath(file));
}

void TestRegistryKey::sameFileAsSettings()
{
    const QSettings settings(QStringLiteral("KestrovaSoft"), QStringLiteral("Product"));
    QCOMPARE(RegistryKey(kRoot + "KestrovaSoft\\Product").filePath(), settings.fileName());
    QCOMPARE(RegistryKey(SessionKey::of("s1")).filePath(), configPath("Slide App/Sessions/s1.conf"));
}

void TestRegistryKey::missingReadsZero()
{
    const RegistryKey key(SessionKey::of("s1"));
    QCOMPARE(key.intValue(SessionKey::isPaused), qint64(0));
    QVERIFY(filesUnderConfig().isEmpty());

    QDir().mkpath(configPath("Slide App/Sessions"));
    writeFile(key.filePath(), "[General]\nis_paused=yes\nis_canceled=\n");
    QCOMPARE(key.intValue(SessionKey::isPaused), qint64(0));
    QCOMPARE(key.intValue(SessionKey::isCanceled), qint64(0));
    QCOMPARE(key.intValue(SessionKey::totalTask), qint64(0));
}

void TestRegistryKey::valuesRoundTrip()
{
    RegistryKey key(SessionKey::of("s1"));
    QVERIFY(key.setIntValue(SessionKey::isPaused, 1));
    QVERIFY(key.setIntValue(SessionKey::totalTask, 5000000000LL));
    QVERIFY(key.setIntValue(SessionKey::isCanceled, -1));
    QVERIFY(key.setIntValue(SessionKey::isPaused, 2));
    QCOMPARE(key.intValue(SessionKey::isPaused), qint64(2));
    QCOMPARE(key.intValue(SessionKey::totalTask), qint64(5000000000LL));
    QCOMPARE(key.intValue(SessionKey::isCanceled), qint64(-1));
    QVERIFY(!QFileInfo::exists(key.filePath() + ".lock"));

    // The file is plain INI that QSettings reads, and the other way round.
    QSettings ini(key.filePath(), QSettings::IniFormat);
    QCOMPARE(ini.value("is_paused").toInt(), 2);
    QCOMPARE(ini.value("total_task").toLongLong(), 5000000000LL);
    ini.setValue("total_page", 7);
    ini.sync();
    QCOMPARE(key.intValue(SessionKey::totalPage), qint64(7));
    QCOMPARE(key.intValue(SessionKey::isPaused), qint64(2));
}

void TestRegistryKey::refusedNames()
{
    RegistryKey key(SessionKey::of("s1"));
    for (const QString& name : {QString(), QStringLiteral("a b"), QStringLiteral("a=b"), QStringLiteral("[x]"),
                               QStringLiteral("a/b")})
        QVERIFY2(!key.setIntValue(name, 1), qPrintable(name));
    QVERIFY(filesUnderConfig().isEmpty());
}

// Another process replaces the file with one of the same size and time stamp.
void TestRegistryKey::readsSeeExternalWrite()
{
    RegistryKey key(SessionKey::of("s1"));
    QVERIFY(key.setIntValue(SessionKey::isPaused, 1));
    QCOMPARE(key.intValue(SessionKey::isPaused), qint64(1));

    const QDateTime stamp = QFileInfo(key.filePath()).lastModified();
    QByteArray content = readFile(key.filePath());
    content.replace("is_paused=1", "is_paused=2");
    writeFile(key.filePath(), content);
    QFile file(key.filePath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    file.close();

    QCOMPARE(key.intValue(SessionKey::isPaused), qint64(2));
}

void TestRegistryKey::readsOtherInstanceAtOnce()
{
    RegistryKey writer(SessionKey::of("s1"));
    const RegistryKey reader(SessionKey::of("s1"));
    for (int i = 0; i < 20; ++i) {
        const qint64 value = i % 2 ? 1 : 2;
        QVERIFY(writer.setIntValue(SessionKey::isPaused, value));
        QCOMPARE(reader.intValue(SessionKey::isPaused), value);
    }
}

void TestRegistryKey::keepsWhatItDoesNotOwn()
{
    RegistryKey key(kRoot + "KestrovaSoft\\Product");
    QDir().mkpath(configPath("KestrovaSoft"));
    const QByteArray before = "; note\n[Other]\nis_paused=5\ntext=\"a, b\"\n";
    writeFile(key.filePath(), before);

    QCOMPARE(key.intValue(SessionKey::isPaused), qint64(0));
    QVERIFY(key.setIntValue(SessionKey::isPaused, 1));
    QVERIFY(key.setIntValue(SessionKey::isCanceled, 3));
    QCOMPARE(key.intValue(SessionKey::isPaused), qint64(1));
    QCOMPARE(key.intValue(SessionKey::isCanceled), qint64(3));
    QVERIFY(readFile(key.filePath()).endsWith(before));

    const QSettings ini(key.filePath(), QSettings::IniFormat);
    QCOMPARE(ini.value("Other/is_paused").toInt(), 5);
    QCOMPARE(ini.value("Other/text").toString(), QStringLiteral("a, b"));
    QCOMPARE(ini.value("is_paused").toInt(), 1);
}

void TestRegistryKey::concurrentWritersLoseNothing()
{
    const QString path = SessionKey::of("s1");
    constexpr int writes = 20;
    auto writeAll = [path](const QString& prefix) {
        RegistryKey key(path);
        for (int i = 0; i < writes; ++i) {
            if (!key.setIntValue(prefix + QString::number(i), i + 1))
                return false;
        }
        return true;
    };
    auto a = std::async(std::launch::async, writeAll, QStringLiteral("a_"));
    auto b = std::async(std::launch::async, writeAll, QStringLiteral("b_"));
    QVERIFY(a.get());
    QVERIFY(b.get());

    const RegistryKey key(path);
    for (int i = 0; i < writes; ++i) {
        QCOMPARE(key.intValue("a_" + QString::number(i)), qint64(i + 1));
        QCOMPARE(key.intValue("b_" + QString::number(i)), qint64(i + 1));
    }
}

void TestRegistryKey::hostileSessionIds_data()
{
    QTest::addColumn<QString>("id");
    QTest::newRow("empty") << "";
    QTest::newRow("dot") << ".";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("parent by slash") << "../victim";
    QTest::newRow("slash inside") << "a/b";
    QTest::newRow("absolute") << "/tmp/victim";
    QTest::newRow("parent by backslash") << "..\\..\\victim";
    QTest::newRow("trailing backslash") << "abc\\";
}

void TestRegistryKey::hostileSessionIds()
{
    QFETCH(QString, id);
    RegistryKey key(SessionKey::of(id));
    QVERIFY(!key.isValid());
    QVERIFY(!key.setIntValue(SessionKey::isCanceled, 1));
    QCOMPARE(key.intValue(SessionKey::isCanceled), qint64(0));
    QVERIFY(!key.remove());
    QVERIFY(filesUnderConfig().isEmpty());
}

void TestRegistryKey::removeOneAndAllSessions()
{
    RegistryKey one(SessionKey::of("one"));
    RegistryKey two(SessionKey::of("two"));
    RegistryKey nested(SessionKey::of("two") + "\\Sub");
    RegistryKey app(kRoot + "Slide App");
    QVERIFY(one.setIntValue(SessionKey::isPaused, 1));
    QVERIFY(two.setIntValue(SessionKey::isPaused, 1));
    QVERIFY(nested.setIntValue(SessionKey::isPaused, 1));
    QVERIFY(app.setIntValue(SessionKey::totalTask, 9));
    QVERIFY(QFileInfo(configPath("Slide App/Sessions/two/Sub.conf")).isFile());

    QVERIFY(one.remove());
    QVERIFY(!QFileInfo::exists(one.filePath()));
    QCOMPARE(one.intValue(SessionKey::isPaused), qint64(0));
    QCOMPARE(two.intValue(SessionKey::isPaused), qint64(1));
    QVERIFY(one.remove());

    RegistryKey sessions(SessionKey::sessions());
    QVERIFY(sessions.remove());
    QVERIFY(!QFileInfo::exists(configPath("Slide App/Sessions")));
    QCOMPARE(two.intValue(SessionKey::isPaused), qint64(0));
    QCOMPARE(nested.intValue(SessionKey::isPaused), qint64(0));
    QCOMPARE(app.intValue(SessionKey::totalTask), qint64(9));
}

void TestRegistryKey::removeDoesNotFollowLinks()
{
    const QString outside = m_root->filePath("outside");
    QDir().mkpath(outside + "/inner");
    writeFile(outside + "/keep.conf", "[General]\nx=1\n");
    writeFile(outside + "/inner/keep.conf", "[General]\nx=1\n");

    QDir().mkpath(configPath("Slide App/Sessions/s1"));
    QVERIFY(QFile::link(outside, configPath("Slide App/Sessions/s1/linked")));
    QVERIFY(QFile::link(outside + "/inner", configPath("Slide App/Sessions/s2")));
    QVERIFY(QFile::link(outside + "/keep.conf", configPath("Slide App/Sessions/s2.conf")));

    QVERIFY(RegistryKey(SessionKey::of("s2")).remove());
    QVERIFY(!QFileInfo(configPath("Slide App/Sessions/s2")).isSymLink());
    QVERIFY(RegistryKey(SessionKey::sessions()).remove());
    QVERIFY(!QFileInfo::exists(configPath("Slide App/Sessions")));
    QVERIFY(QFileInfo::exists(outside + "/keep.conf"));
    QVERIFY(QFileInfo::exists(outside + "/inner/keep.conf"));
}

QTEST_GUILESS_MAIN(TestRegistryKey)
#include "tst_registrykey.moc"
