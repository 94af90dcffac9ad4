#include "resources/Resources.h"

#include <QtGlobal>

void initSlideshowResources()
{
    Q_INIT_RESOURCE(resources);
}
