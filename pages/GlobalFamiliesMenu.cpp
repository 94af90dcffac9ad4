#include "pages/GlobalFamiliesMenu.h"

#include "pages/FontsCombo.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CScrollArea.h"
#include "uilib/style/CButtonGroup.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFontInfo>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

constexpr int kScrollAreaKind = 39;
constexpr int kVerticalBar = 2;
constexpr int kMaximumListHeight = 600;
constexpr int kFilterDelayMs = 150;
constexpr int kFilterMaxLength = 255;
constexpr int kCacheDropEvery = 10;
constexpr int kSampleGraphemes = 8;

// The first graphemes of the text.
QString leadingGraphemes(const QString& text, int count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int end = 0;
    for (int i = 0; i < count && end >= 0 && end < text.size(); ++i)
        end = finder.toNextBoundary();
    return end < 0 ? text : text.left(end);
}

} // namespace

GlobalFamiliesMenu::GlobalFamiliesMenu(QWidget* parent, int windowKind, int itemKind, int editKind,
                                       const FamilySource& source, const std::function<void()>& pump,
                                       int previewBudgetMs)
    : CWindowMenu(windowKind, Qt::Vertical, parent)
    , m_group(new CButtonGroup(itemKind, this))
    , m_filter(new CLinEdit(editKind))
{
    setCloseOnItemClick(false);
    setScrollable(kVerticalBar, kScrollAreaKind);
    contentWidget()->setMaximumHeight(kMaximumListHeight);
    if (source)
        m_families = source();
    buildItems(pump, previewBudgetMs);
    m_filter->setMaxLength(kFilterMaxLength);
    auto* column = qobject_cast<QBoxLayout*>(contentWidget()->layout());
    if (column)
        column->insertWidget(0, m_filter);
    m_filterTimer.setSingleShot(true);
    m_filterTimer.setInterval(kFilterDelayMs);
    connect(m_filter, &QLineEdit::textChanged, this, &GlobalFamiliesMenu::onFilterEdited);
    connect(&m_filterTimer, &QTimer::timeout, this, &GlobalFamiliesMenu::applyFilter);
    connect(this, &CWidgetBase::showed, this, &GlobalFamiliesMenu::onShown);
    connect(m_group, &CButtonGroup::toggled, this, &GlobalFamiliesMenu::onItemToggled);
    connect(this, &CWidgetBase::hided, this, &GlobalFamiliesMenu::onHidden);
}

GlobalFamiliesMenu::~GlobalFamiliesMenu()
{
    disconnect(this, &CWidgetBase::hided, this, nullptr);
}

void GlobalFamiliesMenu::buildItems(const std::function<void()>& pump, int previewBudgetMs)
{
    m_elapsed.start();
    m_names = m_families.keys();
    std::sort(m_names.begin(), m_names.end());
    const int pixelSize = QFontInfo(font()).pixelSize();
    int firstHeight = 0;
    for (int i = 0; i < m_names.size(); ++i) {
        const QString& family = m_names.at(i);
        if (pump)
            pump();
        if (i % kCacheDropEvery == 0)
            QFont::cleanup();
        CButton* button = m_group->addNewButton(family);
        button->setText(family);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        if (i == 0)
            firstHeight = button->minimumHeight();
        addWidget(button);
        QFont font(family);
        font.setPixelSize(pixelSize);
        const FamilyInfo info = m_families.value(family);
        if (info.symbol || !info.sampleText.isEmpty()) {
            button->setSecondaryFont(font);
            button->setSecondaryText(
                leadingGraphemes(info.sampleText.isEmpty() ? family : info.sampleText, kSampleGraphemes));
        } else if (!m_fastMode) {
            button->setFont(font);
            QSize minimum = button->sizeHint();
            minimum.setHeight(qMax(minimum.height(), firstHeight));
            button->setMinimumSize(minimum);
        }
        if (!m_fastMode && m_elapsed.elapsed() > previewBudgetMs)
            enterFastMode(i + 1);
    }
    itemLayout()->addStretch();
    adjustSize();
}

void GlobalFamiliesMenu::enterFastMode(int builtItems)
{
    m_fastMode = true;
    m_elapsed.restart();
    for (int i = 0; i < builtItems; ++i) {
        CButton* button = item(m_names.at(i));
        button->setMinimumSize(0, 0);
        button->setFont(QFont());
    }
}

FontsCombo* GlobalFamiliesMenu::combo() const
{
    return m_combo;
}

CButton* GlobalFamiliesMenu::item(const QString& family) const
{
    return m_group->buttonByValue(family);
}

void GlobalFamiliesMenu::showFor(FontsCombo* combo)
{
    m_elapsed.restart();
    m_combo = combo;
    // A family the menu does not list leaves no item checked.
    if (!m_group->setCheckedValueSilently(combo->family())) {
        for (CButton* button : m_group->buttons())
            button->setChecked(false);
    }
    const QRect anchor =
        QRect(combo->mapToGlobal(QPoint(0, 0)), combo->size()).marginsRemoved(combo->CPanelDraw::margins());
    contentWidget()->setMinimumWidth(anchor.width());
    if (CButton* checked = m_group->checkedButton())
        ensureItemVisible(checked);
    showNextToRect(anchor, 8, 1, true);
    addPassThroughWidget(combo);
}

void GlobalFamiliesMenu::onFilterEdited(const QString& text)
{
    if (text == m_pendingFilter)
        return;
    m_pendingFilter = text;
    m_filterTimer.start();
}

void GlobalFamiliesMenu::applyFilter()
{
    if (m_pendingFilter == m_appliedFilter)
        return;
    m_appliedFilter = m_pendingFilter;
    QWidget* list = scrollArea() ? scrollArea()->widget() : nullptr;
    if (list)
        list->hide();
    for (const QString& family : qAsConst(m_names)) {
        const bool shown = m_appliedFilter.isEmpty() || family.indexOf(m_appliedFilter, 0, Qt::CaseInsensitive) >= 0;
        item(family)->setVisible(shown);
    }
    if (list)
        list->show();
}

void GlobalFamiliesMenu::onShown()
{
    if (!isActiveWindow()) {
        m_focusBefore = QApplication::focusWidget();
        activateWindow();
    }
    m_filter->setFocus();
}

void GlobalFamiliesMenu::onItemToggled(CButton* button, const QVariant& value)
{
    if (!button)
        return;
    if (m_combo)
        m_combo->setFamily(value.toString());
    fadeOut();
}

void GlobalFamiliesMenu::onHidden()
{
    if (m_focusBefore)
        m_focusBefore->setFocus();
    m_focusBefore = nullptr;
    m_filter->clear();
    QFont::cleanup();
    if (!m_combo)
        return;
    removePassThroughWidget(m_combo);
    m_combo->setChecked(false);
    m_combo = nullptr;
}
