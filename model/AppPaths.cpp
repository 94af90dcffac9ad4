#include "model/AppPaths.h"

#include "platform/FileTree.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUuid>

#include <cmath>
#include <unistd.h>

namespace {

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

QString appConfigDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + QCoreApplication::applicationName();
}

} // namespace

namespace AppPaths {

QString tempCacheDir()
{
    // The temporary folder is shared between users: the root is the user's own and closed to others.
    const QString root = QDir::tempPath() + QStringLiteral("/.") + QCoreApplication::applicationName()
        + QLatin1Char('-') + QString::number(::getuid());
    const QString cache = root + QStringLiteral("/cache");
    for (const QString& folder : {root, cache}) {
        QDir().mkpath(folder);
        QFile::setPermissions(folder, kOwnerOnly);
    }
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

void clearDir(const QString& path, const QString& keep)
{
    FileTree::clear(path, keep);
}

bool removeDirRecursively(const QString& path)
{
    return FileTree::remove(path);
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
