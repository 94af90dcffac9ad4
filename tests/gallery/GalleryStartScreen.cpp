// The start screen: the library's splash with its texts, and the program's with its picture and
// running bar at two moments.

#include "Gallery.h"

#include "app/CApplicaiton.h"
#include "app/ProductStartScreen.h"
#include "resources/Resources.h"
#include "uilib/controls/CStartScreen.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPointer>

namespace {

QPixmap gradientPicture(const QSize& size)
{
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor(0x1d3557));
    gradient.setColorAt(1, QColor(0x457b9d));
    painter.fillRect(pixmap.rect(), gradient);
    return pixmap;
}

} // namespace

TY_GALLERY_ENTRY("start-screen")
{
    for (bool loadingAtLeft : {false, true}) {
        CStartScreen splash(QRect(), gradientPicture(QSize(480, 270)), QStringLiteral("1.1.3"), 60000, 0, 1, 3, false,
                            QPoint(), QPoint(), QColor(), QColor(0xffea00), loadingAtLeft);
        page.add(renderWidget(&splash, 1.0), loadingAtLeft ? QStringLiteral("loading-left")
                                                            : QStringLiteral("loading-right"));
    }
}

TY_GALLERY_ENTRY("start-screen-program")
{
    initSlideshowResources();
    ManualAnimationClock clock;
    auto* app = static_cast<CApplicaiton*>(QCoreApplication::instance());
    QPointer<QWidget> splash = showProductStartScreen(app, 60000, true);
    if (!splash)
        return;
    page.add(renderWidget(splash, 1.0), QStringLiteral("t0"));
    clock.advance(1000);
    page.add(renderWidget(splash, 1.0), QStringLiteral("t0.5"));
    page.add(renderWidget(splash, 2.0), QStringLiteral("t0.5"), false, 2.0);
    delete splash.data();
}
