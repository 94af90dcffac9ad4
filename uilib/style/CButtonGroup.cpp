#include "uilib/style/CButtonGroup.h"

#include "uilib/controls/CButton.h"

#include <QVariantAnimation>
#include <QWidget>

namespace {
constexpr char UserDataProperty[] = "__vorn_button_group_btn_user_data";
constexpr int FastEdgeMs = 150;
constexpr int SlowEdgeMs = 400;
}

CSelectionIndicator::CSelectionIndicator(QWidget* widget)
    : QObject(widget)
    , m_widget(widget)
    , m_left(new QVariantAnimation(this))
    , m_right(new QVariantAnimation(this))
{
    m_left->setStartValue(widget->x());
    m_right->setStartValue(widget->x() + widget->width());
    m_centre = widget->x() + widget->width() / 2;
    connect(m_left, &QVariantAnimation::valueChanged, this, &CSelectionIndicator::applyEdges);
    connect(m_right, &QVariantAnimation::valueChanged, this, &CSelectionIndicator::applyEdges);
}

void CSelectionIndicator::moveSelectionIndicator(const CButton* button, bool animated)
{
    if (!button)
        return;
    const QRect geometry = button->geometry();
    const int left = geometry.x();
    const int centre = left + geometry.width() / 2;
    const bool toRight = m_centre < centre;
    m_centre = centre;
    animateIndicatorEdge(m_left, left, !toRight, animated);
    animateIndicatorEdge(m_right, left + geometry.width(), toRight, animated);
    applyEdges();
}

void CSelectionIndicator::animateIndicatorEdge(QVariantAnimation* animation, int target, bool fast,
                                               bool animated)
{
    const int current = animation->currentValue().toInt();
    animation->stop();
    animation->setCurrentTime(0);
    if (!animated) {
        // Lands at once: both ends are the target.
        animation->setStartValue(target);
        animation->setEndValue(target);
        return;
    }
    animation->setStartValue(current);
    animation->setEndValue(target);
    animation->setDuration(fast ? FastEdgeMs : SlowEdgeMs);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    animation->start();
}

void CSelectionIndicator::applyEdges()
{
    if (!m_widget)
        return;
    const int left = m_left->currentValue().toInt();
    const int right = m_right->currentValue().toInt();
    m_widget->setGeometry(left, m_widget->y(), qMax(0, right - left), m_widget->height());
}

CButtonGroup::CButtonGroup(int buttonStyleKind, QObject* parent)
    : QObject(parent)
    , m_buttonStyleKind(buttonStyleKind)
{
    qRegisterMetaType<CButton*>();
}

CButtonGroup::CButtonGroup(QObject* parent)
    : CButtonGroup(-1, parent)
{
}

CButtonGroup::~CButtonGroup() = default;

CButton* CButtonGroup::addButton(CButton* button, const QVariant& userData)
{
    if (!button)
        return nullptr;
    if (m_buttons.contains(button))
        return button;
    button->setCheckable(true);
    button->setButtonGroup(this);
    button->setExclusive(!m_noneAllowed);
    button->setProperty(UserDataProperty, userData);
    m_buttons.append(button);
    connect(button, &QObject::destroyed, this, &CButtonGroup::removeDestroyedButtons);
    return button;
}

CButton* CButtonGroup::addNewButton(const QVariant& userData, const QString& iconName)
{
    return addButton(new CButton(m_buttonStyleKind, iconName, nullptr, false), userData);
}

QList<CButton*> CButtonGroup::buttons() const
{
    QList<CButton*> result;
    for (const QPointer<CButton>& button : m_buttons) {
        if (button)
            result.append(button);
    }
    return result;
}

CButton* CButtonGroup::buttonByValue(const QVariant& value) const
{
    for (CButton* button : buttons()) {
        if (userValue(button) == value)
            return button;
    }
    return nullptr;
}

CButton* CButtonGroup::checkedButton() const
{
    for (CButton* button : buttons()) {
        if (button->isChecked())
            return button;
    }
    return nullptr;
}

QVariant CButtonGroup::checkedValue() const
{
    const CButton* button = checkedButton();
    return button ? userValue(button) : QVariant();
}

bool CButtonGroup::setCheckedValue(const QVariant& value)
{
    CButton* target = buttonByValue(value);
    if (!target && !m_noneAllowed)
        return false;
    if (signalsBlocked()) {
        for (CButton* button : buttons())
            button->setChecked(button == target);
        return true;
    }
    if (target) {
        target->setCheckedAndEmit(true);
    } else if (CButton* checked = checkedButton()) {
        checked->setCheckedAndEmit(false);
    }
    return true;
}

bool CButtonGroup::setCheckedValueSilently(const QVariant& value)
{
    const bool wasBlocked = blockSignals(true);
    const bool result = setCheckedValue(value);
    blockSignals(wasBlocked);
    return result;
}

void CButtonGroup::onButtonToggled(CButton* button, bool checked, bool silent)
{
    if (m_updating)
        return;
    const bool quiet = signalsBlocked() || silent;
    if (!checked) {
        if (!quiet)
            emit toggled(nullptr, QVariant());
        return;
    }
    m_updating = true;
    for (CButton* member : buttons())
        member->setChecked(member == button);
    m_updating = false;
    if (!quiet)
        emit toggled(button, userValue(button));
    if (m_indicator)
        m_indicator->moveSelectionIndicator(button, true);
}

void CButtonGroup::setNoneAllowed(bool allowed)
{
    m_noneAllowed = allowed;
}

void CButtonGroup::setSelectionIndicator(QWidget* indicator)
{
    delete m_indicator;
    m_indicator = indicator ? new CSelectionIndicator(indicator) : nullptr;
    if (m_indicator)
        m_indicator->moveSelectionIndicator(checkedButton(), false);
}

void CButtonGroup::removeDestroyedButtons()
{
    // The weak pointers are already cleared when destroyed() comes.
    m_buttons.removeAll(QPointer<CButton>());
}

QVariant CButtonGroup::userValue(const CButton* button)
{
    return button->property(UserDataProperty);
}
