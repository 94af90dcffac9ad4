#include "support/AppTestSupport.h"

#include <QDir>
#include <QFile>
#include <QtGlobal>

#include <chrono>

namespace {

const char* const kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "TMPDIR"};

} // namespace

PrivateFolders::PrivateFolders(const QString& root)
{
    if (root.isEmpty()) {
        m_temporary = std::make_unique<QTemporaryDir>();
        if (!m_temporary->isValid())
            return;
        m_root = m_temporary->path();
    } else {
        m_root = QDir(root).absolutePath();
    }
    for (const char* variable : kVariables) {
        const QString path = folder(variable);
        if (!QDir().mkpath(path))
            return;
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_saved.append({variable, qgetenv(variable)});
        qputenv(variable, path.toUtf8());
    }
    m_valid = true;
}

PrivateFolders::~PrivateFolders()
{
    for (const auto& [variable, value] : m_saved)
        qputenv(variable, value);
}

HangWatchdog::HangWatchdog(int timeoutMs, const char* what)
    : m_thread([this, timeoutMs, what] {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_done.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_disarmed; }))
            qFatal("%s: still blocked after %d ms", what, timeoutMs);
    })
{
}

HangWatchdog::~HangWatchdog()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_disarmed = true;
    }
    m_done.notify_one();
    m_thread.join();
}

namespace Processes {

bool isGone(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    // The state follows the command name, which is in parentheses.
    const QByteArray text = stat.readAll();
    const int close = text.lastIndexOf(')');
    const char state = close >= 0 && close + 2 < text.size() ? text[close + 2] : 'X';
    return state == 'Z' || state == 'X';
}

} // namespace Processes
