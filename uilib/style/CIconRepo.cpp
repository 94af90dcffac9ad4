#include "uilib/style/CIconRepo.h"

#include "app/CApplicaiton.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/CResourceCache.h"

#include <QFile>
#include <QPointer>

// The library's own icons under ":/uilib/"; a static library registers them itself.
static void initUilibResources()
{
    Q_INIT_RESOURCE(uilib);
}

CIconRepo::CIconRepo(QObject* parent)
    : QObject(parent), m_cache(new CResourceCache(this))
{
    initUilibResources();
    m_cache->setCacheLimit(50);
}

CIconRepo::~CIconRepo()
{
    qDeleteAll(m_icons);
    delete m_none;
}

CIconRepo* CIconRepo::instance()
{
    if (auto* app = dynamic_cast<CApplicaiton*>(QCoreApplication::instance()))
        return app->iconRepo();
    // Any other application gets one repository of its own.
    static QPointer<CIconRepo> own;
    if (!own)
        own = new CIconRepo(QCoreApplication::instance());
    return own;
}

CIcon* CIconRepo::icon(const QString& path)
{
    if (CIcon* known = m_icons.value(path))
        return known;
    if (!QFile::exists(path)) {
        if (!m_none)
            m_none = new CIconNone;
        return m_none;
    }
    CIcon* made = nullptr;
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        made = new CIconCustom(path, m_cache);
    else
        made = new CIconStandard(path, m_cache);
    m_icons.insert(path, made);
    return made;
}

CIcon* CIconRepo::iconFromUtf8(const char* path)
{
    return icon(QString::fromUtf8(path));
}

bool CIconRepo::addIcon(CIcon* icon)
{
    if (!icon || m_icons.contains(icon->path()))
        return false;
    m_icons.insert(icon->path(), icon);
    return true;
}
