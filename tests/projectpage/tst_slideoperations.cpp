#include "support/PageFixture.h"

#include "model/ProjectFile.h"
#include "model/ProjectItemSimple.h"
#include "model/ProjectItemTransition.h"
#include "pages/InterfaceText.h"
#include "pages/ProjectPageForAllActions.h"
#include "pages/ProjectPageSelectionActions.h"
#include "pages/ProjectPageSlidesView.h"
#include "pages/SlideRowWidget.h"
#include "uilib/controls/CButton.h"

#include <QKeyEvent>
#include <QSignalSpy>

using Rows = QList<int>;
Q_DECLARE_METATYPE(Rows)

namespace {

enum class Move { Up, Down };

void pressDelete(QWidget* view)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &press);
}

} // namespace

Q_DECLARE_METATYPE(Move)

// The slide-list operations on a fixture project: the project's order, the rows and the buttons.
class TestSlideOperations : public QObject
{
    Q_OBJECT

private slots:
    void moves_data();
    void moves();
    void duplicatePutsClonesAfterTheLastSelected();
    void deleteKeyAndRowDelete();
    void deleteKeyWithNothingSelected();
    void rotateTurnsOnlyPhotos();
    void buttonStates_data();
    void buttonStates();
    void applyToAll();
    void newSlidesTakeProjectDefaults();
    void folders();
    void sortButtonsStayCheckedAndToggleOrder();
    void shuffleKeepsTitleFirst();
    void clearAsksAndKeepsTitle();
    void rowsFollowTheProjectAfterEveryOperation();
};

void TestSlideOperations::moves_data()
{
    QTest::addColumn<Rows>("selected");
    QTest::addColumn<Move>("move");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<Rows>("selectedAfter");

    // Fixture order: T 1 2 3 4 5.
    QTest::newRow("2 and 4 up") << Rows{2, 4} << Move::Up << QStringList{"T", "2", "1", "4", "3", "5"} << Rows{1, 3};
    QTest::newRow("1 and 2 up swap") << Rows{1, 2} << Move::Up << QStringList{"T", "2", "1", "3", "4", "5"}
                                     << Rows{1, 2};
    QTest::newRow("1 alone up stays") << Rows{1} << Move::Up << QStringList{"T", "1", "2", "3", "4", "5"} << Rows{1};
    QTest::newRow("title up moves nothing") << Rows{0} << Move::Up << QStringList{"T", "1", "2", "3", "4", "5"}
                                            << Rows{0};
    QTest::newRow("last two down swap") << Rows{4, 5} << Move::Down << QStringList{"T", "1", "2", "3", "5", "4"}
                                        << Rows{4, 5};
    QTest::newRow("last alone down stays") << Rows{5} << Move::Down << QStringList{"T", "1", "2", "3", "4", "5"}
                                           << Rows{5};
    QTest::newRow("1 and 3 down") << Rows{1, 3} << Move::Down << QStringList{"T", "2", "1", "4", "3", "5"}
                                  << Rows{2, 4};
}

void TestSlideOperations::moves()
{
    QFETCH(Rows, selected);
    QFETCH(Move, move);
    QFETCH(QStringList, order);
    QFETCH(Rows, selectedAfter);

    PageFixture f;
    f.select(selected);
    if (move == Move::Up)
        f.page()->moveSelectedUp();
    else
        f.page()->moveSelectedDown();
    QCOMPARE(f.order(), order);
    QCOMPARE(f.selectedRows(), selectedAfter);
}

void TestSlideOperations::duplicatePutsClonesAfterTheLastSelected()
{
    PageFixture f;
    f.select({2, 5});
    f.page()->duplicateSelected();
    QCOMPARE(f.order(), (QStringList{"T", "1", "2", "3", "4", "5", "2", "5"}));
    QCOMPARE(f.selectedRows(), (Rows{6, 7}));
    // Clones are new slides, not the same ones twice.
    QVERIFY(f.project()->item(6) != f.project()->item(2));
    QCOMPARE(f.page()->slidesView()->model()->rowCount(), 8);
}

