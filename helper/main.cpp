#include "helper/Application.h"
#include "helper/ConvertionProgress.h"
#include "helper/GeneratorThread.h"
#include "model/ProjectFile.h"

#include <QCommandLineParser>
#include <QFile>
#include <QJsonDocument>
#include <QUuid>

#include <memory>

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

void addOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Test helper"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({kRequest, QStringLiteral("Project file path"), kRequest, QString()});
    parser.addOption({kCache, QStringLiteral("Cache path"), kCache, QCoreApplication::applicationDirPath()});
    parser.addOption({kSessionId, QStringLiteral("Session ID"), kSessionId, QUuid::createUuid().toString()});
}

// Reads the request file into a project; null with the exit code set on failure.
std::unique_ptr<ProjectFile> loadRequest(const QString& path, int& code)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        code = RequestUnreadable;
        return nullptr;
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    file.close();
    if (document.isEmpty()) {
        code = RequestNotJson;
        return nullptr;
    }
    std::unique_ptr<ProjectFile> project(ProjectFile::fromJson(document.object()));
    code = project ? Rendered : RequestNotProject;
    return project;
}

int render(const QString& requestPath, IProgress& progress)
{
    int code = Rendered;
    const std::unique_ptr<ProjectFile> project = loadRequest(requestPath, code);
    if (!project)
        return code;
    GeneratorThread job(&progress);
    job.run(project.get());
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

    QCommandLineParser parser;
    addOptions(parser);
    parser.process(QCoreApplication::arguments());
    app.setCacheRoot(parser.value(kCache));

    ConvertionProgress progress(parser.value(kSessionId));
    return render(parser.value(kRequest), progress);
}
