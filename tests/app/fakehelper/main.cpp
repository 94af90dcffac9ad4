// A stand-in for the render helper, and, linked as "ffmpeg", for a converter. It does what the
// JSON script named by TY_FAKE_SCRIPT says:
//   "app"          application name, under which the session values are read
//   "record"       file that receives "argument <a>" lines, "pid", "group" and "grandchild"
//                  lines and "canceled" once the session's cancel value is seen
//   "chunks"       texts written in turn to standard output, or to standard error with
//                  "stderr": true, "gapMs" apart
//   "grandchild"   starts "sleep 60" in its own process group
//   "waitCancel"   after the chunks, polls the session until it is canceled
//   "ignoreCancel" goes on polling after that, until killed (at most a minute)
//   "output"       file written (with "content") just before the end
//   "exitCode"     the exit status
#include "platform/RegistryKey.h"
#include "platform/SessionKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr int kPollMs = 20;
constexpr int kLongestRunMs = 60000;

class Record
{
public:
    explicit Record(const QString& path) : m_file(path) { m_file.open(QIODevice::WriteOnly | QIODevice::Append); }

    void add(const QString& key, const QString& value = QString())
    {
        m_file.write((key + QLatin1Char(' ') + value + QLatin1Char('\n')).toUtf8());
        m_file.flush();
    }

private:
    QFile m_file;
};

QJsonObject readScript()
{
    QFile file(qEnvironmentVariable("TY_FAKE_SCRIPT"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QString optionValue(const QStringList& arguments, const QString& option)
{
    const int at = arguments.indexOf(option);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : QString();
}

void writeChunks(const QJsonObject& script)
{
    FILE* out = script.value("stderr").toBool() ? stderr : stdout;
    const QJsonArray chunks = script.value("chunks").toArray();
    for (int i = 0; i < chunks.size(); ++i) {
        if (i > 0)
            QThread::msleep(script.value("gapMs").toInt());
        const QByteArray text = chunks[i].toString().toUtf8();
        fwrite(text.constData(), 1, size_t(text.size()), out);
        fflush(out);
    }
}

void waitForCancel(const QJsonObject& script, const RegistryKey& session, Record& record)
{
    QElapsedTimer running;
    running.start();
    bool seen = false;
    while (running.elapsed() < kLongestRunMs) {
        if (!seen && session.intValue(SessionKey::isCanceled) == 1) {
            seen = true;
            record.add("canceled");
            if (!script.value("ignoreCancel").toBool())
                return;
        }
        QThread::msleep(kPollMs);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QJsonObject script = readScript();
    QCoreApplication::setApplicationName(script.value("app").toString());
    const QStringList arguments = QCoreApplication::arguments().mid(1);

    Record record(script.value("record").toString());
    for (const QString& argument : arguments)
        record.add("argument", argument);
    record.add("pid", QString::number(getpid()));
    record.add("group", QString::number(getpgrp()));
    // The session folder, as the helper makes it.
    const QString cache = optionValue(arguments, "--cache");
    if (!cache.isEmpty())
        QDir().mkpath(cache + "/work");

    QProcess grandchild;
    if (script.value("grandchild").toBool()) {
        grandchild.start("sleep", {"60"});
        grandchild.waitForStarted();
        record.add("grandchild", QString::number(grandchild.processId()));
    }

    writeChunks(script);
    if (script.value("waitCancel").toBool())
        waitForCancel(script, RegistryKey(SessionKey::of(optionValue(arguments, "--session_id"))), record);

    const QString output = script.value("output").toString();
    if (!output.isEmpty()) {
        QFile file(output);
        if (file.open(QIODevice::WriteOnly))
            file.write(script.value("content").toString().toUtf8());
    }
    return script.value("exitCode").toInt();
}
