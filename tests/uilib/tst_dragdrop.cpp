#include "support/UiTestSupport.h"

#include "uilib/style/CDragDrop.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDragMoveEvent>
#include <QFrame>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

namespace {

constexpr int DragDistance = 10;

// Rows named A, B, ... of the given heights in a vertical box (spacing 4, a stretch at the end)
// on a container that takes the upper part of a window; a line edit lies below it.
struct Scene
{
    QWidget window;
    QWidget* container = new QWidget(&window);
    QVBoxLayout* layout = new QVBoxLayout(container);
    QLineEdit* elsewhere = new QLineEdit(&window);
    QFrame* indicator = new QFrame;
    QList<QWidget*> rows;
    CDragDrop dragDrop;
    QStringList signalLog;
    WindowMouse mouse{&window};

    explicit Scene(const QList<int>& heights, bool withIndicator = true)
    {
        window.resize(300, 500);
        container->setGeometry(0, 0, 300, 400);
        elsewhere->setGeometry(0, 420, 300, 30);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(4);
        for (int height : heights) {
            auto* row = new QFrame(container);
            row->setObjectName(QString(QChar('A' + rows.size())));
            row->setFixedHeight(height);
            layout->addWidget(row);
            rows << row;
        }
        layout->addStretch();
        indicator->setFixedHeight(10);
        dragDrop.setLayout(layout);
        dragDrop.setLocalMoveEnabled(true);
        dragDrop.setExternalDropEnabled(true);
        if (withIndicator)
            dragDrop.setDropIndicator(indicator);
        else
            indicator->setParent(container);
        record();
        window.show();
    }

    void record()
    {
        QObject::connect(&dragDrop, &CDragDrop::dragStarted, [this](QWidget* w, QPoint hot) {
            signalLog << QStringLiteral("started %1 %2,%3").arg(w->objectName()).arg(hot.x()).arg(hot.y());
        });
        QObject::connect(&dragDrop, &CDragDrop::dropAllowedChanged,
                         [this](bool allowed) { signalLog << QStringLiteral("allowed %1").arg(allowed); });
        QObject::connect(&dragDrop, &CDragDrop::dragStopped, [this] { signalLog << QStringLiteral("stopped"); });
        QObject::connect(&dragDrop, &CDragDrop::dropIndicatorVisibilityChanged,
                         [this](bool visible) { signalLog << QStringLiteral("visible %1").arg(visible); });
        QObject::connect(&dragDrop, &CDragDrop::dropIndicatorGeometryChanged,
                         [this](QRect) { signalLog << QStringLiteral("geometry"); });
        QObject::connect(&dragDrop, &CDragDrop::widgetMoved, [this](QWidget* w, int from, int to) {
            signalLog << QStringLiteral("moved %1 %2>%3").arg(w->objectName()).arg(from).arg(to);
        });
        QObject::connect(&dragDrop, &CDragDrop::dropped, [this](const QMimeData* data, Qt::DropAction, int row) {
            signalLog << QStringLiteral("dropped %1 %2").arg(data->text()).arg(row);
        });
    }

    // The rows in layout order, "|" for the indicator.
    QString order() const
    {
        QString names;
        for (int i = 0; i < layout->count(); ++i) {
            if (QWidget* w = layout->itemAt(i)->widget())
                names += w == indicator ? QStringLiteral("|") : w->objectName();
        }
        return names;
    }

    // A point of the row (y from its top) in window coordinates.
    QPoint at(QWidget* row, int y) const { return row->mapTo(&window, QPoint(row->width() / 2, y)); }

    void press(const QPoint& p) { mouse.press(&window, p); }
    void move(const QPoint& p) { mouse.move(&window, p); }
    void release(const QPoint& p) { mouse.release(&window, p); }

