#include "helper/ToolRun.h"

#include <QProcess>

int ToolRun::run(const QString& program, const QStringList& arguments, const QString& folder,
                 int limitMs, QByteArray* errors)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    if (!errors)
        process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted())
        return -1;
    const bool finished = process.waitForFinished(limitMs);
    if (errors)
        *errors = process.readAllStandardError();
    if (!finished) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