void TestSlideOperations::deleteKeyAndRowDelete()
{
    PageFixture f;
    f.select({0, 2, 4});
    pressDelete(f.page()->slidesView());
    QCOMPARE(f.order(), (QStringList{"T", "1", "3", "5"}));
    QVERIFY(f.selectedRows().isEmpty());

    // A row's own delete removes just its slide and keeps the rest selected.
    f.select({1, 2, 3});
    ProjectItem* middle = f.project()->item(2);
    auto* view = f.page()->slidesView();
    auto* row = qobject_cast<SlideRowWidget*>(view->indexWidget(view->model()->index(2, 0)));
    QVERIFY(row);
    emit row->deleteClicked(middle);
    QCOMPARE(f.order(), (QStringList{"T", "1", "5"}));
    QCOMPARE(f.selectedRows(), (Rows{1, 2}));
    QCOMPARE(view->model()->rowCount(), 3);

    // The title slide is never removed.
    f.page()->removeSlides(f.project()->item(0));
    QCOMPARE(f.order(), (QStringList{"T", "1", "5"}));
}

void TestSlideOperations::deleteKeyWithNothingSelected()
{
    PageFixture f;
    pressDelete(f.page()->slidesView());
    QCOMPARE(f.order(), (QStringList{"T", "1", "2", "3", "4", "5"}));
}

void TestSlideOperations::rotateTurnsOnlyPhotos()
{
    PageFixture f(QStringLiteral("pcpc"));
    CButton* rotate = f.page()->selectionActions()->rotateButton();
    f.select({2, 4});
    QVERIFY(!rotate->isEnabled());
    f.page()->rotateSelected();

    f.select({1, 2, 3});
    QVERIFY(rotate->isEnabled());
    f.page()->rotateSelected();
    QCOMPARE(static_cast<ProjectItemSimple*>(f.project()->item(1))->angle(), 90);
    QCOMPARE(static_cast<ProjectItemSimple*>(f.project()->item(3))->angle(), 90);
    f.page()->rotateSelected();
    QCOMPARE(static_cast<ProjectItemSimple*>(f.project()->item(1))->angle(), 180);
    QCOMPARE(f.order(), (QStringList{"T", "1", "2", "3", "4"}));
}

void TestSlideOperations::buttonStates_data()
{
    QTest::addColumn<QString>("slides");
    QTest::addColumn<bool>("reorder");
    QTest::addColumn<bool>("clear");
    QTest::addColumn<QString>("clearText");

    const QString clear = interfaceText(106);
    QTest::newRow("title only") << QString() << false << false << clear;
    QTest::newRow("one slide") << QStringLiteral("c") << false << true << clear + QStringLiteral(" (1)");
    QTest::newRow("two slides") << QStringLiteral("cc") << true << true << clear + QStringLiteral(" (2)");
    QTest::newRow("twelve slides") << QStringLiteral("pcpcpcpcpcpc") << true << true
                                   << QStringLiteral("Очистить список (12)");
}

void TestSlideOperations::buttonStates()
{
    QFETCH(QString, slides);
    QFETCH(bool, reorder);
    QFETCH(bool, clear);
    QFETCH(QString, clearText);

    PageFixture f(slides);
    ProjectPage::SelectionActions* actions = f.page()->selectionActions();
    QCOMPARE(actions->shuffleButton()->isEnabled(), reorder);
    QCOMPARE(actions->sortByNameButton()->isEnabled(), reorder);
    QCOMPARE(actions->sortByDateButton()->isEnabled(), reorder);
    QCOMPARE(f.page()->forAllActions()->clearButton()->isEnabled(), clear);
    QCOMPARE(f.page()->composeButton()->isEnabled(), clear);
    QCOMPARE(f.page()->forAllActions()->clearButton()->text(), clearText);

    // Nothing selected: no selection button works.
    QVERIFY(!actions->upButton()->isEnabled());
    QVERIFY(!actions->downButton()->isEnabled());
    QVERIFY(!actions->duplicateButton()->isEnabled());
    QVERIFY(!actions->rotateButton()->isEnabled());
    // The title slide alone selected: still none.
    f.select({0});
    QVERIFY(!actions->duplicateButton()->isEnabled());
    QVERIFY(!actions->upButton()->isEnabled());
}

void TestSlideOperations::applyToAll()
{
    PageFixture f(QStringLiteral("pc"));
    f.page()->applyDurationToAll(7000);
    for (ProjectItem* item : f.project()->items())
        QCOMPARE(item->time_ms(), 7000);
    QCOMPARE(f.project()->defaultTime_ms, 7000);

    f.page()->applyTransitionToAll(5);
    f.page()->applyMotionToAll(4);
    QCOMPARE(f.project()->defaultTransition, 5);
    QCOMPARE(f.project()->defaultMotion, 4);
    QCOMPARE(static_cast<ProjectItemTransition*>(f.project()->item(1))->transition, 5);
    QCOMPARE(static_cast<ProjectItemTransition*>(f.project()->item(2))->transition, 5);
    QCOMPARE(static_cast<ProjectItemSimple*>(f.project()->item(1))->motion(), 4);
}

