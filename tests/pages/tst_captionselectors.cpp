#include "SelectorHost.h"

#include "pages/FontSizeSelector.h"
#include "pages/FontsCombo.h"
#include "pages/GlobalFamiliesMenu.h"
#include "pages/PositionSelector.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/style/CButtonGroup.h"

#include <QSignalSpy>

namespace {

FamilyMap fixtureFamilies()
{
    FamilyMap families;
    families.insert(QStringLiteral("DejaVu Serif"), FamilyInfo{false, QString(), true, true});
    families.insert(QStringLiteral("DejaVu Sans"), FamilyInfo{false, QString(), true, true});
    families.insert(QStringLiteral("Arial Black"), FamilyInfo{false, QString(), true, false});
    families.insert(QStringLiteral("DejaVu Sans Mono"), FamilyInfo{false, QString(), true, false});
    families.insert(QStringLiteral("Zapf Dingbats"), FamilyInfo{true, QString(), false, false});
    families.insert(QStringLiteral("Accented"), FamilyInfo{false, QString(10, QChar(0x0301)).prepend('e'), false, false});
    families.insert(QStringLiteral("Combining"),
                    FamilyInfo{false, QStringLiteral("e\u0301a\u0301o\u0301u\u0301i\u0301y\u0301e\u0301a\u0301o\u0301"),
                               false, false});
    families.insert(QStringLiteral("Plain Regular"), FamilyInfo{});
    return families;
}

QStringList visibleFamilies(const GlobalFamiliesMenu& menu)
{
    QStringList shown;
    for (const QString& family : menu.familyNames()) {
        if (!menu.item(family)->isHidden())
            shown << family;
    }
    return shown;
}

} // namespace

class CaptionSelectorsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initSlideshowResources();
        m_host.window.setGeometry(80, 80, 400, 200);
        m_host.window.show();
    }
    void cleanup() { closeAllPopups(); }

    void positionStartsAtCentre()
    {
        SelectorHost host;
        auto* selector = new PositionSelector;
        QSignalSpy spy(selector, &PositionSelector::positionChanged);
        host.add(selector);
        QCoreApplication::processEvents();
        QCOMPARE(selector->position(), TextInfo::Center);
        QCOMPARE(selector->buttonGroup()->buttons().size(), 9);
        selector->buttonGroup()->buttons().at(8)->setCheckedAndEmit(true);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().value<TextInfo::Pos>(), TextInfo::BottomRight);
        selector->setPositionSilently(TextInfo::TopLeft);
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 1);
        QVERIFY(selector->buttonGroup()->buttons().at(0)->isChecked());
        QCOMPARE(selector->position(), TextInfo::TopLeft);
        QCOMPARE(selector->buttonGroup()->buttons().at(5)->styleKind(), 1047);
    }

    void positionGrid()
    {
        PositionSelector selector;
        auto* grid = qobject_cast<QGridLayout*>(selector.layout());
        QVERIFY(grid);
        for (int position = 0; position < 9; ++position) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(grid->indexOf(selector.buttonGroup()->buttons().at(position)), &row, &column,
                                  &rowSpan, &columnSpan);
            QCOMPARE(row, position / 3);
            QCOMPARE(column, position % 3);
        }
    }

    void fontSizeButtons()
    {
        SelectorHost host;
        auto* selector = new FontSizeSelector;
        QSignalSpy spy(selector, &FontSizeSelector::fontSizeChanged);
        host.add(selector);
        QCOMPARE(selector->fontSize(), TextInfo::Normal);
        const QList<CButton*> buttons = selector->buttonGroup()->buttons();
        QCOMPARE(buttons.size(), 5);
        for (int i = 0; i < buttons.size(); ++i) {
            QCOMPARE(buttons.at(i)->text(), QStringLiteral("aA"));
            QCOMPARE(buttons.at(i)->font().family(), QStringLiteral("Tahoma"));
            QCOMPARE(buttons.at(i)->font().pixelSize(), 9 + 3 * i);
            QCOMPARE(buttons.at(i)->styleKind(), 1048);
        }
        QVERIFY(buttons.at(2)->isChecked());
        buttons.at(0)->setCheckedAndEmit(true);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().value<TextInfo::FontSize>(), TextInfo::Smallest);
        selector->setFontSize(TextInfo::Largest);
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(selector->fontSize(), TextInfo::Largest);
    }

    // Before any shared menu exists.
    void familyWithoutMenuKnowsNothing()
    {
        QVERIFY(!FontsCombo::familiesMenu());
        FontsCombo combo(18);
        QSignalSpy bold(&combo, &FontsCombo::hasBoldChanged);
        combo.setFamily(QStringLiteral("DejaVu Sans"));
        QCOMPARE(combo.family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(combo.text(), QStringLiteral("DejaVu Sans"));
        QVERIFY(!combo.hasBold());
        QCOMPARE(bold.count(), 0);
        // Checking it without a menu opens nothing.
        combo.setCheckedAndEmit(true);
        QCoreApplication::processEvents();
    }

    void menuListsFamiliesInOrder()
    {
        GlobalFamiliesMenu* menu = sharedMenu();
        QStringList expected = fixtureFamilies().keys();
        std::sort(expected.begin(), expected.end());
        QCOMPARE(menu->familyNames(), expected);
        QStringList inLayout;
        QBoxLayout* layout = menu->itemLayout();
        for (int i = 0; i < layout->count(); ++i) {
            if (auto* button = qobject_cast<CButton*>(layout->itemAt(i)->widget()))
                inLayout << button->text();
        }
        QCOMPARE(inLayout, expected);
        QCOMPARE(menu->filterField()->maxLength(), 255);
        QCOMPARE(menu->contentWidget()->maximumHeight(), 600);
        QCOMPARE(menu->filterTimer()->interval(), 150);
    }

    void itemsShowTheirTypeface()
    {
        GlobalFamiliesMenu* menu = sharedMenu();
        CButton* plain = menu->item(QStringLiteral("DejaVu Serif"));
        QCOMPARE(plain->font().family(), QStringLiteral("DejaVu Serif"));
        QVERIFY(plain->secondaryText().isEmpty());
        // A symbol family names itself in its own typeface beside the readable name.
        CButton* symbol = menu->item(QStringLiteral("Zapf Dingbats"));
        QCOMPARE(symbol->secondaryText(), QStringLiteral("Zapf Din"));
        QCOMPARE(symbol->secondaryFont().family(), QStringLiteral("Zapf Dingbats"));
        QVERIFY(symbol->font().family() != QStringLiteral("Zapf Dingbats"));
        // Samples are cut after eight graphemes, combining marks kept with their letter.
        QCOMPARE(menu->item(QStringLiteral("Combining"))->secondaryText(),
                 QStringLiteral("e\u0301a\u0301o\u0301u\u0301i\u0301y\u0301e\u0301a\u0301"));
        QCOMPARE(menu->item(QStringLiteral("Accented"))->secondaryText(), fixtureFamilies()["Accented"].sampleText);
    }

    void filterAfterOneDelay()
    {
        GlobalFamiliesMenu* menu = sharedMenu();
        QSignalSpy applied(menu->filterTimer(), &QTimer::timeout);
        menu->filterField()->setText(QStringLiteral("ari"));
        menu->filterField()->setText(QStringLiteral("dej"));
        QCOMPARE(menu->appliedFilter(), QString());
        QTRY_COMPARE(menu->appliedFilter(), QStringLiteral("dej"));
        QCOMPARE(applied.count(), 1);
        QCOMPARE(visibleFamilies(*menu), QStringList({QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Sans Mono"),
                                                      QStringLiteral("DejaVu Serif")}));
        menu->filterField()->setText(QStringLiteral("ARI"));
        QTRY_COMPARE(menu->appliedFilter(), QStringLiteral("ARI"));
        QCOMPARE(visibleFamilies(*menu), QStringList({QStringLiteral("Arial Black")}));
        menu->filterField()->clear();
        QTRY_COMPARE(menu->appliedFilter(), QString());
        QCOMPARE(visibleFamilies(*menu), menu->familyNames());
        QCOMPARE(applied.count(), 3);
    }

    void familySignalsOnlyOnChange()
    {
        sharedMenu();
        FontsCombo combo(18);
        QSignalSpy family(&combo, &FontsCombo::familyChanged);
        QSignalSpy bold(&combo, &FontsCombo::hasBoldChanged);
        QSignalSpy italic(&combo, &FontsCombo::hasItalicChanged);
        combo.setFamily(QStringLiteral("DejaVu Sans"));
        combo.setFamily(QStringLiteral("DejaVu Sans"));
        QCOMPARE(family.count(), 1);
        QCOMPARE(bold.count(), 1);
        QCOMPARE(italic.count(), 1);
        QVERIFY(combo.hasBold());
        QVERIFY(combo.hasItalic());
        // Both have bold faces: no bold news; only the italic flag changes.
        combo.setFamily(QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(family.count(), 2);
        QCOMPARE(bold.count(), 1);
        QCOMPARE(italic.count(), 2);
        QCOMPARE(italic.last().first().toBool(), false);
        // A family the menu does not know has neither.
        combo.setFamily(QStringLiteral("Segoe UI"));
        QCOMPARE(bold.last().first().toBool(), false);
        QVERIFY(!combo.hasBold());
        combo.setFamilySilently(QStringLiteral("DejaVu Serif"));
        QCOMPARE(family.count(), 3);
        QVERIFY(combo.hasBold());
        QCOMPARE(combo.family(), QStringLiteral("DejaVu Serif"));
        QVERIFY(!combo.signalsBlocked());
    }

    void choosingAnItemSetsTheFamilyAndCloses()
    {
        GlobalFamiliesMenu* menu = sharedMenu();
        auto* combo = addCombo(QStringLiteral("DejaVu Sans"));
        QSignalSpy family(combo, &FontsCombo::familyChanged);
        clickInWindow(combo);
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(combo->isChecked());
        QCOMPARE(menu->combo(), combo);
        QVERIFY(menu->item(QStringLiteral("DejaVu Sans"))->isChecked());
        QVERIFY(menu->isPassThroughWidget(combo));
        QTRY_VERIFY(menu->filterField()->hasFocus());
        clickInPopup(menu->item(QStringLiteral("Arial Black")));
        QTRY_COMPARE(family.count(), 1);
        QCOMPARE(family.first().first().toString(), QStringLiteral("Arial Black"));
        QTRY_VERIFY(!menu->isVisible());
        QVERIFY(!combo->isChecked());
        QVERIFY(!menu->combo());
        QVERIFY(!menu->isPassThroughWidget(combo));
        delete combo;
    }

    void closingWithoutAChoiceKeepsTheFamily_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("listed") << QStringLiteral("DejaVu Serif");
        QTest::newRow("not listed") << QStringLiteral("Segoe UI");
    }
    void closingWithoutAChoiceKeepsTheFamily()
    {
        QFETCH(QString, family);
        GlobalFamiliesMenu* menu = sharedMenu();
        // Another caption chose a family first, so its item is checked in the shared group.
        auto* other = addCombo(QStringLiteral("Zapf Dingbats"));
        menu->showFor(other);
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
        auto* combo = addCombo(family);
        QSignalSpy spy(combo, &FontsCombo::familyChanged);
        menu->showFor(combo);
        QTRY_VERIFY(menu->isVisible());
        const bool listed = menu->familyNames().contains(family);
        QCOMPARE(menu->itemGroup()->checkedButton(), listed ? menu->item(family) : nullptr);
        clickOutsidePopup(&m_host.window, QPoint(390, 190));
        QTRY_VERIFY(!menu->isVisible());
        QCOMPARE(combo->family(), family);
        QCOMPARE(combo->text(), family);
        QCOMPARE(spy.count(), 0);
        QVERIFY(!combo->isChecked());
        delete combo;
        delete other;
    }

    void uncheckingTheComboClosesTheMenu()
    {
        GlobalFamiliesMenu* menu = sharedMenu();
        auto* combo = addCombo(QStringLiteral("DejaVu Sans"));
        clickInWindow(combo);
        QTRY_VERIFY(menu->isVisible());
        clickInPopup(combo);
        QTRY_VERIFY(!menu->isVisible());
        QVERIFY(!combo->isChecked());
        QCOMPARE(combo->family(), QStringLiteral("DejaVu Sans"));
        QVERIFY(menu->filterField()->text().isEmpty());
        delete combo;
    }

    void emptySourceGivesAnEmptyMenu()
    {
        GlobalFamiliesMenu menu(&m_host.window, 3, 19, 29, [] { return FamilyMap(); });
        QVERIFY(menu.itemGroup()->buttons().isEmpty());
        QVERIFY(menu.familyNames().isEmpty());
        GlobalFamiliesMenu noSource(&m_host.window, 3, 19, 29, FamilySource());
        QVERIFY(noSource.itemGroup()->buttons().isEmpty());
    }

    void pumpRunsOncePerFamily()
    {
        int pumped = 0;
        GlobalFamiliesMenu menu(&m_host.window, 3, 19, 29, fixtureFamilies, [&pumped] { ++pumped; });
        QCOMPARE(pumped, fixtureFamilies().size());
        QVERIFY(!menu.isFastMode());
    }

    void slowBuildFallsBackToTheMenuFont()
    {
        GlobalFamiliesMenu menu(&m_host.window, 3, 19, 29, fixtureFamilies, {}, -1);
        QVERIFY(menu.isFastMode());
        CButton* item = menu.item(QStringLiteral("DejaVu Serif"));
        QVERIFY(item->font().family() != QStringLiteral("DejaVu Serif"));
        QCOMPARE(item->minimumSize(), QSize(0, 0));
    }

    void systemFamilies()
    {
        QCOMPARE(plainFamilyName(QStringLiteral("DejaVu Sans [PfEd]")), QStringLiteral("DejaVu Sans"));
        QCOMPARE(plainFamilyName(QStringLiteral("Plain")), QStringLiteral("Plain"));
        const FamilyMap families = systemFontFamilies();
        QVERIFY(families.contains(QStringLiteral("DejaVu Sans")));
        QVERIFY(families.value(QStringLiteral("DejaVu Sans")).hasBold);
        QVERIFY(families.value(QStringLiteral("DejaVu Sans")).hasItalic);
        QVERIFY(families.value(QStringLiteral("DejaVu Sans")).sampleText.isEmpty());
        for (const QString& family : families.keys())
            QVERIFY2(!family.endsWith(QLatin1Char(']')), qPrintable(family));
    }

private:
    GlobalFamiliesMenu* sharedMenu()
    {
        FontsCombo::preloadFamiliesMenu(&m_host.window, 3, 19, 29, {}, fixtureFamilies);
        return FontsCombo::familiesMenu();
    }

    FontsCombo* addCombo(const QString& family)
    {
        auto* combo = new FontsCombo(18, &m_host.window);
        combo->setGeometry(20, 20, 200, 32);
        combo->setFamilySilently(family);
        combo->show();
        return combo;
    }

    SelectorHost m_host;
};

TY_UI_TEST_MAIN(CaptionSelectorsTest)
#include "tst_captionselectors.moc"
