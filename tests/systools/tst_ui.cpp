#include "support/AppTestSupport.h"
#include "support/SystoolsTestSupport.h"
#include "support/UiTestSupport.h"

#include "app/AboutDialog2.h"
#include "app/Application.h"
#include "app/SettingsProvider.h"
#include "app/Ui.h"
#include "resources/Resources.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CDialogMessage.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QLabel>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

namespace {

int s_argc = 1;
char s_name[] = "tst_ui";
char* s_argv[] = {s_name, nullptr};

using Question = bool (Ui::*)();
using UiCall = std::function<void(Ui*)>;

// Every label text of the message box, joined.
QString messageText(CDialogMessage* message)
{
    QStringList texts;
    for (QLabel* label : message->findChildren<QLabel*>())
        texts.append(label->text());
    return texts.join(QLatin1Char('\n'));
}

} // namespace

Q_DECLARE_METATYPE(Question)
Q_DECLARE_METATYPE(UiCall)

class TestUi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void richMessage_data();
    void richMessage();
    void missingFilesText_data();
    void missingFilesText();
    void questionsAreYesOnlyForButtonTwo_data();
    void questionsAreYesOnlyForButtonTwo();
    void updateNoticeShowsParsedVersionAndOpensDownload();
    void readyDialog();
    void chooseAudioFilesRemembersItsFolder();
    void styleIsTheApplicationPalette();
    void aboutOpensOnTheNextLoopPass();
    void errorIconOnlyOnErrors_data();
    void errorIconOnlyOnErrors();

private:
    Ui* ui() const { return static_cast<Ui*>(m_app->systemTools()); }

    std::unique_ptr<PrivateFolders> m_folders;
    std::unique_ptr<Application> m_app;
    SettingsProvider* m_settings = nullptr;
};

void TestUi::initTestCase()
{
    m_folders.reset(new PrivateFolders);
    QVERIFY(m_folders->isValid());
    m_app.reset(new Application(s_argc, s_argv));
    QCoreApplication::setApplicationName(QStringLiteral("ty ui test"));
    initSlideshowResources();
    m_settings = new SettingsProvider(CApplicaiton::configFilePath(QStringLiteral("settings.ini")),
                                      QSettings::IniFormat, m_app.get());
    m_app->setSettings(m_settings);
    QVERIFY(ui());
}

void TestUi::cleanupTestCase()
{
    m_app.reset();
    m_folders.reset();
}

void TestUi::richMessage_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("spanText");
    QTest::addColumn<QString>("after");
    QTest::newRow("title and body") << "Тело" << "Заголовок" << "Заголовок" << "<br>&nbsp;<br></span>Тело";
    QTest::newRow("blank title") << "Тело" << " " << "Тело" << "</span><br>";
    QTest::newRow("body only") << "Тело" << "" << "Тело" << "</span><br>";
    QTest::newRow("title only") << "" << "Заголовок" << "Заголовок" << "</span><br>";
    QTest::newRow("line break") << "a\nb" << "" << "a<br>b" << "</span><br>";
}

void TestUi::richMessage()
{
    QFETCH(QString, body);
    QFETCH(QString, title);
    QFETCH(QString, spanText);
    QFETCH(QString, after);
    const QString text = Ui::richMessage(body, title);
    QVERIFY2(text.contains(QRegularExpression(QStringLiteral("color:#[0-9a-f]{8};'>"))), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("'>") + spanText + QStringLiteral("</span>")), qPrintable(text));
    QVERIFY2(text.endsWith(after), qPrintable(text));
    QVERIFY(!text.contains(QLatin1Char('\n')));
}

void TestUi::missingFilesText_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("lastNumber");
    QTest::addColumn<bool>("more");
    QTest::newRow("one") << 1 << 0 << false;
    QTest::newRow("ten") << 10 << 10 << false;
    QTest::newRow("twelve") << 12 << 10 << true;
}

void TestUi::missingFilesText()
{
    QFETCH(int, count);
    QFETCH(int, lastNumber);
    QFETCH(bool, more);
    QStringList files;
    for (int i = 0; i < count; ++i)
        files.append(QStringLiteral("/photos/<b>%1&.jpg").arg(i));
    const QString text = Ui::missingFilesText(files);
    QVERIFY(!text.contains(QStringLiteral("<b>")));
    QVERIFY(text.contains(QStringLiteral("&lt;b&gt;0&amp;.jpg")));
    if (!lastNumber) {
        QCOMPARE(text, QStringLiteral("/photos/&lt;b&gt;0&amp;.jpg"));
        return;
    }
    QVERIFY(text.contains(QStringLiteral("\n%1. ").arg(lastNumber)));
    QVERIFY(!text.contains(QStringLiteral("\n%1. ").arg(lastNumber + 1)));
    QCOMPARE(text.contains(QStringLiteral("\n...")), more);
}

void TestUi::questionsAreYesOnlyForButtonTwo_data()
{
    QTest::addColumn<Question>("question");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("yes");
    const QList<QPair<const char*, Question>> questions = {
        {"clear history", &Ui::confirmClearHistory},
        {"clear project", &Ui::confirmClearProject},
        {"new project", &Ui::confirmNewProject},
        {"missing files", &Ui::confirmOpenWithMissingFiles},
        {"overwrite captions", &Ui::confirmOverwriteAllSlidesText},
    };
    for (const auto& question : questions) {
        QTest::addRow("%s, button 2", question.first) << question.second << 2 << true;
        QTest::addRow("%s, button 1", question.first) << question.second << 1 << false;
        QTest::addRow("%s, Return", question.first) << question.second << int(Qt::Key_Return) << true;
        QTest::addRow("%s, Escape", question.first) << question.second << int(Qt::Key_Escape) << false;
    }
}

