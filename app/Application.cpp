#include "app/Application.h"

#include "app/CSystemTools.h"
#include "app/HistoryModel.h"
#include "app/ProductStartScreen.h"
#include "app/ProductUpdateChecker.h"
#include "app/SettingsProvider.h"
#include "app/ThubnailProvider.h"
#include "app/Ui.h"
#include "model/AppPaths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>
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
    if (m_thumbnailProvider)
        m_thumbnailProvider->stop();
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

ProductUpdateChecker* Application::updateChecker() const
{
    return m_updateChecker;
}

void Application::setupUpdateChecker(const QString& machineId, const QString& productId,
                                     const QString& newFeaturesUrl, const QString& downloadUrl, int delayMs,
                                     int timeoutMs, int noticeIntervalMs)
{
    m_webAddress = downloadUrl;
    m_updateChecker = new ProductUpdateChecker(machineId, productId, newFeaturesUrl, downloadUrl, this);
    if (auto* provider = qobject_cast<SettingsProvider*>(settings()))
        m_updateChecker->setServiceUrl(provider->updateServiceUrl());
    connect(m_updateChecker, &ProductUpdateChecker::newVersionAvalible, this,
            [this, noticeIntervalMs](const QString& version, const QString& news, const QString& download) {
                onNewVersion(version, news, download, noticeIntervalMs);
            },
            Qt::DirectConnection);
    if (CSettingsStorage* storage = settings()) {
        connect(storage, &CSettingsStorage::updateCheckerEnabledChanged, this,
                [this, timeoutMs](bool enabled) {
                    if (!enabled)
                        return;
                    m_updateRequested = false;
                    if (CSettingsStorage* storage = settings())
                        storage->setUpdateCheckerShowedVersion(QString());
                    requestUpdateOnce(timeoutMs);
                },
                Qt::DirectConnection);
    }
    QTimer::singleShot(delayMs, this, [this, timeoutMs] { requestUpdateOnce(timeoutMs); });
}

void Application::requestUpdateOnce(int timeoutMs)
{
    CSettingsStorage* storage = settings();
    if (!m_updateChecker || !storage || !storage->updateCheckerEnabled() || m_updateRequested)
        return;
    m_updateRequested = true;
    m_updateChecker->request(timeoutMs);
}

void Application::onNewVersion(const QString& newVersion, const QString& newFeaturesUrl,
                               const QString& downloadUrl, int noticeIntervalMs)
{
    const QPointer<CSettingsStorage> storage = settings();
    const QString shown = storage ? storage->updateCheckerShowedVersion() : QString();
    emit updateAvailable();
    CSystemTools* tools = CSystemTools::instance();
    if (shown == newVersion || !tools)
        return;
    tools->startNotAnnoyingMessageTimer(
        QStringLiteral("Update message"), noticeIntervalMs, [storage, newVersion, newFeaturesUrl, downloadUrl] {
            if (storage)
                storage->setUpdateCheckerShowedVersion(newVersion);
            if (CSystemTools* tools = CSystemTools::instance())
                tools->showUpdateAvailable(newVersion, newFeaturesUrl, downloadUrl);
        });
}
