#include "support/PageFixture.h"
#include "support/UiTestSupport.h"

#include "model/ProjectFile.h"
#include "pages/ProjectPageSelectionActions.h"
#include "pages/ProjectPageSlidesView.h"
#include "pages/SlideRowWidget.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CWidgetText.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QScrollBar>

using Rows = QList<int>;

namespace {

// Enter, move and drop at one point of the view's viewport; the drop only when asked.
struct DragAt
{
    DragAt(ProjectPage::SlidesView* view, const QMimeData* data, const QPoint& pos)
        : view(view)
        , data(data)
    {
        QDragEnterEvent enterEvent(pos, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &enterEvent);
        entered = enterEvent.isAccepted();
        move(pos);
    }
    void move(const QPoint& pos)
    {
        QDragMoveEvent moveEvent(pos, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &moveEvent);
        last = pos;
    }
    Qt::DropAction drop()
    {
        QDropEvent dropEvent(last, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &dropEvent);
        return dropEvent.isAccepted() ? dropEvent.dropAction() : Qt::IgnoreAction;
    }
    void leave()
    {
        QDragLeaveEvent leaveEvent;
        QCoreApplication::sendEvent(view->viewport(), &leaveEvent);
    }

    ProjectPage::SlidesView* view;
    const QMimeData* data;
    QPoint last;
    bool entered = false;
};

QRect rowRect(ProjectPage::SlidesView* view, int row)
{
    return view->visualRect(view->model()->index(row, 0));
}

// Press on a row and pull the pointer away as a user starting a drag does.
void pullRow(ProjectPage::SlidesView* view, int row)
{
    const QPoint start = rowRect(view, row).center();
    QMouseEvent press(QEvent::MouseButtonPress, start, view->viewport()->mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view->viewport(), &press);
    // The first move arms the drag, the next one past the start distance runs it.
    for (int step = 1; step <= 2; ++step) {
        const QPoint away = start + QPoint(0, 20 * step);
        QMouseEvent move(QEvent::MouseMove, away, view->viewport()->mapToGlobal(away), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &move);
    }
    // No release: a real drag's loop takes it.
}

struct ShownPage : PageFixture
{
    explicit ShownPage(const QString& slides = QStringLiteral("ppcpp"))
        : PageFixture(slides)
    {
        page()->show();
        if (!QTest::qWaitForWindowExposed(page()))
            qWarning("the page was not exposed");
        view = page()->slidesView();
    }
    ~ShownPage() { ProjectPage::SlidesView::setDragRunner({}); }

    ProjectPage::SlidesView* view = nullptr;
};

enum class Spot { Top, Upper, Lower };

} // namespace

Q_DECLARE_METATYPE(Spot)

// Dragging rows inside the list, dropping files from outside, the marker and the edge scroll.
class TestSlidesView : public QObject
{
    Q_OBJECT

private slots:
    void dropRow_data();
    void dropRow();
    void belowTheRowsAppends();
    void titleSlideNeverDrags();
    void moveKeepsOrderAndSelection();
    void outsideFolderInsertsAtMarker();
    void refusedDrags_data();
    void refusedDrags();
    void leaveClearsMarker();
    void edgeScroll();
    void rowsMadeAsTheyComeIntoView();
};

void TestSlidesView::dropRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<Spot>("spot");
    QTest::addColumn<int>("expected");

    QTest::newRow("row 0 top") << 0 << Spot::Top << 1;
    QTest::newRow("row 0 lower half") << 0 << Spot::Lower << 1;
    QTest::newRow("row 1 upper half") << 1 << Spot::Upper << 1;
    QTest::newRow("row 1 lower half") << 1 << Spot::Lower << 2;
    QTest::newRow("row 3 upper half") << 3 << Spot::Upper << 3;
    QTest::newRow("last row lower half") << 5 << Spot::Lower << 6;
}

void TestSlidesView::dropRow()
{
    QFETCH(int, row);
    QFETCH(Spot, spot);
    QFETCH(int, expected);

    ShownPage f;
    const QRect rect = rowRect(f.view, row);
    const int y = spot == Spot::Top ? rect.top() + 1 : spot == Spot::Upper ? rect.center().y() - 5 : rect.center().y() + 5;
    std::unique_ptr<QMimeData> data(fileUrlsMime({f.writeImage(QStringLiteral("in/x.jpg"))}));
    DragAt drag(f.view, data.get(), QPoint(rect.center().x(), y));
    QVERIFY(drag.entered);
    QCOMPARE(f.view->dropRow(), expected);
    // The marker runs along the top of the row it lands before, or under the last row.
    const QLine marker = f.view->dropMarkerLine();
    if (expected < f.project()->itemCount())
        QCOMPARE(marker.y1(), rowRect(f.view, expected).top());
    else
        QCOMPARE(marker.y1(), rowRect(f.view, expected - 1).bottom());
    QCOMPARE(marker.y1(), marker.y2());
}

