#pragma once

#include <QImage>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>

class CAnimationProgress;
class CBorder;
class QWidget;
class QWindow;

// Where a window's shadow is shown: a separate window without input, or a recording stand-in.
class IShadowSurface
{
public:
    virtual ~IShadowSurface() = default;
    // A new image in device pixels; the next update shows it.
    virtual void setImage(const QImage& image) = 0;
    // Places the image at the geometry in device pixels, blended with the constant alpha (0 to 255).
    virtual void update(const QRect& deviceGeometry, double ratio, int alpha) = 0;
    virtual void setShown(bool shown) = 0;
};

// The shadow of a frameless window, kept behind it in a surface of its own: shown with a fade
// while the window is visible and neither minimised nor maximised and a compositing manager runs;
// the image is built again only when its size, the ratio, the anchor side or the colour change.
class CShadowPanel : public QObject
{
public:
    using SurfaceFactory = std::function<std::unique_ptr<IShadowSurface>(QWidget* window)>;

    // What a shadow was last shown as.
    struct Record
    {
        bool visible = false;
        double ratio = 0.0;
        int anchorSide = 0;
        int anchorAlignment = 0;
        QRect geometry;
    };
    enum class Step { None, Update, Rebuild };

    CShadowPanel(QWidget* window, CBorder* border, QObject* parent);
    ~CShadowPanel() override;

    // Takes up the window's current native window (a new surface when it changed).
    void refresh();
    // Follows the window's visibility, state, geometry and ratio.
    void follow();

    bool isShown() const { return m_record.visible; }
    QRect geometry() const { return m_record.geometry; }
    CAnimationProgress* fade() const { return m_fade; }
    IShadowSurface* surface() const { return m_surface.get(); }
    // The constant alpha the surface gets now.
    int alpha() const;

    // Surfaces come from the factory (a window of its own when none is set).
    static void setSurfaceFactory(const SurfaceFactory& factory);
    // The window's rectangle in device pixels grown by the blur on every side.
    static QRect shadowGeometry(const QRect& deviceWindowRect, int blur, double ratio);
    // What a record change asks for; hasImage: an image was built before.
    static Step nextStep(const Record& previous, const Record& next, bool hasImage);
    // The shadow image of that size in device pixels, clear under the window's outline.
    static QImage buildImage(const QSize& deviceSize, double ratio, const CBorder* border);

private:
    Record currentRecord() const;
    bool shouldShow() const;
    void layeredUpdate();
    void rebuild();

    QPointer<QWidget> m_window;
    QPointer<CBorder> m_border;
    CAnimationProgress* m_fade;
    QMetaObject::Connection m_opacityConnection;
    QPointer<QWindow> m_nativeWindow;
    std::unique_ptr<IShadowSurface> m_surface;
    Record m_record;
    double m_windowOpacity = 1.0;
    bool m_hasImage = false;
};
