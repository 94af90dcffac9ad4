#pragma once

#include "uilib/controls/CPanel.h"

#include <QMargins>
#include <QPair>
#include <QVector>

class QHBoxLayout;
class QVBoxLayout;

// The widget's horizontal box layout: the one it has (null when its layout is of another kind,
// which is left as it is), else a new one with the margins and spacing.
QHBoxLayout* ensureHBoxLayout(QWidget* widget, const QMargins& margins = QMargins(), int spacing = 0);
// The vertical twin of ensureHBoxLayout.
QVBoxLayout* ensureVBoxLayout(QWidget* widget, const QMargins& margins = QMargins(), int spacing = 0);

// The five cells of a slide-list row, laid out side by side on the row widget: number, time,
// transition, motion and caption. A row class takes it as a further base beside its widget.
class AbstractRow
{
public:
    // A cell of the row: a panel without a look of its own.
    class CellWidget : public CPanel
    {
    public:
        explicit CellWidget(QWidget* row);
    };

    enum { ColumnCount = 5 };
    // (minimum width, maximum width) of each cell, in column order.
    using ColumnWidths = QVector<QPair<int, int>>;

    AbstractRow(QWidget* row, const QMargins& margins);
    virtual ~AbstractRow();

    CellWidget* cell(int column) const;
    QWidget* rowWidget() const { return m_row; }

    ColumnWidths columnWidths() const;
    // Cells past the end of a shorter list keep their widths.
    void setColumnWidths(const ColumnWidths& widths);

private:
    QVector<CellWidget*> m_cells;
    QWidget* m_row;
};
