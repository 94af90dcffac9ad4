#include <QtTest>

#include "platform/SingleInstanceChannel.h"

#include <QSysInfo>
#include <QProcess>
#include <QtConcurrent>

#include <unistd.h>

namespace {

const QString kId = QStringLiteral("ty_channel_test");

QString runtimeName()
{
    return kId + QLatin1Char('-') + QString::number(::getuid());
}

// Sends from a worker thread while this thread's event loop lets the primary answer.
bool sendFromWorker(SingleInstanceChannel& channel, const QString& message, int timeoutMs)
{
    QFuture<bool> sent = QtConcurrent::run([&] { return channel.sendMessage(message, timeoutMs); });
    return QTest::qWaitFor([&] { return sent.isFinished(); }, timeoutMs + 10000) && sent.result();
}

} // namespace

class TestSingleInstanceChannel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void folderChoice_data();
    void folderChoice();
    void noRoleBeforeTheQuestion();
    void secondInstanceDeliversMessages_data();
    void secondInstanceDeliversMessages();
    void withoutPrimaryTheMessageFails();
    void lockOfDeadProcessIsTakenOver();
    void otherFolderIsIndependent();

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QByteArray m_savedRuntime;
    QByteArray m_savedTemp;
};

void TestSingleInstanceChannel::init()
{
    m_root.reset(new QTemporaryDir);
    QVERIFY(m_root->isValid());
    m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    m_savedTemp = qgetenv("TMPDIR");
    QDir(m_root->path()).mkpath(QStringLiteral("runtime"));
    QDir(m_root->path()).mkpath(QStringLiteral("tmp"));
    QFile::setPermissions(m_root->filePath(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", m_root->filePath(QStringLiteral("runtime")).toUtf8());
    qputenv("TMPDIR", m_root->filePath(QStringLiteral("tmp")).toUtf8());
}

void TestSingleInstanceChannel::cleanup()
{
    qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
    qputenv("TMPDIR", m_savedTemp);
    m_root.reset();
}

void TestSingleInstanceChannel::folderChoice_data()
{
    QTest::addColumn<QString>("runtime"); // relative to the test root; "-" unsets the variable
    QTest::addColumn<bool>("usesRuntime");
    QTest::newRow("runtime folder") << "runtime" << true;
    QTest::newRow("unset") << "-" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("missing") << "gone" << false;
    QTest::newRow("too long for a socket") << "runtime/" + QString(90, 'x') << false;
}

void TestSingleInstanceChannel::folderChoice()
{
    QFETCH(QString, runtime);
    QFETCH(bool, usesRuntime);
    const QString runtimePath = m_root->filePath(runtime);
    if (runtime == QLatin1String("-"))
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", runtime.isEmpty() ? QByteArray() : runtimePath.toUtf8());
    if (runtime.startsWith(QLatin1String("runtime/")))
        QVERIFY(QDir().mkpath(runtimePath));

    SingleInstanceChannel channel(kId);
    const QString fallback = m_root->filePath(QStringLiteral("tmp/ty-%1").arg(::getuid()));
    QCOMPARE(channel.folder(), usesRuntime ? runtimePath : fallback);
    QCOMPARE(channel.socketPath(), channel.folder() + "/" + runtimeName() + ".socket");
    QVERIFY(channel.socketPath().toLocal8Bit().size() < 108);
    if (!usesRuntime)
        QCOMPARE(QFileInfo(fallback).permissions() & 0x0077, QFile::Permissions());
    QVERIFY(!channel.isRunning());
    QVERIFY(QFileInfo::exists(channel.socketPath()));
}

void TestSingleInstanceChannel::noRoleBeforeTheQuestion()
{
    SingleInstanceChannel channel(kId);
    QVERIFY(QDir(channel.folder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).isEmpty());
}

void TestSingleInstanceChannel::secondInstanceDeliversMessages_data()
{
    QTest::addColumn<QString>("message");
    QTest::newRow("wake up") << "Wake up!";
    QTest::newRow("empty") << "";
    QTest::newRow("not ASCII") << QString::fromUtf8("Проснись ✓");
    QTest::newRow("long") << QString(100000, 'w');
}

void TestSingleInstanceChannel::secondInstanceDeliversMessages()
{
    QFETCH(QString, message);
    SingleInstanceChannel primary(kId);
    QVERIFY(!primary.isRunning());
    QSignalSpy received(&primary, &SingleInstanceChannel::messageReceived);

    SingleInstanceChannel second(kId);
    QVERIFY(second.isRunning());
    QVERIFY(second.isRunning());
    QVERIFY(sendFromWorker(second, message, 5000));
    QCOMPARE(received.count(), 1);
    QCOMPARE(received.at(0).at(0).toString(), message);
    // The primary goes on answering.
    QVERIFY(sendFromWorker(second, message, 5000));
    QCOMPARE(received.count(), 2);
}

void TestSingleInstanceChannel::withoutPrimaryTheMessageFails()
{
    SingleInstanceChannel lone(kId);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!lone.sendMessage(QStringLiteral("Wake up!"), 300));
    // It kept trying until its time-out.
    QVERIFY(timer.elapsed() >= 250);
}

void TestSingleInstanceChannel::lockOfDeadProcessIsTakenOver()
{
    QProcess gone;
    gone.start(QStringLiteral("true"), QStringList());
    QVERIFY(gone.waitForStarted());
    const qint64 pid = gone.processId();
    QVERIFY(gone.waitForFinished());

    SingleInstanceChannel channel(kId);
    QFile lock(channel.folder() + "/" + runtimeName() + ".lock");
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QStringLiteral("%1\nty_slideshow\n%2\n").arg(pid).arg(QSysInfo::machineHostName()).toUtf8());
    lock.close();
    // A socket file left behind by the dead primary.
    QFile socket(channel.socketPath());
    QVERIFY(socket.open(QIODevice::WriteOnly));
    socket.close();

    QVERIFY(!channel.isRunning());
    SingleInstanceChannel second(kId);
    QVERIFY(second.isRunning());
    QVERIFY(sendFromWorker(second, QStringLiteral("Wake up!"), 5000));
}

void TestSingleInstanceChannel::otherFolderIsIndependent()
{
    SingleInstanceChannel first(kId);
    QVERIFY(!first.isRunning());
    const QString other = m_root->filePath(QStringLiteral("other"));
    QVERIFY(QDir().mkpath(other));
    qputenv("XDG_RUNTIME_DIR", other.toUtf8());
    SingleInstanceChannel elsewhere(kId);
    QVERIFY(!elsewhere.isRunning());
    SingleInstanceChannel otherId(kId + QStringLiteral("_other"));
    QVERIFY(!otherId.isRunning());
}

QTEST_GUILESS_MAIN(TestSingleInstanceChannel)
#include "tst_singleinstancechannel.moc"
