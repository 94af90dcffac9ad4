#include "support/UiTestSupport.h"
#include "support/WindowMouse.h"

#include "uilib/controls/CButtonMenuItem.h"
#include "uilib/controls/CComboBase.h"
#include "uilib/controls/CScrollArea.h"
#include "uilib/controls/CWindowMenu.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/CStyle.h"

#include <QApplication>
#include <QBoxLayout>
#include <QSignalSpy>

namespace {

// A menu button that can refuse its popup.
class RefusingMenuButton : public CButtonMenuItem
{
public:
    RefusingMenuButton(QWidget* parent)
        : CButtonMenuItem(11, 0, 8, 1, parent)
    {
    }
    bool allow = true;
    int asked = 0;

protected:
    void aboutToShowPopup(bool* allowed) override
    {
        ++asked;
        *allowed = allow;
    }
};

// A shown window holding the control at (20, 20).
struct Host
{
    Host() { window.setGeometry(60, 60, 400, 300); }
    template <class Control>
    Control* place(Control* control)
    {
        control->move(20, 20);
        window.show();
        return control;
    }
    QWidget window;
};

struct ComboFixture
{
    explicit ComboFixture(int widthMode = 0)
    {
        combo = host.place(new CComboBase(18, QSizePolicy::Fixed, widthMode, &host.window));
        combo->resize(120, 30);
    }
    ~ComboFixture() { closeAllPopups(); }
    QStringList itemTexts() const
    {
        QStringList texts;
        QBoxLayout* layout = combo->popup()->itemLayout();
        for (int i = 0; i < layout->count(); ++i)
            texts << static_cast<CButton*>(layout->itemAt(i)->widget())->text();
        return texts;
    }
    CButton* itemButton(int index) const
    {
        return static_cast<CButton*>(combo->popup()->itemLayout()->itemAt(index)->widget());
    }
    Host host;
    CComboBase* combo;
};

// What a user sees of an item once the popup is open.
struct ItemLook
{
    QString text;
    bool checked;
    int styleKind;
    QString icon;
    bool operator==(const ItemLook& other) const
    {
        return text == other.text && checked == other.checked && styleKind == other.styleKind && icon == other.icon;
    }
};

QList<ItemLook> itemLooks(const ComboFixture& fixture)
{
    QList<ItemLook> looks;
    for (int i = 0; i < fixture.combo->popup()->itemLayout()->count(); ++i) {
        const CButton* button = fixture.itemButton(i);
        looks.append({button->text(), button->isChecked(), button->styleKind(),
                      button->icon() ? button->icon()->path() : QString()});
    }
    return looks;
}

// An item made now, or registered to be made with the popup, alike.
void addItem(CComboBase* combo, bool deferred, const QVariant& value, const QString& text,
             const QString& icon = QString(), int styleKind = -1)
{
    if (deferred) {
        combo->addDeferredItem(value, text, icon, styleKind);
        return;
    }
    CButton* button = combo->addItem(value, text);
    if (!icon.isEmpty())
        button->setIcon(icon);
    if (styleKind >= 0)
        button->setStyleKind(styleKind);
}

} // namespace

class ComboTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { closeAllPopups(); }

    void clickTogglesPopup()
    {
        Host host;
        auto* button = host.place(new CButtonMenuItem(11, 0, 8, 1, &host.window));
        button->resize(100, 30);
        button->popup()->addActionItem(QString(), "Item", nullptr);
        sendEnter(button);
        windowClick(host.window.windowHandle(), globalCentre(button));
        QTRY_VERIFY(button->isPopupVisible());
        QVERIFY(button->isChecked());
        // The second click reaches the button through the open popup and closes it.
        popupClick(globalCentre(button));
        QTRY_VERIFY(!button->isPopupVisible());
        QVERIFY(!button->isChecked());
    }

    void enterModeOpensAndSwallowsClicks()
    {
        Host host;
        auto* button = host.place(new CButtonMenuItem(11, 1, 8, 1, &host.window));
        button->resize(100, 30);
        QSignalSpy toggled(button, &CButton::toggled);
        QSignalSpy clicked(button, &CButton::clicked);
        sendEnter(button);
        QVERIFY(button->isPopupVisible());
        QVERIFY(button->isChecked());
        button->closePopup();
        QVERIFY(!button->isChecked());
        windowClick(host.window.windowHandle(), globalCentre(button));
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, button->rect().center(), globalCentre(button),
                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(button, &doubleClick);
        QVERIFY(doubleClick.isAccepted());
        QCoreApplication::processEvents();
        QVERIFY(!button->isPopupVisible());
        QCOMPARE(toggled.count(), 0);
        QCOMPARE(clicked.count(), 0);
    }

    void refusedPopupStaysClosed_data()
    {
        QTest::addColumn<QString>("why");
        QTest::newRow("hidden") << "hidden";
        QTest::newRow("disabled") << "disabled";
        QTest::newRow("not allowed") << "refused";
    }
    void refusedPopupStaysClosed()
    {
        QFETCH(QString, why);
        Host host;
        auto* button = host.place(new RefusingMenuButton(&host.window));
        button->resize(100, 30);
        if (why == "hidden")
            button->hide();
        else if (why == "disabled")
            button->setEnabled(false);
        else
            button->allow = false;
        button->showPopup();
        QVERIFY(!button->isPopupVisible());
        QCOMPARE(button->asked, why == "refused" ? 1 : 0);
        // A click that asks for the refused popup leaves the button unchecked.
        if (why == "refused") {
            sendEnter(button);
            windowClick(host.window.windowHandle(), globalCentre(button));
            QTRY_COMPARE(button->asked, 2);
            QVERIFY(!button->isPopupVisible());
            QVERIFY(!button->isChecked());
        }
    }

    void hidingButtonClosesPopup()
    {
        Host host;
        auto* button = host.place(new CButtonMenuItem(11, 0, 8, 1, &host.window));
        button->showPopup();
        QVERIFY(button->isPopupVisible());
        button->hide();
        QVERIFY(!button->isPopupVisible());
    }

    void popupOffsetFromPalette()
    {
        Host host;
        CButtonMenuItem button(11, 0, 8, 1);
        const int m = currentPalette()->metric(10);
        QCOMPARE(button.popupOffset(), QPoint(-m, m));
        CComboBase combo(18, QSizePolicy::Fixed, 0);
        const QSize size = currentPalette()->defaultSize(1);
        QCOMPARE(combo.popupOffset(), QPoint(size.width(), size.height()));
        button.setPopupOffset(5, 6);
        button.applyStyle();
        QCOMPARE(button.popupOffset(), QPoint(5, 6));
        QCOMPARE(combo.popup()->styleKind(), 5);
        QCOMPARE(combo.itemStyleKind(), 19);
    }

    void popupMadeOnFirstUse()
    {
        Host host;
        auto* button = host.place(new CButtonMenuItem(11, 0, 8, 1, &host.window));
        QSignalSpy created(button, &CButtonMenuItem::popupCreated);
        // Asking about the popup, closing it or emptying it makes none.
        QVERIFY(!button->isPopupVisible());
        button->closePopup();
        button->clearItems();
        button->hide();
        button->show();
        QVERIFY(!button->hasPopup());
        QCOMPARE(created.count(), 0);
        button->showPopup();
        QVERIFY(button->hasPopup());
        QVERIFY(button->isPopupVisible());
        QCOMPARE(created.count(), 1);
        QCOMPARE(button->popup()->parentWidget(), button);
        QVERIFY(button->isChecked());
        button->closePopup();
        QVERIFY(!button->isChecked());
        button->popup();
        QCOMPARE(created.count(), 1);
    }

    // The same calls on a combo with items made at once and on one with deferred items give the
    // same items, checks and texts once the popup is open.
    void deferredItemsMatchMadeOnes_data()
    {
        QTest::addColumn<int>("script");
        QTest::addColumn<QVariant>("current");
        QTest::addColumn<QString>("shown");
        QTest::newRow("current among the items") << 0 << QVariant(2) << "Two px";
        QTest::newRow("current set before the items") << 1 << QVariant(2) << "Two px";
        QTest::newRow("several matches") << 2 << QVariant(7) << "seven b px";
        QTest::newRow("cleared and filled again") << 3 << QVariant(4) << "four px";
    }
    void deferredItemsMatchMadeOnes()
    {
        QFETCH(int, script);
        QFETCH(QVariant, current);
        QFETCH(QString, shown);
        QList<ItemLook> looks[2];
        for (bool deferred : {false, true}) {
            ComboFixture fixture;
            CComboBase* combo = fixture.combo;
            combo->setSuffix(" px");
            if (script == 1)
                combo->setCurrentDataSilently(2);
            addItem(combo, deferred, 1, "one", ":/uilib/close-10.svg");
            addItem(combo, deferred, 2, "two", QString(), 16);
            addItem(combo, deferred, 7, "seven a");
            addItem(combo, deferred, 7, "seven b");
            if (script == 0)
                combo->setCurrentData(2);
            if (script == 2)
                combo->setCurrentData(7);
            if (script == 3) {
                combo->setCurrentData(1);
                combo->clearItems();
                addItem(combo, deferred, 3, "three");
                addItem(combo, deferred, 4, "four");
                combo->setCurrentData(4);
            }
            combo->setItemText(2, "Two");
            QCOMPARE(combo->hasPopup(), !deferred);
            QCOMPARE(combo->currentData(), current);
            QCOMPARE(combo->text(), shown);
            QCOMPARE(combo->hasItem(script == 3 ? 4 : 7), true);
            combo->showPopup();
            QVERIFY(combo->isPopupVisible());
            QCOMPARE(combo->popup()->styleKind(), 5);
            looks[deferred] = itemLooks(fixture);
            QCOMPARE(combo->text(), shown);
        }
        QVERIFY(!looks[0].isEmpty());
        QVERIFY(looks[0] == looks[1]);
    }

    void deferredItemsSelectAndSignal()
    {
        ComboFixture fixture;
        CComboBase* combo = fixture.combo;
        combo->addDeferredItem(1, "one");
        combo->addDeferredItem(2, "two");
        combo->setCurrentDataSilently(1);
        QSignalSpy changed(combo, &CComboBase::currentDataChanged);
        QSignalSpy clicked(combo, &CComboBase::itemClicked);
        // One registered once the popup exists is made at once.
        QCOMPARE(fixture.itemTexts(), (QStringList{"one", "two"}));
        combo->addDeferredItem(3, "three");
        QCOMPARE(fixture.itemTexts(), (QStringList{"one", "two", "three"}));
        QVERIFY(fixture.itemButton(0)->isChecked());
        combo->showPopup();
        popupClick(globalCentre(fixture.itemButton(2)));
        QTRY_COMPARE(clicked.count(), 1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first(), QVariant(3));
        QCOMPARE(combo->text(), QStringLiteral("three"));
        QVERIFY(!fixture.itemButton(0)->isChecked());
        QTRY_VERIFY(!combo->isPopupVisible());
        combo->setCurrentData(2);
        QVERIFY(fixture.itemButton(1)->isChecked());
        QVERIFY(!fixture.itemButton(2)->isChecked());
    }

    void setCurrentData_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("emits");
        QTest::addColumn<int>("checkedItem");
        QTest::newRow("same value") << QVariant(2) << QString() << "two" << 0 << 1;
        QTest::newRow("other item") << QVariant(3) << QString() << "three" << 1 << 2;
        QTest::newRow("unknown value") << QVariant(42) << QString() << "42" << 1 << -1;
        QTest::newRow("unknown value with text") << QVariant(42) << "Custom" << "Custom" << 1 << -1;
        QTest::newRow("several matches: the last") << QVariant(7) << QString() << "seven b" << 1 << 4;
    }
    void setCurrentData()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(int, emits);
        QFETCH(int, checkedItem);
        ComboFixture fixture;
        CComboBase* combo = fixture.combo;
        combo->addItem(1, "one");
        combo->addItem(2, "two");
        combo->addItem(3, "three");
        combo->addItem(7, "seven a");
        combo->addItem(7, "seven b");
        combo->setCurrentDataSilently(2);
        QSignalSpy changed(combo, &CComboBase::currentDataChanged);
        combo->setCurrentData(value, text);
        QCOMPARE(changed.count(), emits);
        if (emits)
            QCOMPARE(changed.first().first(), value);
        QCOMPARE(combo->currentData(), value);
        QCOMPARE(combo->text(), shown);
        QVERIFY(!fixture.itemButton(1)->isChecked() || checkedItem == 1);
        if (checkedItem >= 0)
            QVERIFY(fixture.itemButton(checkedItem)->isChecked());
    }

    void keepModes_data()
    {
        QTest::addColumn<int>("keepMode");
        QTest::addColumn<bool>("oldValueStays");
        QTest::addColumn<QVariant>("current");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QVariantList>("emitted");
        const QVariant none;
        QTest::newRow("0, kept") << 0 << true << none << "" << QVariantList{none};
        QTest::newRow("0, gone") << 0 << false << none << "" << QVariantList{none};
        QTest::newRow("1, kept") << 1 << true << QVariant("a") << "a" << QVariantList{"a"};
        QTest::newRow("1, gone") << 1 << false << QVariant("x") << "x" << QVariantList{"x"};
        QTest::newRow("2, kept") << 2 << true << QVariant("b") << "b" << QVariantList{};
        QTest::newRow("2, gone") << 2 << false << none << "" << QVariantList{none};
        QTest::newRow("3, kept") << 3 << true << QVariant("b") << "b" << QVariantList{};
        QTest::newRow("3, gone") << 3 << false << QVariant("x") << "x" << QVariantList{"x"};
        QTest::newRow("4, kept") << 4 << true << QVariant("b") << "b" << QVariantList{};
        QTest::newRow("4, gone") << 4 << false << QVariant("b") << "Bee" << QVariantList{};
        QTest::newRow("other, gone") << 9 << false << none << "Bee" << QVariantList{};
    }
    void keepModes()
    {
        QFETCH(int, keepMode);
        QFETCH(bool, oldValueStays);
        QFETCH(QVariant, current);
        QFETCH(QString, shown);
        QFETCH(QVariantList, emitted);
        ComboFixture fixture;
        CComboBase* combo = fixture.combo;
        combo->addItem("a");
        combo->addItem("b", "Bee");
        combo->setCurrentData("b");
        QCOMPARE(combo->text(), QStringLiteral("Bee"));
        QSignalSpy changed(combo, &CComboBase::currentDataChanged);
        const QVariantList values = oldValueStays ? QVariantList{"a", "b", "c"} : QVariantList{"x", "y"};
        combo->setItems(19, values, keepMode);
        QCOMPARE(combo->currentData(), current);
        QCOMPARE(combo->text(), shown);
        QVariantList got;
        for (const QList<QVariant>& arguments : qAsConst(changed))
            got << arguments.first();
        QCOMPARE(got, emitted);
        QCOMPARE(fixture.itemTexts().size(), values.size());
        const int checkedIndex = values.indexOf(current);
        for (int i = 0; i < values.size(); ++i)
            QCOMPARE(fixture.itemButton(i)->isChecked(), i == checkedIndex);
    }

    void emptyListWithFirstValueModes()
    {
        ComboFixture fixture;
        fixture.combo->addItem(1);
        fixture.combo->setCurrentData(1);
        QSignalSpy changed(fixture.combo, &CComboBase::currentDataChanged);
        fixture.combo->setItems(19, {}, 1);
        QCOMPARE(changed.count(), 1);
        QVERIFY(!changed.first().first().isValid());
        QVERIFY(fixture.combo->text().isEmpty());
    }

    void shortSetItemsIsKeepMode3()
    {
        ComboFixture fixture;
        fixture.combo->setItems(QVariantList{10, 20});
        QCOMPARE(fixture.combo->currentData(), QVariant(10));
        fixture.combo->setCurrentData(20);
        fixture.combo->setItems(QVariantList{20, 30});
        QCOMPARE(fixture.combo->currentData(), QVariant(20));
    }

    void suffixEverywhere()
    {
        ComboFixture fixture;
        CComboBase* combo = fixture.combo;
        combo->setSuffix(" px");
        combo->addItem(1, "one");
        combo->setItemText(1, "One");
        combo->setCurrentData(1);
        combo->addItem(2);
        QCOMPARE(fixture.itemTexts(), (QStringList{"One px", "2 px"}));
        QCOMPARE(combo->text(), QStringLiteral("One px"));
        combo->setCurrentData(5);
        QCOMPARE(combo->text(), QStringLiteral("5 px"));
        combo->setSuffix(" %");
        QCOMPARE(fixture.itemTexts(), (QStringList{"One %", "2 %"}));
        QCOMPARE(combo->text(), QStringLiteral("5 %"));
        combo->setItemText(5, "Five");
        QCOMPARE(combo->text(), QStringLiteral("Five %"));
        // By place in the list: the item and, when current, the combo.
        combo->setItemTextAt(1, "Two");
        combo->setItemTextAt(2, "none");
        QCOMPARE(fixture.itemTexts(), (QStringList{"One %", "Two %"}));
        combo->setCurrentData(1);
        combo->setItemTextAt(0, "Un");
        QCOMPARE(fixture.itemTexts(), (QStringList{"Un %", "Two %"}));
        QCOMPARE(combo->text(), QStringLiteral("Un %"));
    }

    void widthModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("at least as wide") << 1;
        QTest::newRow("exactly as wide") << 2;
    }
    void widthModes()
    {
        QFETCH(int, mode);
        ComboFixture fixture(mode);
        CComboBase* combo = fixture.combo;
        combo->addItem(1, "short");
        combo->addItem(2, "an item text that is a good deal wider than the combo");
        const QMargins margins = static_cast<CPanelDraw*>(combo)->margins();
        const int itemsWidth = combo->popup()->itemLayout()->sizeHint().width();
        if (mode == 2) {
            QCOMPARE(combo->sizeHint().width(), itemsWidth + margins.left() + margins.right());
            combo->resize(combo->sizeHint());
        }
        combo->showPopup();
        QWidget* content = combo->popup()->contentWidget();
        const int inner = combo->width() - margins.left() - margins.right();
        QCOMPARE(content->minimumWidth(), inner);
        QCOMPARE(content->maximumWidth(), mode == 2 ? inner : QWIDGETSIZE_MAX);
    }

    void itemClickSelectsAndCloses()
    {
        ComboFixture fixture;
        CComboBase* combo = fixture.combo;
        combo->setItems(19, {1, 2, 3}, 1);
        QStringList order;
        connect(combo, &CComboBase::currentDataChanged, combo,
                [&order](const QVariant& value) { order << "data " + value.toString(); });
        connect(combo, &CComboBase::itemClicked, combo, [&order] { order << "clicked"; });
        combo->showPopup();
        popupClick(globalCentre(fixture.itemButton(2)));
        QTRY_COMPARE(order, (QStringList{"data 3", "clicked"}));
        QTRY_VERIFY(!combo->isPopupVisible());
        QVERIFY(fixture.itemButton(2)->isChecked());
        QVERIFY(!fixture.itemButton(0)->isChecked());
        QCOMPARE(combo->text(), QStringLiteral("3"));
    }

    void refillFromSignalIsSafe()
    {
        ComboFixture fixture;
        CComboBase* combo = fixture.combo;
        combo->setItems(19, {1, 2}, 1);
        QPointer<CButton> clickedItem = fixture.itemButton(1);
        connect(combo, &CComboBase::currentDataChanged, combo, [combo](const QVariant& value) {
            if (value == QVariant(2))
                combo->setItems(19, {2, 4, 6}, 4);
        });
        combo->showPopup();
        popupClick(globalCentre(clickedItem));
        QTRY_COMPARE(fixture.itemTexts(), (QStringList{"2", "4", "6"}));
        QVERIFY(!clickedItem || clickedItem->isHidden());
        QTRY_VERIFY(!clickedItem);
        QCOMPARE(combo->currentData(), QVariant(2));
        QVERIFY(fixture.itemButton(0)->isChecked());
    }

    void openingScrollsCurrentItemIntoView()
    {
        ComboFixture fixture;
        CComboBase* combo = fixture.combo;
        combo->popup()->setScrollable(2, -1);
        QVariantList values;
        for (int i = 0; i < 40; ++i)
            values << i;
        combo->setItems(19, values, 1);
        combo->setCurrentData(35);
        combo->popup()->scrollArea()->setFixedHeight(200);
        combo->showPopup();
        const QRect item = fixture.itemButton(35)->geometry();
        QWidget* viewport = combo->popup()->scrollArea()->viewport();
        const QRect shown(-combo->popup()->scrollArea()->widget()->pos(), viewport->size());
        QVERIFY(shown.top() <= item.top() && item.bottom() <= shown.bottom());
    }
};

TY_UI_TEST_MAIN(ComboTest)
#include "tst_combo.moc"
