#include "platform/FileTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QFileInfoList entriesOf(const QString& path)
{
    return QDir(path).entryInfoList(QDir::Files | QDir::AllDirs | QDir::Hidden | QDir::System
                                        | QDir::NoDotAndDotDot,
                                    QDir::DirsFirst);
}

} // namespace

namespace FileTree {

bool remove(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return QFile::remove(path);
    if (!info.exists())
        return true;
    if (!info.isDir())
        return QFile::remove(path);
    for (const QFileInfo& entry : entriesOf(path)) {
        if (!remove(entry.absoluteFilePath()))
            return false;
    }
    return QDir().rmdir(path);
}

void clear(const QString& path, const QString& keep)
{
    if (QFileInfo(path).isSymLink())
        return;
    for (const QFileInfo& entry : entriesOf(path)) {
        if (keep.isEmpty() || entry.fileName() != keep)
            remove(entry.absoluteFilePath());
    }
}

} // namespace FileTree
