#include "support/AppTestSupport.h"

#include "model/ProjectFile.h"
#include "model/ProjectItem.h"
#include "model/SlideInterfaces.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QtGlobal>

#include <chrono>

namespace {

const char* const kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "TMPDIR"};

} // namespace

QString writeImage(const QString& path, const QSize& size, const QColor& colour, const char* format)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path, format) ? path : QString();
}

QStringList photoFiles(const ProjectFile& project)
{
    QStringList files;
    for (const ProjectItem* item : project.items()) {
        if (const auto* photo = dynamic_cast<const IFileSourceItem*>(item))
            files << photo->fileName();
    }
    return files;
}

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

FakeHelper::FakeHelper(const QString& folder)
    : m_folder(folder)
{
}

bool FakeHelper::setScript(QJsonObject script) const
{
    const QDir folder(m_folder);
    script["app"] = QCoreApplication::applicationName();
    script["record"] = folder.filePath(QStringLiteral("record.txt"));
    const QString path = folder.filePath(QStringLiteral("script.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(QJsonDocument(script).toJson()) < 0)
        return false;
    qputenv("TY_FAKE_SCRIPT", QFile::encodeName(path));
    QFile::remove(script["record"].toString());
    return true;
}

QStringList FakeHelper::recorded(const QString& key) const
{
    QFile file(QDir(m_folder).filePath(QStringLiteral("record.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList values;
    const QString prefix = key + QLatin1Char(' ');
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(prefix))
            values << line.mid(prefix.size());
    }
    return values;
}

pid_t FakeHelper::recordedPid(const QString& key) const
{
    const QStringList values = recorded(key);
    return values.isEmpty() ? 0 : pid_t(values.first().toInt());
}

namespace Processes {

namespace {

// The fields after the command name of /proc/<pid>/stat: state, parent, process group.
QList<QByteArray> statFields(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    // The command name is in parentheses and may hold blanks.
    const QByteArray text = stat.readAll();
    const int nameEnd = text.lastIndexOf(')');
    return nameEnd < 0 ? QList<QByteArray>() : text.mid(nameEnd + 2).split(' ');
}

bool isRunning(const QList<QByteArray>& fields)
{
    return fields.size() > 2 && fields[0] != "Z" && fields[0] != "X";
}

// The running processes whose stat field at that index reads value.
QList<pid_t> runningWith(int field, pid_t value)
{
    QList<pid_t> found;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const pid_t pid = pid_t(entry.toInt(&number));
        const QList<QByteArray> fields = number ? statFields(pid) : QList<QByteArray>();
        if (isRunning(fields) && fields[field].toInt() == value)
            found << pid;
    }
    return found;
}

} // namespace

bool isGone(pid_t pid)
{
    return !isRunning(statFields(pid));
}

QList<pid_t> childrenOf(pid_t parent)
{
    return runningWith(1, parent);
}

QList<pid_t> inGroup(pid_t group)
{
    return runningWith(2, group);
}

} // namespace Processes
