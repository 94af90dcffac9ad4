#include "HelperProcess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>

#include <csignal>
#include <sys/resource.h>

namespace {

const QRegularExpression& progressPattern()
{
    static const QRegularExpression pattern("^value: (\\d+), total: (-?\\d+), remtime:(-?\\d+)$");
    return pattern;
}

} // namespace

HelperProcess::HelperProcess(qint64 fileSizeLimit)
    : m_fileSizeLimit(fileSizeLimit)
{
    setProcessChannelMode(QProcess::SeparateChannels);
    setStandardInputFile(QProcess::nullDevice());
}

HelperProcess::~HelperProcess()
{
    if (state() == QProcess::NotRunning)
        return;
    kill();
    waitForFinished();
}

QString HelperProcess::program()
{
    return QStringLiteral(TY_BIN_DIR "/ty_helper");
}

void HelperProcess::start(const QStringList& arguments)
{
    QProcess::start(program(), arguments, QIODevice::ReadOnly);
}

void HelperProcess::setupChildProcess()
{
    if (m_addressSpaceLimit > 0) {
        const rlimit limit{rlim_t(m_addressSpaceLimit), rlim_t(m_addressSpaceLimit)};
        setrlimit(RLIMIT_AS, &limit);
    }
    if (m_fileSizeLimit < 0)
        return;
    // A write past the limit then fails with EFBIG instead of ending the process.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{rlim_t(m_fileSizeLimit), rlim_t(m_fileSizeLimit)};
    setrlimit(RLIMIT_FSIZE, &limit);
}

bool HelperProcess::waitForLines(int count, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (readLines(), m_lines.size() < count) {
        if (state() == QProcess::NotRunning || timer.elapsed() > timeoutMs)
            return false;
        waitForReadyRead(50);
    }
    return true;
}

int HelperProcess::finish(int timeoutMs)
{
    const bool ended = waitForFinished(timeoutMs);
    readLines();
    if (!m_pending.isEmpty())
        m_lines << m_pending; // an unfinished last line still counts as output
    m_pending.clear();
    if (!ended) {
        kill();
        waitForFinished();
        return -1;
    }
    return exitStatus() == QProcess::NormalExit ? exitCode() : -1;
}

QByteArrayList HelperProcess::lines()
{
    // Takes in what waits in the pipe, not only what was read before.
    while (state() == QProcess::Running && waitForReadyRead(10)) {
    }
    readLines();
    return m_lines;
}

void HelperProcess::readLines()
{
    m_pending += readAllStandardOutput();
    int end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        m_lines << m_pending.left(end);
        m_pending.remove(0, end + 1);
    }
}

bool HelperProcess::isProgressLine(const QByteArray& line)
{
    return progressPattern().match(QString::fromLatin1(line)).hasMatch();
}

qint64 HelperProcess::totalOf(const QByteArray& line)
{
    return progressPattern().match(QString::fromLatin1(line)).captured(2).toLongLong();
}

QByteArrayList HelperProcess::errorLines()
{
    QByteArrayList lines = readAllStandardError().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

int HelperProcess::run(const QStringList& arguments, QByteArrayList* lines, qint64 fileSizeLimit,
                       QByteArrayList* errorLines)
{
    HelperProcess process(fileSizeLimit);
    process.start(arguments);
    const int code = process.finish();
    if (lines)
        *lines = process.lines();
    if (errorLines)
        *errorLines = process.errorLines();
    return code;
}

bool writeRequest(const QString& path, const QJsonObject& document)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(document).toJson()) > 0;
}
