#include "support/AppTestSupport.h"
#include "support/SystoolsTestSupport.h"
#include "support/UiTestSupport.h"

#include "app/CSettingsStorage.h"
#include "app/CSystemTools.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CDialogMessage.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/CStyle.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimeZone>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace {

// The path of a new empty file in the folder; empty when it could not be made.
QString emptyFile(const QTemporaryDir& folder, const QString& name)
{
    QFile file(folder.filePath(name));
    return file.open(QIODevice::WriteOnly) ? file.fileName() : QString();
}

CButton* rememberBox(CDialogMessage* message)
{
    for (CButton* button : message->findChildren<CButton*>()) {
        if (button->styleKind() == 15)
            return button;
    }
    return nullptr;
}

CSystemTools* tools()
{
    return CSystemTools::instance();
}

// A main window shown and active, as the user has it while nothing else is open.
struct ActiveMainWindow
{
    ActiveMainWindow()
        : window(16, nullptr)
    {
        window.resize(320, 200);
        tools()->setMainWindow(&window);
        window.show();
        window.activateWindow();
    }
    ~ActiveMainWindow() { tools()->setMainWindow(nullptr); }
    CWindow window;
};

} // namespace

class TestSystemTools : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxButtons_data();
    void messageBoxButtons();
    void messageBoxTitleIconAndLink();
    void rememberStateIsWrittenBack();
    void textInputBox_data();
    void textInputBox();
    void dialogsFromWorkerThread();
    void fileDialogs_data();
    void fileDialogs();
    void realFileDialogAnsweredByTimer();
    void showInFolder();
    void failingLauncherReportsAndTells();
    void linkHtml_data();
    void linkHtml();
    void deferredMessageWaitsForModalDialog();
    void dayChange_data();
    void dayChange();
    void lostHoverComesBack();
    void widgetUnderCursorKeepsTrackedPosition();
};

void TestSystemTools::messageBoxButtons_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("pressed");
    QTest::addColumn<QList<int>>("indexes");
    QTest::addColumn<int>("expected");

    const QStringList none{QString(), QString(), QString()};
    QTest::newRow("no texts, press") << none << 0 << 1 << QList<int>{1} << 1;
    QTest::newRow("no texts, Escape") << none << int(Qt::Key_Escape) << 0 << QList<int>{1} << 0;
    QTest::newRow("no texts, Return") << none << int(Qt::Key_Return) << 0 << QList<int>{1} << 1;
    const QStringList firstAndThird{QStringLiteral("Один"), QString(), QStringLiteral("Три")};
    QTest::newRow("1 and 3, Return") << firstAndThird << int(Qt::Key_Return) << 0 << QList<int>{1, 3} << 3;
    QTest::newRow("1 and 3, press 1") << firstAndThird << 0 << 1 << QList<int>{1, 3} << 1;
    const QStringList two{QStringLiteral("Нет"), QStringLiteral("Да"), QString()};
    QTest::newRow("two, Return") << two << int(Qt::Key_Return) << 0 << QList<int>{1, 2} << 2;
    QTest::newRow("two, Escape") << two << int(Qt::Key_Escape) << 0 << QList<int>{1, 2} << 0;
}

void TestSystemTools::messageBoxButtons()
{
    QFETCH(QStringList, texts);
    QFETCH(int, key);
    QFETCH(int, pressed);
    QFETCH(QList<int>, indexes);
    QFETCH(int, expected);

    QList<int> shown;
    QString firstText;
    int defaultKind = -1;
    QList<int> otherKinds;
    DialogAnswerer answer([&](CDialogMessage* message) {
        for (int index = 1; index <= 3; ++index) {
            if (CButton* button = message->button(index)) {
                shown.append(index);
                if (button == message->defaultButton())
                    defaultKind = button->styleKind();
                else
                    otherKinds.append(button->styleKind());
            }
        }
        firstText = message->button(indexes.first())->text();
        if (key)
            sendKey(message, key);
        else
            emit message->button(pressed)->clicked();
    });
    NestedLoopWatchdog watchdog(10000);
    const int result = tools()->messageBox(QStringLiteral("Текст"), QStringLiteral("Заголовок"), 0, texts.at(0),
                                           texts.at(1), texts.at(2));
    QVERIFY(answer.answered());
    QCOMPARE(result, expected);
    QCOMPARE(shown, indexes);
    QCOMPARE(defaultKind, 21);
    for (int kind : otherKinds)
        QCOMPARE(kind, 20);
    if (texts.join(QString()).isEmpty())
        QCOMPARE(firstText, QStringLiteral("ОК"));
}

