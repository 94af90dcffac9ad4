#include "helper/Application.h"
#include "helper/ConvertionProgress.h"
#include "helper/GeneratorThread.h"
#include "helper/StopSignals.h"
#include "model/ProjectFile.h"
#include "crashreport/reporter/CrashReportGate.h"

#include <QCommandLineParser>
#include <QSysInfo>
#include <QUuid>

#include <iostream>
#include <memory>

extern "C" {
#include <libavutil/log.h>
}

namespace {

enum ExitCode {
    Rendered = 0,
    RequestUnreadable = -1,
    RequestNotJson = -2,
    RequestNotProject = -3,
};

const QString kRequest = QStringLiteral("request");
const QString kCache = QStringLiteral("cache");
const QString kSessionId = QStringLiteral("session_id");
const QString kReporterVersion = QStringLiteral("1.0");

void addOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Test helper"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({kRequest, QStringLiteral("Project file path"), kRequest, QString()});
    // Without it the run works in the user's cache root (AppPaths::userCacheDir).
    parser.addOption({kCache, QStringLiteral("Cache path"), kCache, QString()});
    parser.addOption({kSessionId, QStringLiteral("Session ID"), kSessionId, QUuid::createUuid().toString()});
}

int exitCodeOf(ProjectFile::LoadError error)
{
    switch (error) {
    case ProjectFile::LoadError::Unreadable:
        return RequestUnreadable;
    case ProjectFile::LoadError::NotJson:
        return RequestNotJson;
    case ProjectFile::LoadError::NotProject:
        return RequestNotProject;
    case ProjectFile::LoadError::None:
        break;
    }
    return Rendered;
}

int render(const QString& requestPath, IProgress& progress)
{
    ProjectFile::LoadError error = ProjectFile::LoadError::None;
    const std::unique_ptr<ProjectFile> project(ProjectFile::load(requestPath, &error));
    if (!project)
        return exitCodeOf(error);
    GeneratorThread job(&progress);
    job.run(project.get());
    // Standard output carries progress lines only: the reason of a failure goes to standard error.
    const QString failure = job.errorString();
    if (!failure.isEmpty())
        std::cerr << failure.toStdString() << std::endl;
    return Rendered;
}

} // namespace

// ty_helper --request <project file> [--cache <folder>] [--session_id <id>]
// Standard output carries the progress lines only; the results are the exit code and
// the output file.
int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    StopSignals::install();
    // While it is installed, the crash reporter's hooks take SIGTERM and SIGINT over.
    CrashReportGate::setUp(&app, QDateTime::currentDateTime(), kReporterVersion,
                           CrashReportGate::reporterFlag(QDate::currentDate()),
                           QString::fromLatin1(QSysInfo::machineUniqueId()));
    // Standard error carries one line, the reason why no video was made.
    av_log_set_level(AV_LOG_QUIET);

    QCommandLineParser parser;
    addOptions(parser);
    parser.process(QCoreApplication::arguments());
    app.setCacheRoot(parser.value(kCache));

    ConvertionProgress progress(parser.value(kSessionId));
    return render(parser.value(kRequest), progress);
}
