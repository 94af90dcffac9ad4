#include "support/UiTestSupport.h"

#include "pages/AbstractRow.h"
#include "pages/ElasticSpacer.h"
#include "pages/GroupLayout.h"
#include "pages/Labeled.h"
#include "uilib/controls/CButton.h"

#include <QBoxLayout>
#include <QGridLayout>

#include <memory>

namespace {

class Row : public QWidget, public AbstractRow
{
public:
    Row() : AbstractRow(this, QMargins(1, 2, 3, 4)) {}
};

// Counts how often its layout was invalidated.
class CountingLayout : public QHBoxLayout
{
public:
    void invalidate() override
    {
        ++invalidations;
        QHBoxLayout::invalidate();
    }
    int invalidations = 0;
};

} // namespace

// Rows of five cells, box layouts made on demand, elastic spacers, captioned controls and groups.
class TestRowHelpers : public QObject
{
    Q_OBJECT

private slots:
    void rowHasFiveCells();
    void widthsOfOneRowLineUpAnother();
    void shorterWidthListSetsOnlyCoveredCells();
    void ensureBoxLayout_data();
    void ensureBoxLayout();
    void slavesTakeMasterSize();
    void slaveWithoutLayoutIsResizedOnly();
    void deletedSlaveIsSkipped();
    void verticalSpacer();
    void labeledPutsCaptionAboveControl();
    void groupLayouts();
};