void TestSystemTools::messageBoxTitleIconAndLink()
{
    // A palette that names an icon for type 6 only.
    class IconPalette : public Cpalette
    {
    public:
        using Cpalette::Cpalette;
        QString name() const override { return QStringLiteral("SystoolsIcons"); }
        QString titleBarIcon(int kind) const override
        {
            return kind == 6 ? QStringLiteral(":/uilib/titlebar-close.svg") : Cpalette::titleBarIcon(kind);
        }
    };
    CStyle* style = tools()->style();
    const QString previous = currentPalette()->name();
    auto* palette = new IconPalette(style);
    style->registerPalette(palette);
    style->setCurrentStyle(palette->name());

    for (int type : {6, 7, 8}) {
        QString title;
        bool iconShown = false;
        CIcon* icon = nullptr;
        DialogAnswerer answer([&](CDialogMessage* message) {
            title = message->titleBar()->titleLabel()->text();
            auto* widget = message->contentPanel()->findChild<CWidgetIcon*>();
            iconShown = widget && !widget->isHidden();
            icon = widget ? widget->icon() : nullptr;
            message->done(1);
        });
        NestedLoopWatchdog watchdog(10000);
        tools()->messageBox(QStringLiteral("Текст"), QString(), type);
        QCOMPARE(title, QCoreApplication::applicationName());
        QCOMPARE(iconShown, type == 6);
        if (type == 6)
            QCOMPARE(icon, CIconRepo::instance()->icon(QStringLiteral(":/uilib/titlebar-close.svg")));
    }
    style->setCurrentStyle(previous);

    // A link in the text goes to openLink.
    UrlCatcher catcher;
    DialogAnswerer answer([](CDialogMessage* message) {
        emit message->textLabel()->linkActivated(QStringLiteral("https://example.org/info"));
        message->done(0);
    });
    NestedLoopWatchdog watchdog(10000);
    tools()->messageBox(QStringLiteral("<a href='https://example.org/info'>x</a>"));
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QStringLiteral("https://example.org/info"))});
}

void TestSystemTools::rememberStateIsWrittenBack()
{
    for (bool initial : {false, true}) {
        bool remember = initial;
        bool shownChecked = !initial;
        QString shownText;
        DialogAnswerer answer([&](CDialogMessage* message) {
            CButton* box = rememberBox(message);
            shownChecked = box->isChecked();
            shownText = box->text();
            box->setChecked(!box->isChecked());
            message->done(2);
        });
        NestedLoopWatchdog watchdog(10000);
        const int result = tools()->messageBox(QStringLiteral("?"), QString(), 8, QStringLiteral("Нет"),
                                               QStringLiteral("Да"), QString(), &remember,
                                               QStringLiteral("Проверять"));
        QCOMPARE(result, 2);
        QCOMPARE(shownChecked, initial);
        QCOMPARE(shownText, QStringLiteral("Проверять"));
        QCOMPARE(remember, !initial);
    }
}

void TestSystemTools::textInputBox_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("initial");
    QTest::addColumn<int>("editKind");
    QTest::addColumn<bool>("defaultEnabledAtStart");
    QTest::addColumn<bool>("readOnly");

    QTest::newRow("any, empty") << int(CSystemTools::AnyTextInput) << QString() << 29 << true << false;
    QTest::newRow("not empty, empty") << int(CSystemTools::NotEmptyTextInput) << QString() << 29 << false << false;
    QTest::newRow("not empty, text") << int(CSystemTools::NotEmptyTextInput) << QStringLiteral("a") << 29 << true
                                     << false;
    QTest::newRow("password") << int(CSystemTools::PasswordTextInput) << QString() << 32 << true << false;
    QTest::newRow("not empty password") << int(CSystemTools::NotEmptyPasswordTextInput) << QString() << 32 << false
                                        << false;
    QTest::newRow("read only, text") << int(CSystemTools::ReadOnlyTextInput) << QStringLiteral("fixed") << 29
                                     << true << true;
}

