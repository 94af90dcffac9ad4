#include "uilib/controls/CButton.h"

#include "uilib/controls/ButtonContent.h"

#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CButtonGroup.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QToolTip>

struct CButton::Private
{
    mutable SizeHintCache sizes;
    bool checkable = false;
    bool exclusive = false;
    bool clickableWhenCheckable = false;
    bool checked = false;
    bool armed = false;
    bool down = false;
    bool hovered = false;
    bool stayPressedOutside = false;
    bool transparentForMouse = false;
    bool blocked = false;
    int focusMode = 0;
    CAnimationWidget* animation = nullptr;
    QPointer<CButtonGroup> group;
    QPointer<FocusProxyFilter> focusFilter;
};

CButton::CButton(int styleKind, const QString& iconName, QWidget* parent, bool deferStyle)
    : CWidgetBase(parent)
    , CButtonDraw(this)
    , CDrawable(styleKind)
    , d(new Private)
{
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
    setUpButtonContent(*this, this, iconName);
    d->animation = new CAnimationWidget(0, this);
    d->animation->setWidget(this);
    if (!deferStyle)
        applyStyle();
}

CButton::CButton(int styleKind, QWidget* parent, bool deferStyle)
    : CButton(styleKind, QString(), parent, deferStyle)
{
}

CButton::CButton(QWidget* parent)
    : CButton(10, QString(), parent, false)
{
}

CButton::~CButton() = default;

void CButton::setCheckable(bool checkable)
{
    if (d->checkable == checkable)
        return;
    d->checkable = checkable;
    if (!checkable)
        d->checked = false;
    updateAnimationState();
    update();
}

bool CButton::isCheckable() const { return d->checkable; }
void CButton::setExclusive(bool exclusive) { d->exclusive = exclusive; }
bool CButton::isExclusive() const { return d->exclusive; }
void CButton::setClickableWhenChecked(bool clickable) { d->clickableWhenCheckable = clickable; }
bool CButton::isClickableWhenChecked() const { return d->clickableWhenCheckable; }
void CButton::setTransparentForMouse(bool transparent) { d->transparentForMouse = transparent; }
void CButton::setStayPressedOutside(bool stay) { d->stayPressedOutside = stay; }
bool CButton::isChecked() const { return d->checkable && d->checked; }
bool CButton::isDown() const { return d->down; }
bool CButton::isHovered() const { return d->hovered; }
int CButton::focusMode() const { return d->focusMode; }
void CButton::setButtonGroup(CButtonGroup* group) { d->group = group; }
CButtonGroup* CButton::buttonGroup() const { return d->group; }
CAnimationWidget* CButton::animation() const { return d->animation; }

void CButton::storeChecked(bool checked)
{
    d->checked = checked;
    updateAnimationState();
    update();
}

void CButton::setChecked(bool checked)
{
    if (!d->checkable || d->checked == checked)
        return;
    storeChecked(checked);
    if (d->group)
        d->group->onButtonToggled(this, checked, true);
}

void CButton::setCheckedAndEmit(bool checked)
{
    if (!d->checkable || d->checked == checked)
        return;
    storeChecked(checked);
    const bool blocked = signalsBlocked();
    QTimer::singleShot(0, this, [this, checked, blocked] {
        QPointer<CButton> self(this);
        if (!blocked)
            emit toggled(checked);
        if (self && d->group)
            d->group->onButtonToggled(this, checked, blocked);
    });
}

void CButton::setFocusMode(int mode)
{
    if (d->focusMode == mode)
        return;
    d->focusMode = mode;
    updateAnimationState();
    delete d->focusFilter;
    if (QWidget* proxy = focusProxy()) {
        d->focusFilter = new FocusProxyFilter(proxy, this);
        proxy->installEventFilter(d->focusFilter);
    }
}

void CButton::updateAnimationState()
{
    const bool animated = isVisible();
    CAnimationWidget* animation = d->animation;
    if (!animation)
        return;
    animation->setDisabled(!isEnabled(), animated);
    animation->setChecked(isChecked(), animated);
    bool hover = false;
    bool press = false;
    if (!isEnabled() || d->blocked) {
    } else if (d->stayPressedOutside && d->down) {
        hover = press = true;
    } else if (!d->hovered) {
        hover = d->focusMode == 1 && hasFocus();
    } else {
        hover = true;
        press = d->down;
    }
    animation->setHovered(hover, animated);
    animation->setPressed(press, animated);
}

void CButton::applyStyle()
{
    if (hasStyle())
        currentPalette()->styleButton(this, styleKind(), buttonIconPath(*this));
}

QSize CButton::sizeHint() const
{
    if (d->sizes.hint == QSize(-1, -1))
        d->sizes.hint = CButtonDraw::sizeHint();
    return d->sizes.hint;
}

QSize CButton::minimumSizeHint() const
{
    if (d->sizes.minimum == QSize(-1, -1))
        d->sizes.minimum = CButtonDraw::minimumSizeHint();
    return d->sizes.minimum;
}

int CButton::heightForWidth(int width) const
{
    return CButtonDraw::hasHeightForWidth() ? CButtonDraw::heightForWidth(width) : QWidget::heightForWidth(width);
}

