#include "pages/TimeSelector.h"

#include "model/AppPaths.h"
#include "pages/InterfaceText.h"
#include "pages/SelectorPopup.h"
#include "uilib/controls/CSpinBox.h"

#include <QBoxLayout>
#include <QLineEdit>
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
    showSelectorPopup(this, m_popup, m_popupEdge, m_minimumPopupWidth);
}

TimeSelector::Popup::Popup(TimeSelector* selector, bool customValue, bool applyToAll)
    : CWindowMenu(Qt::Vertical, selector)
    , m_selector(selector)
    , m_initial(selector->msecValue())
{
    for (int ms : selector->presets()) {
        CButton* button = addButtonItem(kItemKind);
        button->setCheckable(true);
        button->setExclusive(true);
        button->setText(secondsCaption(ms));
        button->setChecked(ms == m_initial);
        m_presetButtons.insert(ms, button);
        connect(button, &CButton::toggled, this, [this, ms](bool checked) { onPresetToggled(ms, checked); });
    }
    if (customValue)
        addCustomField();
    if (applyToAll) {
        m_applyToAll = addButtonItem(kItemKind);
        m_applyToAll->setText(interfaceText(139));
        connect(m_applyToAll, &CButton::clicked, this, &Popup::onApplyToAll);
    }
    setAttribute(Qt::WA_DeleteOnClose);
    setCloseOnItemClick(false);
    connect(this, &CWidgetBase::hided, this, &Popup::onHidden);
}

TimeSelector::Popup::~Popup() = default;

void TimeSelector::Popup::addCustomField()
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(12, 3, 12, 3);
    m_spin = new CDoubleSpin(kSpinKind);
    m_spin->setSingleStep(0.5);
    m_spin->setDecimals(1);
    m_spin->setRange(0.5, 300.0);
    m_spin->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    m_spin->setValueSilently(m_initial / 1000.0);
    m_spin->selectAll();
    row->addWidget(m_spin);
    itemLayout()->addLayout(row);
    connect(this, &CWidgetBase::showed, m_spin, [this] { m_spin->setFocus(); });
    connect(m_spin, &CDoubleSpin::doubleValueChanged, this, &Popup::onCustomEdited);
    connect(m_spin, &CDoubleSpin::enterPressed, this, &QWidget::hide);
    connect(m_spin, &CDoubleSpin::escPressed, this, [this] {
        m_pending = -1;
        hide();
    });
}

void TimeSelector::Popup::onPresetToggled(int ms, bool checked)
{
    if (!checked)
        return;
    m_pending = -1;
    if (m_selector && m_selector->msecValue() != ms)
        m_selector->commit(ms);
    hide();
}

void TimeSelector::Popup::onCustomEdited(double seconds)
{
    m_pending = secondsToMsec(seconds);
    for (auto it = m_presetButtons.cbegin(); it != m_presetButtons.cend(); ++it)
        it.value()->setChecked(it.key() == m_pending);
}

void TimeSelector::Popup::onApplyToAll()
{
    m_pending = -1;
    if (!m_selector)
        return;
    const int value = m_spin ? secondsToMsec(m_spin->value()) : m_initial;
    if (value != m_selector->msecValue())
        m_selector->commit(value);
    emit m_selector->secApplyToAll(m_selector->msecValue() / 1000);
    emit m_selector->msecApplyToAll(m_selector->msecValue());
    hide();
}

void TimeSelector::Popup::onHidden()
{
    if (m_selector) {
        m_selector->setChecked(false);
        if (commitsPending(m_pending, m_initial, m_selector->msecValue()))
            m_selector->commit(m_pending);
    }
    close();
}
