#pragma once

#include "uilib/style/CDrawable.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/ColorSet.h"

#include <QByteArray>
#include <QPainterPath>
#include <QRectF>

// The check-box, radio and toggle icons: drawn from the widget's animated check state, styled by
// the palette like any widget.
namespace CAnimationIcon {

// Each edge from `from` to `to` by p; exactly the ends at p = 0 and p = 1.
QRectF lerpRect(const QRectF& from, const QRectF& to, double p);
// Makes the three icons and puts them in the application's icon repository; names already
// there are left alone.
void registerStandardIcons();

// The base of the three: valid, no picture of its own, restyled by the palette.
class StateIcon : public CIcon, public CDrawable
{
public:
    explicit StateIcon(const QString& name);
    bool isValid() const override { return true; }
    void applyStyle() override;
};

class CheckBoxIcon : public StateIcon
{
public:
    CheckBoxIcon();
    QPixmap paint(double ratio, const QSize& size, const QColor& color, const CAnimationWidget& state) const override;

    void setBorderWidth(int width) { m_borderWidth = width; }
    void setCornerRadius(int radius) { m_cornerRadius = radius; }
    void setMarkWidth(double width) { m_markWidth = width; }
    // Also measures the path's length.
    void setMarkPath(const QPainterPath& path);
    void setBackgroundColors(const ColorSet& colors) { m_backgroundColors = colors; }
    void setBorderColors(const ColorSet& colors) { m_borderColors = colors; }
    void setMarkColors(const ColorSet& colors) { m_markColors = colors; }

    int borderWidth() const { return m_borderWidth; }
    int cornerRadius() const { return m_cornerRadius; }
    double markWidth() const { return m_markWidth; }
    QPainterPath markPath() const { return m_markPath; }
    double markLength() const { return m_markLength; }
    ColorSet backgroundColors() const { return m_backgroundColors; }
    ColorSet borderColors() const { return m_borderColors; }
    ColorSet markColors() const { return m_markColors; }

private:
    int m_borderWidth = 0;
    int m_cornerRadius = 0;
    double m_markWidth = 0.0;
    QPainterPath m_markPath;
    double m_markLength = 0.0;
    ColorSet m_backgroundColors;
    ColorSet m_borderColors;
    ColorSet m_markColors;
};

class RadioIcon : public StateIcon
{
public:
    RadioIcon();
    QPixmap paint(double ratio, const QSize& size, const QColor& color, const CAnimationWidget& state) const override;

    void setDotInset(int inset) { m_dotInset = inset; }
    void setBorderWidth(int width) { m_borderWidth = width; }
    void setBackgroundColors(const ColorSet& colors) { m_backgroundColors = colors; }
    void setBorderColors(const ColorSet& colors) { m_borderColors = colors; }
    void setDotColors(const ColorSet& colors) { m_dotColors = colors; }

    int dotInset() const { return m_dotInset; }
    int borderWidth() const { return m_borderWidth; }
    ColorSet backgroundColors() const { return m_backgroundColors; }
    ColorSet borderColors() const { return m_borderColors; }
    ColorSet dotColors() const { return m_dotColors; }
    // The dot in the icon's rectangle at check progress p.
    QRectF dotRect(const QRectF& rect, bool checked, double p) const;

private:
    int m_dotInset = 0;
    int m_borderWidth = 0;
    ColorSet m_backgroundColors;
    ColorSet m_borderColors;
    ColorSet m_dotColors;
};

class ToggleIcon : public StateIcon
{
public:
    ToggleIcon();
    QPixmap paint(double ratio, const QSize& size, const QColor& color, const CAnimationWidget& state) const override;

    void setKnobInset(int inset) { m_knobInset = inset; }
    void setTrackColors(const ColorSet& colors) { m_trackColors = colors; }
    void setKnobColors(const ColorSet& colors) { m_knobColors = colors; }

    int knobInset() const { return m_knobInset; }
    ColorSet trackColors() const { return m_trackColors; }
    ColorSet knobColors() const { return m_knobColors; }
    // The knob in the icon's rectangle at check progress p.
    QRectF knobRect(const QRectF& rect, double p) const;

    // The glyph on the knob: a cross below p = 0.5, a check mark from there, in the track colour.
    static QByteArray glyphSvg(double p, const QColor& track);
    // 1 at both ends, 0.5 where the glyph changes.
    static double glyphOpacity(double p);

private:
    int m_knobInset = 0;
    int m_reserved = 10;
    ColorSet m_trackColors;
    ColorSet m_knobColors;
};

} // namespace CAnimationIcon
