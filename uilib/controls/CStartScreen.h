#pragma once

#include <QColor>
#include <QPoint>
#include <QSplashScreen>

#include <memory>

class CWindow;

// The splash shown while the program starts: a picture, a version text and a "Loading" text
// whose dots grow one by one. It stays up at least the minimum time, then closes or hands over
// to the main window.
class CStartScreen : public QSplashScreen
{
    Q_OBJECT
public:
    // An offset of (0, 0) takes the default: (105, 46) for the version, 20 and 20 for loading.
    CStartScreen(const QRect& placeHint, const QPixmap& picture, const QString& version, int minimumTime,
                 int tickInterval, int firstDots, int maxDots, bool handOver, QPoint versionOffset,
                 QPoint loadingOffset, QColor versionColor, QColor loadingColor, bool loadingAtLeft);
    ~CStartScreen() override;

    // Once the minimum time is over: shows the window and closes when it is exposed, or closes
    // without one. Before that it does nothing; the tick hands over.
    void finishWith(CWindow* window);

    QString loadingText() const;
    QRect versionRect() const;
    QRect loadingRect() const;
    bool isMinimumTimeOver() const;
    bool isTicking() const;

protected:
    void drawContents(QPainter* painter) override;

private:
    struct Private;
    void tick();
    void handOverTo(CWindow* window);

    std::unique_ptr<Private> d;
};