bool CButton::hasHeightForWidth() const
{
    return CButtonDraw::hasHeightForWidth() || QWidget::hasHeightForWidth();
}

void CButton::geometryChanged()
{
    d->sizes.reset();
    updateGeometry();
}

void CButton::setHoveredFlag(bool hovered)
{
    if (d->hovered == hovered)
        return;
    d->hovered = hovered;
    updateAnimationState();
    if (hovered)
        emit this->hovered();
    else
        emit leaved();
}

void CButton::setDown(bool down)
{
    if (d->down == down)
        return;
    d->down = down;
    updateAnimationState();
}

bool CButton::handlePress(QMouseEvent* event)
{
    if (!isEnabled()) {
        d->armed = false;
        if (event->type() == QEvent::MouseButtonDblClick) {
            event->accept();
            return true;
        }
        event->ignore();
        return CWidgetBase::event(event);
    }
    const bool lockedChecked = isChecked() && d->exclusive && !d->clickableWhenCheckable;
    d->armed = !lockedChecked && event->button() == Qt::LeftButton && event->buttons() == Qt::LeftButton;
    setDown(d->armed);
    event->accept();
    return true;
}

bool CButton::handleRelease(QMouseEvent* event)
{
    d->down = false;
    if (d->armed && d->hovered) {
        if (!d->checkable) {
            QTimer::singleShot(0, this, &CButton::clicked);
        } else {
            if (!(d->checked && d->exclusive))
                setCheckedAndEmit(!d->checked);
            if (d->clickableWhenCheckable)
                QTimer::singleShot(0, this, &CButton::clicked);
        }
    }
    d->armed = false;
    updateAnimationState();
    event->accept();
    return true;
}

bool CButton::handleMove(QMouseEvent* event)
{
    if (!isEnabled() || !d->armed || d->stayPressedOutside)
        return CWidgetBase::event(event);
    setHoveredFlag(QWidget::rect().contains(event->pos()));
    if (d->down != d->hovered)
        setDown(d->hovered);
    event->accept();
    return true;
}

void CButton::handleBlocked()
{
    if (d->blocked)
        return;
    d->blocked = true;
    if (d->down) {
        const QPoint global = QCursor::pos();
        QMouseEvent release(QEvent::MouseButtonRelease, mapFromGlobal(global), global, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(this, &release);
    }
}

bool CButton::showElidedToolTip(QEvent* event)
{
    if (!isTextElided() || !toolTip().isEmpty())
        return false;
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
    event->accept();
    return true;
}

bool CButton::event(QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick
                       || type == QEvent::MouseButtonRelease || type == QEvent::MouseMove;
    if (mouse && d->transparentForMouse) {
        event->ignore();
        return CWidgetBase::event(event);
    }
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return handlePress(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        return handleRelease(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return handleMove(static_cast<QMouseEvent*>(event));
    case QEvent::ApplicationFontChange:
    case QEvent::FontChange:
        invalidateTextLayout();
        break;
    case QEvent::WindowBlocked:
        handleBlocked();
        updateAnimationState();
        break;
    case QEvent::WindowUnblocked:
        if (d->blocked) {
            d->blocked = false;
            updateAnimationState();
        }
        break;
    case QEvent::ToolTip:
        if (showElidedToolTip(event))
            return true;
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::EnabledChange:
        updateAnimationState();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        setHoveredFlag(underMouse());
        break;
    case QEvent::Hide:
        setHoveredFlag(false);
        break;
    default:
        break;
    }
    return CWidgetBase::event(event);
}

void CButton::mousePressEvent(QMouseEvent* event)
{
    if (d->transparentForMouse)
        event->ignore();
    else
        event->accept();
}

void CButton::mouseMoveEvent(QMouseEvent* event)
{
    if (d->down)
        event->accept();
}

void CButton::enterEvent(QEvent* event)
{
    CWidgetBase::enterEvent(event);
    setHoveredFlag(d->armed || QGuiApplication::mouseButtons() == Qt::NoButton);
}

void CButton::leaveEvent(QEvent* event)
{
    CWidgetBase::leaveEvent(event);
    setHoveredFlag(underMouse());
}

void CButton::paintEvent(QPaintEvent*)
{
    CPainterScope scope(this);
    drawButton(scope);
}

void CButton::resizeEvent(QResizeEvent* event)
{
    CPanelDraw::resize(size());
    CWidgetBase::resizeEvent(event);
}

void CButton::drawButton(CPainterScope& scope)
{
    QPainter* painter = scope.painter();
    painter->save();
    painter->setOpacity(CPanelDraw::opacity());
    CPanelDraw::paint(scope, *d->animation);
    CButtonDraw::paint(scope, *d->animation);
    painter->restore();
}

FocusProxyFilter::FocusProxyFilter(QWidget* proxy, CButton* button)
    : QObject(proxy)
    , m_proxy(proxy)
    , m_button(button)
{
}

bool FocusProxyFilter::eventFilter(QObject* watched, QEvent* event)
{
    const bool focus = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut;
    if (focus && watched == m_proxy && m_button)
        m_button->updateAnimationState();
    return QObject::eventFilter(watched, event);
}
