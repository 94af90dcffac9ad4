#include "support/UiTestSupport.h"
#include "support/WindowMouse.h"

#include "uilib/controls/CButton.h"
#include "uilib/controls/CButtonMenuItem.h"
#include "uilib/controls/CScrollArea.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWindowMenu.h"
#include "uilib/controls/CWindowPopup.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/WindowRegion.h"

#include <QApplication>
#include <QBoxLayout>
#include <QScrollBar>
#include <QSignalSpy>

namespace {

// Records the mouse events it gets and accepts presses.
class MouseRecorder : public QWidget
{
public:
    using QWidget::QWidget;
    QList<QPair<QEvent::Type, Qt::MouseButton>> events;

protected:
    bool event(QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            events.append({event->type(), static_cast<QMouseEvent*>(event)->button()});
            event->accept();
            return true;
        default:
            return QWidget::event(event);
        }
    }
};

// A window with a button that opens a popup beside it.
struct PopupFixture
{
    PopupFixture()
    {
        window.setGeometry(50, 50, 400, 300);
        opener = new CButton(11, &window);
        opener->setGeometry(20, 20, 100, 36);
        window.show();
        popup = new CWindowPopup(3, 0, opener);
        popup->resize(150, 100);
        popup->addPassThroughWidget(opener);
    }
    ~PopupFixture() { closeAllPopups(); }
    void open()
    {
        popup->move(window.geometry().topLeft() + QPoint(20, 60));
        popup->show();
        QCOMPARE(QApplication::activePopupWidget(), popup);
    }

    QWidget window;
    CButton* opener;
    CWindowPopup* popup;
};

// A sub-menu item that opens only by the menu's hover delay.
CButtonMenuItem* addSubMenuItem(CWindowMenu* menu, const QString& text)
{
    auto* item = new CButtonMenuItem(17, 2, 4, Qt::AlignTop);
    item->setText(text);
    item->popup()->addActionItem(QString(), text + " child", nullptr);
    menu->addWidget(item);
    return item;
}

} // namespace

class PopupMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { closeAllPopups(); }

    void passThroughOpenerGetsClick()
    {
        PopupFixture fixture;
        fixture.open();
        QSignalSpy clicked(fixture.opener, &CButton::clicked);
        NestedLoopWatchdog watchdog;
        popupClick(globalCentre(fixture.opener));
        QTRY_COMPARE(clicked.count(), 1);
        QVERIFY(fixture.popup->isVisible());
    }

    void pressElsewhere_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("closedAtOnce");
        QTest::addColumn<bool>("closedLater");
        QTest::newRow("caption of another window") << "caption" << false << true;
        QTest::newRow("client area of another window") << "client" << true << true;
        QTest::newRow("no window") << "nowhere" << true << true;
        QTest::newRow("inside the popup") << "inside" << false << false;
    }
    void pressElsewhere()
    {
        QFETCH(QString, where);
        QFETCH(bool, closedAtOnce);
        QFETCH(bool, closedLater);
        CWindow other(CWindow::TitleBar | CWindow::Movable, nullptr);
        other.setGeometry(500, 100, 250, 200);
        other.show();
        PopupFixture fixture;
        fixture.open();
        QPoint global;
        if (where == "caption")
            global = other.titleBar()->mapToGlobal(QPoint(40, other.titleBar()->height() / 2));
        else if (where == "client")
            global = other.mapToGlobal(QPoint(120, 150));
        else if (where == "nowhere")
            global = QPoint(790, 590);
        else
            global = globalCentre(fixture.popup);
        popupMouse(QEvent::MouseButtonPress, global);
        QCOMPARE(fixture.popup->isHidden(), closedAtOnce);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(fixture.popup->isHidden(), closedLater);
        QWindow* release = fixture.popup->isVisible() ? fixture.popup->windowHandle() : other.windowHandle();
        windowMouse(release, QEvent::MouseButtonRelease, global);
    }

    void grabberGetsPressFirst()
    {
        PopupFixture fixture;
        auto* grabber = new MouseRecorder(&fixture.window);
        grabber->setGeometry(200, 200, 50, 50);
        grabber->show();
        fixture.open();
        grabber->grabMouse();
        const QPoint global = globalCentre(fixture.opener);
        popupMouse(QEvent::MouseButtonPress, global);
        popupMouse(QEvent::MouseButtonRelease, global);
        grabber->releaseMouse();
        using Event = QPair<QEvent::Type, Qt::MouseButton>;
        const QList<Event> expected{{QEvent::MouseButtonPress, Qt::LeftButton},
                                    {QEvent::MouseButtonRelease, Qt::LeftButton}};
        QCOMPARE(grabber->events, expected);
        QVERIFY(!fixture.opener->isDown());
        QVERIFY(fixture.popup->isVisible());
    }

    void hidingReleasesForwardedButtons()
    {
        PopupFixture fixture;
        auto* target = new MouseRecorder(&fixture.window);
        target->setGeometry(200, 200, 50, 50);
        target->show();
        fixture.popup->addPassThroughWidget(target);
        fixture.open();
        const QPoint global = globalCentre(target);
        popupMouse(QEvent::MouseButtonPress, global, Qt::LeftButton);
        popupMouse(QEvent::MouseButtonPress, global, Qt::RightButton);
        target->events.clear();
        fixture.popup->hide();
        using Event = QPair<QEvent::Type, Qt::MouseButton>;
        const QList<Event> expected{{QEvent::MouseButtonRelease, Qt::RightButton},
                                    {QEvent::MouseButtonRelease, Qt::LeftButton}};
        QCOMPARE(target->events, expected);
        for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton})
            windowMouse(fixture.window.windowHandle(), QEvent::MouseButtonRelease, global, button);
        // Nothing is left to release at the next hide.
        target->events.clear();
        fixture.open();
        fixture.popup->hide();
        QVERIFY(target->events.isEmpty());
    }

    void openingPressReachesOpener()
    {
        PopupFixture fixture;
        QSignalSpy clicked(fixture.opener, &CButton::clicked);
        sendEnter(fixture.opener);
        const QPoint local = fixture.opener->geometry().center();
        windowMouse(fixture.window.windowHandle(), QEvent::MouseButtonPress, fixture.window.mapToGlobal(local));
        QVERIFY(fixture.opener->isDown());
        fixture.open();
        popupMouse(QEvent::MouseButtonRelease, fixture.window.mapToGlobal(local));
        QVERIFY(!fixture.opener->isDown());
        QTRY_COMPARE(clicked.count(), 1);
    }

    void escapeClosesOneLevel()
    {
        CWindowMenu menu;
        CButtonMenuItem* item = addSubMenuItem(&menu, "Sub");
        menu.showAtCursor();
        item->showPopup();
        QVERIFY(item->popup()->isVisible());
        QTest::keyClick(item->popup(), Qt::Key_Escape);
        QVERIFY(item->popup()->isHidden());
        QVERIFY(menu.isVisible());
        QVERIFY(!item->isChecked());
        // Hiding a menu closes its open sub-menus.
        item->showPopup();
        menu.close();
        QVERIFY(item->popup()->isHidden());
    }

    void pressOnParentKeepsSubMenu()
    {
        CWindowMenu menu;
        CButtonMenuItem* item = addSubMenuItem(&menu, "Sub");
        CButton* plain = menu.addActionItem(QString(), "Plain", nullptr);
        menu.move(100, 100);
        menu.showAtCursor();
        item->showPopup();
        QCOMPARE(QApplication::activePopupWidget(), item->popup());
        popupMouse(QEvent::MouseButtonPress, globalCentre(plain));
        popupMouse(QEvent::MouseButtonRelease, globalCentre(plain));
        QCoreApplication::processEvents();
        QVERIFY(item->popup()->isVisible());
        QVERIFY(menu.isVisible());
    }

    void hoverOpensOnlyLastSubMenu()
    {
        CWindowMenu menu;
        menu.setClickDelay(20);
        QList<CButtonMenuItem*> items;
        QList<QSharedPointer<QSignalSpy>> shown;
        for (const char* text : {"One", "Two", "Three"}) {
            items.append(addSubMenuItem(&menu, text));
            shown.append(QSharedPointer<QSignalSpy>::create(items.last()->popup(), &CWidgetBase::showed));
        }
        QCursor::setPos(400, 300);
        menu.showAtCursor();
        for (CButtonMenuItem* item : items) {
            QCursor::setPos(globalCentre(item));
            sendEnter(item);
        }
        QTRY_VERIFY(items[2]->popup()->isVisible());
        QCOMPARE(shown[0]->count(), 0);
        QCOMPARE(shown[1]->count(), 0);
        QCOMPARE(shown[2]->count(), 1);
        // Moving on to another item closes the open sub-menu and opens the new one.
        QCursor::setPos(globalCentre(items[0]));
        sendEnter(items[0]);
        QTRY_VERIFY(items[0]->popup()->isVisible());
        QVERIFY(items[2]->popup()->isHidden());
    }

    void itemClick_data()
    {
        QTest::addColumn<bool>("closeOnClick");
        QTest::newRow("closes") << true;
        QTest::newRow("stays open") << false;
    }
    void itemClick()
    {
        QFETCH(bool, closeOnClick);
        CWindowMenu menu;
        menu.setCloseOnItemClick(closeOnClick);
        int runs = 0;
        CButton* item = menu.addActionItem(QString(), "Run", [&runs] { ++runs; });
        QCOMPARE(item->text(), QStringLiteral("Run"));
        menu.showAtCursor();
        popupClick(globalCentre(item));
        QTRY_COMPARE(runs, 1);
        QCoreApplication::processEvents();
        QCOMPARE(menu.isVisible(), !closeOnClick);
    }

    void removedItemNoLongerCloses()
    {
        CWindowMenu menu;
        CButton* item = menu.addActionItem(QString(), "Run", nullptr);
        menu.showAtCursor();
        item->setParent(nullptr);
        emit item->clicked();
        QVERIFY(menu.isVisible());
        delete item;
    }

    void ensureItemVisibleBeforeShow()
    {
        CWindowMenu menu;
        menu.setScrollable(2, -1);
        QVERIFY(menu.scrollArea());
        QList<CButton*> items;
        for (int i = 0; i < 30; ++i) {
            items.append(menu.addActionItem(QString(), QString::number(i), nullptr));
            items.last()->setFixedHeight(30);
        }
        menu.scrollArea()->setFixedHeight(150);
        menu.ensureItemVisible(items[25]);
        menu.showAtCursor();
        QScrollBar* bar = menu.scrollArea()->verticalScrollBar();
        QVERIFY(bar->value() > 0);
        const QRect shown(QPoint(0, bar->value()), menu.scrollArea()->viewport()->size());
        QVERIFY2(shown.contains(items[25]->geometry()), qPrintable(QString::number(bar->value())));
        // While shown it scrolls at once.
        menu.ensureItemVisible(items[0]);
        QCOMPARE(bar->value(), 0);
    }

    void setScrollableKeepsItems()
    {
        CWindowMenu menu;
        CButton* before = menu.addActionItem(QString(), "Before", nullptr);
        menu.setScrollable(2, -1);
        CScrollArea* area = menu.scrollArea();
        menu.setScrollable(3, -1);
        QCOMPARE(menu.scrollArea(), area);
        QCOMPARE(area->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(before->parentWidget(), area->widget());
        QCOMPARE(menu.itemLayout()->parentWidget(), area->widget());
        // Items moved into the scroll area still close the menu when clicked.
        menu.showAtCursor();
        emit before->clicked();
        QVERIFY(menu.isHidden());
    }

    void paletteSetsMenuClickDelay_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("fromPalette");
        QTest::newRow("menu") << 3 << true;
        QTest::newRow("wide menu") << 4 << true;
        QTest::newRow("combo popup") << 5 << true;
        QTest::newRow("dialog look") << 2 << false;
    }
    void paletteSetsMenuClickDelay()
    {
        QFETCH(int, kind);
        QFETCH(bool, fromPalette);
        CWindowMenu menu(kind, Qt::Vertical, nullptr, CWindow::Default, true);
        menu.setClickDelay(1);
        menu.applyStyle();
        QCOMPARE(menu.clickDelay(), fromPalette ? currentPalette()->metric(11) : 1);
    }

    void closeAllPopupsClosesChain()
    {
        CWindowMenu menu;
        CButtonMenuItem* item = addSubMenuItem(&menu, "Sub");
        menu.showAtCursor();
        item->showPopup();
        closeAllPopups();
        QVERIFY(!QApplication::activePopupWidget());
        QVERIFY(menu.isHidden());
    }
};

TY_UI_TEST_MAIN(PopupMenuTest)
#include "tst_popupmenu.moc"
