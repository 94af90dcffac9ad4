#include "app/Composer.h"

#include "model/AppPaths.h"
#include "platform/GroupProcess.h"
#include "platform/RegistryKey.h"
#include "platform/SessionKey.h"
#include "platform/ToolPaths.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kError = QStringLiteral("ERR_GENERATOR");
constexpr int kKillDelayMs = 300;
constexpr int kStartWaitMs = 30000;
// How long the end of a killed helper is waited for.
constexpr int kEndWaitMs = 5000;

} // namespace

Composer::FileStamp Composer::FileStamp::of(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return {};
    return {true, info.size(), info.lastModified()};
}

bool Composer::FileStamp::operator==(const FileStamp& other) const
{
    return exists == other.exists && size == other.size && modified == other.modified;
}

Composer::Composer(QObject* parent)
    : QObject(parent)
    , m_killTimer(this)
{
    m_killTimer.setSingleShot(true);
    m_killTimer.setInterval(kKillDelayMs);
    connect(&m_killTimer, &QTimer::timeout, this, &Composer::endAfterCancel);
}

Composer::~Composer()
{
    endProcess();
    AppPaths::removeDirRecursively(sessionCacheDir());
    RegistryKey(SessionKey::sessions()).remove();
}

void Composer::setOutputFile(const QString& file)
{
    m_outputFile = file;
}

bool Composer::isRunning() const
{
    return m_process && m_process->state() == QProcess::Running;
}

QString Composer::sessionCacheDir() const
{
    return QDir::toNativeSeparators(AppPaths::tempCacheDir() + QLatin1Char('/') + m_sessionId);
}

void Composer::run(QString requestFile)
{
    if (isRunning())
        return;
    m_killTimer.stop();
    if (!m_sessionId.isEmpty())
        RegistryKey(m_sessionKey).remove();
    AppPaths::removeDirRecursively(sessionCacheDir());
    m_canceled = false;
    m_progress.clear();
    m_sessionId = createUniqueToken();
    m_sessionKey = SessionKey::of(m_sessionId);
    m_outputBefore = FileStamp::of(m_outputFile);

    endProcess();
    m_process = std::make_unique<GroupProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setReadChannel(QProcess::StandardOutput);
    connect(m_process.get(), &QProcess::errorOccurred, this, &Composer::onError);
    connect(m_process.get(), QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &Composer::onFinished);
    connect(m_process.get(), &QProcess::started, this, &Composer::onStarted);
    connect(m_process.get(), &QProcess::readyRead, this, &Composer::onReadRead);
    m_process->start(ToolPaths::helper(),
                     {QStringLiteral("--request"), requestFile, QStringLiteral("--cache"), sessionCacheDir(),
                      QStringLiteral("--session_id"), m_sessionId},
                     QIODevice::ReadWrite);
    m_process->waitForStarted(kStartWaitMs);
}

void Composer::cancel()
{
    if (!isRunning())
        return;
    m_canceled = true;
    RegistryKey(m_sessionKey).setIntValue(SessionKey::isCanceled, 1);
    m_killTimer.start();
}

void Composer::abort()
{
    if (!isRunning())
        return;
    m_canceled = true;
    m_killTimer.stop();
    endAfterCancel();
    m_process->waitForFinished(kEndWaitMs);
}

void Composer::pause()
{
    setPaused(true);
}

void Composer::resume()
{
    setPaused(false);
}

void Composer::setPaused(bool paused)
{
    if (!isRunning())
        return;
    RegistryKey(m_sessionKey).setIntValue(SessionKey::isPaused, paused ? 1 : 0);
}

// A helper that did not stop on its own is ended with all it started.
void Composer::endAfterCancel()
{
    if (m_process)
        m_process->killGroup();
    AppPaths::removeDirRecursively(sessionCacheDir());
}

// The helper of the last run goes; one still running is ended with its group first.
void Composer::endProcess()
{
    if (!m_process)
        return;
    m_process->disconnect(this);
    if (m_process->killGroup())
        m_process->waitForFinished(kEndWaitMs);
    m_process.reset();
}

void Composer::onFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    if (m_canceled) {
        emit canceled();
        return;
    }
    // The helper also ends with 0 when its render failed: an output file left as it was
    // before the run is no result.
    const FileStamp output = FileStamp::of(m_outputFile);
    if (exitStatus == QProcess::NormalExit && exitCode == 0 && output.exists && !(output == m_outputBefore))
        emit finished(m_outputFile);
    else
        emit failed(kError);
}

void Composer::onStarted()
{
    emit started();
}

void Composer::onError(QProcess::ProcessError error)
{
    // A helper that never started sends no end of its own.
    if (error == QProcess::FailedToStart)
        emit failed(kError);
}

void Composer::onReadRead()
{
    if (const auto read = m_progress.read(m_process->readAll()))
        emit progress(read->percent, read->remainingMs);
}
