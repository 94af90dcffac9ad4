#pragma once

class QModelIndex;

// The interface of a row widget of a CListWidget; a row derives from a QWidget class and
// from this. A new row is made by the list's factory for its index and is not told it again.
class CListWidgetDelegate
{
public:
    virtual ~CListWidgetDelegate() = default;
    // Shows the row of the index: a pooled row taken again, or the model's data changed.
    virtual void setModelIndex(const QModelIndex& index);
    // Forgets the row: the widget goes into the pool.
    virtual void clearModelIndex();
    // The list's current layout id, given to every new, reused, pooled and live row.
    virtual void setLayoutId(int id);
    // Computes the row's content or size again.
    virtual void relayout();
};