void TestSystemTools::textInputBox()
{
    QFETCH(int, type);
    QFETCH(QString, initial);
    QFETCH(int, editKind);
    QFETCH(bool, defaultEnabledAtStart);
    QFETCH(bool, readOnly);

    bool enabledAtStart = !defaultEnabledAtStart;
    bool enabledWithText = false;
    int kind = -1;
    bool shownReadOnly = !readOnly;
    int maxLength = 0;
    DialogAnswerer answer([&](CDialogMessage* message) {
        auto* edit = message->findChild<CLinEdit*>();
        kind = edit->styleKind();
        shownReadOnly = edit->isReadOnly();
        maxLength = edit->maxLength();
        enabledAtStart = message->defaultButton()->isEnabled();
        edit->setText(QStringLiteral("typed"));
        enabledWithText = message->defaultButton()->isEnabled();
        // The first, not the default, button: the text comes back all the same.
        emit message->button(1)->clicked();
    });
    NestedLoopWatchdog watchdog(10000);
    QString text = initial;
    const int result = tools()->textInputBox(QStringLiteral("Имя?"), QString(), text,
                                             CSystemTools::TextInputType(type), 0, QStringLiteral("Отмена"),
                                             QStringLiteral("ОК"));
    QCOMPARE(result, 1);
    QCOMPARE(text, QStringLiteral("typed"));
    QCOMPARE(kind, editKind);
    QCOMPARE(shownReadOnly, readOnly);
    QCOMPARE(maxLength, 32767);
    QCOMPARE(enabledAtStart, defaultEnabledAtStart);
    QVERIFY(enabledWithText);
}

void TestSystemTools::dialogsFromWorkerThread()
{
    QTemporaryDir folder;
    FileDialogRecorder recorder({folder.filePath(QStringLiteral("chosen.jpg"))});
    const QString start = folder.path();

    QFuture<QString> open = QtConcurrent::run([start] {
        return tools()->getOpenFileName(QStringLiteral("Открыть"), QStringLiteral("Images (*.jpg)"), start);
    });
    QTRY_VERIFY_WITH_TIMEOUT(open.isFinished(), 10000);
    QCOMPARE(open.result(), folder.filePath(QStringLiteral("chosen.jpg")));

    QFuture<QString> save = QtConcurrent::run([start] {
        return tools()->getSaveFileName(QStringLiteral("Сохранить"), QStringLiteral("Video (*.mp4)"),
                                        QStringLiteral("show.mp4"), start);
    });
    QTRY_VERIFY_WITH_TIMEOUT(save.isFinished(), 10000);
    QCOMPARE(recorder.requests.size(), 2);
    QCOMPARE(recorder.onGuiThread, (QList<bool>{true, true}));
    QCOMPARE(recorder.requests.at(1).kind, FileDialogRequest::SaveFile);
    QCOMPARE(recorder.requests.at(1).startPath, start + QDir::separator() + QStringLiteral("show.mp4"));
    QCOMPARE(recorder.requests.at(1).filter, QStringLiteral("Video (*.mp4)"));

    // A message box and a text input: the GUI thread's answers reach the worker.
    DialogAnswerer answerMessage([](CDialogMessage* message) { message->done(2); });
    NestedLoopWatchdog watchdog(20000);
    QFuture<int> asked = QtConcurrent::run([] {
        return tools()->messageBox(QStringLiteral("?"), QString(), 0, QStringLiteral("Нет"), QStringLiteral("Да"));
    });
    QTRY_VERIFY_WITH_TIMEOUT(asked.isFinished(), 10000);
    QCOMPARE(asked.result(), 2);

    DialogAnswerer answerInput([](CDialogMessage* message) {
        message->findChild<CLinEdit*>()->setText(QStringLiteral("из потока"));
        message->done(1);
    });
    QString typed;
    QFuture<int> input = QtConcurrent::run([&typed] {
        return tools()->textInputBox(QStringLiteral("?"), QString(), typed, CSystemTools::NotEmptyTextInput);
    });
    QTRY_VERIFY_WITH_TIMEOUT(input.isFinished(), 10000);
    QCOMPARE(input.result(), 1);
    QCOMPARE(typed, QStringLiteral("из потока"));
}

