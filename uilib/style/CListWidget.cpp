#include "uilib/style/CListWidget.h"

#include "uilib/style/CDragDrop.h"
#include "uilib/style/CLayoutItem.h"
#include "uilib/style/CLayoutManager.h"
#include "uilib/style/CListWidgetDelegate.h"
#include "uilib/style/GlobLayout.h"
#include "uilib/style/ListKeyNavigation.h"

#include <QAbstractItemModel>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScrollBar>
#include <QSet>
#include <QTimer>

#include <private/qwidget_p.h>

#include <memory>

void CListWidgetDelegate::setModelIndex(const QModelIndex&) {}
void CListWidgetDelegate::clearModelIndex() {}
void CListWidgetDelegate::setLayoutId(int) {}
void CListWidgetDelegate::relayout() {}

namespace {

CListWidgetDelegate* delegateOf(QWidget* widget)
{
    return dynamic_cast<CListWidgetDelegate*>(widget);
}

CListWidgetDelegate* delegateAt(QLayout* layout, int position)
{
    QLayoutItem* item = layout ? layout->itemAt(position) : nullptr;
    return item ? delegateOf(item->widget()) : nullptr;
}

QWidget* widgetOf(CListWidgetDelegate* delegate)
{
    return dynamic_cast<QWidget*>(delegate);
}

// True while the widget or one of its parents runs its destructor.
bool beingDestroyed(QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (QWidgetPrivate::get(widget)->data.in_destructor)
            return true;
    }
    return false;
}

// The size a layout gives a shown row: its size hint within its minimum and maximum sizes, as
// CLayoutItem reports while it holds the row, so rows keep their places as they come and go.
QSize shownRowSize(const QWidget* row)
{
    QSize size = row->sizeHint()
                     .expandedTo(row->minimumSizeHint())
                     .boundedTo(row->maximumSize())
                     .expandedTo(row->minimumSize());
    const QSizePolicy policy = row->sizePolicy();
    if (policy.horizontalPolicy() == QSizePolicy::Ignored)
        size.setWidth(0);
    if (policy.verticalPolicy() == QSizePolicy::Ignored)
        size.setHeight(0);
    return size;
}

// Positions of the window after rows start..end moved to stand before `row` (counted before the move).
QSet<int> renumberMoved(const QSet<int>& positions, int start, int end, int row)
{
    const int n = end - start + 1;
    QSet<int> moved;
    for (int p : positions) {
        if (start < row) {
            if (p >= start && p <= end)
                p += row - 1 - end;
            else if (p > end && p < row)
                p -= n;
        } else {
            if (p >= start && p <= end)
                p = p - start + row;
            else if (p >= row && p < start)
                p += n;
        }
        moved.insert(p);
    }
    return moved;
}

} // namespace

class CListWidget::Private : public QObject
{
public:
    explicit Private(CListWidget* list);

    QLayout* currentLayout() const { return layoutManager->currentLayout(); }
    QModelIndex rowIndex(int row) const { return model->index(row, 0, root); }
    QWidget* makeRow(const QModelIndex& index);
    void insertRow(int position);
    void toPool(QWidget* widget);
    void removeRows(int first, int last);
    void removeAllRows();
    void busyPicture();
    void endBusyPicture();
    void rebuild();
    void connectModel();
    void ensurePrototype();
    CLayoutItem* newUniformItem() const;
    void resizeUniformItems();
    void updateWindow(const QRect& visible);
    void forEachLive(const std::function<void(CListWidgetDelegate*, int)>& function);
    // Gives the live rows from first to last their model index again.
    void rebindRows(int first, int last);
    void giveLayoutId(int id);

    void onRowsInserted(const QModelIndex& parent, int first, int last);
    void onRowsRemoved(const QModelIndex& parent, int first, int last);
    void onRowsMoved(const QModelIndex& parent, int start, int end, const QModelIndex& destination, int row);
    void onDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QVector<int>& roles);
    void onLayoutChanged(const QList<QPersistentModelIndex>& parents);
    void onWidgetMoved(QWidget* widget, int oldIndex, int newIndex);
    void onDropped(const QMimeData* data, Qt::DropAction action, int row);

    CDragDrop* dragDrop;
    bool keyboardNavigation = false;
    CListWidget* navigationList;
    bool uniformRowSizes = false;
    CListWidget* list;
    QAbstractItemModel* model = nullptr;
    QPersistentModelIndex root;
    CLayoutManager* layoutManager;
    DelegateFactory delegateFactory;
    QList<CListWidgetDelegate*> pool;
    QSet<int> visibleRows;
    CListWidgetDelegate* prototype = nullptr;
    QTimer settleTimer;
    QPixmap snapshot;
    bool movingRows = false;
    QVBoxLayout* contentBox = nullptr;
};