void TestUi::questionsAreYesOnlyForButtonTwo()
{
    QFETCH(Question, question);
    QFETCH(int, answer);
    QFETCH(bool, yes);
    DialogAnswerer answerer([answer](CDialogMessage* message) {
        if (answer > 2)
            sendKey(message, answer);
        else
            message->done(answer);
    });
    NestedLoopWatchdog watchdog(10000);
    QCOMPARE((ui()->*question)(), yes);
    QVERIFY(answerer.answered());
}

void TestUi::updateNoticeShowsParsedVersionAndOpensDownload()
{
    UrlCatcher catcher;
    QString shown;
    DialogAnswerer answerer([&](CDialogMessage* message) {
        shown = messageText(message);
        message->done(2);
    });
    NestedLoopWatchdog watchdog(10000);
    ui()->showUpdateAvailable(QStringLiteral("9.9 <a href='https://example.org/x'>x</a>"),
                              QStringLiteral("https://example.org/news"), QStringLiteral("https://example.org/get"));
    QVERIFY(answerer.answered());
    QVERIFY2(shown.contains(QStringLiteral("<b>9.9</b>")), qPrintable(shown));
    QVERIFY2(!shown.contains(QStringLiteral("example.org/x")), qPrintable(shown));
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QStringLiteral("https://example.org/get"))});
}

void TestUi::readyDialog()
{
    for (const int answer : {1, 0}) {
        DialogAnswerer answerer([answer](CDialogMessage* message) {
            QVERIFY(message->button(1));
            if (answer)
                emit message->button(1)->clicked();
            else
                message->close();
        });
        NestedLoopWatchdog watchdog(10000);
        QCOMPARE(ui()->showSlideshowReady(false), answer);
        QVERIFY(answerer.answered());
    }
}

void TestUi::chooseAudioFilesRemembersItsFolder()
{
    const QString image = m_settings->lastOpenFilePath();
    m_settings->setLastOpenAudioPath(QStringLiteral("/music"));
    FileDialogRecorder dialog({QStringLiteral("/tracks/a.mp3")});
    QCOMPARE(ui()->chooseAudioFiles(), QStringList{QStringLiteral("/tracks/a.mp3")});
    QCOMPARE(dialog.requests.size(), 1);
    QCOMPARE(dialog.requests.first().startPath, QStringLiteral("/music"));
    QCOMPARE(m_settings->lastOpenAudioPath(), QStringLiteral("/tracks"));
    QCOMPARE(m_settings->lastOpenFilePath(), image);
}

void TestUi::styleIsTheApplicationPalette()
{
    QCOMPARE(currentPalette()->name(), QStringLiteral("TyStyle"));
}

void TestUi::aboutOpensOnTheNextLoopPass()
{
    struct Run
    {
        bool about;
        QWidget* parent;
        QPointer<CDialog> dialog;
    };
    QList<Run> runs;
    DialogRunnerScope scope([&runs](CDialog* dialog) {
        runs.append({qobject_cast<AboutDialog2*>(dialog) != nullptr, dialog->parentWidget(), dialog});
        return 1;
    });
    ui()->showAbout();
    QVERIFY(runs.isEmpty());
    QTRY_COMPARE(runs.size(), 1);
    QVERIFY(runs.first().about);
    QCOMPARE(runs.first().parent, static_cast<QWidget*>(ui()->mainWindow()));
    QVERIFY(!runs.first().dialog);
}

void TestUi::errorIconOnlyOnErrors_data()
{
    QTest::addColumn<UiCall>("call");
    QTest::addColumn<QString>("icon");
    const QString error = QStringLiteral(":/messagebox-error.svg");
    QTest::newRow("audio not added") << UiCall([](Ui* ui) { ui->showAudioNotAddedMessage(); }) << error;
    QTest::newRow("missing files") << UiCall([](Ui* ui) { ui->showMissingFilesMessage({QStringLiteral("/a.jpg")}); })
                                   << error;
    QTest::newRow("question") << UiCall([](Ui* ui) { ui->confirmClearHistory(); }) << QString();
    QTest::newRow("update notice") << UiCall([](Ui* ui) {
        ui->showUpdateAvailable(QStringLiteral("2.0"), QStringLiteral("https://example.org/news"),
                                QStringLiteral("https://example.org/get"));
    }) << QString();
}

void TestUi::errorIconOnlyOnErrors()
{
    QFETCH(UiCall, call);
    QFETCH(QString, icon);
    int runs = 0;
    bool shown = false;
    CIcon* shownIcon = nullptr;
    DialogRunnerScope scope([&](CDialog* dialog) {
        ++runs;
        auto* widget = dialog->contentPanel()->findChild<CWidgetIcon*>();
        shown = widget && !widget->isHidden();
        shownIcon = widget ? widget->icon() : nullptr;
        return 0;
    });
    call(ui());
    QCOMPARE(runs, 1);
    QCOMPARE(shown, !icon.isEmpty());
    if (shown)
        QCOMPARE(shownIcon, CIconRepo::instance()->icon(icon));
}

int main(int argc, char** argv)
{
    TestUi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ui.moc"
