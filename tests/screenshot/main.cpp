// ty_screenshot: ty_slideshow's whole start-up, offscreen, in a profile of its own in which the
// given project waits in the autosave folder and the update check is off; once the project page
// shows the project's rows with their thumbnails, the main window is written to a PNG file and
// its path printed.
//   ty_screenshot --project <file> --profile <folder> --out <file.png> [--timeout <seconds>]
// Exit status 0 once written; 2 for bad arguments or a project that cannot be put in place,
// 3 when the page is not shown in time, 1 for any other failure.
#include "WindowShot.h"

#include "support/AppTestSupport.h"
#include "support/ScratchProfile.h"

#include "app/Application.h"
#include "app/SlideshowMain.h"

#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>

namespace {

constexpr int kDefaultTimeoutSeconds = 60;
constexpr int kBlockedGraceMs = 30000;

// The profile with the update check off and the project in its autosave folder; the reason
// when that fails.
QString prepare(const ScratchProfile& profile, const QString& project)
{
    if (!profile.isValid())
        return QStringLiteral("the profile folder %1 cannot be made").arg(profile.root());
    if (!profile.turnOffUpdateCheck())
        return QStringLiteral("the settings in %1 cannot be written").arg(profile.root());
    QString error;
    profile.putLatestProject(project, &error);
    return error;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    const QCommandLineOption project(QStringLiteral("project"), QString(), QStringLiteral("file"));
    const QCommandLineOption profile(QStringLiteral("profile"), QString(), QStringLiteral("folder"));
    const QCommandLineOption out(QStringLiteral("out"), QString(), QStringLiteral("file"));
    const QCommandLineOption timeout(QStringLiteral("timeout"), QString(), QStringLiteral("seconds"),
                                     QString::number(kDefaultTimeoutSeconds));
    parser.addOptions({project, profile, out, timeout});
    bool seconds = false;
    const int timeoutSeconds = parser.parse(arguments) ? parser.value(timeout).toInt(&seconds) : 0;
    if (!seconds || timeoutSeconds < 0 || !parser.positionalArguments().isEmpty() || !parser.isSet(project)
        || !parser.isSet(profile) || !parser.isSet(out)) {
        std::fprintf(stderr, "usage: ty_screenshot --project <file> --profile <folder> --out <file.png> "
                             "[--timeout <seconds>]\n");
        return 2;
    }

    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Pixel for pixel, as on a 96 dpi screen: the offscreen screen's 100 dpi would scale by 1.04.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    const ScratchProfile scratch(parser.value(profile));
    const QString error = prepare(scratch, parser.value(project));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "ty_screenshot: %s\n", qPrintable(error));
        return 2;
    }

    // The time-out runs on the event loop; a program that blocks it is ended from a thread.
    const int timeoutMs = timeoutSeconds * 1000;
    const HangWatchdog blocked(timeoutMs + kBlockedGraceMs, "ty_screenshot: the program");
    // The program gets no arguments of its own.
    int programArgc = 1;
    return runSlideshow(programArgc, argv, [&](Application& app) {
        new WindowShot(parser.value(out), timeoutMs, &app);
    });
}
