#include "pages/SelectorPopup.h"

#include "uilib/controls/CButton.h"

namespace {

constexpr int kItemKind = 16;
constexpr int kComboKind = 18;

} // namespace

SelectorPopup::SelectorPopup(CButton* selector, int initial)
    : CWindowMenu(Qt::Vertical, selector)
    , m_selector(selector)
    , m_initial(initial)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setCloseOnItemClick(false);
    connect(this, &CWidgetBase::hided, this, &SelectorPopup::onHidden);
}

SelectorPopup::~SelectorPopup()
{
    // Destroyed while shown, it hides once more: nothing to commit then.
    disconnect(this, &CWidgetBase::hided, this, nullptr);
}

void SelectorPopup::showBeside(Qt::Edge edge, int minimumWidth)
{
    if (!m_selector)
        return;
    addPassThroughWidget(m_selector);
    if (QWidget* content = contentWidget())
        content->setMinimumWidth(qMax(minimumWidth, m_selector->width()));
    const QPoint offset = m_selector->styleKind() == kComboKind ? QPoint(0, 0) : QPoint(0, -10);
    showNextToRect(QRect(m_selector->mapToGlobal(QPoint(0, 0)), m_selector->size()), edge, 1, true, offset);
}

CButton* SelectorPopup::addPreset(int value, const QString& text)
{
    CButton* button = addButtonItem(kItemKind);
    button->setCheckable(true);
    button->setExclusive(true);
    button->setText(text);
    button->setChecked(value == m_initial);
    m_presets.insert(value, button);
    connect(button, &CButton::toggled, this, [this, value](bool checked) {
        if (checked)
            takePreset(value);
    });
    return button;
}

bool SelectorPopup::setPending(int value)
{
    m_pending = value;
    bool matched = false;
    for (auto it = m_presets.cbegin(); it != m_presets.cend(); ++it) {
        it.value()->setChecked(it.key() == value);
        matched = matched || it.key() == value;
    }
    return matched;
}

void SelectorPopup::dropPendingAndHide()
{
    m_pending = -1;
    hide();
}

void SelectorPopup::takePreset(int value)
{
    m_pending = -1;
    if (m_selector && selectorValue() != value)
        commit(value);
    hide();
}

void SelectorPopup::onHidden()
{
    if (m_selector) {
        m_selector->setChecked(false);
        if (m_pending != -1 && m_pending != m_initial && m_pending != selectorValue())
            commit(m_pending);
    }
    close();
}