void TestSlidesView::belowTheRowsAppends()
{
    ShownPage f;
    const QRect last = rowRect(f.view, 5);
    QVERIFY2(last.bottom() + 30 < f.view->viewport()->height(), "room under the rows");
    std::unique_ptr<QMimeData> data(fileUrlsMime({f.writeImage(QStringLiteral("in/x.jpg"))}));
    DragAt drag(f.view, data.get(), QPoint(last.center().x(), last.bottom() + 20));
    QCOMPARE(f.view->dropRow(), 6);
    QCOMPARE(drag.drop(), Qt::CopyAction);
    QCOMPARE(f.order(), (QStringList{"T", "1", "2", "3", "4", "5", "x"}));
    QCOMPARE(f.view->dropRow(), -1);
}

void TestSlidesView::titleSlideNeverDrags()
{
    ShownPage f;
    int runs = 0;
    QList<int> dragged;
    ProjectPage::SlidesView::setDragRunner([&](ProjectPage::SlidesView* view, QMimeData* data, Qt::DropActions) {
        ++runs;
        dragged = view->draggedRows();
        delete data;
    });
    f.select({0});
    pullRow(f.view, 0);
    QCOMPARE(runs, 0);

    f.select({0, 2});
    pullRow(f.view, 2);
    QCOMPARE(runs, 1);
    QCOMPARE(dragged, (QList<int>{2}));
    QVERIFY(f.view->draggedRows().isEmpty());
    QCOMPARE(f.order(), (QStringList{"T", "1", "2", "3", "4", "5"}));
}

void TestSlidesView::moveKeepsOrderAndSelection()
{
    ShownPage f;
    int runs = 0;
    ProjectPage::SlidesView::setDragRunner([&](ProjectPage::SlidesView* view, QMimeData* data, Qt::DropActions) {
        ++runs;
        const QRect last = rowRect(view, 5);
        DragAt drag(view, data, QPoint(last.center().x(), last.center().y() + 5));
        QVERIFY(drag.entered);
        QCOMPARE(drag.drop(), Qt::MoveAction);
        delete data;
    });
    // Picked bottom row first: the drop still keeps their list order.
    f.select({3, 1});
    pullRow(f.view, 3);
    QCOMPARE(runs, 1);
    QCOMPARE(f.order(), (QStringList{"T", "2", "4", "5", "1", "3"}));
    QCOMPARE(f.selectedRows(), (Rows{4, 5}));

    // Onto the title slide: they land after it.
    ProjectPage::SlidesView::setDragRunner([&](ProjectPage::SlidesView* view, QMimeData* data, Qt::DropActions) {
        DragAt drag(view, data, rowRect(view, 0).center() - QPoint(0, 10));
        drag.drop();
        delete data;
    });
    pullRow(f.view, 5);
    QCOMPARE(f.order(), (QStringList{"T", "1", "3", "2", "4", "5"}));
    QCOMPARE(f.selectedRows(), (Rows{1, 2}));
}

void TestSlidesView::outsideFolderInsertsAtMarker()
{
    ShownPage f;
    f.writeImage(QStringLiteral("drop/b/q.jpg"));
    f.writeImage(QStringLiteral("drop/A/p.jpg"));
    f.writeImage(QStringLiteral("drop/top.jpg"));
    std::unique_ptr<QMimeData> data(fileUrlsMime({f.folder() + QStringLiteral("/drop")}));
    DragAt drag(f.view, data.get(), rowRect(f.view, 2).center() - QPoint(0, 10));
    QVERIFY(drag.entered);
    QCOMPARE(f.view->droppedFiles().size(), 3);
    QCOMPARE(f.view->dropRow(), 2);
    QCOMPARE(drag.drop(), Qt::CopyAction);
    QCOMPARE(f.project()->itemCount(), 9);
    QCOMPARE(f.order(), (QStringList{"T", "1", "p", "q", "top", "2", "3", "4", "5"}));
    QCOMPARE(f.view->model()->rowCount(), 9);
    QVERIFY(f.view->droppedFiles().isEmpty());
}

void TestSlidesView::refusedDrags_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("text file") << QStringLiteral("notes.txt");
    QTest::newRow("folder without images") << QStringLiteral("plain/readme.md");
}

void TestSlidesView::refusedDrags()
{
    QFETCH(QString, relativePath);
    ShownPage f;
    const QString path = f.folder() + QLatin1Char('/') + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("text");
    file.close();
    const QString dropped = relativePath.contains(QLatin1Char('/')) ? QFileInfo(path).absolutePath() : path;
    std::unique_ptr<QMimeData> data(fileUrlsMime({dropped}));
    DragAt drag(f.view, data.get(), rowRect(f.view, 2).center());
    QVERIFY(!drag.entered);
    QCOMPARE(f.view->dropRow(), -1);
    drag.drop();
    QCOMPARE(f.project()->itemCount(), 6);
    QCOMPARE(f.messages.noImages, 0);
}

