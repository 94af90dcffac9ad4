#pragma once

#include <QColor>
#include <QIcon>
#include <QMap>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <memory>

class CAnimationWidget;
class CResourceCache;
class QPainter;
class QRect;
class QSvgRenderer;

// An icon drawn by state at any device pixel ratio, optionally in one colour.
class CIcon
{
public:
    // One state is asked for at a time; a missing variant falls back as variantFallback() says.
    enum State {
        Normal = 1,
        Hover = 2,
        Pressed = 4,
        Disabled = 8,
        Checked = 16,
        CheckedHover = 32,
        CheckedPressed = 64,
        CheckedDisabled = 128,
    };

    CIcon() = default;
    virtual ~CIcon();
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;

    virtual bool isValid() const = 0;
    // The picture of one state; an invalid size takes the default size, an invalid colour keeps
    // the icon's own colours. Here: a transparent pixmap.
    virtual QPixmap pixmap(double ratio, const QSize& size, const QColor& color, int state) const;
    // The picture for a widget's animated state: without a colour, the hover and pressed
    // variants fade in over the normal or checked one.
    virtual QPixmap paint(double ratio, const QSize& size, const QColor& color, const CAnimationWidget& state) const;

    // Draws pixmap() aligned in the rect, its top-left on a whole device pixel.
    void paintAligned(QPainter* painter, const QRect& rect, Qt::Alignment alignment, const QSize& size,
                      const QColor& color, int state) const;
    // Draws paint() aligned in the rect.
    void drawAligned(QPainter* painter, const QRect& rect, Qt::Alignment alignment, const QSize& size,
                     const QColor& color, const CAnimationWidget& state) const;

    QSize defaultSize() const { return m_defaultSize; }
    void setSize(const QSize& size) { m_defaultSize = size; }
    QString path() const { return m_path; }

    // The state a missing variant takes (0 for the normal state).
    static int variantFallback(int state);
    // The path with the suffix put before its last "."; a path without a "." stays as it is.
    static QString variantPath(const QString& path, const QString& suffix);
    static const QList<int>& variantStates();

protected:
    void setPath(const QString& path) { m_path = path; }
    QSize sizeOrDefault(const QSize& size) const { return size.isValid() ? size : m_defaultSize; }

private:
    QSize m_defaultSize;
    QString m_path;
};

// An SVG icon with its state variants "<name>-hover.svg" and the like.
class CIconCustom : public CIcon
{
public:
    CIconCustom(const QString& path, CResourceCache* cache);
    ~CIconCustom() override;

    bool isValid() const override { return !m_renderers.isEmpty(); }
    QPixmap pixmap(double ratio, const QSize& size, const QColor& color, int state) const override;

private:
    QMap<int, std::shared_ptr<QSvgRenderer>> m_renderers;
    CResourceCache* m_cache;
};

// An image icon with its state variants "<name>High.png" and the like, and its resolution
// variants "<name>@2x.png" and the like.
class CIconStandard : public CIcon
{
public:
    CIconStandard(const QString& path, CResourceCache* cache);
    ~CIconStandard() override;

    bool isValid() const override { return !m_icons.isEmpty(); }
    QPixmap pixmap(double ratio, const QSize& size, const QColor& color, int state) const override;

private:
    QMap<int, QIcon> m_icons;
    CResourceCache* m_cache;
};

// The icon of a path that names no file.
class CIconNone : public CIcon
{
public:
    bool isValid() const override { return false; }
};