void TestSlideOperations::newSlidesTakeProjectDefaults()
{
    PageFixture f(QStringLiteral("c"));
    f.project()->defaultTime_ms = 4000;
    f.project()->defaultTransition = 6;
    f.project()->defaultMotion = 3;
    f.page()->addColorSlide(2);
    f.page()->addImageFiles({f.writeImage(QStringLiteral("new/a.jpg"))}, -1);
    QCOMPARE(f.project()->itemCount(), 4);
    for (int index : {2, 3}) {
        auto* slide = static_cast<ProjectItemTransition*>(f.project()->item(index));
        QCOMPARE(slide->time_ms(), 4000);
        QCOMPARE(slide->transition, 6);
    }
    QCOMPARE(static_cast<ProjectItemSimple*>(f.project()->item(3))->motion(), 3);
    QCOMPARE(f.page()->slidesView()->model()->rowCount(), 4);
}

void TestSlideOperations::folders()
{
    PageFixture f(QStringLiteral("c"));
    f.writeImage(QStringLiteral("deep/inner/b.jpg"));
    f.writeImage(QStringLiteral("deep/inner/a.jpg"));
    f.page()->addImageFiles({f.folder() + QStringLiteral("/deep")}, 1);
    QCOMPARE(f.order(), (QStringList{"T", "a", "b", "1"}));
    QCOMPARE(f.messages.noImages, 0);

    QDir().mkpath(f.folder() + QStringLiteral("/empty/sub"));
    QFile text(f.folder() + QStringLiteral("/empty/sub/notes.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.close();
    f.page()->addImageFiles({f.folder() + QStringLiteral("/empty")}, -1);
    QCOMPARE(f.messages.noImages, 1);
    QCOMPARE(f.order(), (QStringList{"T", "a", "b", "1"}));
}

void TestSlideOperations::sortButtonsStayCheckedAndToggleOrder()
{
    PageFixture f(QStringLiteral("ppp"));
    f.select({1, 2});
    f.page()->moveSelectedDown(); // T 3 1 2
    QCOMPARE(f.order(), (QStringList{"T", "3", "1", "2"}));
    CButton* byName = f.page()->selectionActions()->sortByNameButton();
    byName->setCheckedAndEmit(true);
    QTRY_COMPARE(f.order(), (QStringList{"T", "1", "2", "3"}));
    QVERIFY(byName->isChecked());
    byName->setCheckedAndEmit(false);
    QTRY_COMPARE(f.order(), (QStringList{"T", "3", "2", "1"}));
    QVERIFY(!byName->isChecked());
}

void TestSlideOperations::shuffleKeepsTitleFirst()
{
    PageFixture f(QStringLiteral("pppppp"));
    for (int pass = 0; pass < 5; ++pass) {
        f.page()->shuffleSlides();
        QStringList order = f.order();
        QCOMPARE(order.first(), QStringLiteral("T"));
        std::sort(order.begin(), order.end());
        QCOMPARE(order, (QStringList{"1", "2", "3", "4", "5", "6", "T"}));
    }
}

void TestSlideOperations::clearAsksAndKeepsTitle()
{
    PageFixture f;
    f.messages.clearAnswer = false;
    f.page()->clearSlideList();
    QCOMPARE(f.messages.clearQuestions, 1);
    QCOMPARE(f.project()->itemCount(), 6);
    f.messages.clearAnswer = true;
    f.page()->clearSlideList();
    QCOMPARE(f.order(), QStringList{"T"});
    QCOMPARE(f.page()->slidesView()->model()->rowCount(), 1);
    QVERIFY(!f.page()->composeButton()->isEnabled());
}

void TestSlideOperations::rowsFollowTheProjectAfterEveryOperation()
{
    PageFixture f;
    f.select({1, 3});
    f.page()->moveSelectedDown();
    f.page()->duplicateSelected();
    f.page()->sortSlidesByName(true);
    f.select({2});
    f.page()->removeSlides(nullptr);
    auto* view = f.page()->slidesView();
    QCOMPARE(view->model()->rowCount(), f.project()->itemCount());
    for (int row = 0; row < f.project()->itemCount(); ++row) {
        auto* widget = qobject_cast<SlideRowWidget*>(view->indexWidget(view->model()->index(row, 0)));
        QVERIFY(widget);
        QCOMPARE(widget->item(), f.project()->item(row));
        QCOMPARE(view->rowHeight(row), 73);
    }
}

TY_PAGE_TEST_MAIN(TestSlideOperations)
#include "tst_slideoperations.moc"