void TestSlidesView::leaveClearsMarker()
{
    ShownPage f;
    std::unique_ptr<QMimeData> data(fileUrlsMime({f.writeImage(QStringLiteral("in/x.jpg"))}));
    DragAt drag(f.view, data.get(), rowRect(f.view, 2).center() + QPoint(0, 5));
    QCOMPARE(f.view->dropRow(), 3);
    drag.leave();
    QCOMPARE(f.view->dropRow(), -1);
    QVERIFY(f.view->droppedFiles().isEmpty());
    QVERIFY(f.view->dropMarkerLine().isNull());
}

void TestSlidesView::edgeScroll()
{
    ShownPage f(QString(30, QLatin1Char('c')));
    QList<QPoint> warps;
    ProjectPage::SlidesView::setCursorMover([&](const QPoint& pos) { warps.append(pos); });
    QScrollBar* bar = f.view->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    const int range = bar->maximum() - bar->minimum();
    const int h = f.view->viewport()->height();
    bar->setValue(bar->maximum() / 2);
    int value = bar->value();
    const int x = f.view->viewport()->width() / 2;

    std::unique_ptr<QMimeData> data(fileUrlsMime({f.writeImage(QStringLiteral("in/x.jpg"))}));
    DragAt drag(f.view, data.get(), QPoint(x, 15));
    // Entering the zone from below is no push.
    QCOMPARE(bar->value(), value);
    drag.move(QPoint(x, 15));
    QCOMPARE(bar->value(), value);
    QVERIFY(warps.isEmpty());

    drag.move(QPoint(x, 10));
    const int step = std::max(1, range * 5 / h);
    QCOMPARE(bar->value(), value - step);
    QCOMPARE(warps.size(), 1);
    QCOMPARE(warps.last(), QCursor::pos() + QPoint(0, 5));
    value = bar->value();
    drag.move(QPoint(x, 10));
    QCOMPARE(bar->value(), value);

    drag.move(QPoint(x, h - 15));
    drag.move(QPoint(x, h - 14));
    QCOMPARE(bar->value(), value + std::max(1, range * 1 / h));
    QCOMPARE(warps.last(), QCursor::pos() + QPoint(0, -1));
    value = bar->value();
    // Through the middle and into the top zone at once: too far a jump for a push.
    drag.move(QPoint(x, h / 2));
    drag.move(QPoint(x, 1));
    drag.move(QPoint(x, 1));
    QCOMPARE(bar->value(), value);
    drag.leave();
    ProjectPage::SlidesView::setCursorMover({});
}

// A long list makes the widgets of the rows in view and of those that scroll into view, each
// bound to its slide and checked when its slide is selected.
void TestSlidesView::rowsMadeAsTheyComeIntoView()
{
    ShownPage f(QString(QLatin1Char('c')).repeated(150) + QStringLiteral("p"));
    const auto widgetAt = [&f](int row) {
        return qobject_cast<SlideRowWidget*>(f.view->indexWidget(f.view->model()->index(row, 0)));
    };
    const int lastInView = f.view->rowAt(f.view->viewport()->height() - 1);
    QVERIFY(lastInView > 1);
    for (int row = 0; row <= lastInView; ++row)
        QCOMPARE(widgetAt(row)->item(), f.project()->item(row));
    QVERIFY(!widgetAt(151));

    // The buttons follow a selection of rows that have no widget yet.
    f.select({151});
    ProjectPage::SelectionActions* actions = f.page()->selectionActions();
    QVERIFY(actions->upButton()->isEnabled());
    QVERIFY(!actions->downButton()->isEnabled());
    QVERIFY(actions->rotateButton()->isEnabled());
    f.view->scrollToBottom();
    SlideRowWidget* last = widgetAt(151);
    QVERIFY(last);
    QCOMPARE(last->item(), f.project()->item(151));
    QCOMPARE(last->numberLabel()->text(), f.project()->itemNumberText(last->item()));
    QVERIFY(last->isChecked());
    QVERIFY(!widgetAt(150)->isChecked());
    for (int row = f.view->rowAt(0); row <= 151; ++row)
        QCOMPARE(widgetAt(row)->item(), f.project()->item(row));

    // A slide added at the end is scrolled to, and its row made.
    f.view->scrollToTop();
    f.page()->addColorSlide(0);
    QTRY_VERIFY(widgetAt(152));
    QCOMPARE(widgetAt(152)->item(), f.project()->item(152));
}

TY_PAGE_TEST_MAIN(TestSlidesView)
#include "tst_slidesview.moc"
