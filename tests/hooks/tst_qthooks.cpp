#include <QtTest>

#include "app/hooks/QtFunctionHook.h"
#include "support/QtTargets.h"
#include "support/UiTestSupport.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/QtDetours.h"
#include "uilib/style/TextOptionFilter.h"
#include "uilib/style/WindowRegion.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTextDocument>
#include <QTextOption>
#include <QThread>

// The hooks the application object installs, and their behaviour in the whole process.
class TestQtHooks : public QObject
{
    Q_OBJECT

private slots:
    void installation();
    void textOptionFilterWidensWrapping();
    void workerThreadDocumentKeepsItsOption();
    void textChangedOncePerRealChange_data();
    void textChangedOncePerRealChange();
    void otherLabelsNeverEmit();
    void widgetAtPassesOverTransparentAndMaskedWindows();
};

namespace {

class WrapAnywhere : public Glob::ITextOptionCallback
{
public:
    void adjustTextOption(QTextOption& option) override
    {
        ++calls;
        option.setWrapMode(QTextOption::WrapAnywhere);
    }
    int calls = 0;
};

const QString longWord = "<b>" + QString(80, 'w') + "</b>";

QLabel* richLabel(QLabel* label)
{
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setText(longWord);
    return label;
}

QTextOption wordWrap()
{
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    return option;
}

// The ways a label's text is set.
enum class Way { WidgetText, Label, SetNum, StringConnection };

// Sends a text to the slot it is connected to by name.
class TextSource : public QObject
{
    Q_OBJECT
signals:
    void picked(const QString& text);
};

void setThrough(Way way, CWidgetText* label, TextSource* source, int number)
{
    const QString text = QString::number(number);
    switch (way) {
    case Way::WidgetText: label->setText(text); return;
    case Way::Label: static_cast<QLabel*>(label)->setText(text); return;
    case Way::SetNum: label->setNum(number); return;
    case Way::StringConnection: emit source->picked(text); return;
    }
}

// A label of its own with a signal of the same name.
class OtherLabel : public QLabel
{
    Q_OBJECT
signals:
    void textChanged();
};

// Two windows over the same area; the one above is shown last.
struct StackedWindows
{
    StackedWindows()
        : child(new QWidget(&below))
    {
        below.setGeometry(100, 100, 200, 200);
        child->setGeometry(0, 0, 200, 200);
        above.setGeometry(100, 100, 200, 200);
        below.show();
        above.show();
    }
    QWidget below;
    QWidget* child;
    QWidget above;
};

} // namespace

Q_DECLARE_METATYPE(Way)

void TestQtHooks::installation()
{
    // Installed by the application object's constructor; a second call changes nothing.
    const bool expected = qtHooksAllowed();
    QCOMPARE(hookQWindowGeometry(), expected);
    QCOMPARE(hookQTextDocumentSetDefaultTextOption(), expected);
    QCOMPARE(installWidgetAtHook(), expected);
    QCOMPARE(hookQLabelSetText(), expected);
    QCOMPARE(isQLabelSetTextHooked(), expected);
    for (const QtTarget& target : qtTargets()) {
        const QByteArray original = fileBytes(target.address(), 16);
        QVERIFY2(!original.isEmpty(), target.name);
        if (expected) {
            QCOMPARE(memoryBytes(target.address(), 1), QByteArray("\xe9"));
            QCOMPARE(memoryBytes(target.address(), 16).mid(5), original.mid(5));
        } else {
            QCOMPARE(memoryBytes(target.address(), 16), original);
        }
    }
}

void TestQtHooks::textOptionFilterWidensWrapping()
{
    if (!hookQTextDocumentSetDefaultTextOption())
        QSKIP("hooks are not installed");
    WrapAnywhere filter;
    QLabel plain;
    richLabel(&plain);
    auto* filtered = new QLabel;
    registerTextOptionFilter(filtered, &filter);
    richLabel(filtered);
    const int width = QFontMetrics(plain.font()).horizontalAdvance(QString(20, 'w'));
    QVERIFY(filtered->heightForWidth(width) > plain.heightForWidth(width));
    QVERIFY(filter.calls > 0);

    const int calls = filter.calls;
    delete filtered;
    QLabel later;
    richLabel(&later);
    QCOMPARE(later.heightForWidth(width), plain.heightForWidth(width));
    QCOMPARE(filter.calls, calls);
}

