#include "support/UiTestSupport.h"

#include "uilib/controls/CButton.h"
#include "uilib/style/CCustomLayout.h"
#include "uilib/style/CDragDrop.h"
#include "uilib/style/CListWidget.h"
#include "uilib/style/CListWidgetDelegate.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFrame>
#include <QMimeData>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QtTest>

namespace {

constexpr int RowHeight = 30;
const char* const RowMime = "application/x-test-row";

// A checkable button row that records what the list tells it.
class Row : public CButton, public CListWidgetDelegate
{
public:
    Row(QWidget* parent, const QModelIndex& index)
        : CButton(16, parent)
        , madeFor(index.data().toString())
    {
        setCheckable(true);
        showIndex(index);
    }

    QSize sizeHint() const override { return QSize(120, RowHeight); }
    QSize minimumSizeHint() const override { return sizeHint(); }
    void setModelIndex(const QModelIndex& index) override
    {
        ++indexCalls;
        showIndex(index);
    }
    void clearModelIndex() override
    {
        ++clears;
        shown.clear();
    }
    void setLayoutId(int id) override { layoutId = id; }
    void relayout() override { ++relayouts; }

    QString madeFor;
    QString shown;
    int indexCalls = 0;
    int clears = 0;
    int layoutId = -1;
    int relayouts = 0;

private:
    void showIndex(const QModelIndex& index)
    {
        shown = index.data().toString();
        setText(shown);
    }
};

// Keeps the list's move contract: a MoveAction drop of its own row carries the row's place
// after the move. Text drops insert a row.
class MoveModel : public QStringListModel
{
public:
    using QStringListModel::QStringListModel;

    QMimeData* mimeData(const QModelIndexList& indexes) const override
    {
        if (withoutData)
            return nullptr;
        auto* data = new QMimeData;
        data->setData(RowMime, QByteArray::number(indexes.value(0).row()));
        return data;
    }

    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override
    {
        drops << QStringLiteral("%1 %2 %3").arg(action).arg(row).arg(column);
        if (refuse)
            return false;
        if (action == Qt::MoveAction && data->hasFormat(RowMime)) {
            const int from = data->data(RowMime).toInt();
            if (!moveRows(parent, from, 1, parent, row > from ? row + 1 : row))
                return false;
            if (markMoved)
                setData(index(row, 0, parent), QStringLiteral("moved"));
            return true;
        }
        if (!data->hasText() || !insertRows(row, 1, parent))
            return false;
        return setData(index(row, 0, parent), data->text());
    }

    QStringList drops;
    bool refuse = false;
    bool withoutData = false;
    // The moved row's data changes as it moves.
    bool markMoved = false;
};

QStringList numbers(int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << QString::number(i);
    return texts;
}

struct ListScene
{
    QWidget window;
    CListWidget* list = new CListWidget(-1, &window);
    QVBoxLayout* rowsLayout = new QVBoxLayout;
    int made = 0;

    explicit ListScene(bool uniform = false, bool withFactory = true)
    {
        window.resize(200, 160);
        list->setGeometry(0, 0, 200, 160);
        rowsLayout->setSpacing(0);
        rowsLayout->setContentsMargins(0, 0, 0, 0);
        list->setUniformRowSizes(uniform);
        list->addLayout(0, rowsLayout);
        list->setCurrentLayoutId(0);
        if (withFactory)
            setFactory();
    }

    void setFactory()
    {
        list->setDelegateFactory([this](QWidget* parent, const QModelIndex& index) {
            ++made;
            return new Row(parent, index);
        });
    }

    QLayout* layout() const { return rowsLayout; }

    Row* rowAt(int position) const
    {
        QLayoutItem* item = layout()->itemAt(position);
        return item ? dynamic_cast<Row*>(item->widget()) : nullptr;
    }

    // The texts of the row widgets in layout order; "-" for an item without a row.
    QStringList texts() const
    {
        QStringList shown;
        for (int i = 0; i < layout()->count(); ++i) {
            Row* row = rowAt(i);
            shown << (row ? row->shown : QStringLiteral("-"));
        }
        return shown;
    }

