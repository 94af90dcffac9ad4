#include "app/CApplicaiton.h"

#include "app/CSettingsStorage.h"
#include "app/CSystemTools.h"
#include "platform/FontStandIns.h"
#include "uilib/controls/CStartScreen.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/QtDetours.h"

#include <QDir>
#include <QFont>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <QtConcurrent>
#include <QtNetwork/qtnetworkglobal.h>
#if QT_CONFIG(ssl)
#include <QSslConfiguration>
#endif

#include <cmath>

namespace {

const QString kSingleInstanceId = QStringLiteral("ty_slideshow");

bool isMouseMove(const QEvent* event)
{
    return event->type() == QEvent::MouseMove || event->type() == QEvent::NonClientAreaMouseMove;
}

// The screen at the remembered index, else the primary one; null without any screen.
QScreen* startScreenScreen(const CSettingsStorage* settings)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    const int index = settings ? settings->lastScreen() : -1;
    if (index >= 0 && index < screens.size())
        return screens.at(index);
    return QGuiApplication::primaryScreen();
}

} // namespace

struct CApplicaiton::Private
{
    Qt::HANDLE guiThread = nullptr;
    QPointer<CSettingsStorage> settings;
    bool firstRun = true;
    QPointer<CIconRepo> iconRepo;
    QPointer<CSystemTools> systemTools;
    QPointer<QWidget> startScreen;
    // While the service is being made; what its style holder triggers then finds no service yet.
    bool makingSystemTools = false;
    QString productName;
    QString givenVersion;
};

CApplicaiton::CApplicaiton(int& argc, char** argv)
    : CSingleApplication(argc, argv, kSingleInstanceId), d(new Private)
{
    setAttribute(Qt::AA_DontCreateNativeWidgetSiblings, true);
    setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    d->guiThread = QThread::currentThreadId();
    FontStandIns::install();
    connect(this, &QCoreApplication::aboutToQuit, this, [this] { onAboutToQuit(); });
    // Once per process, on the GUI thread, before any widget shows.
    installWidgetAtHook();
    hookQWindowGeometry();
    hookQTextDocumentSetDefaultTextOption();
    hookQLabelSetText();
}

CApplicaiton::~CApplicaiton()
{
    if (d->settings)
        d->settings->save();
    // A widget may not outlive the application.
    delete d->startScreen.data();
    delete d->systemTools.data();
}

bool CApplicaiton::isGuiThread() const
{
    return QThread::currentThreadId() == d->guiThread;
}

void CApplicaiton::setSettings(CSettingsStorage* settings)
{
    d->settings = settings;
}

CSettingsStorage* CApplicaiton::settings() const
{
    return d->settings;
}

void CApplicaiton::setFirstRun(bool firstRun)
{
    d->firstRun = firstRun;
}

bool CApplicaiton::isFirstRun() const
{
    return d->firstRun;
}

void CApplicaiton::setProductName(const QString& name)
{
    d->productName = name;
}

void CApplicaiton::setVersion(const QString& version)
{
    d->givenVersion = version;
    const QString product = d->productName.isEmpty() ? applicationName() : d->productName;
    const QSettings key(organizationName(), product);
    setApplicationVersion(key.value(QStringLiteral("CurrentVersion"), version).toString());
}

QString CApplicaiton::givenVersion() const
{
    return d->givenVersion;
}

QString CApplicaiton::configFilePath(const QString& name)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QLatin1Char('/') + applicationName();
    if (!QDir(folder).exists())
        QDir().mkpath(folder);
    return QDir::toNativeSeparators(name.isEmpty() ? folder : folder + QLatin1Char('/') + name);
}

CSystemTools* CApplicaiton::systemTools()
{
    if (d->systemTools || d->makingSystemTools)
        return d->systemTools;
    d->makingSystemTools = true;
    d->systemTools = createSystemTools();
    d->makingSystemTools = false;
    d->systemTools->setParent(this);
    d->systemTools->setupStyle();
    return d->systemTools;
}

CIconRepo* CApplicaiton::iconRepo()
{
    if (!d->iconRepo)
        d->iconRepo = new CIconRepo(this);
    return d->iconRepo;
}

QWidget* CApplicaiton::showStartScreen(const QString& iconName, int minimumTime, int tickInterval, int firstDots,
                                       int maxDots, const QString& fontFamily, int fontPixelSize, bool handOver,
                                       QPoint versionOffset, QPoint loadingOffset, QColor versionColor,
                                       QColor loadingColor, bool loadingAtLeft)
{
    QScreen* screen = startScreenScreen(d->settings);
    if (!screen)
        return nullptr;
    const QPixmap picture = iconRepo()->icon(iconName)->pixmap(screen->devicePixelRatio(), QSize(), QColor(),
                                                               CIcon::Normal);
    auto* splash = new CStartScreen(screen->geometry(), picture, applicationVersion(), minimumTime, tickInterval,
                                    firstDots, maxDots, handOver, versionOffset, loadingOffset, versionColor,
                                    loadingColor, loadingAtLeft);
    d->startScreen = splash;
    QFont font(fontFamily);
    font.setPixelSize(fontPixelSize);
    splash->setFont(font);
    connect(splash, &QObject::destroyed, this, [this] { onStartScreenDestroyed(); });
    splash->show();
    return splash;
}

QWidget* CApplicaiton::startScreen() const
{
    return d->startScreen;
}

bool CApplicaiton::isStartScreenVisible() const
{
    return d->startScreen && d->startScreen->isVisible();
}

void CApplicaiton::warmUpTls()
{
    const QFuture<void> task = QtConcurrent::run([] {
#if QT_CONFIG(ssl)
        QSslConfiguration::defaultConfiguration();
#endif
    });
    while (!task.isFinished())
        processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool CApplicaiton::init()
{
    return true;
}

bool CApplicaiton::notify(QObject* receiver, QEvent* event)
{
    if (receiver && receiver->isWindowType() && event->type() == QEvent::Leave && d->systemTools)
        d->systemTools->onCursorLeftWindow();
    if (!receiver || !receiver->isWindowType() || !isMouseMove(event))
        return QApplication::notify(receiver, event);
    // Widgets see whole pixels, also under fractional scaling.
    auto* incoming = static_cast<QMouseEvent*>(event);
    const QPointF local(std::floor(incoming->localPos().x()), std::floor(incoming->localPos().y()));
    QMouseEvent rounded(incoming->type(), local, incoming->windowPos(), incoming->screenPos(),
                        incoming->button(), incoming->buttons(), incoming->modifiers(),
                        incoming->source());
    rounded.setTimestamp(incoming->timestamp());
    const QPointer<QObject> window(receiver);
    const bool delivered = QApplication::notify(receiver, &rounded);
    incoming->setAccepted(rounded.isAccepted());
    if (window && d->systemTools)
        d->systemTools->onMouseMove(window, &rounded);
    return delivered;
}

CSystemTools* CApplicaiton::createSystemTools()
{
    return new CSystemTools(this);
}

void CApplicaiton::onAboutToQuit()
{
}

void CApplicaiton::onStartScreenDestroyed()
{
}
