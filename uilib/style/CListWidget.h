#pragma once

#include "uilib/controls/CScrollArea.h"

#include <QModelIndex>

#include <functional>

class CDragDrop;
class CListWidgetDelegate;
class QAbstractItemModel;
class QLayout;

// Shows the rows (column 0 under a root index) of an item model as row widgets made by a
// factory, one after another in the current row layout, and keeps them in step with the
// model. Widgets of removed rows are pooled and reused. With uniform row sizes only the
// rows near the visible part are real widgets. While it rebuilds it shows a still picture.
//
// Local moves of its CDragDrop reach the model as mimeData of the row, then
// dropMimeData(data, Qt::MoveAction, newIndex, 0, root), where newIndex is the row's place
// after the move; the model moves the row itself. A refused move puts the row back.
// External drops reach dropMimeData(data, action, row, 0, root).
class CListWidget : public CScrollArea
{
    Q_OBJECT
public:
    using DelegateFactory = std::function<CListWidgetDelegate*(QWidget* parent, const QModelIndex& index)>;

    explicit CListWidget(int styleKind, QWidget* parent = nullptr);
    ~CListWidget() override;

    void setModel(QAbstractItemModel* model, const QModelIndex& root = QModelIndex());
    QAbstractItemModel* model() const;
    // A row widget derives from QWidget and CListWidgetDelegate.
    void setDelegateFactory(const DelegateFactory& factory);
    void addLayout(int id, QLayout* layout);
    void setCurrentLayoutId(int id);
    int currentLayoutId() const;
    // Refused while the drag-and-drop object has a drop indicator.
    void setUniformRowSizes(bool on);
    bool uniformRowSizes() const;
    void setKeyboardNavigationEnabled(bool on);
    bool isKeyboardNavigationEnabled() const;
    void relayoutRows();
    // Calls function(row, position) for every row widget of the current layout.
    void forEachDelegate(const std::function<void(CListWidgetDelegate*, int)>& function);
    CDragDrop* dragDrop() const;

signals:
    void rowCountChanged(int count);
    void hardWorkFinished();

protected:
    bool event(QEvent* event) override;

private:
    class Private;
    Private* d;
};