    QList<Row*> pooled() const
    {
        QList<Row*> rows;
        for (Row* row : list->widget()->findChildren<Row*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (layout()->indexOf(row) < 0)
                rows << row;
        }
        return rows;
    }

    // Positions of the uniform list whose item holds a row widget.
    QSet<int> livePositions() const
    {
        QSet<int> positions;
        for (int i = 0; i < layout()->count(); ++i) {
            if (rowAt(i))
                positions.insert(i);
        }
        return positions;
    }

    // Positions within one viewport height above and below the visible part.
    QSet<int> expectedWindow() const
    {
        const int top = list->verticalScrollBar()->value();
        const int height = list->viewport()->height();
        QSet<int> positions;
        for (int i = 0; i < layout()->count(); ++i) {
            const QRect item = layout()->itemAt(i)->geometry();
            if (item.bottom() >= top - height && item.top() < top + 2 * height)
                positions.insert(i);
        }
        return positions;
    }

    // Turns external drops on with an indicator of that height.
    QWidget* enableExternalDrops(int indicatorHeight)
    {
        auto* indicator = new QFrame;
        indicator->setFixedHeight(indicatorHeight);
        list->dragDrop()->setExternalDropEnabled(true);
        list->dragDrop()->setDropIndicator(indicator);
        return indicator;
    }

    // Outside data enters the content and moves to the point; true when the move was accepted.
    bool dragOver(const QPoint& point, const QMimeData* data)
    {
        QDragEnterEvent enter(point, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(list->widget(), &enter);
        QDragMoveEvent move(point, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(list->widget(), &move);
        return move.isAccepted();
    }

    void settle()
    {
        QSignalSpy finished(list, &CListWidget::hardWorkFinished);
        if (list->viewport()->isHidden())
            QVERIFY(finished.wait(5000));
    }
};

} // namespace

class TestListWidget : public QObject
{
    Q_OBJECT

private slots:
    void emptyModelGivesNoRows()
    {
        ListScene scene;
        QStringListModel model;
        QSignalSpy counts(scene.list, &CListWidget::rowCountChanged);
        scene.list->setModel(&model);
        QCOMPARE(counts.count(), 1);
        QCOMPARE(counts.at(0).at(0).toInt(), 0);
        QCOMPARE(scene.layout()->count(), 0);
        QCOMPARE(scene.made, 0);
    }

    // New rows are made by the factory for their index and are not told it again.
    void rowsFollowTheModel()
    {
        ListScene scene;
        QStringListModel model(numbers(4));
        scene.list->setModel(&model);
        QCOMPARE(scene.texts(), numbers(4));
        QCOMPARE(scene.made, 4);
        for (int i = 0; i < 4; ++i) {
            Row* row = scene.rowAt(i);
            QCOMPARE(row->madeFor, QString::number(i));
            QCOMPARE(row->indexCalls, 0);
            QCOMPARE(row->layoutId, 0);
            QCOMPARE(row->relayouts, 1);
            QCOMPARE(row->parentWidget(), scene.list->widget());
        }
        QSignalSpy counts(scene.list, &CListWidget::rowCountChanged);
        model.setStringList({QStringLiteral("x"), QStringLiteral("y")});
        QCOMPARE(scene.texts(), (QStringList{QStringLiteral("x"), QStringLiteral("y")}));
        QCOMPARE(counts.count(), 1);
        QCOMPARE(counts.at(0).at(0).toInt(), 2);
        QCOMPARE(scene.made, 4);
        QCOMPARE(scene.pooled().size(), 2);
    }