CListWidget::Private::Private(CListWidget* list)
    : QObject(list)
    , dragDrop(new CDragDrop(this))
    , navigationList(list)
    , list(list)
    , layoutManager(new CLayoutManager(list))
{
    settleTimer.setInterval(0);
    settleTimer.setSingleShot(true);
    connect(dragDrop, &CDragDrop::widgetMoved, this, &Private::onWidgetMoved);
    connect(dragDrop, &CDragDrop::dropped, this, &Private::onDropped);
    connect(dragDrop, &CDragDrop::dropIndicatorGeometryChanged, this,
            [this](const QRect& rect) { this->list->ensureRectVisible(rect, true); });
    connect(&settleTimer, &QTimer::timeout, this, &Private::endBusyPicture);
}

// A pooled widget comes back with the index; a new one is made for it by the factory.
QWidget* CListWidget::Private::makeRow(const QModelIndex& index)
{
    if (!delegateFactory)
        return nullptr;
    const int layoutId = layoutManager->currentLayoutId();
    if (!pool.isEmpty()) {
        CListWidgetDelegate* row = pool.takeLast();
        row->setLayoutId(layoutId);
        row->setModelIndex(index);
        return widgetOf(row);
    }
    CListWidgetDelegate* row = delegateFactory(list->widget(), index);
    if (!row)
        return nullptr;
    row->setLayoutId(layoutId);
    row->relayout();
    return widgetOf(row);
}

void CListWidget::Private::insertRow(int position)
{
    // A layout that takes no items (neither a box nor a flow) leaves them to be deleted.
    const auto insertItem = [this, position](QLayoutItem* item) {
        if (!insertLayoutItem(currentLayout(), position, item))
            delete item;
    };
    if (uniformRowSizes) {
        insertItem(newUniformItem());
        return;
    }
    if (QWidget* row = makeRow(rowIndex(position))) {
        layoutManager->insertWidget(position, row);
        row->show();
        return;
    }
    // Keeps the positions of later rows when the factory gives nothing.
    insertItem(new CLayoutItem(0, 0));
}

void CListWidget::Private::toPool(QWidget* widget)
{
    widget->hide();
    widget->setAttribute(Qt::WA_LaidOut, false);
    if (CListWidgetDelegate* row = delegateOf(widget)) {
        pool.append(row);
        row->clearModelIndex();
    }
}

void CListWidget::Private::removeRows(int first, int last)
{
    QLayout* layout = currentLayout();
    if (!layout)
        return;
    last = qMin(last, layout->count() - 1);
    layout->setEnabled(false);
    QList<QLayoutItem*> taken;
    for (int i = last; i >= first; --i) {
        if (QLayoutItem* item = layout->takeAt(i))
            taken.prepend(item);
    }
    for (QLayoutItem* item : qAsConst(taken)) {
        if (QWidget* widget = item->widget())
            toPool(widget);
        delete item;
    }
    layout->setEnabled(true);
}

void CListWidget::Private::removeAllRows()
{
    if (QLayout* layout = currentLayout())
        removeRows(0, layout->count() - 1);
}

void CListWidget::Private::busyPicture()
{
    if (uniformRowSizes || settleTimer.isActive() || beingDestroyed(list))
        return;
    QWidget* viewport = list->viewport();
    snapshot = viewport->grab(viewport->rect());
    viewport->hide();
    settleTimer.start();
}

void CListWidget::Private::endBusyPicture()
{
    QWidget* viewport = list->viewport();
    if (!viewport->isHidden())
        return;
    settleTimer.stop();
    list->relayout();
    viewport->show();
    snapshot = QPixmap();
    list->update();
    emit list->hardWorkFinished();
}

