#include "uilib/controls/CSpinBox.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CMenuDraw.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyleOptionSpinBox>

namespace {

bool sameValue(int a, int b)
{
    return a == b;
}

bool sameValue(double a, double b)
{
    return qFuzzyCompare(a, b);
}

} // namespace

template <class T>
CSpinBoxBase<T>::CSpinBoxBase(int styleKind, QWidget* parent)
    : T(parent)
    , CSpinBoxDraw(this)
    , CDrawable(styleKind)
    , CEventFocus1(this)
    , m_animation(new CAnimationWidget(2, this))
{
    new CMenuDraw(T::lineEdit(), 41);
    m_animation->setWidget(this);
    m_prevWidgetKeys.append(Qt::Key_Left);
    m_nextWidgetKeys.append(Qt::Key_Right);
    QLineEdit* edit = T::lineEdit();
    const QMargins margins = edit->textMargins();
    edit->setTextMargins(margins.left() - 2, margins.top() - 2, margins.right() - 2, margins.bottom() - 1);
}

template <class T>
CSpinBoxBase<T>::~CSpinBoxBase() = default;

template <class T>
void CSpinBoxBase<T>::applyStyle()
{
    if (hasStyle())
        currentPalette()->styleSpinBox(this, styleKind());
}

template <class T>
void CSpinBoxBase<T>::lookChanged()
{
    CSpinBoxDraw::lookChanged();
    T::lineEdit()->setContentsMargins(padding() + borderWidths() + margins());
    T::updateGeometry();
}

template <class T>
void CSpinBoxBase<T>::setValueSilently(Value value)
{
    if (sameValue(value, T::value()))
        return;
    const bool blocked = T::blockSignals(true);
    T::setValue(value);
    T::blockSignals(blocked);
}

template <class T>
bool CSpinBoxBase<T>::event(QEvent* event)
{
    const bool result = T::event(event);
    if (event->type() == QEvent::FocusIn)
        emitFocused(static_cast<QFocusEvent*>(event)->reason());
    else if (event->type() == QEvent::FocusOut)
        emitFocusLost();
    return result;
}

template <class T>
bool CSpinBoxBase<T>::pressOnEnabledArrow(const QPoint& pos) const
{
    const QAbstractSpinBox::StepEnabled steps = T::stepEnabled();
    if (T::buttonSymbols() == QAbstractSpinBox::NoButtons || steps == QAbstractSpinBox::StepNone)
        return false;
    QStyleOptionSpinBox option;
    T::initStyleOption(&option);
    const QStyle* style = T::style();
    const auto inside = [&](QStyle::SubControl control) {
        return style->subControlRect(QStyle::CC_SpinBox, &option, control, this).contains(pos);
    };
    return ((steps & QAbstractSpinBox::StepUpEnabled) && inside(QStyle::SC_SpinBoxUp))
        || ((steps & QAbstractSpinBox::StepDownEnabled) && inside(QStyle::SC_SpinBoxDown));
}

template <class T>
void CSpinBoxBase<T>::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && pressOnEnabledArrow(event->pos())) {
        m_arrowHeld = true;
        emitButtonPressed();
    }
    T::mousePressEvent(event);
}

template <class T>
void CSpinBoxBase<T>::mouseReleaseEvent(QMouseEvent* event)
{
    T::mouseReleaseEvent(event);
    if (!m_arrowHeld)
        return;
    m_arrowHeld = false;
    emitButtonReleased();
}

template <class T>
void CSpinBoxBase<T>::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const QLineEdit* edit = T::lineEdit();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        emitEnterPressed();
    } else if (event->matches(QKeySequence::Cancel)) {
        emitEscPressed();
    } else if (m_prevWidgetKeys.contains(key) && edit->cursorPosition() == 0) {
        emitPrevWidgetRequested();
    } else if (m_nextWidgetKeys.contains(key) && edit->cursorPosition() == edit->text().size()) {
        emitNextWidgetRequested();
    } else {
        T::keyPressEvent(event);
        return;
    }
    event->accept();
}

template <class T>
void CSpinBoxBase<T>::paintEvent(QPaintEvent*)
{
    CPainterScope scope(this);
    CPanelDraw::paint(scope, *m_animation);
    QStyleOptionSpinBox option;
    T::initStyleOption(&option);
    paintButtons(scope, &option);
}

template <class T>
void CSpinBoxBase<T>::resizeEvent(QResizeEvent* event)
{
    CPanelDraw::resize(T::size());
    T::resizeEvent(event);
}

template class CSpinBoxBase<QSpinBox>;
template class CSpinBoxBase<QDoubleSpinBox>;

CSpinBox::CSpinBox(int styleKind, QWidget* parent)
    : CSpinBoxBase<QSpinBox>(styleKind, parent)
{
    connect(this, QOverload<int>::of(&QSpinBox::valueChanged), this, &CSpinBox::intValueChanged);
    applyStyle();
}

CSpinBox::~CSpinBox() = default;

CDoubleSpin::CDoubleSpin(int styleKind, QWidget* parent)
    : CSpinBoxBase<QDoubleSpinBox>(styleKind, parent)
{
    connect(this, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, &CDoubleSpin::doubleValueChanged);
    applyStyle();
}

CDoubleSpin::~CDoubleSpin() = default;