    // Removed rows wait hidden in the pool and come back last removed first.
    void removedRowsAreReused()
    {
        ListScene scene;
        QStringListModel model(numbers(5));
        scene.list->setModel(&model);
        Row* one = scene.rowAt(1);
        Row* two = scene.rowAt(2);
        QSignalSpy counts(scene.list, &CListWidget::rowCountChanged);
        model.removeRows(1, 2);
        QCOMPARE(counts.takeFirst().at(0).toInt(), 3);
        QCOMPARE(scene.texts(), (QStringList{"0", "3", "4"}));
        QVERIFY(one->isHidden() && two->isHidden());
        QVERIFY(!one->testAttribute(Qt::WA_LaidOut));
        QCOMPARE(one->clears, 1);
        QCOMPARE(two->shown, QString());

        model.insertRows(0, 2);
        model.setData(model.index(0), QStringLiteral("a"), Qt::EditRole);
        QCOMPARE(scene.rowAt(0), two);
        QCOMPARE(scene.rowAt(1), one);
        QCOMPARE(two->indexCalls, 2);
        QCOMPARE(one->indexCalls, 1);
        QCOMPARE(scene.texts(), (QStringList{"a", "", "0", "3", "4"}));
        QCOMPARE(scene.made, 5);
        QCOMPARE(counts.takeFirst().at(0).toInt(), 5);
    }

    void otherParentsAreIgnored()
    {
        ListScene scene;
        QStandardItemModel model;
        for (const char* text : {"a", "b"})
            model.appendRow(new QStandardItem(QString::fromLatin1(text)));
        scene.list->setModel(&model);
        QSignalSpy counts(scene.list, &CListWidget::rowCountChanged);
        model.item(0)->appendRow(new QStandardItem(QStringLiteral("child")));
        model.item(0)->child(0)->setText(QStringLiteral("changed"));
        QCOMPARE(scene.texts(), (QStringList{"a", "b"}));
        QCOMPARE(counts.count(), 0);

        scene.list->setModel(&model, model.index(0, 0));
        QCOMPARE(scene.texts(), QStringList{QStringLiteral("changed")});
        model.appendRow(new QStandardItem(QStringLiteral("c")));
        model.removeRow(1);
        QCOMPARE(scene.texts(), QStringList{QStringLiteral("changed")});
    }

    // No roles means every role changed.
    void dataChangedRoles_data()
    {
        QTest::addColumn<QVector<int>>("roles");
        QTest::addColumn<bool>("refreshed");
        QTest::newRow("no roles") << QVector<int>() << true;
        QTest::newRow("display") << QVector<int>{Qt::DisplayRole} << true;
        QTest::newRow("tool tip") << QVector<int>{Qt::ToolTipRole} << false;
        QTest::newRow("tool tip and display") << QVector<int>{Qt::ToolTipRole, Qt::DisplayRole} << true;
    }

    void dataChangedRoles()
    {
        QFETCH(QVector<int>, roles);
        QFETCH(bool, refreshed);
        ListScene scene;
        QStringListModel model(numbers(4));
        scene.list->setModel(&model);
        emit model.dataChanged(model.index(1), model.index(2), roles);
        const int calls = refreshed ? 1 : 0;
        QCOMPARE(scene.rowAt(0)->indexCalls, 0);
        QCOMPARE(scene.rowAt(1)->indexCalls, calls);
        QCOMPARE(scene.rowAt(2)->indexCalls, calls);
        QCOMPARE(scene.rowAt(3)->indexCalls, 0);
    }

    void destroyedModelEmptiesTheList()
    {
        ListScene scene;
        auto* model = new QStringListModel(numbers(3));
        scene.list->setModel(model);
        delete model;
        QCOMPARE(scene.list->model(), nullptr);
        QCOMPARE(scene.layout()->count(), 0);
        QCOMPARE(scene.pooled().size(), 3);
    }

    // Rows move into the new layout in their order; every live and pooled row learns the id.
    void layoutSwitchCarriesRows()
    {
        ListScene scene;
        QStringListModel model(numbers(4));
        scene.list->setModel(&model);
        model.removeRow(3);
        auto* flow = new CCustomLayout(nullptr, QMargins(), 0, 0);
        scene.list->addLayout(1, flow);
        scene.list->setCurrentLayoutId(1);
        QCOMPARE(scene.list->currentLayoutId(), 1);
        QCOMPARE(flow->count(), 3);
        QCOMPARE(scene.rowsLayout->count(), 0);
        QStringList texts;
        for (int i = 0; i < flow->count(); ++i)
            texts << static_cast<Row*>(flow->itemAt(i)->widget())->shown;
        QCOMPARE(texts, numbers(3));
        const QList<Row*> all = scene.list->widget()->findChildren<Row*>();
        QCOMPARE(all.size(), 4);
        for (Row* row : all)
            QCOMPARE(row->layoutId, 1);
        QCOMPARE(scene.list->dragDrop()->layout(), flow);
    }

