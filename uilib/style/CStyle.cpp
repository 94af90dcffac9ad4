#include "uilib/style/CStyle.h"

#include "app/CApplicaiton.h"
#include "app/CSettingsStorage.h"
#include "app/CSystemTools.h"
#include "uilib/style/CDrawable.h"
#include "uilib/style/CProxyStyle.h"
#include "uilib/style/Cpalette.h"
#include "uilib/style/LibUtils.h"

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QScroller>
#include <QScrollerProperties>

struct CStyle::Private
{
    QList<Cpalette*> palettes;
    QPointer<Cpalette> current;
    QList<CDrawable*> drawables;
};

CStyle::CStyle(QObject* parent)
    : QObject(parent), d(new Private)
{
    QApplication::setStyle(new CProxyStyle(QApplication::style()));
    QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
    QApplication::setEffectEnabled(Qt::UI_AnimateTooltip, false);
    QApplication::setEffectEnabled(Qt::UI_FadeTooltip, true);

    qRegisterMetaType<QScrollerProperties::OvershootPolicy>("QScrollerProperties::OvershootPolicy");
    QScrollerProperties properties;
    const QVariant off = QVariant::fromValue(QScrollerProperties::OvershootAlwaysOff);
    properties.setScrollMetric(QScrollerProperties::HorizontalOvershootPolicy, off);
    properties.setScrollMetric(QScrollerProperties::VerticalOvershootPolicy, off);
    QScrollerProperties::setDefaultScrollerProperties(properties);
}

CStyle::~CStyle() = default;

Cpalette* CStyle::currentPalette()
{
    if (!d->current)
        d->current = new Cpalette(this);
    return d->current;
}

void CStyle::registerPalette(Cpalette* palette)
{
    d->palettes.append(palette);
}

void CStyle::registerDrawable(CDrawable* drawable)
{
    d->drawables.append(drawable);
}

void CStyle::unregisterDrawable(CDrawable* drawable)
{
    d->drawables.removeOne(drawable);
}

bool CStyle::setCurrentStyle(const QString& name)
{
    Cpalette* palette = nullptr;
    for (Cpalette* candidate : qAsConst(d->palettes)) {
        if (candidate->name() == name) {
            palette = candidate;
            break;
        }
    }
    if (!palette)
        return false;
    if (palette == d->current)
        return true;

    auto* app = dynamic_cast<CApplicaiton*>(QCoreApplication::instance());
    if (CSettingsStorage* settings = app ? app->settings() : nullptr)
        settings->setLastStyleId(name);
    d->current = palette;
    QApplication::setFont(makeFont(palette->metric(35), QFont::Normal, QStringLiteral("Tahoma")));

    // A drawable that ends while others restyle leaves the live list and is skipped.
    const QList<CDrawable*> drawables = d->drawables;
    for (CDrawable* drawable : drawables) {
        if (d->drawables.contains(drawable))
            drawable->applyStyle();
    }
    return true;
}

Cpalette* currentPalette()
{
    CSystemTools* tools = CSystemTools::instance();
    if (CStyle* style = tools ? tools->style() : nullptr)
        return style->currentPalette();
    static QPointer<Cpalette> fallback;
    if (!fallback)
        fallback = new Cpalette(QCoreApplication::instance());
    return fallback;
}
