#include "app/SlideshowMain.h"

#include "app/Application.h"
#include "app/SettingsProvider.h"
#include "app/StartupEnvironment.h"
#include "app/audio/WavConversion.h"
#include "crashreport/reporter/CrashReportGate.h"
#include "resources/Resources.h"

#include <QDateTime>

#include <cstdlib>
#include <ctime>

namespace {
const QString kApplicationName = QStringLiteral("Kestrova Slideshow Maker");
const QString kVersion = QStringLiteral("1.1.3");
const QString kDownloadPage = QStringLiteral("https://kestrovasoft.com/slideshow-maker/download.html");
const QString kProductId = QStringLiteral("95");
const QString kWakeUp = QStringLiteral("Wake up!");
constexpr int kWakeUpTimeoutMs = 5000;
constexpr int kStartScreenMs = 2000;
} // namespace

QString slideshowApplicationName()
{
    return kApplicationName;
}

int runSlideshow(int& argc, char** argv, const std::function<void(Application&)>& beforeLoop)
{
    StartupEnvironment::chooseQtPlatform();
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    std::srand(unsigned(std::time(nullptr)));

    Application app(argc, argv);
    if (app.isRunning())
        return app.sendMessage(kWakeUp, kWakeUpTimeoutMs) ? 0 : 1;

    QCoreApplication::setApplicationName(kApplicationName);
    app.setProductName(kApplicationName);
    QCoreApplication::setOrganizationName(QStringLiteral("KestrovaSoft"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("kestrovasoft.com"));
    app.setVersion(kVersion);
    initSlideshowResources();

    app.setSettings(new SettingsProvider(CApplicaiton::configFilePath(QStringLiteral("settings.ini")),
                                         QSettings::IniFormat, &app));
    CrashReportGate::setUp(&app, QDateTime::currentDateTime(), kVersion, true,
                           StartupEnvironment::machineId());
    app.showStartScreen(kStartScreenMs, true);

    if (!app.init())
        return 1;
    app.setupUpdateChecker(StartupEnvironment::machineId(), kProductId, kDownloadPage, kDownloadPage);
    if (beforeLoop)
        beforeLoop(app);
    const int code = QApplication::exec();
    cleanupWavTempDir();
    return code;
}
