#include "pages/ProjectPageSlidesHeader.h"

#include "pages/EffectNames.h"
#include "pages/InterfaceText.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QHBoxLayout>
#include <QFontMetrics>

#include <algorithm>

namespace {

constexpr int kThumbnailSpace = 64;
// The palette's colour of panel borders.
constexpr int kLineColorRole = 1017;

int horizontal(const QMargins& margins)
{
    return margins.left() + margins.right();
}

// The widest of the texts in the label's font, with the label's own margins.
int widestText(const CWidgetText* label, const QStringList& texts)
{
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    return horizontal(label->contentsMargins()) + widest;
}

} // namespace

ProjectPage::SlidesHeader::SlidesHeader(QWidget* parent)
    : CPanel(1052, parent)
    , AbstractRow(this, QMargins(0, 0, 0, 2))
{
    setBorderWidths(QMargins(0, 0, 0, 1));
    setFixedHeight(37);
    for (int column = 0; column < ColumnCount; ++column) {
        auto* caption = new CWidgetText(1063, cell(column));
        cell(column)->layout()->addWidget(caption);
        m_captions.append(caption);
    }
    CWidgetText* number = m_captions[0];
    number->setContentsMargins(8, 0, 8, 0);
    number->setAlignment(Qt::AlignCenter);
    ensureHBoxLayout(cell(0))->addSpacing(kThumbnailSpace);
    applyStyle();
}

ProjectPage::SlidesHeader::~SlidesHeader() = default;

CWidgetText* ProjectPage::SlidesHeader::captionLabel(int column) const
{
    return m_captions.value(column);
}

void ProjectPage::SlidesHeader::applyStyle()
{
    CPanel::applyStyle();
    // The panel look has no border colour; the line under the captions takes the palette's.
    setBorderColors(ColorSet(currentPalette()->color(kLineColorRole)));
}

void ProjectPage::SlidesHeader::updateTexts()
{
    m_captions[0]->setText(interfaceText(97).trimmed());
    m_captions[1]->setText(interfaceText(98));
    m_captions[2]->setText(interfaceText(99));
    m_captions[3]->setText(interfaceText(108));
    m_captions[4]->setText(interfaceText(88));
    setColumnWidths(measureColumns());
}

AbstractRow::ColumnWidths ProjectPage::SlidesHeader::measureColumns() const
{
    const auto captionHint = [this](int column) { return m_captions[column]->sizeHint().width(); };
    const int number = std::max(kThumbnailSpace + 1 + widestText(m_captions[0], {QStringLiteral("999")}),
                                1 + widestText(m_captions[0], {interfaceText(104)}));
    const int time =
        std::max(captionHint(1), widestText(m_captions[1], {interfaceText(199).arg(QStringLiteral("999.9"))}));
    const int transition = std::max(captionHint(2), widestText(m_captions[2], transitionNames()));
    const int motion = std::max(captionHint(3), widestText(m_captions[3], motionNames()));
    const int text = 26 + widestText(m_captions[4], {interfaceText(105)})
                     + widestText(m_captions[4], {interfaceText(106) + QStringLiteral(" (999)")});
    const int contents[ColumnCount] = {number, time, transition, motion, text};
    ColumnWidths widths;
    for (int column = 0; column < ColumnCount; ++column) {
        const int width = horizontal(cell(column)->layout()->contentsMargins()) + contents[column];
        // The caption column takes what is left of the row.
        widths.append({width, column == ColumnCount - 1 ? QWIDGETSIZE_MAX : width});
    }
    return widths;
}