void CListWidget::Private::rebuild()
{
    if (!delegateFactory || !model)
        return;
    busyPicture();
    removeAllRows();
    const int count = model->rowCount(root);
    if (uniformRowSizes)
        ensurePrototype();
    if (currentLayout() && (!uniformRowSizes || prototype)) {
        for (int row = 0; row < count; ++row)
            insertRow(row);
    }
    if (uniformRowSizes) {
        visibleRows.clear();
        updateWindow(list->visibleWidgetRect());
    }
    emit list->rowCountChanged(count);
}

void CListWidget::Private::connectModel()
{
    connect(model, &QObject::destroyed, this, [this] { list->setModel(nullptr); });
    connect(model, &QAbstractItemModel::modelReset, this, &Private::rebuild);
    connect(model, &QAbstractItemModel::rowsInserted, this, &Private::onRowsInserted);
    connect(model, &QAbstractItemModel::rowsMoved, this, &Private::onRowsMoved);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &Private::onRowsRemoved);
    connect(model, &QAbstractItemModel::dataChanged, this, &Private::onDataChanged);
    connect(model, &QAbstractItemModel::layoutChanged, this, &Private::onLayoutChanged);
}

void CListWidget::Private::ensurePrototype()
{
    if (prototype || !delegateFactory)
        return;
    prototype = delegateFactory(list, QModelIndex());
    QWidget* widget = widgetOf(prototype);
    if (!widget) {
        prototype = nullptr;
        return;
    }
    prototype->setLayoutId(layoutManager->currentLayoutId());
    prototype->relayout();
    widget->hide();
}

CLayoutItem* CListWidget::Private::newUniformItem() const
{
    const QWidget* widget = widgetOf(prototype);
    const QSize size = shownRowSize(widget);
    const QSizePolicy policy = widget->sizePolicy();
    return new CLayoutItem(size.width(), size.height(), policy.horizontalPolicy(), policy.verticalPolicy());
}

void CListWidget::Private::resizeUniformItems()
{
    QLayout* layout = currentLayout();
    const QWidget* widget = widgetOf(prototype);
    if (!layout || !widget)
        return;
    const QSize size = shownRowSize(widget);
    const QSizePolicy policy = widget->sizePolicy();
    for (int i = 0; i < layout->count(); ++i) {
        if (auto* item = dynamic_cast<CLayoutItem*>(layout->itemAt(i)))
            item->changeSize(size.width(), size.height(), policy.horizontalPolicy(), policy.verticalPolicy());
    }
    layout->invalidate();
    updateWindow(list->visibleWidgetRect());
}

// Only the rows within one viewport height of the visible part are real widgets.
void CListWidget::Private::updateWindow(const QRect& visible)
{
    QLayout* layout = currentLayout();
    if (!uniformRowSizes || !layout || !model)
        return;
    if (!list->testAttribute(Qt::WA_WState_Created)) {
        if (layout->geometry().isEmpty())
            layout->invalidate();
        return;
    }
    if (layout->geometry().isEmpty())
        layout->activate();
    const QRect window = visible.isEmpty() ? visible : visible.adjusted(0, -visible.height(), 0, visible.height());
    const QSet<int> shown = positionsInRect(layout, window);
    for (int position : visibleRows - shown) {
        auto* item = dynamic_cast<CLayoutItem*>(layout->itemAt(position));
        if (QWidget* widget = item ? item->widget() : nullptr) {
            item->setWidget(nullptr);
            toPool(widget);
        }
    }
    for (int position : shown - visibleRows) {
        auto* item = dynamic_cast<CLayoutItem*>(layout->itemAt(position));
        if (!item || item->widget())
            continue;
        QWidget* widget = makeRow(rowIndex(position));
        if (!widget)
            continue;
        const QRect geometry = item->geometry();
        item->setWidget(widget);
        item->setGeometry(geometry);
        widget->show();
    }
    visibleRows = shown;
}

void CListWidget::Private::forEachLive(const std::function<void(CListWidgetDelegate*, int)>& function)
{
    QLayout* layout = currentLayout();
    for (int i = 0; layout && i < layout->count(); ++i) {
        if (CListWidgetDelegate* row = delegateAt(layout, i))
            function(row, i);
    }
}

