#include "SettingsFixture.h"

#include "pages/ProjectPageOutFileName.h"
#include "uilib/controls/CComboBase.h"
#include "uilib/controls/CLinEdit.h"

#include <QSignalSpy>
#include <QWidget>

// The output name row on its own: what the name edit takes and where a chosen format goes.
class TestOutFileName : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void refusesForbiddenCharacters_data();
    void refusesForbiddenCharacters();
    void nameStopsAtTwoHundred();
    void formatsAndStart();
    void chosenFormatGoesToSettingsOnly();

private:
    std::unique_ptr<SettingsFixture> m_settings;
    std::unique_ptr<QWidget> m_host;
    ProjectPage::OutFileName* m_row = nullptr;
};

void TestOutFileName::init()
{
    m_settings = std::make_unique<SettingsFixture>();
    m_host = std::make_unique<QWidget>();
    m_row = new ProjectPage::OutFileName;
    m_host->setLayout(m_row);
    m_host->resize(600, 60);
    m_host->show();
}

void TestOutFileName::cleanup()
{
    m_host.reset();
    m_settings.reset();
}

void TestOutFileName::refusesForbiddenCharacters_data()
{
    QTest::addColumn<QString>("character");
    for (const QChar c : QStringLiteral("/<>:\"\\|?*"))
        QTest::newRow(QString(c).toUtf8()) << QString(c);
}

void TestOutFileName::refusesForbiddenCharacters()
{
    QFETCH(QString, character);
    CLinEdit* edit = m_row->nameEdit();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("trip") + character + QStringLiteral("2024"));
    QCOMPARE(edit->text(), QStringLiteral("trip2024"));

    // A paste with the character is refused whole.
    edit->clear();
    edit->insert(QStringLiteral("summer") + character + QStringLiteral(".mp4"));
    QCOMPARE(edit->text(), QString());
    edit->insert(QStringLiteral("лето. 2024 (1)"));
    QCOMPARE(edit->text(), QStringLiteral("лето. 2024 (1)"));
}

void TestOutFileName::nameStopsAtTwoHundred()
{
    CLinEdit* edit = m_row->nameEdit();
    edit->insert(QString(250, QLatin1Char('x')));
    QCOMPARE(edit->text().size(), 200);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("y"));
    QCOMPARE(edit->text(), QString(200, QLatin1Char('x')));
}

void TestOutFileName::formatsAndStart()
{
    CComboBase* combo = m_row->formatCombo();
    QCOMPARE(combo->currentData().toString(), QStringLiteral("webm"));
    for (const char* format : {"mp4", "avi", "mov", "webm"})
        QVERIFY2(combo->hasItem(QString::fromLatin1(format)), format);
    // The combo stands inside the edit, at its right end.
    QVERIFY(m_row->nameEdit()->isAncestorOf(combo));
    QTRY_VERIFY(combo->isVisible());
    const QRect inEdit(combo->mapTo(m_row->nameEdit(), QPoint()), combo->size());
    QVERIFY(m_row->nameEdit()->rect().contains(inEdit));
    QVERIFY(inEdit.center().x() > m_row->nameEdit()->width() / 2);
}

void TestOutFileName::chosenFormatGoesToSettingsOnly()
{
    SettingsProvider* settings = m_settings->settings();
    settings->setOutFileFormat(QStringLiteral("mp4"));
    QSignalSpy stored(settings, &SettingsProvider::outFileFormatChanged);
    CComboBase* combo = m_row->formatCombo();

    // Showing a project's format is not a choice.
    combo->setCurrentDataSilently(QStringLiteral("avi"));
    QCOMPARE(settings->outFileFormat(), QStringLiteral("mp4"));

    combo->setCurrentData(QStringLiteral("mov"));
    QCOMPARE(settings->outFileFormat(), QStringLiteral("mov"));
    QCOMPARE(stored.count(), 1);
}

TY_UI_TEST_MAIN(TestOutFileName)
#include "tst_outfilename.moc"
