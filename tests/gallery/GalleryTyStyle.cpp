#include "GalleryTyStyle.h"

#include "app/CSystemTools.h"
#include "pages/TyStyle.h"
#include "resources/Resources.h"
#include "uilib/style/CStyle.h"

void useTyStyle()
{
    static TyStyle* style = nullptr;
    if (!style) {
        initSlideshowResources();
        style = new TyStyle(CSystemTools::instance()->style());
        CSystemTools::instance()->style()->registerPalette(style);
    }
    CSystemTools::instance()->style()->setCurrentStyle(style->name());
}