    // Presses on the row's middle, picks it up and starts the drag; returns the press point.
    QPoint startDrag(QWidget* row)
    {
        const QPoint start = at(row, row->height() / 2);
        press(start);
        move(start + QPoint(DragDistance, 0));
        move(start + QPoint(DragDistance + 1, 0));
        return start;
    }

    void sendDrag(QEvent::Type type, const QPoint& containerPos, QMimeData* data, bool* accepted = nullptr)
    {
        if (type == QEvent::DragLeave) {
            QDragLeaveEvent leave;
            QApplication::sendEvent(container, &leave);
            return;
        }
        std::unique_ptr<QDropEvent> event;
        if (type == QEvent::DragEnter)
            event.reset(new QDragEnterEvent(containerPos, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {}));
        else if (type == QEvent::DragMove)
            event.reset(new QDragMoveEvent(containerPos, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {}));
        else
            event.reset(new QDropEvent(containerPos, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {}));
        QApplication::sendEvent(container, event.get());
        if (accepted)
            *accepted = event->isAccepted();
    }

    QPoint inContainer(QWidget* row, int y) const { return row->mapTo(container, QPoint(row->width() / 2, y)); }
};

} // namespace

class TestDragDrop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStartDragDistance(DragDistance); }

    void nothingWithoutIndicator()
    {
        Scene scene({40, 40, 40}, false);
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        const QPoint start = scene.startDrag(scene.rows[0]);
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        scene.move(scene.at(scene.rows[2], 30));
        scene.release(scene.at(scene.rows[2], 30));
        bool accepted = true;
        QMimeData data;
        scene.sendDrag(QEvent::DragEnter, start, &data, &accepted);
        QVERIFY(!accepted);
        QCOMPARE(scene.order(), QStringLiteral("ABC"));
        QCOMPARE(scene.signalLog, QStringList());
    }

    void clickWithoutMovementEmitsNothing()
    {
        Scene scene({40, 40, 40});
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        const QPoint p = scene.at(scene.rows[1], 20);
        scene.press(p);
        scene.move(p + QPoint(DragDistance - 1, 0));
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        scene.release(p + QPoint(DragDistance - 1, 0));
        QCOMPARE(scene.order(), QStringLiteral("ABC"));
        QCOMPARE(scene.signalLog, QStringList());
    }

    // The row is picked up one drag distance from the press and dragged from a second move that
    // is also that far from the press.
    void pickUpAndDragDistances()
    {
        Scene scene({40, 40, 40});
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        QWidget* row = scene.rows[1];
        const QPoint start = scene.at(row, 15);
        scene.press(start);
        scene.move(start + QPoint(0, DragDistance));
        QCOMPARE(QWidget::mouseGrabber(), scene.container);
        QCOMPARE(scene.indicator->size(), row->size());
        scene.move(start + QPoint(DragDistance / 2, 0));
        QCOMPARE(scene.signalLog, QStringList());
        QVERIFY(!row->isHidden());
        scene.move(start + QPoint(DragDistance, 0));
        QCOMPARE(scene.order(), QStringLiteral("A|C"));
        QVERIFY(row->isHidden());
        QVERIFY(scene.indicator->isVisible());
        QVERIFY(scene.dragDrop.isDropAllowed());
        QCOMPARE(scene.signalLog, (QStringList{QStringLiteral("visible 1"), QStringLiteral("geometry"),
                                               QStringLiteral("allowed 1"),
                                               QStringLiteral("started B %1,15").arg(row->width() / 2)}));
        scene.release(start + QPoint(DragDistance, 0));
    }

    // A row taller than the indicator takes it before itself in its upper half and after
    // itself in its lower half, with or without the indicator in the layout; a short row
    // hands its place over.
    void halfHeightRule_data()
    {
        QTest::addColumn<bool>("external");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("y");
        QTest::addColumn<QString>("order");
        QTest::newRow("external, tall upper half") << true << "C" << 40 << "AB|CD";
        QTest::newRow("external, tall lower half") << true << "C" << 60 << "ABC|D";
        QTest::newRow("external, tall middle") << true << "C" << 50 << "AB|CD";
        QTest::newRow("external, lower half of the last row") << true << "D" << 39 << "ABCD|";
        QTest::newRow("local, tall upper half") << false << "C" << 40 << "B|CD";
        QTest::newRow("local, tall lower half") << false << "C" << 60 << "BC|D";
        QTest::newRow("local, short row below") << false << "D" << 5 << "BCD|";
        QTest::newRow("local, gap above a short row") << false << "B" << -2 << "B|CD";
    }

    void halfHeightRule()
    {
        QFETCH(bool, external);
        QFETCH(QString, target);
        QFETCH(int, y);
        QFETCH(QString, order);
        Scene scene({40, 40, 100, 40});
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        QMimeData data;
        if (external) {
            scene.sendDrag(QEvent::DragEnter, QPoint(5, 5), &data);
        } else {
            scene.startDrag(scene.rows[0]);
            QCOMPARE(scene.order(), QStringLiteral("|BCD"));
        }
        QWidget* row = scene.rows[target.at(0).unicode() - 'A'];
        if (external)
            scene.sendDrag(QEvent::DragMove, scene.inContainer(row, y), &data);
        else
            scene.move(scene.at(row, y));
        QCOMPARE(scene.order(), order);
        if (!external)
            scene.release(scene.at(row, y));
    }

    // Moving the pointer again over the indicator keeps it where it is.
    void pointerOnIndicatorKeepsPlace()
    {
        Scene scene({40, 40, 40});
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        scene.startDrag(scene.rows[0]);
        scene.move(scene.at(scene.rows[2], 5));
        QCOMPARE(scene.order(), QStringLiteral("BC|"));
        scene.move(scene.at(scene.indicator, 20));
        QCOMPARE(scene.order(), QStringLiteral("BC|"));
        scene.release(scene.at(scene.indicator, 20));
    }

    void releaseOnOwnPlace()
    {
        Scene scene({40, 40, 40});
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        const QPoint start = scene.startDrag(scene.rows[1]);
        scene.release(start + QPoint(DragDistance + 1, 0));
        QCOMPARE(scene.order(), QStringLiteral("ABC"));
        QVERIFY(!scene.rows[1]->isHidden());
        QVERIFY(scene.indicator->isHidden());
        QVERIFY(!scene.signalLog.join(' ').contains(QStringLiteral("moved")));
        QCOMPARE(scene.signalLog.last(), QStringLiteral("stopped"));
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
    }

    // The row stays at its new place and the signals come in this order.
    void releaseElsewhere()
    {
        Scene scene({40, 40, 40, 40});
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        scene.startDrag(scene.rows[0]);
        scene.move(scene.at(scene.rows[2], 20));
        scene.signalLog.clear();
        QCOMPARE(scene.order(), QStringLiteral("BC|D"));
        scene.release(scene.at(scene.indicator, 20));
        QCOMPARE(scene.order(), QStringLiteral("BCAD"));
        QVERIFY(scene.rows[0]->isVisible());
        QVERIFY(scene.indicator->isHidden());
        QVERIFY(!scene.dragDrop.isDropAllowed());
        QCOMPARE(scene.signalLog, (QStringList{QStringLiteral("visible 0"), QStringLiteral("allowed 0"),
                                               QStringLiteral("stopped"), QStringLiteral("moved A 0>2")}));
    }

    // Leaving the container puts the row back at its place until the pointer returns.
    void leavingTheContainerPutsTheRowBack()
    {
        Scene scene({40, 40, 40});
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        scene.startDrag(scene.rows[2]);
        scene.move(scene.at(scene.rows[0], 5));
        QCOMPARE(scene.order(), QStringLiteral("|AB"));
        scene.move(QPoint(150, 460));
        QCOMPARE(scene.order(), QStringLiteral("ABC"));
        QVERIFY(scene.rows[2]->isVisible());
        QVERIFY(!scene.dragDrop.isDropAllowed());
        scene.release(QPoint(150, 460));
        QCOMPARE(scene.order(), QStringLiteral("ABC"));
        QVERIFY(!scene.signalLog.join(' ').contains(QStringLiteral("moved")));
    }

    void cancel_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("double click") << "double click";
        QTest::newRow("focus out") << "focus out";
        QTest::newRow("window blocked") << "window blocked";
        QTest::newRow("escape") << "escape";
    }

    void cancel()
    {
        QFETCH(QString, how);
        Scene scene({40, 40, 40});
        for (QWidget* row : qAsConst(scene.rows))
            row->setFocusPolicy(Qt::StrongFocus);
        QApplication::setActiveWindow(&scene.window);
        QVERIFY(QTest::qWaitForWindowActive(&scene.window));
        QWidget* row = scene.rows[0];
        row->setFocus();
        scene.startDrag(row);
        scene.move(scene.at(scene.rows[2], 20));
        QCOMPARE(scene.order(), QStringLiteral("BC|"));
        scene.signalLog.clear();
        if (how == QLatin1String("double click")) {
            QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(scene.container, &click);
        } else if (how == QLatin1String("focus out")) {
            scene.move(QPoint(150, 460));
            QVERIFY(row->isVisible());
            row->setFocus();
            QVERIFY(row->hasFocus());
            scene.elsewhere->setFocus();
        } else if (how == QLatin1String("window blocked")) {
            QEvent blocked(QEvent::WindowBlocked);
            QApplication::sendEvent(scene.container, &blocked);
        } else {
            QTest::keyClick(scene.container, Qt::Key_Escape);
        }
        QCOMPARE(scene.signalLog.count(QStringLiteral("stopped")), 1);
        QCOMPARE(scene.order(), QStringLiteral("ABC"));
        QVERIFY(row->isVisible());
        QVERIFY(scene.indicator->isHidden());
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        scene.release(scene.at(scene.rows[2], 20));
        QVERIFY(!scene.signalLog.join(' ').contains(QStringLiteral("moved")));
    }

    // Lifting a focused row takes its focus; the drag goes on.
    void focusedRowCanBeMoved()
    {
        Scene scene({40, 40, 40});
        scene.rows[0]->setFocusPolicy(Qt::StrongFocus);
        QApplication::setActiveWindow(&scene.window);
        QVERIFY(QTest::qWaitForWindowActive(&scene.window));
        scene.rows[0]->setFocus();
        QVERIFY(scene.rows[0]->hasFocus());
        scene.startDrag(scene.rows[0]);
        scene.move(scene.at(scene.rows[2], 20));
        scene.release(scene.at(scene.indicator, 20));
        QCOMPARE(scene.order(), QStringLiteral("BCA"));
        QCOMPARE(scene.signalLog.last(), QStringLiteral("moved A 0>2"));
    }

    void externalRefusedByFilter()
    {
        Scene scene({40, 40});
        scene.dragDrop.setMimeDataFilter(
            [](const QMimeData* data) { return data->hasFormat(QStringLiteral("text/plain")); });
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QStringLiteral("/a.mp3"))});
        bool accepted = true;
        scene.sendDrag(QEvent::DragEnter, scene.inContainer(scene.rows[0], 5), &data, &accepted);
        QVERIFY(!accepted);
        QVERIFY(scene.indicator->isHidden());
        QCOMPARE(scene.order(), QStringLiteral("AB"));
        QCOMPARE(scene.signalLog, QStringList());
    }

    // The indicator keeps the limits it had when set, also after a local move sized it.
    void externalEnterKeepsIndicatorSize()
    {
        Scene scene({40, 40});
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        const QSize minimum = scene.indicator->minimumSize();
        const QSize maximum = scene.indicator->maximumSize();
        scene.startDrag(scene.rows[0]);
        scene.release(scene.at(scene.indicator, 5));
        QCOMPARE(scene.indicator->maximumSize(), scene.rows[0]->size());
        QMimeData data;
        data.setText(QStringLiteral("x"));
        bool accepted = false;
        scene.sendDrag(QEvent::DragEnter, scene.inContainer(scene.rows[0], 5), &data, &accepted);
        QVERIFY(accepted);
        QCOMPARE(scene.indicator->minimumSize(), minimum);
        QCOMPARE(scene.indicator->maximumSize(), maximum);
        scene.sendDrag(QEvent::DragMove, scene.inContainer(scene.rows[1], 5), &data);
        QCOMPARE(scene.indicator->height(), 10);
    }

    // A move is accepted where the data may land, not over the trailing stretch; a leave
    // stops and a drop reports the indicator's place.
    void externalMoveLeaveAndDrop()
    {
        Scene scene({40, 40});
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        QMimeData data;
        data.setText(QStringLiteral("x"));
        bool accepted = false;
        scene.sendDrag(QEvent::DragEnter, QPoint(5, 5), &data);
        scene.sendDrag(QEvent::DragMove, scene.inContainer(scene.rows[1], 5), &data, &accepted);
        QVERIFY(accepted);
        QCOMPARE(scene.order(), QStringLiteral("A|B"));
        scene.sendDrag(QEvent::DragMove, QPoint(5, 300), &data, &accepted);
        QVERIFY(!accepted);
        QVERIFY(!scene.dragDrop.isDropAllowed());
        QCOMPARE(scene.order(), QStringLiteral("A|B"));
        scene.sendDrag(QEvent::DragLeave, QPoint(), &data);
        QCOMPARE(scene.order(), QStringLiteral("AB"));
        QVERIFY(scene.indicator->isHidden());

        scene.signalLog.clear();
        QCoreApplication::processEvents();
        scene.sendDrag(QEvent::DragEnter, QPoint(5, 5), &data);
        scene.sendDrag(QEvent::DragMove, scene.inContainer(scene.rows[1], 35), &data);
        QCOMPARE(scene.order(), QStringLiteral("AB|"));
        scene.sendDrag(QEvent::Drop, scene.inContainer(scene.indicator, 5), &data, &accepted);
        QVERIFY(accepted);
        QCOMPARE(scene.order(), QStringLiteral("AB"));
        QCOMPARE(scene.signalLog, (QStringList{QStringLiteral("visible 1"), QStringLiteral("geometry"),
                                               QStringLiteral("allowed 1"), QStringLiteral("visible 0"),
                                               QStringLiteral("allowed 0"), QStringLiteral("dropped x 2")}));
    }

    void indicatorGeometryInContainer()
    {
        Scene scene({40, 40});
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        QSignalSpy spy(&scene.dragDrop, &CDragDrop::dropIndicatorGeometryChanged);
        QMimeData data;
        scene.sendDrag(QEvent::DragEnter, QPoint(5, 5), &data);
        scene.sendDrag(QEvent::DragMove, scene.inContainer(scene.rows[1], 5), &data);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toRect(), QRect(0, 44, 300, 10));
        QCOMPARE(scene.indicator->geometry(), QRect(0, 44, 300, 10));
    }

    // Rows added to the container later are watched too.
    void laterRowsCanBeMoved()
    {
        Scene scene({40});
        auto* row = new QFrame(scene.container);
        row->setObjectName(QStringLiteral("N"));
        row->setFixedHeight(40);
        scene.layout->insertWidget(1, row);
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        scene.startDrag(row);
        scene.move(scene.at(scene.rows[0], 5));
        scene.release(scene.at(scene.indicator, 5));
        QCOMPARE(scene.order(), QStringLiteral("NA"));
        QCOMPARE(scene.signalLog.last(), QStringLiteral("moved N 1>0"));
    }
};

TY_UI_TEST_MAIN(TestDragDrop)
#include "tst_dragdrop.moc"
