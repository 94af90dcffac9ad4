// ty_endtoend_driver: ty_slideshow's whole run with a scripted user playing it from just before
// the event loop. Run it beside ty_helper and ty_convert, in a profile of its own:
//   ty_endtoend_driver --run 1 --photos <folder> --music <file> --report <file.json>
//   ty_endtoend_driver --run 2 --report <file.json>
// Exit status 0 when every check held, 1 when one failed; a step that hangs aborts the run.

#include "ScriptedUser.h"

#include "app/Application.h"
#include "app/SlideshowMain.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

ScriptedUser* s_user = nullptr;

// Watches the application from its construction on, before the start screen shows.
void watchApplication()
{
    if (s_user)
        QCoreApplication::instance()->installEventFilter(s_user);
}

bool readOptions(int argc, char** argv, DriverOptions& options)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const QString value = QString::fromLocal8Bit(argv[i + 1]);
        if (std::strcmp(argv[i], "--run") == 0)
            options.run = value.toInt();
        else if (std::strcmp(argv[i], "--photos") == 0)
            options.photosFolder = value;
        else if (std::strcmp(argv[i], "--music") == 0)
            options.musicFile = value;
        else if (std::strcmp(argv[i], "--report") == 0)
            options.reportFile = value;
        else
            return false;
    }
    const bool firstRunHasFiles = options.run != 1 || (!options.photosFolder.isEmpty() && !options.musicFile.isEmpty());
    return (options.run == 1 || options.run == 2) && firstRunHasFiles && !options.reportFile.isEmpty();
}

} // namespace

int main(int argc, char** argv)
{
    DriverOptions options;
    if (!readOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s --run 1|2 [--photos <folder> --music <file>] --report <file.json>\n", argv[0]);
        return 2;
    }
    ScriptedUser user(options);
    s_user = &user;
    qAddPreRoutine(watchApplication);
    user.installAnswers();
    // The program sees no options of the driver.
    int programArgc = 1;
    const int code = runSlideshow(programArgc, argv, [&user](Application& app) { user.start(app); });
    s_user = nullptr;
    return user.failed() ? 1 : code;
}
