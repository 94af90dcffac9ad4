#include "model/ProjectItemSimple.h"

// The photo slide's picture and its caches.

QImage ProjectItemSimple::renderImage(int, int, bool, bool, bool)
{
    return QImage();
}

void ProjectItemSimple::clearCaches()
{
    m_enlarged = QImage();
    m_blurred = QImage();
    m_cachedSize = QSize();
    m_still = QImage();
}