    void noFactoryMakesNothing()
    {
        ListScene scene(false, false);
        QStringListModel model(numbers(3));
        QSignalSpy counts(scene.list, &CListWidget::rowCountChanged);
        scene.list->setModel(&model);
        model.insertRows(1, 2);
        model.removeRows(0, 1);
        QCOMPARE(scene.layout()->count(), 0);
        int calls = 0;
        scene.list->forEachDelegate({});
        scene.list->forEachDelegate([&calls](CListWidgetDelegate*, int) { ++calls; });
        QCOMPARE(calls, 0);
        scene.setFactory();
        QCOMPARE(scene.texts(), (QStringList{"", "", "1", "2"}));
        QCOMPARE(counts.last().at(0).toInt(), 4);
    }

    void noFactoryUniformScrolls()
    {
        ListScene scene(true, false);
        QStringListModel model(numbers(50));
        scene.list->setModel(&model);
        scene.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        scene.list->verticalScrollBar()->setValue(100);
        model.insertRows(0, 5);
        QCOMPARE(scene.layout()->count(), 0);
        scene.setFactory();
        QCOMPARE(scene.layout()->count(), 55);
        QVERIFY(!scene.livePositions().isEmpty());
    }

    void forEachDelegateVisitsRows()
    {
        ListScene scene;
        QStringListModel model(numbers(3));
        scene.list->setModel(&model);
        QStringList visits;
        scene.list->forEachDelegate([&visits](CListWidgetDelegate* row, int position) {
            visits << QStringLiteral("%1:%2").arg(position).arg(static_cast<Row*>(row)->shown);
        });
        QCOMPARE(visits, (QStringList{"0:0", "1:1", "2:2"}));
        scene.list->relayoutRows();
        QCOMPARE(scene.rowAt(2)->relayouts, 2);
    }

    // Real rows only within one viewport height above and below the visible part.
    void uniformWindow_data()
    {
        QTest::addColumn<double>("where");
        QTest::newRow("top") << 0.0;
        QTest::newRow("middle") << 0.5;
        QTest::newRow("bottom") << 1.0;
    }

    void uniformWindow()
    {
        QFETCH(double, where);
        ListScene scene(true);
        QStringListModel model(numbers(200));
        scene.list->setModel(&model);
        scene.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        QScrollBar* bar = scene.list->verticalScrollBar();
        QCOMPARE(bar->maximum(), 200 * RowHeight - scene.list->viewport()->height());
        for (int step = 0; step < 3; ++step)
            bar->setValue(qRound(bar->maximum() * where) - step * 7);
        const QSet<int> live = scene.livePositions();
        QCOMPARE(live, scene.expectedWindow());
        QVERIFY(live.size() * RowHeight <= 3 * scene.list->viewport()->height() + 2 * RowHeight);
        for (int position : live)
            QCOMPARE(scene.rowAt(position)->shown, QString::number(position));
        QVERIFY(scene.made < 3 * scene.list->viewport()->height() / RowHeight + 10);
    }

    // Moved rows keep their widgets and the window follows, moving down and up.
    void uniformRowsMoved_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("destination");
        QTest::newRow("down, out of the window") << 10 << 3 << 60;
        QTest::newRow("down, within the window") << 12 << 2 << 16;
        QTest::newRow("up, into the window") << 60 << 4 << 11;
        QTest::newRow("up, from the window") << 14 << 2 << 0;
    }

