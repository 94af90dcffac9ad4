#pragma once

#include "uilib/style/CDrawable.h"
#include "uilib/style/CEventFocus1.h"
#include "uilib/style/CSpinBoxDraw.h"

#include <QDoubleSpinBox>
#include <QList>
#include <QSpinBox>

#include <utility>

class CAnimationWidget;

// A spin box painted by the library with keyboard signals that let a form move between fields
// (Enter, Escape, Left at the start of the text, Right at its end) and signals for presses on
// its arrow buttons. T is QSpinBox or QDoubleSpinBox; the concrete classes emit the signals.
template <class T>
class CSpinBoxBase : public T, public CSpinBoxDraw, public CDrawable, public CEventFocus1
{
public:
    using Value = decltype(std::declval<T>().value());

    CSpinBoxBase(int styleKind, QWidget* parent);
    ~CSpinBoxBase() override;

    using QAbstractSpinBox::minimumSizeHint;
    using QAbstractSpinBox::sizeHint;
    using QWidget::rect;
    using QWidget::resize;

    void applyStyle() override;
    // The inner edit keeps its text clear of the panel's frame.
    void lookChanged() override;
    // Sets a different value with the box's signals blocked.
    void setValueSilently(Value value);
    CAnimationWidget* animation() const { return m_animation; }

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    virtual void emitEnterPressed() = 0;
    virtual void emitEscPressed() = 0;
    virtual void emitPrevWidgetRequested() = 0;
    virtual void emitNextWidgetRequested() = 0;
    virtual void emitButtonPressed() = 0;
    virtual void emitButtonReleased() = 0;
    virtual void emitFocused(Qt::FocusReason reason) = 0;
    virtual void emitFocusLost() = 0;

private:
    bool pressOnEnabledArrow(const QPoint& pos) const;

    CAnimationWidget* m_animation;
    QList<int> m_prevWidgetKeys;
    QList<int> m_nextWidgetKeys;
    bool m_arrowHeld = false;
};

// The integer spin box.
class CSpinBox : public CSpinBoxBase<QSpinBox>
{
    Q_OBJECT
public:
    explicit CSpinBox(int styleKind, QWidget* parent = nullptr);
    ~CSpinBox() override;

signals:
    void enterPressed();
    void escPressed();
    void prevWidgetRequested();
    void nextWidgetRequested();
    void buttonPressed();
    void buttonReleased();
    void focused(Qt::FocusReason reason);
    void focusLost();
    void intValueChanged(int value);

protected:
    void emitEnterPressed() override { emit enterPressed(); }
    void emitEscPressed() override { emit escPressed(); }
    void emitPrevWidgetRequested() override { emit prevWidgetRequested(); }
    void emitNextWidgetRequested() override { emit nextWidgetRequested(); }
    void emitButtonPressed() override { emit buttonPressed(); }
    void emitButtonReleased() override { emit buttonReleased(); }
    void emitFocused(Qt::FocusReason reason) override { emit focused(reason); }
    void emitFocusLost() override { emit focusLost(); }
};

// The real-number spin box.
class CDoubleSpin : public CSpinBoxBase<QDoubleSpinBox>
{
    Q_OBJECT
public:
    explicit CDoubleSpin(int styleKind, QWidget* parent = nullptr);
    ~CDoubleSpin() override;

signals:
    void enterPressed();
    void escPressed();
    void prevWidgetRequested();
    void nextWidgetRequested();
    void buttonPressed();
    void buttonReleased();
    void focused(Qt::FocusReason reason);
    void focusLost();
    void doubleValueChanged(double value);

protected:
    void emitEnterPressed() override { emit enterPressed(); }
    void emitEscPressed() override { emit escPressed(); }
    void emitPrevWidgetRequested() override { emit prevWidgetRequested(); }
    void emitNextWidgetRequested() override { emit nextWidgetRequested(); }
    void emitButtonPressed() override { emit buttonPressed(); }
    void emitButtonReleased() override { emit buttonReleased(); }
    void emitFocused(Qt::FocusReason reason) override { emit focused(reason); }
    void emitFocusLost() override { emit focusLost(); }
};
