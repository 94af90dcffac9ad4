#include "platform/RegistryKey.h"

#include "platform/FileTree.h"
#include "platform/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

namespace {

const QString kRoot = QStringLiteral("HKEY_CURRENT_USER\\Software\\");
const QString kGeneral = QStringLiteral("[General]");
const QString kSuffix = QStringLiteral(".conf");
// How long a write waits for another process that is writing the same key.
constexpr int kLockWaitMs = 5000;

bool isUsableComponent(const QString& part)
{
    return !part.isEmpty() && part != QLatin1String(".") && part != QLatin1String("..")
        && !part.contains(QLatin1Char('/')) && !part.contains(QChar(0));
}

// Names are left as they are by QSettings' INI escaping.
bool isUsableName(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_]+$"));
    return plain.match(name).hasMatch();
}

QString fileOfKey(const QString& path)
{
    if (!path.startsWith(kRoot))
        return QString();
    const QStringList parts = path.mid(kRoot.size()).split(QLatin1Char('\\'));
    for (const QString& part : parts) {
        if (!isUsableComponent(part))
            return QString();
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + parts.join(QLatin1Char('/')) + kSuffix;
}

// The file's lines; none when it is missing, empty or unreadable.
QStringList readLines(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(in.readAll());
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char('\n'));
}

// Where a top-level value lives: before any section or in "[General]".
struct ValueSlot
{
    int line = -1;   // the line holding the value
    int header = -1; // the "[General]" line
};

ValueSlot locate(const QStringList& lines, const QString& name)
{
    ValueSlot slot;
    bool topLevel = true;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            topLevel = line == kGeneral;
            if (topLevel && slot.header < 0)
                slot.header = i;
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (topLevel && eq > 0 && line.leftRef(eq).trimmed() == name) {
            slot.line = i;
            return slot;
        }
    }
    return slot;
}

void putValue(QStringList& lines, const QString& name, qint64 value)
{
    const QString entry = name + QLatin1Char('=') + QString::number(value);
    const ValueSlot slot = locate(lines, name);
    if (slot.line >= 0)
        lines[slot.line] = entry;
    else if (slot.header >= 0)
        lines.insert(slot.header + 1, entry);
    else
        lines = QStringList{kGeneral, entry, QString()} + lines;
}

bool writeLines(const QString& file, const QStringList& lines)
{
    return WholeFile::write(file, lines.join(QLatin1Char('\n')).toUtf8());
}

} // namespace

RegistryKey::RegistryKey(const QString& path)
    : m_file(fileOfKey(path))
{
}

qint64 RegistryKey::intValue(const QString& name) const
{
    if (!isValid())
        return 0;
    const QStringList lines = readLines(m_file);
    const int at = locate(lines, name).line;
    if (at < 0)
        return 0;
    const QString line = lines[at];
    bool ok = false;
    const qint64 value = line.midRef(line.indexOf(QLatin1Char('=')) + 1).trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

bool RegistryKey::setIntValue(const QString& name, qint64 value)
{
    if (!isValid() || !isUsableName(name))
        return false;
    if (!QDir().mkpath(QFileInfo(m_file).absolutePath()))
        return false;
    QLockFile lock(m_file + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs))
        return false;
    QStringList lines = readLines(m_file);
    putValue(lines, name, value);
    return writeLines(m_file, lines);
}

bool RegistryKey::remove()
{
    if (!isValid())
        return false;
    const bool fileGone = FileTree::remove(m_file);
    const bool folderGone = FileTree::remove(m_file.chopped(kSuffix.size()));
    return fileGone && folderGone;
}
