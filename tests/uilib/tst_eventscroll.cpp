#include <QtTest>

#include "uilib/style/CEventScroll.h"

#include <QEnterEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <memory>

namespace {

// Notes Enter and Leave of the widgets it watches, as "enter row0", "leave top0", ...
class HoverLog : public QObject
{
public:
    void watch(QWidget* widget)
    {
        widget->installEventFilter(this);
    }
    QStringList take()
    {
        return std::exchange(lines, {});
    }

    QStringList lines;
    QPoint lastEnterPos;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Enter) {
            lines << "enter " + watched->objectName();
            lastEnterPos = static_cast<QEnterEvent*>(event)->pos();
        } else if (event->type() == QEvent::Leave) {
            lines << "leave " + watched->objectName();
        }
        return false;
    }
};

} // namespace

// Rows of 100 pixels in a 200 x 200 scroll area, each split into a top and a bottom half;
// the pointer rests 25 pixels below the viewport's top.
class TestEventScroll : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void scrollingMovesTheHover();
    void sameWidgetSendsNothing();
    void leavingTheViewport();
    void insertedRowAfterLayout();
    void pointerOutsideTheArea();

private:
    QWidget* addRow(int position, const QString& name);
    void scrollTo(int value);
    QPoint pointerPos() const;

    std::unique_ptr<QScrollArea> m_area;
    QVBoxLayout* m_rows = nullptr;
    HoverLog m_log;
};

QWidget* TestEventScroll::addRow(int position, const QString& name)
{
    auto* row = new QWidget;
    row->setObjectName("row" + name);
    row->setFixedHeight(100);
    auto* halves = new QVBoxLayout(row);
    halves->setContentsMargins(0, 0, 0, 0);
    halves->setSpacing(0);
    for (const QString& half : {QString("top"), QString("bottom")}) {
        auto* part = new QWidget;
        part->setObjectName(half + name);
        halves->addWidget(part);
        m_log.watch(part);
    }
    m_log.watch(row);
    m_rows->insertWidget(position, row);
    return row;
}

void TestEventScroll::init()
{
    m_area = std::make_unique<QScrollArea>();
    m_area->setGeometry(100, 100, 200, 200);
    m_area->setWidgetResizable(true);
    m_area->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    m_rows = new QVBoxLayout(content);
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(0);
    m_area->setWidget(content);
    for (int i = 0; i < 6; ++i)
        addRow(i, QString::number(i));
    new CEventScroll(m_area.get());
    m_area->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_area.get()));
    QCursor::setPos(pointerPos());
    QTRY_COMPARE(QCursor::pos(), pointerPos());
    QCoreApplication::processEvents();
    m_log.take();
}

void TestEventScroll::cleanup()
{
    m_area.reset();
}

QPoint TestEventScroll::pointerPos() const
{
    return m_area->viewport()->mapToGlobal(QPoint(50, 25));
}

void TestEventScroll::scrollTo(int value)
{
    m_area->verticalScrollBar()->setValue(value);
    QCOMPARE(m_area->verticalScrollBar()->value(), value);
}

void TestEventScroll::scrollingMovesTheHover()
{
    scrollTo(50);
    // Within one row: the row itself hears nothing.
    QCOMPARE(m_log.take(), QStringList({"leave top0", "enter bottom0"}));
    scrollTo(100);
    QCOMPARE(m_log.take(), QStringList({"leave row0", "leave bottom0", "enter row1", "enter top1"}));
    QCOMPARE(m_log.lastEnterPos, QPoint(50, 25));
    scrollTo(0);
    QCOMPARE(m_log.take(), QStringList({"leave row1", "leave top1", "enter row0", "enter top0"}));
}

void TestEventScroll::sameWidgetSendsNothing()
{
    scrollTo(10);
    scrollTo(20);
    QCOMPARE(m_log.take(), QStringList());
}

void TestEventScroll::leavingTheViewport()
{
    scrollTo(100);
    m_log.take();
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(m_area->viewport(), &leave);
    QCOMPARE(m_log.take(), QStringList({"leave top1"}));
    // Nothing is left to leave.
    QCoreApplication::sendEvent(m_area->viewport(), &leave);
    QCOMPARE(m_log.take(), QStringList());
}

void TestEventScroll::insertedRowAfterLayout()
{
    QWidget* row = addRow(0, "New");
    QVERIFY(row->hasMouseTracking());
    auto* deeper = new QWidget(m_area->widget()->findChild<QWidget*>("top3"));
    QVERIFY(deeper->hasMouseTracking());
    QTRY_COMPARE(m_log.lines, QStringList({"leave row0", "leave top0", "enter rowNew", "enter topNew"}));
}

void TestEventScroll::pointerOutsideTheArea()
{
    scrollTo(100);
    m_log.take();
    QCursor::setPos(QPoint(5, 5));
    scrollTo(0);
    QCOMPARE(m_log.take(), QStringList({"leave row1", "leave top1"}));
}

QTEST_MAIN(TestEventScroll)
#include "tst_eventscroll.moc"
