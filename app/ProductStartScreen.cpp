#include "app/ProductStartScreen.h"

#include "app/CApplicaiton.h"
#include "app/SplashProgressBar.h"

#include <QVBoxLayout>

QWidget* showProductStartScreen(CApplicaiton* app, int minimumTime, bool handOver)
{
    QWidget* splash = app->showStartScreen(QStringLiteral(":/splash.svg"), minimumTime, 0, 0, 0,
                                           QStringLiteral("Segoe UI Semibold"), 28, handOver, QPoint(0, 0),
                                           QPoint(50, 104), QColor(Qt::transparent), QColor(Qt::white), true);
    if (!splash)
        return nullptr;
    auto* layout = new QVBoxLayout(splash);
    layout->addStretch();
    layout->setContentsMargins(28, 0, 28, 28);
    layout->addWidget(new SplashProgressBar(splash));
    return splash;
}
