#pragma once

#include "uilib/style/CDrawable.h"

#include <QAbstractSlider>
#include <QColor>
#include <QSize>

#include <functional>
#include <memory>

class CButton;
class CPainterScope;

// A slider whose value handle is a child button that glides to its place, with two optional
// trim handles that cut a range out of the track, marks on the track and a value tip that
// follows the mouse.
class CSlider : public QAbstractSlider, public CDrawable
{
    Q_OBJECT
public:
    // Rewrites the tip's text and secondary text for a value.
    using TipTextFunction = std::function<void(int value, QString& text, QString& secondaryText)>;

    CSlider(int styleKind, Qt::Orientation orientation, QWidget* parent = nullptr, bool deferStyle = false);
    ~CSlider() override;

    void setAnimated(bool animated);
    bool isAnimated() const;
    // 0: a press on the track puts the slider down and drags the value handle.
    void setPressMode(int mode);
    int pressMode() const;
    void setGrooveColors(const QColor& groove, const QColor& fill);
    void setGrooveMetrics(int thickness, int radius);
    // Sets a different value with the signals blocked; repaints in any case.
    void setValueSilently(int value);
    CButton* handleButton() const;

    // 1: the value stays below the maximum when the range is not empty.
    void setExclusiveMaximum(bool exclusive);
    bool isExclusiveMaximum() const;
    // While set, handles are not moved.
    void setPositioningSuspended(bool suspended);

    // 0 none; -2 one mark at the hover position; -1 at both ends of the fill; 1 at the centre;
    // 2 or more evenly spaced. Spacing mode 1 spans the whole track; 2 does so while trims are on.
    void setMarks(int count, int spacingMode = 0);
    void setMarkLook(const QSize& size, int radius, const QColor& color = QColor());
    int markCount() const;
    int hoverPosition() const;

    // Trims: created hidden on first use.
    void setTrimsVisible(bool visible);
    // Binds the value handle to the trimmed range.
    void setTrimsEnabled(bool enabled);
    bool areTrimsEnabled() const;
    void setTrimValues(int lower, int upper);
    int lowerTrim() const;
    int upperTrim() const;
    void setTrimGap(int gap);
    // 0: no maximum span.
    void setTrimSpan(int span);
    // The groove and fill colours while the trims are enabled.
    void setTrimColors(const QColor& groove, const QColor& fill);
    CButton* trimHandle(bool upper);
    // The last trim handle released after a drag, or null.
    CButton* lastReleasedHandle() const;

    void setTipTextFunction(const TipTextFunction& function);
    // The tip handle, created on first use.
    CButton* tipButton();
    void showTip(int value);
    void hideTip();

    virtual int valueFromPosition(const QPoint& position) const;
    virtual QPoint positionFromValue(int value) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void applyStyle() override;

signals:
    void lowerTrimPressed(int val);
    void lowerTrimMoved(int val);
    void lowerTrimReleased(int val);
    void lowerTrimChanged(int val);
    void upperTrimPressed(int val);
    void upperTrimMoved(int val);
    void upperTrimReleased(int val);
    void upperTrimChanged(int val);
    void hovered();
    void leaved();

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void sliderChange(SliderChange change) override;
    virtual void drawTrack(CPainterScope& scope, const QRectF& groove, const QColor& grooveColor,
                           const QRectF& fill, const QColor& fillColor);

private:
    class Private;
    friend class Private;
    Private* d;
};