void TestRowHelpers::rowHasFiveCells()
{
    Row row;
    auto* layout = qobject_cast<QHBoxLayout*>(row.layout());
    QVERIFY(layout);
    QCOMPARE(layout->spacing(), 0);
    QCOMPARE(layout->contentsMargins(), QMargins(1, 2, 3, 4));
    QCOMPARE(layout->count(), 5);
    const QMargins margins[] = {{0, 0, 0, 0}, {16, 0, 12, 0}, {12, 0, 12, 0}, {12, 0, 12, 0}, {12, 0, 0, 0}};
    const QSizePolicy::Policy policies[] = {QSizePolicy::Fixed, QSizePolicy::Fixed, QSizePolicy::Expanding,
                                            QSizePolicy::Expanding, QSizePolicy::Minimum};
    for (int column = 0; column < 5; ++column) {
        AbstractRow::CellWidget* cell = row.cell(column);
        QVERIFY(cell);
        QCOMPARE(layout->itemAt(column)->widget(), cell);
        QCOMPARE(cell->parentWidget(), &row);
        QCOMPARE(cell->styleKind(), -1);
        auto* inner = qobject_cast<QHBoxLayout*>(cell->layout());
        QVERIFY(inner);
        QCOMPARE(inner->spacing(), 0);
        QCOMPARE(inner->contentsMargins(), margins[column]);
        QCOMPARE(cell->sizePolicy().horizontalPolicy(), policies[column]);
        QCOMPARE(cell->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
    }
    QVERIFY(!row.cell(5));
    QCOMPARE(row.columnWidths().size(), 5);
}

void TestRowHelpers::widthsOfOneRowLineUpAnother()
{
    Row header;
    Row other;
    const int widths[] = {60, 90, 150, 130, 200};
    for (int column = 0; column < 5; ++column)
        header.cell(column)->setFixedWidth(widths[column]);
    other.setColumnWidths(header.columnWidths());
    QCOMPARE(other.columnWidths(), header.columnWidths());
    // Different row margins and contents, same cell widths once laid out.
    other.cell(4)->layout()->addWidget(new QWidget);
    header.resize(700, 40);
    other.resize(900, 40);
    header.show();
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    for (int column = 0; column < 5; ++column)
        QCOMPARE(other.cell(column)->width(), header.cell(column)->width());
}

void TestRowHelpers::shorterWidthListSetsOnlyCoveredCells()
{
    Row row;
    const AbstractRow::ColumnWidths before = row.columnWidths();
    row.setColumnWidths({{10, 20}, {30, 40}});
    const AbstractRow::ColumnWidths after = row.columnWidths();
    QCOMPARE(after[0], qMakePair(10, 20));
    QCOMPARE(after[1], qMakePair(30, 40));
    for (int column = 2; column < 5; ++column)
        QCOMPARE(after[column], before[column]);
    row.setColumnWidths({});
    QCOMPARE(row.columnWidths(), after);
}

void TestRowHelpers::ensureBoxLayout_data()
{
    QTest::addColumn<int>("existing");
    QTest::newRow("none") << 0;
    QTest::newRow("horizontal") << 1;
    QTest::newRow("vertical") << 2;
    QTest::newRow("grid") << 3;
}

// The widget's own layout is kept as it is; only a widget without one gets a new box.
void TestRowHelpers::ensureBoxLayout()
{
    QFETCH(int, existing);
    for (bool horizontal : {true, false}) {
        QWidget widget;
        QLayout* old = nullptr;
        if (existing == 1)
            old = new QHBoxLayout(&widget);
        else if (existing == 2)
            old = new QVBoxLayout(&widget);
        else if (existing == 3)
            old = new QGridLayout(&widget);
        if (old) {
            old->setContentsMargins(5, 5, 5, 5);
            old->setSpacing(3);
        }
        const QMargins asked(1, 2, 3, 4);
        QBoxLayout* box = horizontal ? static_cast<QBoxLayout*>(ensureHBoxLayout(&widget, asked, 7))
                                     : ensureVBoxLayout(&widget, asked, 7);
        const bool matches = existing == (horizontal ? 1 : 2);
        if (!old) {
            QVERIFY(box);
            QCOMPARE(widget.layout(), box);
            QCOMPARE(box->direction(), horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
            QCOMPARE(box->contentsMargins(), asked);
            QCOMPARE(box->spacing(), 7);
            continue;
        }
        QCOMPARE(widget.layout(), old);
        QCOMPARE(box, matches ? static_cast<QBoxLayout*>(old) : nullptr);
        QCOMPARE(old->contentsMargins(), QMargins(5, 5, 5, 5));
        QCOMPARE(old->spacing(), 3);
    }
}

void TestRowHelpers::slavesTakeMasterSize()
{
    QWidget first;
    auto* firstLayout = new QHBoxLayout(&first);
    firstLayout->setContentsMargins(0, 0, 0, 0);
    firstLayout->setSpacing(0);
    auto* master = new ElasticSpacer(20, 100, Qt::Horizontal);
    QCOMPARE(master->sizeHint(), QSize(100, 0));
    QCOMPARE(master->minimumSize(), QSize(20, 0));
    QCOMPARE(master->sizePolicy().horizontalPolicy(), QSizePolicy::Maximum);
    QCOMPARE(master->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    firstLayout->addItem(master);
    auto* fixed = new QWidget;
    fixed->setFixedWidth(150);
    firstLayout->addWidget(fixed);

    QWidget second;
    auto* secondLayout = new CountingLayout;
    second.setLayout(secondLayout);
    secondLayout->setContentsMargins(0, 0, 0, 0);
    secondLayout->setSpacing(0);
    QSpacerItem* slave = master->createSlave(secondLayout);
    secondLayout->addItem(slave);
    secondLayout->addWidget(new QWidget, 1);

    // Room for the master's preferred size, then less than that.
    firstLayout->setGeometry(QRect(0, 0, 300, 30));
    QCOMPARE(master->geometry().width(), 100);
    QCOMPARE(slave->sizeHint(), QSize(100, 0));
    QCOMPARE(slave->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QVERIFY(secondLayout->invalidations > 0);
    secondLayout->setGeometry(QRect(0, 0, 400, 30));
    QCOMPARE(slave->geometry().width(), 100);

    firstLayout->setGeometry(QRect(0, 0, 200, 30));
    QCOMPARE(master->geometry().width(), 50);
    QCOMPARE(slave->sizeHint(), QSize(50, 0));
}

void TestRowHelpers::slaveWithoutLayoutIsResizedOnly()
{
    ElasticSpacer master(0, 80, Qt::Horizontal);
    auto* layout = new CountingLayout;
    std::unique_ptr<QSpacerItem> slave(master.createSlave(layout));
    master.setGeometry(QRect(0, 0, 40, 10));
    QCOMPARE(layout->invalidations, 1);
    delete layout;
    master.setGeometry(QRect(0, 0, 60, 10));
    QCOMPARE(slave->sizeHint(), QSize(60, 0));
}

void TestRowHelpers::deletedSlaveIsSkipped()
{
    ElasticSpacer master(0, 80, Qt::Horizontal);
    CountingLayout layout;
    QSpacerItem* gone = master.createSlave(&layout);
    std::unique_ptr<QSpacerItem> kept(master.createSlave(&layout));
    delete gone;
    master.setGeometry(QRect(0, 0, 30, 10));
    QCOMPARE(kept->sizeHint(), QSize(30, 0));
    QCOMPARE(layout.invalidations, 1);
}

void TestRowHelpers::verticalSpacer()
{
    ElasticSpacer master(10, 50, Qt::Vertical);
    QCOMPARE(master.sizeHint(), QSize(0, 50));
    QCOMPARE(master.minimumSize(), QSize(0, 10));
    QCOMPARE(master.sizePolicy().verticalPolicy(), QSizePolicy::Maximum);
    QCOMPARE(master.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    master.setGeometry(QRect(0, 0, 70, 35));
    std::unique_ptr<QSpacerItem> slave(master.createSlave(nullptr));
    QCOMPARE(slave->sizeHint(), QSize(0, 35));
    master.setGeometry(QRect(0, 0, 70, 25));
    QCOMPARE(slave->sizeHint(), QSize(0, 25));
}

void TestRowHelpers::labeledPutsCaptionAboveControl()
{
    auto* button = new CButton(11);
    Labeled<CButton> labeled(button, nullptr);
    QCOMPARE(labeled.control(), button);
    QCOMPARE(labeled.caption()->styleKind(), 1062);
    QCOMPARE(labeled.caption()->sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
    auto* column = qobject_cast<QVBoxLayout*>(labeled.layout());
    QVERIFY(column);
    QCOMPARE(column->spacing(), 5);
    QCOMPARE(column->contentsMargins(), QMargins());
    QCOMPARE(column->count(), 2);
    auto* captionRow = qobject_cast<QHBoxLayout*>(column->itemAt(0)->layout());
    QVERIFY(captionRow);
    QCOMPARE(captionRow->contentsMargins(), QMargins());
    QCOMPARE(captionRow->itemAt(0)->widget(), labeled.caption());
    QCOMPARE(column->itemAt(1)->widget(), button);
    QCOMPARE(button->parentWidget(), &labeled);

    Labeled<CButton> empty(nullptr, nullptr);
    QVERIFY(!empty.control());
    QCOMPARE(empty.layout()->count(), 1);
}

void TestRowHelpers::groupLayouts()
{
    QWidget page;
    auto* grid = new GroupLayout<QGridLayout>(12, 13, &page);
    QCOMPARE(grid->caption()->styleKind(), 1065);
    QCOMPARE(grid->caption()->parentWidget(), &page);
    QCOMPARE(grid->spacing(), 13);
    QCOMPARE(grid->contentsMargins(), QMargins());
    QCOMPARE(grid->inner()->horizontalSpacing(), 12);
    QCOMPARE(grid->inner()->verticalSpacing(), 13);
    QCOMPARE(grid->inner()->contentsMargins(), QMargins());
    QCOMPARE(grid->itemAt(0)->widget(), grid->caption());
    QCOMPARE(grid->itemAt(1)->layout(), grid->inner());

    auto* box = new GroupLayout<QHBoxLayout>(32, 99, &page);
    QCOMPARE(box->inner()->spacing(), 32);
    QCOMPARE(box->itemAt(1)->layout(), box->inner());
    auto* outer = new QVBoxLayout(&page);
    outer->addLayout(grid);
    outer->addLayout(box);
}

TY_UI_TEST_MAIN(TestRowHelpers)

#include "tst_rowhelpers.moc"
