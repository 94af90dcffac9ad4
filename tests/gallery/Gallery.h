#pragma once

// ty_gallery writes a picture of every control in its states. Each area adds its own file
// here with entries written as
//
//   TY_GALLERY_ENTRY("button-push")
//   {
//       page.usePalette(true);                       // the dark palette; false: the base one
//       page.add(renderWidget(&button, 1.0), "hover", true);
//   }
//
// A picture is saved as <entry>[-<state>][-dark][@<ratio>].png; give a ratio only where snapping
// matters. Every picture must show something: a flat one fails the smoke test.

#include "support/UiTestSupport.h"

#include <QImage>
#include <QList>
#include <QWidget>
#include <QString>

struct GalleryShot
{
    QString state;
    bool dark = false;
    double ratio = 0.0;
    QImage image;

    QString fileName(const QString& entry) const;
};

class GalleryPage
{
public:
    void add(const QImage& image, const QString& state = QString(), bool dark = false, double ratio = 0.0);
    // Makes the base or the dark palette current, restyling every live widget.
    void usePalette(bool dark);
    const QList<GalleryShot>& shots() const { return m_shots; }

private:
    QList<GalleryShot> m_shots;
};

// Lets posted events, layouts and deferred showing run.
void settleGallery();
// Shows the window and waits until it is exposed; false, with a warning, when it is not.
bool showExposed(QWidget* window);
// The windows drawn where they stand on the screen, the first below the others, on gray; the
// first window on `background` where it has none of its own (a page shown without its window).
QImage compositeWindows(const QList<QWidget*>& windows, const QColor& background = Qt::transparent);
// Makes the application's TyStyle (dark) or its light Style current, registering both once.
void useAppStyle(bool dark);

using GalleryFunction = void (*)(GalleryPage& page);

struct GalleryEntry
{
    QString name;
    GalleryFunction function;
};

// Entries sorted by name.
QList<GalleryEntry> galleryEntries();

struct GalleryRegistrar
{
    GalleryRegistrar(const char* name, GalleryFunction function);
};

#define TY_GALLERY_CONCAT2(a, b) a##b
#define TY_GALLERY_CONCAT(a, b) TY_GALLERY_CONCAT2(a, b)
#define TY_GALLERY_ENTRY(name)                                                                          \
    static void TY_GALLERY_CONCAT(galleryEntry, __LINE__)(GalleryPage & page);                          \
    static const GalleryRegistrar TY_GALLERY_CONCAT(galleryRegistrar, __LINE__)(                        \
        name, TY_GALLERY_CONCAT(galleryEntry, __LINE__));                                               \
    static void TY_GALLERY_CONCAT(galleryEntry, __LINE__)(GalleryPage & page)