void TestSystemTools::fileDialogs_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("candidate");
    QTest::addColumn<bool>("givenFolder");
    QTest::addColumn<QString>("expectedFilter");

    QTest::newRow("open, fullwidth parentheses")
        << int(FileDialogRequest::OpenFile) << QStringLiteral("Изображения （*.jpg *.png）") << QString() << false
        << QStringLiteral("Изображения (*.jpg *.png)");
    QTest::newRow("open files, given folder") << int(FileDialogRequest::OpenFiles) << QStringLiteral("A (*.mp3)")
                                              << QString() << true << QStringLiteral("A (*.mp3)");
    QTest::newRow("save with candidate") << int(FileDialogRequest::SaveFile) << QStringLiteral("V (*.mp4)")
                                         << QStringLiteral("show.mp4") << false << QStringLiteral("V (*.mp4)");
    QTest::newRow("save without candidate") << int(FileDialogRequest::SaveFile) << QStringLiteral("V (*.mp4)")
                                            << QString() << true << QStringLiteral("V (*.mp4)");
    QTest::newRow("folder") << int(FileDialogRequest::ExistingDirectory) << QString() << QString() << false
                            << QString();
}

void TestSystemTools::fileDialogs()
{
    QFETCH(int, kind);
    QFETCH(QString, filter);
    QFETCH(QString, candidate);
    QFETCH(bool, givenFolder);
    QFETCH(QString, expectedFilter);

    QTemporaryDir remembered;
    QTemporaryDir given;
    QTemporaryDir chosenFolder;
    CSettingsStorage* settings = UiTestEnvironment::settings();
    settings->setLastOpenFilePath(remembered.path());
    const QString chosen = chosenFolder.filePath(QStringLiteral("picked.file"));
    FileDialogRecorder recorder({chosen});
    QWidget parent;
    parent.show();
    parent.activateWindow();
    QTRY_VERIFY(parent.isActiveWindow());

    const QString folder = givenFolder ? given.path() : QString();
    QStringList result;
    switch (FileDialogRequest::Kind(kind)) {
    case FileDialogRequest::OpenFile:
        result << tools()->getOpenFileName(QStringLiteral("T"), filter, folder);
        break;
    case FileDialogRequest::OpenFiles:
        result = tools()->getOpenFileNames(QStringLiteral("T"), filter, folder);
        break;
    case FileDialogRequest::SaveFile:
        result << tools()->getSaveFileName(QStringLiteral("T"), filter, candidate, folder);
        break;
    case FileDialogRequest::ExistingDirectory:
        result << tools()->getExistingDirectory(QStringLiteral("T"), folder);
        break;
    }
    QCOMPARE(result, QStringList{chosen});
    QCOMPARE(recorder.requests.size(), 1);
    const FileDialogRequest request = recorder.requests.first();
    QCOMPARE(int(request.kind), kind);
    QCOMPARE(request.parent, &parent);
    QCOMPARE(request.title, QStringLiteral("T"));
    QCOMPARE(request.filter, expectedFilter);
    const QString start = givenFolder ? given.path() : remembered.path();
    QCOMPARE(request.startPath, candidate.isEmpty() ? start : start + QDir::separator() + candidate);
    if (kind == FileDialogRequest::ExistingDirectory)
        QCOMPARE(request.options, QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    // The folder is remembered only when none was given.
    QCOMPARE(settings->lastOpenFilePath(), givenFolder ? remembered.path() : chosenFolder.path());

    // A cancelled dialog changes nothing.
    FileDialogRecorder cancelled({});
    settings->setLastOpenFilePath(remembered.path());
    QVERIFY(tools()->getOpenFileName(QStringLiteral("T"), filter).isEmpty());
    QCOMPARE(settings->lastOpenFilePath(), remembered.path());
}

void TestSystemTools::realFileDialogAnsweredByTimer()
{
    QTemporaryDir folder;
    const QString answer = emptyFile(folder, QStringLiteral("answer.txt"));
    QVERIFY(!answer.isEmpty());
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        seen = true;
        dialog->selectFile(answer);
        static_cast<QDialog*>(dialog)->accept();
    });
    poll.start();
    NestedLoopWatchdog watchdog(20000);
    const QString chosen = tools()->getOpenFileName(QStringLiteral("Открыть"), QStringLiteral("Text (*.txt)"),
                                                    folder.path());
    QVERIFY(seen);
    QCOMPARE(QFileInfo(chosen).canonicalFilePath(), QFileInfo(answer).canonicalFilePath());
}