void TestQtHooks::workerThreadDocumentKeepsItsOption()
{
    if (!hookQTextDocumentSetDefaultTextOption())
        QSKIP("hooks are not installed");
    WrapAnywhere filter;
    auto* owner = new QObject;
    auto* document = new QTextDocument(owner);
    registerTextOptionFilter(owner, &filter);
    document->setDefaultTextOption(wordWrap());
    QCOMPARE(document->defaultTextOption().wrapMode(), QTextOption::WrapAnywhere);
    QCOMPARE(filter.calls, 1);

    QThread* gui = QThread::currentThread();
    QTextOption::WrapMode onWorker = QTextOption::NoWrap;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        document->setDefaultTextOption(wordWrap());
        onWorker = document->defaultTextOption().wrapMode();
        owner->moveToThread(gui);
    }));
    owner->moveToThread(worker.get());
    worker->start();
    QVERIFY(worker->wait(30000));
    QCOMPARE(onWorker, QTextOption::WordWrap);
    QCOMPARE(filter.calls, 1);
    delete owner;
}

void TestQtHooks::textChangedOncePerRealChange_data()
{
    QTest::addColumn<Way>("way");
    QTest::newRow("CWidgetText::setText") << Way::WidgetText;
    QTest::newRow("QLabel::setText") << Way::Label;
    QTest::newRow("setNum") << Way::SetNum;
    QTest::newRow("string-based connection") << Way::StringConnection;
}

void TestQtHooks::textChangedOncePerRealChange()
{
    QFETCH(Way, way);
    // Without the hook only the label's own setText sees a change.
    const bool seen = way == Way::WidgetText || isQLabelSetTextHooked();
    CWidgetText label;
    TextSource source;
    QVERIFY(QObject::connect(&source, SIGNAL(picked(QString)), &label, SLOT(setText(QString))));
    QSignalSpy spy(&label, &CWidgetText::textChanged);
    const int numbers[] = {1, 1, 2, 2, 1};
    const int emitted[] = {1, 1, 2, 2, 3};
    for (int i = 0; i < 5; ++i) {
        setThrough(way, &label, &source, numbers[i]);
        QCOMPARE(label.text(), QString::number(numbers[i]));
        QCOMPARE(spy.size(), seen ? emitted[i] : 0);
    }
}

void TestQtHooks::otherLabelsNeverEmit()
{
    OtherLabel label;
    QSignalSpy spy(&label, &OtherLabel::textChanged);
    label.setText("one");
    label.setNum(2);
    QCOMPARE(label.text(), QString("2"));
    QCOMPARE(spy.size(), 0);
}

void TestQtHooks::widgetAtPassesOverTransparentAndMaskedWindows()
{
    if (!installWidgetAtHook())
        QSKIP("hooks are not installed");
    StackedWindows windows;
    QVERIFY(QTest::qWaitForWindowExposed(&windows.below));
    QVERIFY(QTest::qWaitForWindowExposed(&windows.above));
    const QPoint point(150, 150);

    windows.above.setAttribute(Qt::WA_TransparentForMouseEvents);
    QCOMPARE(QApplication::widgetAt(point), windows.child);
    QCOMPARE(QApplication::widgetAt(point.x(), point.y()), windows.child);
    windows.above.setAttribute(Qt::WA_TransparentForMouseEvents, false);
    windows.above.setMask(QRegion(0, 0, 10, 10));
    QCOMPARE(QApplication::widgetAt(point), windows.child);
    QCOMPARE(QApplication::widgetAt(QPoint(50, 50)), nullptr);
}

TY_UI_TEST_MAIN(TestQtHooks)
#include "tst_qthooks.moc"
