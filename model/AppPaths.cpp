#include "model/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUuid>

#include <cmath>

namespace {

QString appConfigDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + QCoreApplication::applicationName();
}

QFileInfoList entriesOf(const QString& path)
{
    return QDir(path).entryInfoList(QDir::Files | QDir::AllDirs | QDir::Hidden | QDir::System
                                        | QDir::NoDotAndDotDot,
                                    QDir::DirsFirst);
}

// Removes one entry of a folder; a symbolic link goes as a link, never through it.
bool removeEntry(const QFileInfo& entry)
{
    if (entry.isDir() && !entry.isSymLink())
        return AppPaths::removeDirRecursively(entry.absoluteFilePath());
    return QFile::remove(entry.absoluteFilePath());
}

} // namespace

namespace AppPaths {

QString tempCacheDir()
{
    const QString root = QDir::tempPath() + QStringLiteral("/.") + QCoreApplication::applicationName();
    const QString cache = root + QStringLiteral("/cache");
    QDir().mkpath(root);
    QDir().mkpath(cache);
    return cache;
}

QString userCacheDir()
{
    return appConfigDir() + QStringLiteral("/cache");
}

QString latestDir()
{
    const QString app = QFileInfo(appConfigDir()).absoluteFilePath();
    const QString latest = QStringLiteral("%1/latest").arg(app);
    QDir().mkpath(app);
    QDir().mkpath(latest);
    return QDir::toNativeSeparators(QFileInfo(latest).absoluteFilePath());
}

QString latestProjectFile()
{
    const QString dir = latestDir();
    const QStringList files = QDir(dir).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Unsorted);
    if (files.isEmpty())
        return QString();
    return QStringLiteral("%1/%2").arg(dir, files.first());
}

void clearDir(const QString& path)
{
    // A link named as the folder is not entered.
    if (QFileInfo(path).isSymLink())
        return;
    for (const QFileInfo& entry : entriesOf(path))
        removeEntry(entry);
}

bool removeDirRecursively(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return QFile::remove(path);
    if (!info.exists())
        return true;
    for (const QFileInfo& entry : entriesOf(path)) {
        if (!removeEntry(entry))
            return false;
    }
    return QDir().rmdir(path);
}

} // namespace AppPaths

QString createUniqueToken()
{
    static const QRegularExpression notAllowed(QStringLiteral("[^a-zA-Z\\d\\s]"));
    return QUuid::createUuid().toString().remove(notAllowed);
}

QString msecsToSecondsText(int ms)
{
    const double s = ms / 1000.0;
    if (std::floor(s) == s)
        return QString::number(s, 'g', 6);
    return QString::asprintf("%.1f", s);
}