void TestSystemTools::showInFolder()
{
    QTemporaryDir folder;
    const QString path = emptyFile(folder, QStringLiteral("video.mp4"));
    QVERIFY(!path.isEmpty());
    UrlCatcher catcher;
    QSignalSpy opened(tools(), &CSystemTools::linkOpened);
    QSignalSpy failed(tools(), &CSystemTools::shellExecuteFailed);

    QVERIFY(!tools()->showInFolder(folder.filePath(QStringLiteral("missing.mp4"))));
    QVERIFY(!tools()->showInFolder(QString()));
    QCOMPARE(opened.count(), 0);

    // No session bus here: the file's folder opens.
    QVERIFY(tools()->showInFolder(path));
    QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(folder.path())});
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.last().at(0).toString(), path);

    // A folder opens itself.
    QVERIFY(tools()->showInFolder(folder.path()));
    QCOMPARE(catcher.urls.last(), QUrl::fromLocalFile(folder.path()));
    QCOMPARE(failed.count(), 0);

    // openUrl: a local path becomes a file URL, anything else an address.
    QVERIFY(tools()->openUrl(QStringLiteral("https://example.org/a b")));
    QCOMPARE(catcher.urls.last(), QUrl(QStringLiteral("https://example.org/a%20b")));
    QCOMPARE(opened.last().at(0).toString(), QStringLiteral("https://example.org/a b"));
}

void TestSystemTools::failingLauncherReportsAndTells()
{
    QTemporaryDir folder;
    const QString path = emptyFile(folder, QStringLiteral("video.mp4"));
    QVERIFY(!path.isEmpty());
    QStringList launched;
    CSystemTools::setShellLauncher([&launched](const QString& absolutePath) {
        launched.append(absolutePath);
        return -2;
    });
    QSignalSpy opened(tools(), &CSystemTools::linkOpened);
    QSignalSpy failed(tools(), &CSystemTools::shellExecuteFailed);
    QString shownText;
    DialogAnswerer answer([&](CDialogMessage* message) {
        shownText = message->textLabel()->text();
        message->done(1);
    });
    NestedLoopWatchdog watchdog(10000);
    const bool result = tools()->showInFolder(path);
    CSystemTools::setShellLauncher({});
    QVERIFY(!result);
    QCOMPARE(launched, QStringList{QDir::toNativeSeparators(path)});
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().at(0).toString(), path);
    QVERIFY(failed.first().at(1).toInt() <= 0);
    QCOMPARE(opened.count(), 0);
    QCOMPARE(shownText, QStringLiteral("При открытии файла «%1» произошла ошибка").arg(path));
}

void TestSystemTools::linkHtml_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("expected");

    const QString plain = QStringLiteral("<a href='https://x.org' style='color: #112233; '>Сайт</a>");
    const QString bare = QStringLiteral("<a href='https://x.org' style='color: #112233; text-decoration: none;'>Сайт</a>");
    QTest::newRow("0") << 0 << plain;
    QTest::newRow("1") << 1 << bare;
    QTest::newRow("2") << 2 << QStringLiteral("<b>%1</b>").arg(plain);
    QTest::newRow("3") << 3 << QStringLiteral("<b>%1</b>").arg(bare);
    QTest::newRow("4") << 4 << QStringLiteral("<i>%1</i>").arg(plain);
    QTest::newRow("5") << 5 << QStringLiteral("<i>%1</i>").arg(bare);
    QTest::newRow("6") << 6 << QStringLiteral("<i><b>%1</b></i>").arg(plain);
    QTest::newRow("7") << 7 << QStringLiteral("<i><b>%1</b></i>").arg(bare);
}