void CListWidget::Private::giveLayoutId(int id)
{
    forEachLive([id](CListWidgetDelegate* row, int) { row->setLayoutId(id); });
    for (CListWidgetDelegate* row : qAsConst(pool))
        row->setLayoutId(id);
    if (uniformRowSizes && prototype)
        prototype->setLayoutId(id);
}

void CListWidget::Private::onRowsInserted(const QModelIndex& parent, int first, int last)
{
    if (parent != root || movingRows || !delegateFactory)
        return;
    busyPicture();
    if (uniformRowSizes)
        ensurePrototype();
    if (currentLayout() && (!uniformRowSizes || prototype)) {
        for (int row = first; row <= last; ++row)
            insertRow(row);
    }
    if (uniformRowSizes) {
        const int n = last - first + 1;
        QSet<int> shifted;
        for (int p : qAsConst(visibleRows))
            shifted.insert(p >= first ? p + n : p);
        visibleRows = shifted;
        updateWindow(list->visibleWidgetRect());
    }
    emit list->rowCountChanged(model->rowCount(root));
}

void CListWidget::Private::onRowsRemoved(const QModelIndex& parent, int first, int last)
{
    if (parent != root || movingRows)
        return;
    busyPicture();
    removeRows(first, last);
    if (uniformRowSizes) {
        const int n = last - first + 1;
        QSet<int> shifted;
        for (int p : qAsConst(visibleRows)) {
            if (p < first)
                shifted.insert(p);
            else if (p > last)
                shifted.insert(p - n);
        }
        visibleRows = shifted;
        updateWindow(list->visibleWidgetRect());
    }
    emit list->rowCountChanged(model->rowCount(root));
}

void CListWidget::Private::onRowsMoved(const QModelIndex& parent, int start, int end,
                                       const QModelIndex& destination, int row)
{
    if (parent != root || destination != root || movingRows)
        return;
    layoutManager->moveItems(start, end, row);
    if (uniformRowSizes) {
        visibleRows = renumberMoved(visibleRows, start, end, row);
        updateWindow(list->visibleWidgetRect());
    }
}

// No roles means every role changed.
void CListWidget::Private::onDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                         const QVector<int>& roles)
{
    if (movingRows || (!roles.isEmpty() && !roles.contains(Qt::DisplayRole)))
        return;
    if (topLeft.parent() != root || topLeft.column() > 0 || bottomRight.column() < 0)
        return;
    rebindRows(topLeft.row(), bottomRight.row());
}

void CListWidget::Private::rebindRows(int first, int last)
{
    QLayout* layout = currentLayout();
    for (int row = first; row <= last; ++row) {
        if (CListWidgetDelegate* delegate = delegateAt(layout, row))
            delegate->setModelIndex(rowIndex(row));
    }
}

void CListWidget::Private::onLayoutChanged(const QList<QPersistentModelIndex>& parents)
{
    if (movingRows || (!parents.isEmpty() && !parents.contains(root)))
        return;
    forEachLive([this](CListWidgetDelegate* row, int position) { row->setModelIndex(rowIndex(position)); });
}

// The row already stands at newIndex; a move the model refuses takes it back to oldIndex.
void CListWidget::Private::onWidgetMoved(QWidget* widget, int oldIndex, int newIndex)
{
    bool moved = false;
    if (model) {
        QPointer<QAbstractItemModel> guard = model;
        movingRows = true;
        const QModelIndex index = rowIndex(oldIndex);
        if (index.isValid()) {
            const std::unique_ptr<QMimeData> data(model->mimeData({index}));
            moved = data && model->dropMimeData(data.get(), Qt::MoveAction, newIndex, 0, root);
        }
        movingRows = false;
        if (!guard)
            return;
    }
    if (moved) {
        // Data the model changed while it moved (numbers, say) was held back until now.
        rebindRows(qMin(oldIndex, newIndex), qMax(oldIndex, newIndex));
        return;
    }
    QLayout* layout = currentLayout();
    if (!widget || !layout || layout->indexOf(widget) != newIndex)
        return;
    layout->removeWidget(widget);
    insertLayoutWidget(layout, oldIndex, widget);
}

void CListWidget::Private::onDropped(const QMimeData* data, Qt::DropAction action, int row)
{
    if (model)
        model->dropMimeData(data, action, row, 0, root);
}

