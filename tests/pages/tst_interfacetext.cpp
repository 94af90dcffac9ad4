#include <QtTest>

#include "model/ProjectFile.h"
#include "model/ProjectItemFirst.h"
#include "pages/InterfaceText.h"

class TestInterfaceText : public QObject
{
    Q_OBJECT

private slots:
    void pinned_data();
    void pinned();
    void sharedEntriesAreEqual();
    void unlistedIndexIsEmpty_data();
    void unlistedIndexIsEmpty();
    void lettersOutsideAsciiSurvive();
    void richTextEntriesKeepTheirMarkup();
    void modelDefaultsComeFromTheTable();
};

void TestInterfaceText::pinned_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::newRow("numero with three spaces") << 97 << QStringLiteral("   №");
    QTest::newRow("trailing blank") << 65 << QStringLiteral("Connect to ");
    QTest::newRow("file name prefix") << 136 << QStringLiteral("слайд-шоу_");
    QTest::newRow("line break") << 49
        << QStringLiteral("Обнаружены отсутствующие файлы!\nСледующие элементы были перемещены, "
                          "переименованы или удалены:");
    QTest::newRow("quotes and placeholder") << 55 << QStringLiteral("Файл «%1» не найден");
    QTest::newRow("first") << 13 << QStringLiteral("ОК");
    QTest::newRow("last") << 243 << QStringLiteral("Громкость");
    QTest::newRow("first motion") << 30 << QStringLiteral("Нет");
    QTest::newRow("unknown transition") << 173 << QStringLiteral("Неизвестно");
}

void TestInterfaceText::pinned()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QCOMPARE(interfaceText(index), text);
}

void TestInterfaceText::sharedEntriesAreEqual()
{
    for (int index : {15, 20, 23, 27, 89, 141, 176, 234})
        QCOMPARE(interfaceText(index), QStringLiteral("ОТМЕНА"));
    QCOMPARE(interfaceText(13), interfaceText(50));
    QCOMPARE(interfaceText(142), interfaceText(74));
}

void TestInterfaceText::unlistedIndexIsEmpty_data()
{
    QTest::addColumn<int>("index");
    for (int index : {0, 12, 66, 69, 75, 195, 198, 200, 203, 237, 238})
        QTest::addRow("%d", index) << index;
    QTest::newRow("before the table") << -1;
    QTest::newRow("after the table") << kInterfaceTextCount;
}

void TestInterfaceText::unlistedIndexIsEmpty()
{
    QFETCH(int, index);
    QVERIFY(interfaceText(index).isEmpty());
}

// Compared by code point, so the check does not depend on how this file is read.
static QString codePoints(std::initializer_list<char16_t> units)
{
    QString text;
    for (char16_t unit : units)
        text += QChar(unit);
    return text;
}

void TestInterfaceText::lettersOutsideAsciiSurvive()
{
    const QString mine = interfaceText(143);
    QCOMPARE(mine.left(3), codePoints({0x041C, 0x043E, 0x0451}));
    QVERIFY(interfaceText(170).contains(codePoints({0x0447, 0x0451, 0x0440})));
    QCOMPARE(interfaceText(83).count(QChar(0x2014)), 1);
    QCOMPARE(interfaceText(97), codePoints({u' ', u' ', u' ', 0x2116}));
    QVERIFY(interfaceText(55).contains(QChar(0x00AB)) && interfaceText(55).contains(QChar(0x00BB)));
}

void TestInterfaceText::richTextEntriesKeepTheirMarkup()
{
    for (int index : {83, 93, 94, 95, 110}) {
        const QString text = interfaceText(index);
        QVERIFY2(text.startsWith(QStringLiteral("<p style=\"white-space: pre\">")), qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral("</p>")), qPrintable(text));
    }
    QCOMPARE(interfaceText(221), QStringLiteral("Фон<br>стартового<br>слайда:"));
}

void TestInterfaceText::modelDefaultsComeFromTheTable()
{
    QCOMPARE(ProjectSettings().name, interfaceText(142));
    QCOMPARE(ProjectItemFirst(3000).text().text, interfaceText(143));
}

QTEST_GUILESS_MAIN(TestInterfaceText)
#include "tst_interfacetext.moc"
