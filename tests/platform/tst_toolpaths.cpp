#include <QtTest>

#include "platform/ToolPaths.h"

class TestToolPaths : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void find_data();
    void find();
    void programsSearchThePath();

private:
    QTemporaryDir* m_root = nullptr;
    QString m_programDir;
    QString m_pathDir;
    QByteArray m_oldPath;
};

enum Entry { None, Executable, PlainFile, Folder };
Q_DECLARE_METATYPE(Entry)

static void makeEntry(const QString& path, Entry entry)
{
    if (entry == None)
        return;
    if (entry == Folder) {
        QVERIFY(QDir().mkpath(path));
        return;
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.close();
    const QFile::Permissions readWrite = QFile::ReadOwner | QFile::WriteOwner;
    QVERIFY(f.setPermissions(entry == Executable ? readWrite | QFile::ExeOwner : readWrite));
}

void TestToolPaths::init()
{
    m_root = new QTemporaryDir();
    QVERIFY(m_root->isValid());
    m_programDir = m_root->filePath("bin");
    m_pathDir = m_root->filePath("path");
    QDir().mkpath(m_programDir);
    QDir().mkpath(m_pathDir);
    m_oldPath = qgetenv("PATH");
    qputenv("PATH", (m_root->filePath("missing") + ':' + m_pathDir).toLocal8Bit());
}

void TestToolPaths::cleanup()
{
    qputenv("PATH", m_oldPath);
    delete m_root;
    m_root = nullptr;
}

void TestToolPaths::find_data()
{
    QTest::addColumn<Entry>("beside");
    QTest::addColumn<Entry>("onPath");
    QTest::addColumn<bool>("withProgramDir");
    QTest::addColumn<QString>("expected");
    QTest::newRow("beside wins") << Executable << Executable << true << "bin";
    QTest::newRow("only beside") << Executable << None << true << "bin";
    QTest::newRow("only on path") << None << Executable << true << "path";
    QTest::newRow("not executable beside") << PlainFile << Executable << true << "path";
    QTest::newRow("folder beside") << Folder << Executable << true << "path";
    QTest::newRow("no program folder") << Executable << Executable << false << "path";
    QTest::newRow("nowhere") << PlainFile << Folder << true << "";
}

void TestToolPaths::find()
{
    QFETCH(Entry, beside);
    QFETCH(Entry, onPath);
    QFETCH(bool, withProgramDir);
    QFETCH(QString, expected);
    makeEntry(m_programDir + "/ffmpeg", beside);
    makeEntry(m_pathDir + "/ffmpeg", onPath);
    const QString found = ToolPaths::find("ffmpeg", withProgramDir ? m_programDir : QString());
    QCOMPARE(found, expected.isEmpty() ? QString() : m_root->filePath(expected) + "/ffmpeg");
}

// The test program's folder holds none of the tools, so each comes from the PATH.
void TestToolPaths::programsSearchThePath()
{
    QCOMPARE(ToolPaths::ffmpeg(), QString());
    for (const char* name : {"ty_helper", "ty_convert", "ffmpeg"})
        makeEntry(m_pathDir + '/' + name, Executable);
    QCOMPARE(ToolPaths::helper(), m_pathDir + "/ty_helper");
    QCOMPARE(ToolPaths::convert(), m_pathDir + "/ty_convert");
    QCOMPARE(ToolPaths::ffmpeg(), m_pathDir + "/ffmpeg");

    // A stand-in replaces the helper until it is taken back.
    ToolPaths::setHelper(m_root->filePath("fake"));
    QCOMPARE(ToolPaths::helper(), m_root->filePath("fake"));
    QCOMPARE(ToolPaths::convert(), m_pathDir + "/ty_convert");
    ToolPaths::setHelper(QString());
    QCOMPARE(ToolPaths::helper(), m_pathDir + "/ty_helper");
}

QTEST_GUILESS_MAIN(TestToolPaths)
#include "tst_toolpaths.moc"
