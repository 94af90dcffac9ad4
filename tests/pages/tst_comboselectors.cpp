#include "SelectorHost.h"

#include "model/Resolution.h"
#include "pages/EffectNames.h"
#include "pages/EffectSelectors.h"
#include "pages/VideoFormatSelectors.h"
#include "uilib/controls/CWindowMenu.h"
#include "uilib/style/CIcon.h"

#include <QSignalSpy>

namespace {

QList<CButton*> items(const CComboBase& combo)
{
    QList<CButton*> buttons;
    QBoxLayout* layout = combo.popup()->itemLayout();
    for (int i = 0; i < layout->count(); ++i) {
        if (auto* button = qobject_cast<CButton*>(layout->itemAt(i)->widget()))
            buttons << button;
    }
    return buttons;
}

QStringList itemTexts(const CComboBase& combo)
{
    QStringList texts;
    for (const CButton* button : items(combo))
        texts << button->text();
    return texts;
}

QStringList itemIcons(const CComboBase& combo)
{
    QStringList icons;
    for (const CButton* button : items(combo))
        icons << (button->icon() ? button->icon()->path() : QString());
    return icons;
}

} // namespace

class ComboSelectorsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initSlideshowResources(); }
    void cleanup() { closeAllPopups(); }

    void metatypesByName()
    {
        QCOMPARE(QMetaType::type("TransitionType"), transitionTypeId());
        QCOMPARE(QMetaType::type("MotionType"), motionTypeId());
        QCOMPARE(QMetaType::type("TextInfo::Pos"), textPosTypeId());
        QCOMPARE(QMetaType::type("TextInfo::FontSize"), fontSizeTypeId());
        QCOMPARE(transitionTypeId(), qMetaTypeId<TransitionType>());
        QCOMPARE(QMetaType::sizeOf(fontSizeTypeId()), 4);
        // A slide's int turns into the value the items hold, and back.
        QCOMPARE(enumFromVariant<TransitionType>(QVariant(27)), TransitionCrossfade);
        QCOMPARE(enumFromVariant<TextInfo::FontSize>(QVariant(-2)), TextInfo::Smallest);
        QCOMPARE(enumFromVariant<MotionType>(QVariant()), MotionNone);
        QCOMPARE(QVariant::fromValue(TransitionCrossfade).toInt(), 27);
    }

    void transitionLists_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QVector<int>>("ids");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("scrollable");
        QTest::newRow("all") << 0
                             << QVector<int>{0,  1,  27, 26, 28, 2,  5,  8,  9,  10, 11, 12, 13, 14, 15,
                                             16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 3,  4,  6,  7}
                             << true << true;
        QTest::newRow("caption animations") << 1 << QVector<int>{0, 27, 19, 10, 11, 12, 13, 14, 15, 16} << true
                                            << false;
        QTest::newRow("disabled") << 2 << QVector<int>() << false << false;
        QTest::newRow("other") << 5 << QVector<int>() << true << false;
    }
    void transitionLists()
    {
        QFETCH(int, mode);
        QFETCH(QVector<int>, ids);
        QFETCH(bool, enabled);
        QFETCH(bool, scrollable);
        TransitionSelector selector(1035, mode);
        selector.updateTexts();
        QCOMPARE(selector.ids(), ids);
        QCOMPARE(selector.isEnabled(), enabled);
        QCOMPARE(selector.popup()->scrollArea() != nullptr, scrollable);
        if (scrollable)
            QCOMPARE(selector.popup()->contentWidget()->maximumHeight(), 600);
        QStringList names;
        QStringList icons;
        for (int id : ids) {
            names << transitionName(id);
            icons << transitionIcon(id);
            QVERIFY(selector.hasItem(QVariant::fromValue(TransitionType(id))));
        }
        QCOMPARE(itemTexts(selector), names);
        QCOMPARE(itemIcons(selector), icons);
        for (CButton* item : items(selector))
            QCOMPARE(item->styleKind(), item == items(selector).value(ids.indexOf(1)) ? 1030 : selector.itemStyleKind());
        QCOMPARE(selector.sizePolicy().horizontalPolicy(), QSizePolicy::MinimumExpanding);
    }

    void motionList()
    {
        MotionSelector selector(1035);
        selector.updateTexts();
        QVector<int> ids;
        QStringList names;
        for (int id = 0; id <= 11; ++id) {
            ids << id;
            names << motionName(id);
        }
        QCOMPARE(selector.ids(), ids);
        QCOMPARE(itemTexts(selector), names);
        QCOMPARE(items(selector).at(1)->styleKind(), 1030);
        QCOMPARE(items(selector).at(1)->icon()->path(), QStringLiteral(":/motion-random.svg"));
        QVERIFY(selector.popup()->scrollArea());
    }

    void transitionSetters()
    {
        SelectorHost host;
        auto* selector = host.add(new TransitionSelector(18, 0));
        selector->updateTexts();
        QSignalSpy spy(selector, &TransitionSelector::transitionChanged);
        selector->setTransitionSilently(TransitionType(19));
        QCOMPARE(selector->transition(), TransitionZoomIn);
        QCOMPARE(selector->text(), transitionName(19));
        selector->setTransition(TransitionZoomIn);
        QCOMPARE(spy.count(), 0);
        selector->setTransition(TransitionFadeToBlack);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().value<TransitionType>(), TransitionFadeToBlack);
        // The user's choice in the list.
        clickInWindow(selector);
        QTRY_VERIFY(selector->isPopupVisible());
        clickInPopup(items(*selector).at(2));
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.last().first().value<TransitionType>(), TransitionCrossfade);
        QTRY_VERIFY(!selector->isPopupVisible());
    }

    void motionSetters()
    {
        MotionSelector selector(18);
        QSignalSpy spy(&selector, &MotionSelector::motionChanged);
        selector.setMotionSilently(MotionZoomInCenter);
        selector.setMotion(MotionZoomInCenter);
        QCOMPARE(spy.count(), 0);
        selector.setMotion(MotionRandom);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().value<MotionType>(), MotionRandom);
        QCOMPARE(selector.motion(), MotionRandom);
    }

    // The rows' selectors make their popup and items on the first opening: until then the
    // current value shows on the button; then the items hold the same names, icons and check,
    // and the random item's click is reported.
    void itemsMadeOnFirstOpening_data()
    {
        QTest::addColumn<bool>("motion");
        QTest::newRow("transition") << false;
        QTest::newRow("motion") << true;
    }
    void itemsMadeOnFirstOpening()
    {
        QFETCH(bool, motion);
        SelectorHost host;
        CComboBase* selector = motion ? static_cast<CComboBase*>(host.add(new MotionSelector(1035)))
                                      : host.add(new TransitionSelector(1035, 0));
        auto* transitions = qobject_cast<TransitionSelector*>(selector);
        auto* motions = qobject_cast<MotionSelector*>(selector);
        const QVector<int> ids = motion ? motions->ids() : transitions->ids();
        const auto name = motion ? motionName : transitionName;
        const auto icon = motion ? motionIcon : transitionIcon;
        // Near the top, so that the random item shows beside it.
        const int chosen = ids.at(3);
        if (motion) {
            motions->updateTexts();
            motions->setMotionSilently(MotionType(chosen));
        } else {
            transitions->updateTexts();
            transitions->setTransitionSilently(TransitionType(chosen));
        }
        QVERIFY(!selector->hasPopup());
        QCOMPARE(selector->text(), name(chosen));

        QSignalSpy changed(selector,
                           motion ? SIGNAL(motionChanged(MotionType)) : SIGNAL(transitionChanged(TransitionType)));
        clickInWindow(selector);
        QTRY_VERIFY(selector->isPopupVisible());
        QVERIFY(selector->popup()->scrollArea());
        QCOMPARE(selector->popup()->contentWidget()->maximumHeight(), 600);
        QStringList names;
        QStringList icons;
        for (int id : ids) {
            names << name(id);
            icons << icon(id);
        }
        QCOMPARE(itemTexts(*selector), names);
        QCOMPARE(itemIcons(*selector), icons);
        const QList<CButton*> buttons = items(*selector);
        for (int i = 0; i < buttons.size(); ++i) {
            QCOMPARE(buttons.at(i)->isChecked(), ids.at(i) == chosen);
            QCOMPARE(buttons.at(i)->styleKind(), ids.at(i) == 1 ? 1030 : selector->itemStyleKind());
        }
        QCOMPARE(changed.count(), 0);

        clickInPopup(buttons.at(ids.indexOf(1)));
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().toInt(), 1);
        QCOMPARE(selector->text(), name(1));
        QVERIFY(!buttons.at(ids.indexOf(chosen))->isChecked());
        QTRY_VERIFY(!selector->isPopupVisible());
    }

    void resolutionLabels_data()
    {
        QTest::addColumn<QString>("wxh");
        QTest::addColumn<QString>("label");
        QTest::newRow("square") << "1080x1080" << "1080x1080 (Instagram)";
        QTest::newRow("portrait") << "720x1280" << "720x1280 (портретная ориентация)";
        QTest::newRow("landscape") << "1920x1080" << "1920x1080";
    }
    void resolutionLabels()
    {
        QFETCH(QString, wxh);
        QFETCH(QString, label);
        QCOMPARE(ResolutionSelector::itemLabel(wxh), label);
        for (int fullLabel : {0, 1}) {
            ResolutionSelector selector(fullLabel ? 18 : 1034, fullLabel);
            selector.updateTexts();
            QVERIFY(itemTexts(selector).contains(label));
            QSignalSpy spy(&selector, &ResolutionSelector::resolutionChanged);
            selector.setResolution(wxh);
            QCOMPARE(spy.count(), 1);
            QCOMPARE(spy.first().first().toString(), wxh);
            QCOMPARE(selector.text(), fullLabel ? label : wxh);
            selector.setResolution(wxh);
            QCOMPARE(spy.count(), 1);
        }
    }

    void resolutionSilentlyRefreshesTheButton()
    {
        ResolutionSelector selector(1034, 0);
        selector.updateTexts();
        QCOMPARE(items(selector).size(), Resolution::standardList().size());
        QSignalSpy spy(&selector, &ResolutionSelector::resolutionChanged);
        selector.setResolutionSilently(QStringLiteral("720x1280"));
        QCOMPARE(selector.text(), QStringLiteral("720x1280"));
        QCOMPARE(selector.resolution(), QStringLiteral("720x1280"));
        QCOMPARE(spy.count(), 0);
        selector.updateTexts();
        QCOMPARE(selector.text(), QStringLiteral("720x1280"));
    }

    void fps()
    {
        SelectorHost host;
        auto* selector = host.add(new FpsSelector(1034));
        selector->updateTexts();
        QCOMPARE(itemTexts(*selector),
                 QStringList({QStringLiteral("15 кадров в секунду"), QStringLiteral("30 кадров в секунду")}));
        QSignalSpy spy(selector, &FpsSelector::fpsChanged);
        selector->setFpsSilently(30);
        selector->setFps(30);
        QCOMPARE(spy.count(), 0);
        clickInWindow(selector);
        QTRY_VERIFY(selector->isPopupVisible());
        clickInPopup(items(*selector).at(0));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toInt(), 15);
        selector->setFps(30);
        QCOMPARE(spy.last().first().toInt(), 30);
        QCOMPARE(selector->fps(), 30);
    }
};

TY_UI_TEST_MAIN(ComboSelectorsTest)
#include "tst_comboselectors.moc"
