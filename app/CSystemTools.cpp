#include "app/CSystemTools.h"

#include "app/CApplicaiton.h"
#include "app/CSettingsStorage.h"
#include "uilib/controls/CStartScreen.h"
#include "uilib/style/CAnimationIcon.h"
#include "uilib/style/CResourceCache.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/WindowRegion.h"

#include <QCursor>

namespace {

CApplicaiton* application()
{
    return dynamic_cast<CApplicaiton*>(QCoreApplication::instance());
}

} // namespace

CSystemTools::CSystemTools(QObject* parent)
    : QObject(parent), m_style(new CStyle(this))
{
}

CSystemTools::~CSystemTools()
{
    delete m_mainWindow.data();
}

CSystemTools* CSystemTools::instance()
{
    CApplicaiton* app = application();
    return app ? app->systemTools() : nullptr;
}

CStyle* CSystemTools::style() const
{
    return m_style;
}

CResourceCache* CSystemTools::resourceCache()
{
    if (!m_resourceCache) {
        m_resourceCache = new CResourceCache(this);
        m_resourceCache->setCacheLimit(50);
    }
    return m_resourceCache;
}

QWidget* CSystemTools::widgetUnderCursor() const
{
    return regionAwareWidgetAt(QCursor::pos());
}

void CSystemTools::setupStyle()
{
    CAnimationIcon::registerStandardIcons();
}

CWindow* CSystemTools::mainWindow() const
{
    return m_mainWindow;
}

void CSystemTools::setMainWindow(CWindow* window)
{
    m_mainWindow = window;
}

void CSystemTools::createMainWindowOnce()
{
    if (m_mainWindow)
        return;
    CWindow* window = createMainWindow();
    m_mainWindow = window;
    CApplicaiton* app = application();
    if (window) {
        if (app) {
            // A second start of the program asks this one to come forward.
            connect(app, &CSingleApplication::messageReceived, window,
                    [window] { window->showWindow(CWindow::NoChange); });
        }
        m_firstShown = connect(window, &CWidgetBase::showed, this, &CSystemTools::onMainWindowFirstShown,
                               Qt::QueuedConnection);
        auto* startScreen = app ? qobject_cast<CStartScreen*>(app->startScreen()) : nullptr;
        if (startScreen)
            startScreen->finishWith(window);
        else
            window->showWindow(CWindow::NoChange);
    }
    emit mainWindowCreated(window);
}

CWindow* CSystemTools::createMainWindow()
{
    return nullptr;
}

void CSystemTools::onMainWindowFirstShown()
{
    // A second showing may have been queued before the first one disconnected.
    if (!disconnect(m_firstShown))
        return;
    CApplicaiton* app = application();
    if (app && app->isStartScreenVisible())
        app->startScreen()->hide();
    CSettingsStorage* settings = app ? app->settings() : nullptr;
    if (settings && settings->showFirstStartWizard()) {
        settings->setShowFirstStartWizard(false);
        emit mainWindowShowedFirstTimeEver();
    }
    emit mainWindowShowedFirstTimeInCurrentSession();
}

CWindow::ShadowType CSystemTools::defaultShadowType() const
{
    return CWindow::DWM_API;
}