    void uniformRowsMoved()
    {
        QFETCH(int, start);
        QFETCH(int, count);
        QFETCH(int, destination);
        ListScene scene(true);
        QStringListModel model(numbers(80));
        scene.list->setModel(&model);
        scene.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        scene.list->verticalScrollBar()->setValue(14 * RowHeight);
        QVERIFY(model.moveRows(QModelIndex(), start, count, QModelIndex(), destination));
        QCOMPARE(scene.livePositions(), scene.expectedWindow());
        for (int position : scene.livePositions())
            QCOMPARE(scene.rowAt(position)->shown, model.index(position).data().toString());
    }

    // Uniform rows take the size a layout gives a shown row (here a fixed height other than the
    // size hint), so rows keep their places as they become real widgets and go back.
    void uniformRowsTakeTheShownSize()
    {
        ListScene scene(true, false);
        scene.list->setDelegateFactory([](QWidget* parent, const QModelIndex& index) {
            auto* row = new Row(parent, index);
            row->setFixedHeight(44);
            return row;
        });
        QStringListModel model(numbers(40));
        scene.list->setModel(&model);
        scene.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        QScrollBar* bar = scene.list->verticalScrollBar();
        QCOMPARE(bar->maximum(), 40 * 44 - scene.list->viewport()->height());
        bar->setValue(bar->maximum() / 2);
        QCoreApplication::processEvents();
        for (int i = 0; i < 40; ++i)
            QCOMPARE(scene.layout()->itemAt(i)->geometry(), QRect(0, i * 44, scene.layout()->geometry().width(), 44));
    }

    void uniformRefusedWithIndicator()
    {
        ListScene scene;
        scene.list->dragDrop()->setDropIndicator(new QFrame);
        scene.list->setUniformRowSizes(true);
        QVERIFY(!scene.list->uniformRowSizes());
    }

    // A rebuild paints the viewport's picture with the viewport hidden until the next loop turn.
    void busyPicture()
    {
        ListScene scene;
        QStringListModel model(numbers(3));
        scene.list->setModel(&model);
        scene.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        scene.settle();
        const QImage before = scene.list->viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        QSignalSpy finished(scene.list, &CListWidget::hardWorkFinished);
        model.setStringList(numbers(6));
        QVERIFY(scene.list->viewport()->isHidden());
        const QImage during =
            scene.list->grab().toImage().convertToFormat(QImage::Format_ARGB32).copy(QRect(QPoint(), before.size()));
        QCOMPARE(during, before);
        QCOMPARE(finished.count(), 0);
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.count(), 1);
        QVERIFY(!scene.list->viewport()->isHidden());
        QVERIFY(scene.list->grab().toImage().convertToFormat(QImage::Format_ARGB32).copy(QRect(QPoint(), before.size()))
                != before);
    }

    void noBusyPictureInUniformMode()
    {
        ListScene scene(true);
        QStringListModel model(numbers(3));
        scene.list->setModel(&model);
        scene.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        QSignalSpy finished(scene.list, &CListWidget::hardWorkFinished);
        model.setStringList(numbers(6));
        model.insertRows(0, 1);
        QVERIFY(!scene.list->viewport()->isHidden());
        QCoreApplication::processEvents();
        QCOMPARE(finished.count(), 0);
    }

