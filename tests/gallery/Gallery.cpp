#include "Gallery.h"

#include "app/CSystemTools.h"
#include "uilib/style/CStyle.h"

#include <QPointer>

#include <algorithm>

namespace {

QList<GalleryEntry>& registry()
{
    static QList<GalleryEntry> entries;
    return entries;
}

QString baseStyleName()
{
    static QPointer<Cpalette> base;
    if (!base) {
        CStyle* style = CSystemTools::instance()->style();
        base = new Cpalette(style);
        style->registerPalette(base);
    }
    return base->name();
}

} // namespace

QString GalleryShot::fileName(const QString& entry) const
{
    QString name = entry;
    if (!state.isEmpty())
        name += QLatin1Char('-') + state;
    if (dark)
        name += QStringLiteral("-dark");
    if (ratio > 0)
        name += QLatin1Char('@') + QString::number(ratio);
    return name + QStringLiteral(".png");
}

void GalleryPage::add(const QImage& image, const QString& state, bool dark, double ratio)
{
    m_shots.append(GalleryShot{state, dark, ratio, image});
}

void GalleryPage::usePalette(bool dark)
{
    const QString name = dark ? registerDarkTestPalette()->name() : baseStyleName();
    CSystemTools::instance()->style()->setCurrentStyle(name);
}

QList<GalleryEntry> galleryEntries()
{
    QList<GalleryEntry> entries = registry();
    std::sort(entries.begin(), entries.end(),
              [](const GalleryEntry& a, const GalleryEntry& b) { return a.name < b.name; });
    return entries;
}

GalleryRegistrar::GalleryRegistrar(const char* name, GalleryFunction function)
{
    registry().append(GalleryEntry{QString::fromUtf8(name), function});
}
