#include "Gallery.h"

#include "app/CSystemTools.h"
#include "uilib/style/CStyle.h"

#include <QCoreApplication>
#include <QPainter>
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

void settleGallery()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

bool showExposed(QWidget* window)
{
    window->show();
    if (QTest::qWaitForWindowExposed(window))
        return true;
    qWarning("%s was not exposed", window->metaObject()->className());
    return false;
}

QImage compositeWindows(const QList<QWidget*>& windows, const QColor& background)
{
    settleGallery();
    QRect area;
    for (QWidget* window : windows)
        area |= window->geometry();
    QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0x888888));
    QPainter painter(&image);
    for (QWidget* window : windows) {
        const QColor under = window == windows.first() ? background : QColor(Qt::transparent);
        painter.drawImage(window->geometry().topLeft() - area.topLeft(), renderWidget(window, 1.0, under));
    }
    return image;
}

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
