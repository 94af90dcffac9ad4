#include "app/CSystemTools.h"

#include "app/CApplicaiton.h"
#include "uilib/style/CAnimationIcon.h"
#include "uilib/style/CResourceCache.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/WindowRegion.h"

#include <QCursor>

CSystemTools::CSystemTools(QObject* parent)
    : QObject(parent), m_style(new CStyle(this))
{
}

CSystemTools::~CSystemTools() = default;

CSystemTools* CSystemTools::instance()
{
    auto* app = dynamic_cast<CApplicaiton*>(QCoreApplication::instance());
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

CWindow::ShadowType CSystemTools::defaultShadowType() const
{
    return CWindow::DWM_API;
}
