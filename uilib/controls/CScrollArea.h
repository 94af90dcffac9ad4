#pragma once

#include "uilib/style/CDrawable.h"

#include <QRect>
#include <QScrollArea>

class CAnimationWheel;
class CShadowInner;

// The library's scroll area: frameless and resizable, with edge shadows, smooth wheel scrolling
// and hover tracking. In auto-size mode it takes the size hint of its content widget. It reports
// the part of the content in view and scrolls a rectangle into view, at once or animated.
class CScrollArea : public QScrollArea, public CDrawable
{
    Q_OBJECT
public:
    explicit CScrollArea(int styleKind = -1, QWidget* parent = nullptr, bool deferStyle = false);
    ~CScrollArea() override;

    void applyStyle() override;

    void setAutoSize(bool value);
    bool isAutoSize() const;
    // Scrolls the least that brings `rect` (in content coordinates) into view.
    void ensureRectVisible(const QRect& rect, bool animated);
    // The content in view, in content coordinates; empty while hidden.
    QRect visibleWidgetRect() const;
    CShadowInner* shadowInner() const;
    CAnimationWheel* wheelAnimation() const;
    // Runs the size logic again, as after a resize.
    void relayout();

    bool eventFilter(QObject* watched, QEvent* event) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void showed();
    void hided();
    void visibilityChanged(bool visible);
    void moved(QPoint pos);
    void resized(QSize size);
    void geometryChanged(QRect geometry);
    void autoSizeEnabledChanged(bool value);
    void visibleWidgetRectChanged(QRect rc);

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    class Private;
    Private* d;
};