CListWidget::CListWidget(int styleKind, QWidget* parent)
    : CScrollArea(styleKind, parent)
    , d(new Private(this))
{
    auto* content = new QWidget;
    d->contentBox = new QVBoxLayout(content);
    d->contentBox->setSizeConstraint(QLayout::SetMinimumSize);
    d->contentBox->setContentsMargins(0, 0, 0, 0);
    d->contentBox->setSpacing(0);
    d->contentBox->addItem(new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Expanding));
    setWidget(content);
    // The area's own look shows through between the rows.
    content->setAutoFillBackground(false);
    connect(this, &CScrollArea::visibleWidgetRectChanged, d, &Private::updateWindow);
}

CListWidget::~CListWidget()
{
    // Rows stay as they are while the children go.
    if (d->model)
        disconnect(d->model, nullptr, d, nullptr);
    d->settleTimer.stop();
}

void CListWidget::setModel(QAbstractItemModel* model, const QModelIndex& root)
{
    if (model == d->model && root == d->root)
        return;
    QLayout* layout = d->currentLayout();
    if (layout && layout->count() > 0) {
        d->busyPicture();
        d->removeAllRows();
    }
    if (d->model) {
        disconnect(d->model, nullptr, d, nullptr);
        d->model = nullptr;
    }
    if (!model) {
        if (d->uniformRowSizes)
            d->visibleRows.clear();
        return;
    }
    d->model = model;
    d->root = root;
    d->connectModel();
    d->rebuild();
}

QAbstractItemModel* CListWidget::model() const
{
    return d->model;
}

// Unlike the first factory, a later one rebuilds the rows; either builds them when a model is set.
void CListWidget::setDelegateFactory(const DelegateFactory& factory)
{
    d->delegateFactory = factory;
    if (d->uniformRowSizes) {
        delete widgetOf(d->prototype);
        d->prototype = nullptr;
        d->ensurePrototype();
    }
    d->rebuild();
}

void CListWidget::addLayout(int id, QLayout* layout)
{
    d->layoutManager->addLayout(id, layout);
}

void CListWidget::setCurrentLayoutId(int id)
{
    d->busyPicture();
    d->layoutManager->setCurrentLayoutId(id);
    QLayout* layout = d->currentLayout();
    if (layout && d->contentBox->indexOf(layout) < 0)
        d->contentBox->insertLayout(0, layout, 0);
    d->dragDrop->setLayout(layout);
    d->giveLayoutId(d->layoutManager->currentLayoutId());
    if (d->uniformRowSizes && d->prototype)
        d->resizeUniformItems();
}

int CListWidget::currentLayoutId() const
{
    return d->layoutManager->currentLayoutId();
}

void CListWidget::setUniformRowSizes(bool on)
{
    if ((on && d->dragDrop->dropIndicator()) || on == d->uniformRowSizes)
        return;
    d->uniformRowSizes = on;
    d->rebuild();
}

bool CListWidget::uniformRowSizes() const
{
    return d->uniformRowSizes;
}

void CListWidget::setKeyboardNavigationEnabled(bool on)
{
    d->keyboardNavigation = on;
}

bool CListWidget::isKeyboardNavigationEnabled() const
{
    return d->keyboardNavigation;
}

void CListWidget::relayoutRows()
{
    d->busyPicture();
    d->forEachLive([](CListWidgetDelegate* row, int) { row->relayout(); });
    for (CListWidgetDelegate* row : qAsConst(d->pool))
        row->relayout();
    if (d->uniformRowSizes && d->prototype && d->currentLayout()) {
        d->prototype->relayout();
        d->resizeUniformItems();
    }
}

void CListWidget::forEachDelegate(const std::function<void(CListWidgetDelegate*, int)>& function)
{
    if (function)
        d->forEachLive(function);
}

CDragDrop* CListWidget::dragDrop() const
{
    return d->dragDrop;
}

bool CListWidget::event(QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        if (!d->snapshot.isNull()) {
            QPainter painter(this);
            painter.drawPixmap(0, 0, d->snapshot);
        }
        return true;
    }
    if (event->type() == QEvent::KeyPress && d->keyboardNavigation
        && navigateRows(d->currentLayout(), d->navigationList->verticalScrollBar(),
                        static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return CScrollArea::event(event);
}
