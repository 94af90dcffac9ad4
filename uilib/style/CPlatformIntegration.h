#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <memory>
#include <optional>

class CBorder;
class CShadowPanel;
class QWidget;
class QWindow;

// Gives a frameless window native moving, resizing, caption double clicks and a shadow. It filters
// the window's QWindow ahead of the child widgets and takes the presses on the caption and on the
// resize borders; a move or resize runs through the window system when it can, else by hand.
class CPlatformIntegration : public QObject
{
    Q_OBJECT
public:
    enum HitArea {
        HitNone = 0,
        HitClient = 1,
        HitCaption = 2,
        HitLeft = 3,
        HitTop = 4,
        HitRight = 5,
        HitBottom = 6,
        HitTopLeft = 7,
        HitTopRight = 8,
        HitBottomLeft = 9,
        HitBottomRight = 10
    };

    explicit CPlatformIntegration(QWidget* window);
    ~CPlatformIntegration() override;

    void setResizable(bool resizable);
    void setMovable(bool movable);
    void setTitleBar(QWidget* titleBar);
    void setDwmFrame(bool on);
    bool isDwmFrame() const;
    bool isMovingByUser() const;
    bool isResizingByUser() const;
    bool isInSizeMove() const;
    CBorder* border() const;
    CShadowPanel* shadowPanel() const;

    void addTitleBarControl(QWidget* control);
    void addTitleBarControls(const QList<QWidget*>& controls);

    // The client size in device pixels.
    QSize nativeSize() const;
    // No native message needs handling here.
    bool nativeEvent(const QByteArray& eventType, void* message, long* result);

    // The area under a point in global logical pixels.
    int hitTest(int x, int y) const;
    // The same for a point in device pixels relative to the window.
    int hitTestDevice(const QPoint& devicePoint) const;
    // Width of the resize borders in device pixels.
    static int resizeBorderWidth(double ratio);
    // The resize edge under a point of a window of that size, all in device pixels; HitNone
    // off the borders. Left and right count only with horizontalEdges, top and bottom only with
    // verticalEdges, corners only with both.
    static int edgeArea(const QSize& size, const QPoint& point, int border, bool horizontalEdges,
                        bool verticalEdges);
    // The rectangle a resize from the edges of `start` by `delta` gives, within the limits; the
    // opposite edges stay put.
    static QRect resizedGeometry(const QRect& start, int area, const QPoint& delta, const QSize& minimum,
                                 const QSize& maximum);

    // Starts a user move of the widget's window while a button is held; the window follows the
    // pointer from `grab` on (the cursor position when not given).
    void startSystemMove(QWidget* widget, std::optional<QPoint> grab = std::nullopt,
                         std::optional<QPoint> pointer = std::nullopt);

    // Desktop composition of a native frame: not here.
    static bool isDwmCompositionEnabled();
    // Whether translucent windows are shown blended: a compositing manager runs (always on the
    // offscreen platform).
    static bool isCompositingManagerRunning();

signals:
    void moveByUserStarted();
    void moveByUserFinished();
    void resizeByUserStarted();
    void resizeByUserFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
