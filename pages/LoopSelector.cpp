#include "pages/LoopSelector.h"

#include "pages/EffectNames.h"
#include "pages/InterfaceText.h"
#include "pages/SelectorPopup.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CSpinBox.h"
#include "uilib/controls/CWidgetText.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

constexpr int kItemKind = 16;
constexpr int kComboKind = 18;

QString countCaption(int count)
{
    return interfaceText(135).arg(count);
}

} // namespace

LoopSelector::LoopSelector(int styleKind, QWidget* parent)
    : CButton(styleKind, parent, true)
{
    setCheckable(true);
    if (styleKind == kComboKind)
        setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    connect(this, &CButton::toggled, this, &LoopSelector::onToggled);
    updateText();
    applyStyle();
}

LoopSelector::~LoopSelector() = default;

void LoopSelector::applyStyle()
{
    CButton::applyStyle();
    if (styleKind() != kComboKind)
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void LoopSelector::setValueSilently(int count)
{
    const QSignalBlocker blocker(this);
    if (count != m_count)
        commit(count);
}

void LoopSelector::commit(int count)
{
    m_count = count;
    updateText();
    emit valueChanged(count);
}

void LoopSelector::setPresets(const QList<int>& counts) { m_presets = counts; }
void LoopSelector::setPopupEdge(Qt::Edge edge) { m_popupEdge = edge; }

void LoopSelector::setOneLoopDuration(qint64 ms)
{
    if (ms == m_oneLoop)
        return;
    m_oneLoop = ms;
    updateText();
}

void LoopSelector::updateText()
{
    setText(countCaption(m_count) + QStringLiteral(" (") + msecsToMinSecText(m_oneLoop * m_count)
            + QStringLiteral(")"));
}

void LoopSelector::onToggled(bool checked)
{
    if (!checked) {
        if (m_popup)
            m_popup->hide();
        return;
    }
    m_popup = new Popup(this);
    showSelectorPopup(this, m_popup, m_popupEdge, 0);
}

LoopSelector::Popup::Popup(LoopSelector* selector)
    : CWindowMenu(Qt::Vertical, selector)
    , m_selector(selector)
    , m_initial(selector->value())
{
    bool presetChecked = false;
    for (int count : selector->presets()) {
        CButton* button = addButtonItem(kItemKind);
        button->setCheckable(true);
        button->setExclusive(true);
        button->setText(countCaption(count));
        button->setSecondaryText(totalText(count));
        button->setChecked(count == m_initial);
        presetChecked = presetChecked || count == m_initial;
        m_presetButtons.insert(count, button);
        connect(button, &CButton::toggled, this, [this, count](bool checked) { onPresetToggled(count, checked); });
    }
    addCustomRow(presetChecked);
    setAttribute(Qt::WA_DeleteOnClose);
    setCloseOnItemClick(false);
    connect(this, &CWidgetBase::hided, this, &Popup::onHidden);
}

LoopSelector::Popup::~Popup() = default;

void LoopSelector::Popup::addCustomRow(bool presetChecked)
{
    itemLayout()->addSpacing(6);
    auto* panel = new CPanel(1052);
    panel->setBorderWidths(QMargins(0, 1, 0, 0));
    panel->setMargins(QMargins(1, 0, 1, 0));
    panel->setMinimumWidth(150);
    auto* panelRow = new QHBoxLayout(panel);
    panelRow->setContentsMargins(0, 6, 0, 0);
    panelRow->setSpacing(0);
    m_customRow = new CButton(19, panel);
    m_customRow->setCheckable(true);
    m_customRow->setExclusive(true);
    m_customRow->setChecked(!presetChecked);
    panelRow->addWidget(m_customRow);
    auto* row = new QHBoxLayout(m_customRow);
    row->setContentsMargins(12, 3, 9, 3);
    row->setSpacing(24);
    m_spin = new CSpinBox(36);
    m_spin->setSingleStep(1);
    m_spin->setRange(1, 99);
    m_spin->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    m_spin->setValueSilently(m_initial);
    m_spin->selectAll();
    m_total = new CWidgetText(1063);
    m_total->setText(totalText(m_initial));
    row->addWidget(m_spin);
    row->addWidget(m_total);
    addWidget(panel);
    connect(this, &CWidgetBase::showed, m_spin, [this] { m_spin->setFocus(); });
    connect(m_spin, &CSpinBox::intValueChanged, this, &Popup::onCustomEdited);
    connect(m_spin, &CSpinBox::enterPressed, this, &QWidget::hide);
    connect(m_spin, &CSpinBox::escPressed, this, [this] {
        m_pending = -1;
        hide();
    });
    connect(m_customRow, &CButton::toggled, this, [this](bool checked) {
        if (checked)
            hide();
    });
}

QString LoopSelector::Popup::totalText(int count) const
{
    return msecsToMinSecText(m_selector ? m_selector->oneLoopDuration() * count : 0);
}

void LoopSelector::Popup::onPresetToggled(int count, bool checked)
{
    if (!checked)
        return;
    m_pending = -1;
    if (m_selector && m_selector->value() != count)
        m_selector->commit(count);
    hide();
}

void LoopSelector::Popup::onCustomEdited(int count)
{
    m_pending = count;
    m_total->setText(totalText(count));
    bool presetChecked = false;
    for (auto it = m_presetButtons.cbegin(); it != m_presetButtons.cend(); ++it) {
        it.value()->setChecked(it.key() == count);
        presetChecked = presetChecked || it.key() == count;
    }
    m_customRow->setChecked(!presetChecked);
}

void LoopSelector::Popup::onHidden()
{
    if (m_selector) {
        m_selector->setChecked(false);
        if (commitsPending(m_pending, m_initial, m_selector->value()))
            m_selector->commit(m_pending);
    }
    close();
}
