#include "uilib/controls/CStartScreen.h"

#include "app/CSystemTools.h"
#include "uilib/controls/CWindow.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

struct CStartScreen::Private
{
    QString versionText;
    QColor versionColor;
    QRect versionRect;
    QString loadingText;
    QColor loadingColor;
    QRect loadingRect;
    bool loadingAtLeft = false;
    QTimer tickTimer;
    QElapsedTimer shownFor;
    int tickInterval = 0;
    int minimumTime = 0;
    int firstDots = 0;
    int maxDots = 0;
    int dots = 0;
    bool handOver = false;
    bool minimumTimeOver = false;
};

namespace {

QScreen* screenFor(const QRect& placeHint)
{
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().contains(placeHint.center()))
            return screen;
    }
    return QGuiApplication::primaryScreen();
}

QColor orWhite(const QColor& color)
{
    return color.isValid() ? color : QColor(Qt::white);
}

} // namespace

CStartScreen::CStartScreen(const QRect& placeHint, const QPixmap& picture, const QString& version,
                           int minimumTime, int tickInterval, int firstDots, int maxDots, bool handOver,
                           QPoint versionOffset, QPoint loadingOffset, QColor versionColor, QColor loadingColor,
                           bool loadingAtLeft)
    : QSplashScreen(screenFor(placeHint), QPixmap())
    , d(new Private)
{
    QScreen* screen = screenFor(placeHint);
    const double ratio = screen ? screen->devicePixelRatio() : 1.0;
    QPixmap scaled = picture;
    scaled.setDevicePixelRatio(ratio);
    setPixmap(scaled);
    const QRect area = QRectF(0, 0, picture.width() / ratio, picture.height() / ratio).toAlignedRect();
    resize(area.size());

    d->versionText = QStringLiteral("v%1").arg(version);
    d->versionColor = orWhite(versionColor);
    if (versionOffset.isNull())
        versionOffset = QPoint(105, 46);
    d->versionRect = area.adjusted(versionOffset.x(), 0, 0, -versionOffset.y());
    d->loadingColor = orWhite(loadingColor);
    d->loadingAtLeft = loadingAtLeft;
    if (loadingOffset.isNull())
        d->loadingRect = area.adjusted(0, 0, -20, -20);
    else if (loadingAtLeft)
        d->loadingRect = area.adjusted(loadingOffset.x(), 0, 0, -loadingOffset.y());
    else
        d->loadingRect = area.adjusted(0, 0, -loadingOffset.x(), -loadingOffset.y());
    d->minimumTime = minimumTime;
    d->tickInterval = tickInterval;
    d->firstDots = firstDots;
    d->maxDots = maxDots;
    d->dots = firstDots;
    d->handOver = handOver;
    d->loadingText = QStringLiteral("Loading%1").arg(QString(qMax(0, firstDots), QLatin1Char('.')));

    d->shownFor.start();
    d->tickTimer.setSingleShot(true);
    connect(&d->tickTimer, &QTimer::timeout, this, &CStartScreen::tick);
    d->tickTimer.start(0);
    setAttribute(Qt::WA_DeleteOnClose);
    if (placeHint.isValid())
        move(placeHint.center() - rect().center());
}

CStartScreen::~CStartScreen() = default;

QString CStartScreen::loadingText() const { return d->loadingText; }
QRect CStartScreen::versionRect() const { return d->versionRect; }
QRect CStartScreen::loadingRect() const { return d->loadingRect; }
bool CStartScreen::isMinimumTimeOver() const { return d->minimumTimeOver; }
bool CStartScreen::isTicking() const { return d->tickTimer.isActive(); }

void CStartScreen::tick()
{
    // Without an interval the dots stand still and the one tick left comes at the minimum time.
    const bool animated = d->tickInterval > 0;
    d->loadingText = QStringLiteral("Loading%1").arg(QString(qMax(0, d->dots), QLatin1Char('.')));
    if (animated && ++d->dots > d->maxDots)
        d->dots = d->firstDots;
    update();
    if (!d->minimumTimeOver && d->shownFor.elapsed() >= d->minimumTime) {
        d->minimumTimeOver = true;
        if (!d->handOver) {
            close();
            return;
        }
        if (CSystemTools* tools = CSystemTools::instance()) {
            if (CWindow* window = tools->mainWindow()) {
                handOverTo(window);
                return;
            }
        }
    }
    if (animated)
        d->tickTimer.start(d->tickInterval);
    else if (!d->minimumTimeOver)
        d->tickTimer.start(int(qMax<qint64>(0, d->minimumTime - d->shownFor.elapsed())));
}

void CStartScreen::handOverTo(CWindow* window)
{
    d->tickTimer.stop();
    window->showWindow(CWindow::NoChange);
    finish(window);
}

void CStartScreen::finishWith(CWindow* window)
{
    if (!d->minimumTimeOver)
        return;
    d->tickTimer.stop();
    if (window)
        handOverTo(window);
    else
        close();
}

void CStartScreen::drawContents(QPainter* painter)
{
    if (d->versionColor.alpha() > 0) {
        painter->setPen(d->versionColor);
        painter->drawText(d->versionRect, Qt::AlignBottom | Qt::AlignLeft, d->versionText);
    }
    if (d->loadingColor.alpha() > 0) {
        painter->setPen(d->loadingColor);
        const Qt::Alignment side = d->loadingAtLeft ? Qt::AlignLeft : Qt::AlignRight;
        painter->drawText(d->loadingRect, Qt::AlignBottom | side, d->loadingText);
    }
}
