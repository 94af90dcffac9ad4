#include <QtTest>

#include "crashreport/CrashUtils.h"
#include "support/CrashTestSupport.h"

class TestCrashUtils : public QObject
{
    Q_OBJECT

private slots:
    void fileNameOf_data();
    void fileNameOf();
    void isSearchPattern_data();
    void isSearchPattern();
    void moduleBaseName_data();
    void moduleBaseName();
    void runningProgram();
    void createFolder_data();
    void createFolder();
    void guidText();
    void specialFolder_data();
    void specialFolder();
    void utf8_data();
    void utf8();
};

void TestCrashUtils::fileNameOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("folder") << "/var/log/app.log" << "app.log";
    QTest::newRow("bare") << "app.log" << "app.log";
    QTest::newRow("trailing slash") << "/var/log/" << "";
    QTest::newRow("backslash stays") << "C:\\logs\\a.txt" << "C:\\logs\\a.txt";
    QTest::newRow("empty") << "" << "";
}

void TestCrashUtils::fileNameOf()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(fromU16(::fileNameOf(u16(path))), name);
}

void TestCrashUtils::isSearchPattern_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("pattern");
    QTest::newRow("star") << "/logs/*.txt" << true;
    QTest::newRow("question mark") << "/logs/a?.txt" << true;
    QTest::newRow("plain") << "/logs/a.txt" << false;
    QTest::newRow("long prefix, star") << "\\\\?\\/logs/*.txt" << true;
    QTest::newRow("long prefix, plain") << "\\\\?\\/logs/a.txt" << false;
    QTest::newRow("prefix only") << "\\\\?\\" << false;
    QTest::newRow("empty") << "" << false;
}

void TestCrashUtils::isSearchPattern()
{
    QFETCH(QString, path);
    QFETCH(bool, pattern);
    QCOMPARE(::isSearchPattern(u16(path)), pattern);
}

void TestCrashUtils::moduleBaseName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("dotted folder and name") << "/a.b/prog.tool" << "prog";
    QTest::newRow("no extension") << "/usr/bin/ty_helper" << "ty_helper";
    QTest::newRow("bare") << "prog.tool.x" << "prog";
    QTest::newRow("leading dot") << "/a/.hidden" << "";
}

void TestCrashUtils::moduleBaseName()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(fromU16(::moduleBaseName(u16(path))), name);
}

void TestCrashUtils::runningProgram()
{
    const QString program = QCoreApplication::applicationFilePath();
    QCOMPARE(fromU16(modulePath()), program);
    QCOMPARE(fromU16(moduleFolder()), QCoreApplication::applicationDirPath());
    QCOMPARE(fromU16(::moduleBaseName()), QFileInfo(program).fileName());
    QVERIFY(productVersion(modulePath()).empty());
}

void TestCrashUtils::createFolder_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("blockingFile");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("created");
    QTest::newRow("nested") << "" << "" << "a/b/c" << true;
    QTest::newRow("existing") << "a/b" << "" << "a/b" << true;
    QTest::newRow("existing parent") << "a" << "" << "a/b/c" << true;
    QTest::newRow("trailing slash") << "" << "" << "a/b/" << true;
    QTest::newRow("file in the way") << "" << "a/b" << "a/b/c" << false;
    QTest::newRow("file at the target") << "" << "a/b" << "a/b" << false;
}

void TestCrashUtils::createFolder()
{
    QFETCH(QString, existing);
    QFETCH(QString, blockingFile);
    QFETCH(QString, target);
    QFETCH(bool, created);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    if (!existing.isEmpty())
        QVERIFY(QDir(root.path()).mkpath(existing));
    if (!blockingFile.isEmpty()) {
        QVERIFY(QDir(root.path()).mkpath(QFileInfo(blockingFile).path()));
        QFile file(root.filePath(blockingFile));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(::createFolder(u16(root.filePath(target))), created);
    QCOMPARE(QFileInfo(root.filePath(target)).isDir(), created);
}

void TestCrashUtils::guidText()
{
    std::u16string first;
    std::u16string second;
    QCOMPARE(newGuidText(first), 0);
    QCOMPARE(newGuidText(second), 0);
    const QRegularExpression form(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$"));
    QVERIFY2(form.match(fromU16(first)).hasMatch(), qPrintable(fromU16(first)));
    QVERIFY(form.match(fromU16(second)).hasMatch());
    QVERIFY(first != second);
}

void TestCrashUtils::specialFolder_data()
{
    QTest::addColumn<QString>("dataHome");
    QTest::addColumn<QString>("expected");
    QTest::newRow("absolute XDG_DATA_HOME") << "<root>/data/new" << "<root>/data/new";
    QTest::newRow("relative XDG_DATA_HOME") << "relative/data" << "<root>/home/.local/share";
    QTest::newRow("empty XDG_DATA_HOME") << "" << "<root>/home/.local/share";
}

void TestCrashUtils::specialFolder()
{
    QFETCH(QString, dataHome);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", root.filePath("home").toUtf8());
    qputenv("XDG_DATA_HOME", dataHome.replace("<root>", root.path()).toUtf8());
    std::u16string folder;
    const int result = ::specialFolder(SpecialFolder::LocalAppData, folder);
    qputenv("HOME", oldHome);
    qputenv("XDG_DATA_HOME", oldDataHome);
    QCOMPARE(result, 0);
    QCOMPARE(fromU16(folder), expected.replace("<root>", root.path()));
    QVERIFY(QFileInfo(fromU16(folder)).isDir());
}

void TestCrashUtils::utf8_data()
{
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QString>("utf16");
    QTest::newRow("ascii") << QByteArray("abc") << "abc";
    QTest::newRow("cyrillic") << QByteArray("\xd0\x9e\xd1\x82\xd1\x87\xd1\x91\xd1\x82") << QString::fromUtf8("Отчёт");
    QTest::newRow("outside the BMP") << QByteArray("\xf0\x9f\x93\xb7") << QString::fromUtf8("\xf0\x9f\x93\xb7");
    QTest::newRow("empty") << QByteArray() << "";
}

void TestCrashUtils::utf8()
{
    QFETCH(QByteArray, utf8);
    QFETCH(QString, utf16);
    QCOMPARE(fromU16(toUtf16(utf8.toStdString())), utf16);
    QCOMPARE(QByteArray::fromStdString(toUtf8(u16(utf16))), utf8);
}

QTEST_GUILESS_MAIN(TestCrashUtils)
#include "tst_crashutils.moc"
