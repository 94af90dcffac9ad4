#include "pages/TimeSelector.h"

#include "model/AppPaths.h"
#include "pages/InterfaceText.h"
#include "uilib/controls/CSpinBox.h"

#include <QBoxLayout>
#include <QSignalBlocker>

#include <cmath>

namespace {

constexpr int kItemKind = 16;
constexpr int kSpinKind = 36;
constexpr int kComboKind = 18;

QString secondsCaption(int ms)
{
    return interfaceText(199).arg(msecsToSecondsText(ms));
}

int secondsToMsec(double seconds)
{
    return int(std::lround(seconds * 1000.0));
}

} // namespace

TimeSelector::TimeSelector(int styleKind, QWidget* parent)
    : CButton(styleKind, parent)
{
    setCheckable(true);
    if (styleKind == kComboKind)
        setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    connect(this, &CButton::toggled, this, &TimeSelector::onToggled);
    updateText();
}

TimeSelector::~TimeSelector() = default;

void TimeSelector::setMsecValue(int ms)
{
    if (ms != m_msec)
        commit(ms);
}

void TimeSelector::setSecValue(int sec)
{
    setMsecValue(sec * 1000);
}

void TimeSelector::setMsecValueSilently(int ms)
{
    const QSignalBlocker blocker(this);
    setMsecValue(ms);
}

void TimeSelector::setSecValueSilently(int sec)
{
    setMsecValueSilently(sec * 1000);
}

void TimeSelector::commit(int ms)
{
    m_msec = ms;
    updateText();
    emit secValueChanged(ms / 1000);
    emit msecValueChanged(ms);
}

void TimeSelector::setPresets(const QList<int>& ms) { m_presets = ms; }

void TimeSelector::setSecPresets(const QList<int>& sec)
{
    m_presets.clear();
    for (int value : sec)
        m_presets.append(value * 1000);
}

void TimeSelector::setPopupEdge(Qt::Edge edge) { m_popupEdge = edge; }
void TimeSelector::setMinimumPopupWidth(int width) { m_minimumPopupWidth = width; }
void TimeSelector::setCustomValueEnabled(bool enabled) { m_customValueEnabled = enabled; }
void TimeSelector::setApplyToAllEnabled(bool enabled) { m_applyToAllEnabled = enabled; }
TimeSelector::Popup* TimeSelector::popup() const { return m_popup; }

void TimeSelector::updateText()
{
    setText(secondsCaption(m_msec));
}

void TimeSelector::onToggled(bool checked)
{
    if (!checked) {
        if (m_popup)
            m_popup->hide();
        return;
    }
    m_popup = new Popup(this, m_customValueEnabled, m_applyToAllEnabled);
    m_popup->showBeside(m_popupEdge, m_minimumPopupWidth);
}

TimeSelector::Popup::Popup(TimeSelector* selector, bool customValue, bool applyToAll)
    : SelectorPopup(selector, selector->msecValue())
{
    for (int ms : selector->presets())
        addPreset(ms, secondsCaption(ms));
    if (customValue)
        addCustomField();
    if (applyToAll) {
        m_applyToAll = addButtonItem(kItemKind);
        m_applyToAll->setText(interfaceText(139));
        connect(m_applyToAll, &CButton::clicked, this, &Popup::onApplyToAll);
    }
}

TimeSelector::Popup::~Popup() = default;

TimeSelector* TimeSelector::Popup::selector() const
{
    return static_cast<TimeSelector*>(parentWidget());
}

int TimeSelector::Popup::selectorValue() const
{
    return selector()->msecValue();
}

void TimeSelector::Popup::commit(int ms)
{
    selector()->commit(ms);
}

void TimeSelector::Popup::addCustomField()
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(12, 3, 12, 3);
    m_spin = new CDoubleSpin(kSpinKind);
    m_spin->setSingleStep(0.5);
    m_spin->setDecimals(1);
    m_spin->setRange(0.5, 300.0);
    m_spin->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    m_spin->setValueSilently(initialValue() / 1000.0);
    m_spin->selectAll();
    row->addWidget(m_spin);
    itemLayout()->addLayout(row);
    connect(this, &CWidgetBase::showed, m_spin, [this] { m_spin->setFocus(); });
    connect(m_spin, &CDoubleSpin::doubleValueChanged, this,
            [this](double seconds) { setPending(secondsToMsec(seconds)); });
    connect(m_spin, &CDoubleSpin::enterPressed, this, &QWidget::hide);
    connect(m_spin, &CDoubleSpin::escPressed, this, &Popup::dropPendingAndHide);
}

void TimeSelector::Popup::onApplyToAll()
{
    const int value = m_spin ? secondsToMsec(m_spin->value()) : initialValue();
    TimeSelector* owner = selector();
    if (value != owner->msecValue())
        owner->commit(value);
    emit owner->secApplyToAll(owner->msecValue() / 1000);
    emit owner->msecApplyToAll(owner->msecValue());
    dropPendingAndHide();
}