    void keyboard_data()
    {
        QTest::addColumn<QString>("layoutKind");
        QTest::addColumn<int>("checked");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("expected");
        const int none = Qt::NoModifier;
        QTest::newRow("vertical down") << "vertical" << 1 << int(Qt::Key_Down) << none << 2;
        QTest::newRow("vertical down, none checked") << "vertical" << -1 << int(Qt::Key_Down) << none << 0;
        QTest::newRow("vertical up") << "vertical" << 1 << int(Qt::Key_Up) << none << 0;
        QTest::newRow("vertical up at the top") << "vertical" << 0 << int(Qt::Key_Up) << none << -1;
        QTest::newRow("vertical left") << "vertical" << 1 << int(Qt::Key_Left) << none << -1;
        QTest::newRow("vertical right") << "vertical" << 1 << int(Qt::Key_Right) << none << -1;
        QTest::newRow("horizontal right") << "horizontal" << 1 << int(Qt::Key_Right) << none << 2;
        QTest::newRow("horizontal left") << "horizontal" << 1 << int(Qt::Key_Left) << none << 0;
        QTest::newRow("horizontal down") << "horizontal" << 1 << int(Qt::Key_Down) << none << -1;
        QTest::newRow("flow down") << "flow" << 1 << int(Qt::Key_Down) << none << 4;
        QTest::newRow("flow up") << "flow" << 4 << int(Qt::Key_Up) << none << 1;
        QTest::newRow("flow right") << "flow" << 2 << int(Qt::Key_Right) << none << 3;
        QTest::newRow("flow left") << "flow" << 3 << int(Qt::Key_Left) << none << 2;
        QTest::newRow("home") << "vertical" << 3 << int(Qt::Key_Home) << none << 0;
        QTest::newRow("end") << "vertical" << 1 << int(Qt::Key_End) << none << 5;
        QTest::newRow("shift down") << "vertical" << 1 << int(Qt::Key_Down) << int(Qt::ShiftModifier) << -1;
        QTest::newRow("control end") << "vertical" << 1 << int(Qt::Key_End) << int(Qt::ControlModifier) << -1;
    }

