#include "pages/LoopSelector.h"

#include "model/TimeText.h"
#include "pages/InterfaceText.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CSpinBox.h"
#include "uilib/controls/CWidgetText.h"

#include <QBoxLayout>
#include <QSignalBlocker>

namespace {

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
LoopSelector::Popup* LoopSelector::popup() const { return m_popup; }

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
    m_popup->showBeside(m_popupEdge, 0);
}

LoopSelector::Popup::Popup(LoopSelector* selector)
    : SelectorPopup(selector, selector->value())
{
    for (int count : selector->presets())
        addPreset(count, countCaption(count))->setSecondaryText(totalText(count));
    addCustomRow(selector->presets().contains(initialValue()));
}

LoopSelector::Popup::~Popup() = default;

LoopSelector* LoopSelector::Popup::selector() const
{
    return static_cast<LoopSelector*>(parentWidget());
}

int LoopSelector::Popup::selectorValue() const
{
    return selector()->value();
}

void LoopSelector::Popup::commit(int count)
{
    selector()->commit(count);
}

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
    m_spin->setValueSilently(initialValue());
    m_spin->selectAll();
    m_total = new CWidgetText(1063);
    m_total->setText(totalText(initialValue()));
    row->addWidget(m_spin);
    row->addWidget(m_total);
    addWidget(panel);
    connect(this, &CWidgetBase::showed, m_spin, [this] { m_spin->setFocus(); });
    connect(m_spin, &CSpinBox::intValueChanged, this, &Popup::onCustomEdited);
    connect(m_spin, &CSpinBox::enterPressed, this, &QWidget::hide);
    connect(m_spin, &CSpinBox::escPressed, this, &Popup::dropPendingAndHide);
    connect(m_customRow, &CButton::toggled, this, [this](bool checked) {
        if (checked)
            hide();
    });
}

QString LoopSelector::Popup::totalText(int count) const
{
    return msecsToMinSecText(selector()->oneLoopDuration() * count);
}

void LoopSelector::Popup::onCustomEdited(int count)
{
    m_total->setText(totalText(count));
    m_customRow->setChecked(!setPending(count));
}
