#include <QtTest>

#include "app/hooks/QtFunctionHook.h"
#include "support/QtTargets.h"
#include "support/UiTestSupport.h"
#include "uilib/style/QtDetours.h"
#include "uilib/style/TextOptionFilter.h"

#include <QLabel>
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

} // namespace

void TestQtHooks::installation()
{
    // Installed by the application object's constructor; a second call changes nothing.
    const bool expected = qtHooksAllowed();
    QCOMPARE(hookQWindowGeometry(), expected);
    QCOMPARE(hookQTextDocumentSetDefaultTextOption(), expected);
    for (const QtTarget& target : qtTargets()) {
        const QByteArray original = fileBytes(target.address(), 16);
        QVERIFY2(!original.isEmpty(), target.name);
        const bool installed = expected
            && (qstrcmp(target.name, "QWindow::geometry") == 0
                || qstrcmp(target.name, "QTextDocument::setDefaultTextOption") == 0);
        if (installed) {
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

TY_UI_TEST_MAIN(TestQtHooks)
#include "tst_qthooks.moc"