    // The next checked row gets its toggled signal; -1: nothing changes.
    void keyboard()
    {
        QFETCH(QString, layoutKind);
        QFETCH(int, checked);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, expected);
        ListScene scene;
        if (layoutKind == QLatin1String("flow")) {
            scene.list->addLayout(1, new CCustomLayout(nullptr, QMargins(), 0, 0));
            scene.list->setCurrentLayoutId(1);
            scene.list->widget()->setFixedWidth(3 * 120 + 10);
        } else if (layoutKind == QLatin1String("horizontal")) {
            scene.rowsLayout->setDirection(QBoxLayout::LeftToRight);
        }
        scene.list->setKeyboardNavigationEnabled(true);
        QStringListModel model(numbers(6));
        scene.list->setModel(&model);
        scene.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        scene.settle();
        QLayout* layout = scene.list->dragDrop()->layout();
        auto rowAt = [layout](int i) { return static_cast<Row*>(layout->itemAt(i)->widget()); };
        if (checked >= 0)
            rowAt(checked)->setChecked(true);
        QSignalSpy toggled(expected >= 0 ? rowAt(expected) : rowAt(0), &CButton::toggled);
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
        QApplication::sendEvent(scene.list, &press);
        if (expected < 0) {
            for (int i = 0; i < layout->count(); ++i)
                QCOMPARE(rowAt(i)->isChecked(), i == checked);
            return;
        }
        QVERIFY(rowAt(expected)->isChecked());
        QVERIFY(toggled.wait(5000));
        QCOMPARE(toggled.at(0).at(0).toBool(), true);
    }

    void homeAndEndMoveTheScrollBar()
    {
        ListScene scene;
        scene.list->setKeyboardNavigationEnabled(true);
        QStringListModel model(numbers(20));
        scene.list->setModel(&model);
        scene.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        scene.settle();
        for (int i = 1; i < 20; ++i)
            scene.rowAt(i)->setEnabled(false);
        QScrollBar* bar = scene.list->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QTest::keyClick(scene.list, Qt::Key_End);
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(scene.rowAt(0)->isChecked());
        QTest::keyClick(scene.list, Qt::Key_Home);
        QCOMPARE(bar->value(), 0);
    }

    // A local move reaches the model once, as a MoveAction drop of the row's own data at its
    // new place; the model's own move signal does not move the row again. A refused move
    // puts the row back.
    void localMove_data()
    {
        QTest::addColumn<bool>("refuse");
        QTest::addColumn<bool>("withoutData");
        QTest::addColumn<bool>("markMoved");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<int>("drops");
        QTest::newRow("moved") << false << false << false << QStringList{"1", "2", "0", "3"} << 1;
        QTest::newRow("data changed in the move") << false << false << true
                                                  << QStringList{"1", "2", "moved", "3"} << 1;
        QTest::newRow("refused") << true << false << false << numbers(4) << 1;
        QTest::newRow("no data") << false << true << false << numbers(4) << 0;
    }

    void localMove()
    {
        QFETCH(bool, refuse);
        QFETCH(bool, withoutData);
        QFETCH(bool, markMoved);
        QFETCH(QStringList, order);
        QFETCH(int, drops);
        QApplication::setStartDragDistance(10);
        ListScene scene;
        MoveModel model(numbers(4));
        model.refuse = refuse;
        model.withoutData = withoutData;
        model.markMoved = markMoved;
        scene.list->setModel(&model);
        CDragDrop* dragDrop = scene.list->dragDrop();
        dragDrop->setLocalMoveEnabled(true);
        dragDrop->setDropIndicator(new QFrame);
        QSignalSpy moved(dragDrop, &CDragDrop::widgetMoved);
        scene.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        scene.settle();
        WindowMouse mouse(&scene.window);
        Row* row = scene.rowAt(0);
        mouse.press(row, QPoint(20, 15));
        mouse.move(row, QPoint(30, 15));
        mouse.move(row, QPoint(31, 15));
        QCOMPARE(QWidget::mouseGrabber(), scene.list->widget());
        mouse.move(scene.rowAt(2), QPoint(20, 15));
        mouse.release(dragDrop->dropIndicator(), QPoint(20, 15));
        QCOMPARE(moved.count(), 1);
        QCOMPARE(model.drops.size(), drops);
        if (drops)
            QCOMPARE(model.drops.first(), QStringLiteral("%1 2 0").arg(Qt::MoveAction));
        QCOMPARE(model.stringList(), order);
        QCOMPARE(scene.texts(), order);
        QCOMPARE(scene.made, 4);
    }

    // Dropped data reaches the model at the indicator's row; the model's new row shows.
    void externalDrop()
    {
        ListScene scene;
        MoveModel model(numbers(3));
        scene.list->setModel(&model);
        scene.enableExternalDrops(8);
        scene.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        scene.settle();
        QMimeData data;
        data.setText(QStringLiteral("new"));
        const QPoint point = scene.rowAt(1)->mapTo(scene.list->widget(), QPoint(10, 5));
        QVERIFY(scene.dragOver(point, &data));
        QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(scene.list->widget(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(model.drops, QStringList{QStringLiteral("%1 1 0").arg(Qt::CopyAction)});
        QCOMPARE(scene.texts(), (QStringList{"0", "new", "1", "2"}));
    }

    // The area scrolls so that the indicator is seen; the viewport's scroller takes real time.
    void indicatorScrollsTheArea()
    {
        ListScene scene;
        MoveModel model(numbers(20));
        scene.list->setModel(&model);
        QWidget* indicator = scene.enableExternalDrops(20);
        scene.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        scene.settle();
        QMimeData data;
        const int lastSeen = scene.list->viewport()->height() / RowHeight;
        QVERIFY(scene.dragOver(scene.rowAt(lastSeen)->mapTo(scene.list->widget(), QPoint(10, 2)), &data));
        QCOMPARE(scene.list->dragDrop()->layout()->indexOf(indicator), lastSeen);
        QTRY_VERIFY_WITH_TIMEOUT(scene.list->visibleWidgetRect().contains(indicator->geometry()), 10000);
        QVERIFY(scene.list->verticalScrollBar()->value() > 0);
    }

    // Rows that take the keyboard focus get it instead of a check.
    void focusRows()
    {
        ListScene scene;
        scene.list->setKeyboardNavigationEnabled(true);
        QStringListModel model(numbers(3));
        scene.list->setModel(&model);
        for (int i = 0; i < 3; ++i) {
            scene.rowAt(i)->setCheckable(false);
            scene.rowAt(i)->setFocusPolicy(Qt::StrongFocus);
        }
        scene.window.show();
        QApplication::setActiveWindow(&scene.window);
        QVERIFY(QTest::qWaitForWindowActive(&scene.window));
        scene.rowAt(0)->setFocus();
        QTest::keyClick(scene.list, Qt::Key_Down);
        QVERIFY(scene.rowAt(1)->hasFocus());
    }
};

TY_UI_TEST_MAIN(TestListWidget)
#include "tst_listwidget.moc"
