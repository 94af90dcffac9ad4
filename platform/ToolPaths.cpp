#include "platform/ToolPaths.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace {

QString& helperOverride()
{
    static QString path;
    return path;
}

QString findBesideProgram(const QString& name)
{
    return ToolPaths::find(name, QCoreApplication::applicationDirPath());
}

} // namespace

namespace ToolPaths {

QString helper()
{
    if (!helperOverride().isEmpty())
        return helperOverride();
    return findBesideProgram(QStringLiteral("ty_helper"));
}

void setHelper(const QString& path)
{
    helperOverride() = path;
}

QString convert()
{
    return findBesideProgram(QStringLiteral("ty_convert"));
}

QString ffmpeg()
{
    return findBesideProgram(QStringLiteral("ffmpeg"));
}

QString find(const QString& name, const QString& programDir)
{
    // An empty folder entry would make the search look in "/".
    if (!programDir.isEmpty()) {
        const QString beside = QStandardPaths::findExecutable(name, {programDir});
        if (!beside.isEmpty())
            return beside;
    }
    return QStandardPaths::findExecutable(name);
}

} // namespace ToolPaths