void TestSystemTools::linkHtml()
{
    QFETCH(int, flags);
    QFETCH(QString, expected);
    QCOMPARE(CSystemTools::linkHtml(QStringLiteral("https://x.org"), QStringLiteral("Сайт"), flags, QColor(0x112233)),
             expected);
    // An invalid colour takes the palette's link colour.
    const QString link = CSystemTools::linkHtml(QStringLiteral("https://x.org"), QStringLiteral("Сайт"), flags,
                                                QColor());
    QVERIFY(link.contains(QStringLiteral("color: %1;").arg(currentPalette()->color(18).name())));
}

void TestSystemTools::deferredMessageWaitsForModalDialog()
{
    ActiveMainWindow main;
    QTRY_VERIFY(main.window.isActiveWindow());
    int shown = 0;
    bool shownWhileModal = false;
    CDialog* modal = new CDialog(&main.window);
    int ticksWhileModal = 0;
    QTimer::singleShot(0, modal, [&] {
        tools()->startNotAnnoyingMessageTimer(QStringLiteral("Test message"), 5, [&] {
            ++shown;
            shownWhileModal = QApplication::activeModalWidget() != nullptr;
        });
        // Several intervals pass while the dialog is open; then it closes.
        auto* ticker = new QTimer(modal);
        connect(ticker, &QTimer::timeout, modal, [&, modal] {
            if (++ticksWhileModal == 10)
                modal->done(1);
        });
        ticker->start(5);
    });
    NestedLoopWatchdog watchdog(10000);
    QCOMPARE(modal->exec(), 1);
    QCOMPARE(shown, 0);
    QVERIFY(tools()->findChild<QObject*>(QStringLiteral("Test message")));
    delete modal;
    main.window.activateWindow();
    QTRY_COMPARE(shown, 1);
    QVERIFY(!shownWhileModal);
    QTRY_VERIFY(!tools()->findChild<QObject*>(QStringLiteral("Test message")));
    QCOMPARE(shown, 1);
}

void TestSystemTools::dayChange_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<qint64>("expected");

    const QTimeZone berlin("Europe/Berlin");
    if (!berlin.isValid())
        QSKIP("no time-zone data");
    const qint64 hour = 3600 * 1000;
    QTest::newRow("midday") << QDateTime(QDate(2026, 6, 10), QTime(12, 0), berlin) << 12 * hour + 60000;
    QTest::newRow("just before") << QDateTime(QDate(2026, 6, 10), QTime(23, 59, 59), berlin) << qint64(61000);
    QTest::newRow("just after 00:01") << QDateTime(QDate(2026, 6, 10), QTime(0, 1, 0), berlin) << 24 * hour;
    QTest::newRow("at midnight") << QDateTime(QDate(2026, 6, 10), QTime(0, 0), berlin) << 24 * hour + 60000;
    QTest::newRow("spring day, 23 hours") << QDateTime(QDate(2026, 3, 29), QTime(0, 1), berlin) << 23 * hour;
    QTest::newRow("autumn day, 25 hours") << QDateTime(QDate(2026, 10, 25), QTime(0, 1), berlin) << 25 * hour;
    QTest::newRow("UTC") << QDateTime(QDate(2026, 3, 29), QTime(0, 1), Qt::UTC) << 24 * hour;
}

void TestSystemTools::dayChange()
{
    QFETCH(QDateTime, now);
    QFETCH(qint64, expected);
    QCOMPARE(CSystemTools::msecsToNextDayChange(now), expected);
}

