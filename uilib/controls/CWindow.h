#pragma once

#include "uilib/controls/CWidgetBase.h"
#include "uilib/style/CDrawable.h"

#include <QMargins>
#include <QPoint>
#include <QRect>

class CBorder;
class CPainterScope;
class CPlatformIntegration;
class CTitleBar;

// The library's top-level window: frameless, with its own border and background, an optional
// title bar, a content widget, native moving and resizing, a remembered geometry and placement
// on show.
class CWindow : public CWidgetBase, public CDrawable
{
    Q_OBJECT
public:
    enum Option {
        Movable = 1,
        Resizable = 2,
        MinimiseButton = 4,
        MaximiseButton = 8,
        TitleBar = 16,
        SidePanel = 32,
        Popup = 64
    };
    enum ShadowType { Custom_D2D_Compatible = 0, DWM_API = 1, Not_Set = 2, Default = 3 };
    Q_ENUM(ShadowType)
    enum ShowStrategy { NoChange = 0, CenteredOnParent = 1, CursorPos = 2, CursorScreen = 3 };
    Q_ENUM(ShowStrategy)

    CWindow(int options, QWidget* parent, ShadowType shadowType = Default, bool deferStyle = false,
            const QString& objectName = QString());
    CWindow(int styleKind, int options, QWidget* parent, ShadowType shadowType, bool deferStyle,
            const QString& objectName);
    ~CWindow() override;

    QWidget* contentWidget() const;
    CTitleBar* titleBar() const;
    CWidgetBase* sidePanel() const;
    CBorder* border() const;
    CPlatformIntegration* platformIntegration() const;
    int options() const;
    ShadowType shadowType() const;
    bool isBlocked() const;
    bool isInSizeMove() const;

    void setTitle(const QString& title);
    void applyStyle() override;

    bool hasSavedGeometry() const;
    QByteArray savedGeometry() const;

    void showWindow(ShowStrategy placement);
    // Opens the window beside the anchor on that side (1 top, 2 left, 4 right, 8 bottom), on the
    // opposite side when it would cover the anchor there; the side used.
    int showNextToRect(const QRect& anchor, int side, int alignment, bool animated, const QPoint& offset = QPoint(),
                       int screenMargin = 0);
    void setGeometryAnimated(const QRect& rect, bool animated, int duration = -1, bool wait = false);
    // Fades the window out, then hides it and puts its opacity back.
    void fadeOut();
    void setDimWhenBlocked(bool dim);
    double restingOpacity() const;
    void setRestingOpacity(double opacity);

    QSize preferredSize();
    bool hasHeightForWidth() const override;

    // Paints a window's background and outline from its border into the scope's area; the
    // native size is the client size in device pixels.
    static void paintFrame(CPainterScope& scope, const CBorder* border, const QSize& nativeSize, bool active,
                           bool nativeFrame);
    // The content margins of a window with a native frame.
    static QMargins contentMargins(bool maximised, double ratio);
    void updateContentMargins();

public slots:
    virtual void updateTexts();
    virtual void restoreSavedGeometry();
    virtual void defaultPlacement();
    virtual void saveGeometrySettings();

signals:
    void hovered();
    void leaved();
    void moveByUserStarted();
    void moveByUserFinished();
    void resizeByUserStarted();
    void resizeByUserFinished();
    void devicePixelRatioChanged(qreal newDpr, qreal oldDpr);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, long* result) override;

private:
    class Private;
    Private* d;
};
