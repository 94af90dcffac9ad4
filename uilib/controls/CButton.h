#pragma once

#include "uilib/controls/CWidgetBase.h"
#include "uilib/style/CButtonDraw.h"
#include "uilib/style/CDrawable.h"

#include <QPointer>

#include <memory>

class CAnimationWidget;
class CButtonGroup;
class CPainterScope;

// The push button of the library: its look comes from the CButtonDraw part and the palette,
// its states drive an animation, and clicked and toggled come on the next event-loop pass.
class CButton : public CWidgetBase, public CButtonDraw, public CDrawable
{
    Q_OBJECT
public:
    CButton(int styleKind, const QString& iconName, QWidget* parent = nullptr, bool deferStyle = false);
    CButton(int styleKind, QWidget* parent = nullptr, bool deferStyle = false);
    explicit CButton(QWidget* parent = nullptr);
    ~CButton() override;

    using CButtonDraw::setFont;
    using QWidget::rect;
    using QWidget::resize;

    void setCheckable(bool checkable);
    bool isCheckable() const;
    void setExclusive(bool exclusive);
    bool isExclusive() const;
    void setClickableWhenChecked(bool clickable);
    bool isClickableWhenChecked() const;
    // Presses, releases and moves reach the parent instead.
    void setTransparentForMouse(bool transparent);
    // While armed, leaving the button keeps it down and hovered.
    void setStayPressedOutside(bool stay);
    // Tells the group at once and emits nothing.
    void setChecked(bool checked);
    // Emits toggled and tells the group on the next event-loop pass.
    void setCheckedAndEmit(bool checked);
    bool isChecked() const;
    bool isDown() const;
    bool isHovered() const;
    // 1: a button whose widget has focus is drawn hovered.
    void setFocusMode(int mode);
    int focusMode() const;
    void setButtonGroup(CButtonGroup* group);
    CButtonGroup* buttonGroup() const;
    CAnimationWidget* animation() const;
    // Brings the animated look in step with the state.
    void updateAnimationState();

    void applyStyle() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    int heightForWidth(int width) const override;
    bool hasHeightForWidth() const override;
    void geometryChanged() override;

signals:
    void clicked();
    void toggled(bool checked);
    void hovered();
    void leaved();

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    virtual void drawButton(CPainterScope& scope);

private:
    struct Private;
    bool handlePress(QMouseEvent* event);
    bool handleRelease(QMouseEvent* event);
    bool handleMove(QMouseEvent* event);
    void handleBlocked();
    bool showElidedToolTip(QEvent* event);
    void setHoveredFlag(bool hovered);
    void setDown(bool down);
    void storeChecked(bool checked);

    std::unique_ptr<Private> d;
};

// Keeps a button's look in step with the focus of its focus proxy.
class FocusProxyFilter : public QObject
{
    Q_OBJECT
public:
    FocusProxyFilter(QWidget* proxy, CButton* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_proxy;
    QPointer<CButton> m_button;
};