namespace {

class EnterCounter : public QWidget
{
public:
    using QWidget::QWidget;
    int enters = 0;
    int leaves = 0;

protected:
    void enterEvent(QEvent*) override { ++enters; }
    void leaveEvent(QEvent*) override { ++leaves; }
};

// A window whose child fills its middle, shown at a known place.
struct HoverWindow
{
    HoverWindow()
    {
        window.setGeometry(40, 40, 200, 120);
        child = new EnterCounter(&window);
        child->setGeometry(20, 20, 160, 80);
        window.show();
    }
    // The offscreen cursor sends the window a real mouse move.
    void moveTo(const QPoint& local)
    {
        QCursor::setPos(window.mapToGlobal(local));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    // Only the tracking hears of this move; the cursor stays.
    void trackOnly(const QPoint& local)
    {
        const QPoint global = window.mapToGlobal(local);
        QMouseEvent move(QEvent::MouseMove, local, local, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        tools()->onMouseMove(window.windowHandle(), &move);
    }
    QWidget window;
    EnterCounter* child = nullptr;
};

} // namespace

void TestSystemTools::lostHoverComesBack()
{
    HoverWindow hover;
    QVERIFY(QTest::qWaitForWindowExposed(&hover.window));
    hover.moveTo(QPoint(100, 60));
    QVERIFY(hover.child->underMouse());
    const int enters = hover.child->enters;
    QVERIFY(enters >= 1);

    // A Leave while the cursor stays inside (a popup came and went): the widget enters again.
    hover.child->setAttribute(Qt::WA_UnderMouse, false);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(hover.child, &leave);
    QTRY_VERIFY(hover.child->underMouse());
    QCOMPARE(hover.child->enters, enters + 1);

    // With the cursor outside, a Leave stays a leave.
    QCursor::setPos(hover.window.mapToGlobal(QPoint(5, 5)));
    hover.child->setAttribute(Qt::WA_UnderMouse, false);
    QCoreApplication::sendEvent(hover.child, &leave);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QVERIFY(!hover.child->underMouse());
    QCOMPARE(hover.child->enters, enters + 1);

    // Moving onto the window's own area leaves the child.
    hover.moveTo(QPoint(100, 60));
    QVERIFY(hover.child->underMouse());
    const int leaves = hover.child->leaves;
    hover.moveTo(QPoint(5, 5));
    QVERIFY(!hover.child->underMouse());
    QCOMPARE(hover.child->leaves, leaves + 1);
}

void TestSystemTools::widgetUnderCursorKeepsTrackedPosition()
{
    HoverWindow hover;
    QVERIFY(QTest::qWaitForWindowExposed(&hover.window));
    hover.moveTo(QPoint(100, 60));
    QCOMPARE(tools()->widgetUnderCursor(), hover.child);
    // The position tracking saw counts, not the cursor's.
    hover.trackOnly(QPoint(5, 5));
    QCOMPARE(tools()->widgetUnderCursor(), &hover.window);
    hover.trackOnly(QPoint(100, 60));
    QCOMPARE(tools()->widgetUnderCursor(), hover.child);
    // A window that lets the mouse through is passed over.
    QWidget glass;
    glass.setAttribute(Qt::WA_TransparentForMouseEvents);
    glass.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    glass.setGeometry(QRect(hover.window.mapToGlobal(QPoint(0, 0)), QSize(200, 120)));
    glass.show();
    QVERIFY(QTest::qWaitForWindowExposed(&glass));
    hover.trackOnly(QPoint(100, 60));
    QCOMPARE(tools()->widgetUnderCursor(), hover.child);
    glass.hide();

    // Once the pointer left the window, the cursor's own position counts until the next move.
    hover.trackOnly(QPoint(5, 5));
    QCOMPARE(tools()->widgetUnderCursor(), &hover.window);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(hover.window.windowHandle(), &leave);
    QCOMPARE(tools()->widgetUnderCursor(), hover.child);
    // So it does when the window the position was seen in is gone.
    hover.trackOnly(QPoint(5, 5));
    QWidget other;
    other.setGeometry(hover.window.geometry());
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    hover.window.hide();
    QCOMPARE(tools()->widgetUnderCursor(), &other);
}

int main(int argc, char** argv)
{
    PrivateFolders folders;
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    return runUiTest<TestSystemTools>(argc, argv);
}

#include "tst_systemtools.moc"
