#include "app/CApplicaiton.h"

#include "app/CSettingsStorage.h"
#include "app/CSystemTools.h"
#include "uilib/style/CIconRepo.h"
#include "uilib/style/QtDetours.h"

#include <QPointer>

struct CApplicaiton::Private
{
    QPointer<CSettingsStorage> settings;
    QPointer<CSystemTools> systemTools;
    QPointer<CIconRepo> iconRepo;
    // While the service is being made; what its style holder triggers then finds no service yet.
    bool makingSystemTools = false;
};

CApplicaiton::CApplicaiton(int& argc, char** argv)
    : QApplication(argc, argv), d(new Private)
{
    setAttribute(Qt::AA_DontCreateNativeWidgetSiblings, true);
    setAttribute(Qt::AA_UseHighDpiPixmaps, true);
    // Once per process, on the GUI thread, before any widget shows.
    installWidgetAtHook();
    hookQWindowGeometry();
    hookQTextDocumentSetDefaultTextOption();
    hookQLabelSetText();
}

CApplicaiton::~CApplicaiton()
{
    delete d->systemTools.data();
}

void CApplicaiton::setSettings(CSettingsStorage* settings)
{
    d->settings = settings;
}

CSettingsStorage* CApplicaiton::settings() const
{
    return d->settings;
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

CSystemTools* CApplicaiton::createSystemTools()
{
    return new CSystemTools(this);
}
