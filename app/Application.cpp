#include "app/Application.h"

#include "app/CSystemTools.h"
#include "app/HistoryModel.h"
#include "app/ProductStartScreen.h"
#include "app/ThubnailProvider.h"
#include "app/Ui.h"
#include "model/AppPaths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QUuid>

namespace {

constexpr int kStartScreenPumpMs = 33;

qint64 steadyClock()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

// The process-wide start-up timer, started once the start screen is built.
struct StartScreenEventTimer
{
    Application::Clock clock = steadyClock;
    qint64 startedAt = 0;

    void restart() { startedAt = clock(); }
    qint64 elapsed() const { return clock() - startedAt; }
};

StartScreenEventTimer& startScreenEventTimer()
{
    static StartScreenEventTimer timer;
    return timer;
}

} // namespace

Application::Application(int& argc, char** argv)
    : CApplicaiton(argc, argv)
{
}

Application::~Application()
{
    delete m_historyModel;
    m_historyModel = nullptr;
    if (m_thumbnailProvider) {
        m_thumbnailProvider->requestInterruption();
        m_thumbnailProvider->wait();
    }
    if (!m_tempFolder.isEmpty())
        AppPaths::removeDirRecursively(m_tempFolder);
}

bool Application::init()
{
    warmUpTls();
    processStartScreenEvents();
    m_thumbnailProvider = new ThubnailProvider(this);
    m_thumbnailProvider->start(QThread::InheritPriority);
    processStartScreenEvents();
    m_historyModel = new HistoryModel(this);
    CSystemTools::instance()->createMainWindowOnce();
    return true;
}

QWidget* Application::showStartScreen(int minimumTime, bool handOver)
{
    QWidget* splash = showProductStartScreen(this, minimumTime, handOver);
    if (splash)
        startScreenEventTimer().restart();
    return splash;
}

void Application::processStartScreenEvents()
{
    StartScreenEventTimer& timer = startScreenEventTimer();
    if (!isStartScreenVisible() || timer.elapsed() <= kStartScreenPumpMs)
        return;
    processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    timer.restart();
}

void Application::setStartScreenClock(Clock clock)
{
    startScreenEventTimer().clock = clock ? std::move(clock) : Clock(steadyClock);
    startScreenEventTimer().restart();
}

CSystemTools* Application::createSystemTools()
{
    return new Ui(this);
}

HistoryModel* Application::historyModel() const
{
    return m_historyModel;
}

QString Application::tempFolder()
{
    if (m_tempFolder.isEmpty()) {
        const QString path = AppPaths::userCacheDir() + QLatin1Char('/') + QUuid::createUuid().toString();
        m_tempFolder = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    }
    if (!QDir(m_tempFolder).exists())
        QDir().mkpath(m_tempFolder);
    return m_tempFolder;
}

QString Application::webAddress() const
{
    return m_webAddress;
}
