#include "pages/AbstractRow.h"

#include <QBoxLayout>

namespace {

template <class Box>
Box* ensureBoxLayout(QWidget* widget, const QMargins& margins, int spacing)
{
    if (!widget)
        return nullptr;
    if (QLayout* existing = widget->layout())
        return qobject_cast<Box*>(existing);
    auto* box = new Box(widget);
    box->setContentsMargins(margins);
    box->setSpacing(spacing);
    return box;
}

struct CellLook
{
    QMargins margins;
    QSizePolicy::Policy horizontal;
};

const CellLook kCellLooks[AbstractRow::ColumnCount] = {
    {QMargins(0, 0, 0, 0), QSizePolicy::Fixed},
    {QMargins(16, 0, 12, 0), QSizePolicy::Fixed},
    {QMargins(12, 0, 12, 0), QSizePolicy::Expanding},
    {QMargins(12, 0, 12, 0), QSizePolicy::Expanding},
    {QMargins(12, 0, 0, 0), QSizePolicy::Minimum},
};

} // namespace

QHBoxLayout* ensureHBoxLayout(QWidget* widget, const QMargins& margins, int spacing)
{
    return ensureBoxLayout<QHBoxLayout>(widget, margins, spacing);
}

QVBoxLayout* ensureVBoxLayout(QWidget* widget, const QMargins& margins, int spacing)
{
    return ensureBoxLayout<QVBoxLayout>(widget, margins, spacing);
}

AbstractRow::CellWidget::CellWidget(QWidget* row)
    : CPanel(row, false)
{
}

AbstractRow::AbstractRow(QWidget* row, const QMargins& margins)
    : m_row(row)
{
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(margins);
    layout->setSpacing(0);
    for (const CellLook& look : kCellLooks) {
        auto* cell = new CellWidget(row);
        layout->addWidget(cell);
        ensureHBoxLayout(cell, look.margins, 0);
        cell->setSizePolicy(look.horizontal, QSizePolicy::Minimum);
        m_cells.append(cell);
    }
}

AbstractRow::~AbstractRow() = default;

AbstractRow::CellWidget* AbstractRow::cell(int column) const
{
    return column >= 0 && column < m_cells.size() ? m_cells[column] : nullptr;
}

AbstractRow::ColumnWidths AbstractRow::columnWidths() const
{
    ColumnWidths widths;
    for (const CellWidget* cell : m_cells)
        widths.append({cell->minimumWidth(), cell->maximumWidth()});
    return widths;
}

void AbstractRow::setColumnWidths(const ColumnWidths& widths)
{
    const int count = qMin(widths.size(), m_cells.size());
    for (int column = 0; column < count; ++column) {
        m_cells[column]->setMinimumWidth(widths[column].first);
        m_cells[column]->setMaximumWidth(widths[column].second);
    }
}
