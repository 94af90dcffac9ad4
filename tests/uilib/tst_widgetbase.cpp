#include "support/UiTestSupport.h"

#include "app/CSystemTools.h"
#include "uilib/controls/CPanel.h"
#include "uilib/style/CStyle.h"

#include <QSignalSpy>

namespace {

// Records the order of the signals of one widget.
struct SignalLog
{
    explicit SignalLog(CWidgetBase* widget)
    {
        const auto note = [this](const char* name) { return [this, name] { names << name; }; };
        QObject::connect(widget, &CWidgetBase::showed, note("showed"));
        QObject::connect(widget, &CWidgetBase::hided, note("hided"));
        QObject::connect(widget, &CWidgetBase::visibilityChanged, note("visibilityChanged"));
        QObject::connect(widget, &CWidgetBase::showedToParent, note("showedToParent"));
        QObject::connect(widget, &CWidgetBase::visibilityToParentChanged, note("visibilityToParentChanged"));
        QObject::connect(widget, &CWidgetBase::moved, note("moved"));
        QObject::connect(widget, &CWidgetBase::resized, note("resized"));
        QObject::connect(widget, &CWidgetBase::geometryChanged, note("geometryChanged"));
        QObject::connect(widget, &CWidgetBase::enabledChanged, note("enabledChanged"));
    }
    QStringList names;
};

// Counts the panels it styles.
class CountingPalette : public Cpalette
{
public:
    using Cpalette::Cpalette;
    QString name() const override { return QStringLiteral("counting"); }
    void stylePanel(CPanel* panel, int kind) override { styled << qMakePair(panel, kind); }
    QList<QPair<CPanel*, int>> styled;
};

// Registered once: the style holder picks palettes by name.
CountingPalette* countingPalette()
{
    static QPointer<CountingPalette> palette;
    if (!palette) {
        CStyle* style = CSystemTools::instance()->style();
        palette = new CountingPalette(style);
        style->registerPalette(palette);
    }
    palette->styled.clear();
    return palette;
}

} // namespace

class TestWidgetBase : public QObject
{
    Q_OBJECT
private slots:
    void showAndHideSignalsComeInOrder();
    void childUnderHiddenParentIsOnlyShownToParent();
    void geometrySignalsComeInOrder();
    void enabledChangeIsReported();
    void panelStyling_data();
    void panelStyling();
    void panelIsRestyledOnPaletteSwitch();
};

void TestWidgetBase::showAndHideSignalsComeInOrder()
{
    CWidgetBase widget;
    widget.resize(40, 40);
    SignalLog log(&widget);
    widget.show();
    QVERIFY(log.names.indexOf("visibilityChanged") < log.names.indexOf("showed"));
    QVERIFY(log.names.contains("showed"));
    log.names.clear();
    widget.hide();
    QCOMPARE(log.names.filter("hided").size(), 1);
    QVERIFY(log.names.indexOf("visibilityChanged") < log.names.indexOf("hided"));
}

void TestWidgetBase::childUnderHiddenParentIsOnlyShownToParent()
{
    QWidget parent;
    auto* child = new CWidgetBase(&parent);
    child->hide();
    SignalLog log(child);
    QSignalSpy toParent(child, &CWidgetBase::visibilityToParentChanged);
    child->show();
    QCOMPARE(log.names, QStringList({"visibilityToParentChanged", "showedToParent"}));
    QCOMPARE(toParent.at(0).at(0).toBool(), true);
}

void TestWidgetBase::geometrySignalsComeInOrder()
{
    CWidgetBase widget;
    widget.setGeometry(0, 0, 50, 50);
    widget.show();
    SignalLog log(&widget);
    widget.move(10, 12);
    QCOMPARE(log.names, QStringList({"moved", "geometryChanged"}));
    log.names.clear();
    widget.resize(80, 60);
    QCOMPARE(log.names, QStringList({"resized", "geometryChanged"}));
    log.names.clear();
    widget.setGeometry(20, 20, 30, 30);
    QCOMPARE(log.names.size(), 4);
    QVERIFY(log.names.indexOf("moved") < log.names.lastIndexOf("geometryChanged"));
    QVERIFY(log.names.indexOf("resized") < log.names.lastIndexOf("geometryChanged"));
}

void TestWidgetBase::enabledChangeIsReported()
{
    CWidgetBase widget;
    QSignalSpy spy(&widget, &CWidgetBase::enabledChanged);
    widget.setEnabled(false);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), false);
}

void TestWidgetBase::panelStyling_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("defer");
    QTest::addColumn<bool>("styled");
    QTest::newRow("kind -1") << -1 << false << false;
    QTest::newRow("deferred") << 3 << true << false;
    QTest::newRow("kind 0") << 0 << false << true;
    QTest::newRow("kind 3") << 3 << false << true;
}

void TestWidgetBase::panelStyling()
{
    QFETCH(int, kind);
    QFETCH(bool, defer);
    QFETCH(bool, styled);
    CStyle* style = CSystemTools::instance()->style();
    const QString before = currentPalette()->name();
    CountingPalette* palette = countingPalette();
    QVERIFY(style->setCurrentStyle(palette->name()));
    {
        CPanel panel(kind, nullptr, defer);
        QCOMPARE(palette->styled.size(), styled ? 1 : 0);
        palette->styled.clear();
        panel.applyStyle();
        QCOMPARE(palette->styled.size(), kind >= 0 ? 1 : 0);
    }
    style->setCurrentStyle(before);
}

void TestWidgetBase::panelIsRestyledOnPaletteSwitch()
{
    CStyle* style = CSystemTools::instance()->style();
    const QString before = currentPalette()->name();
    CountingPalette* palette = countingPalette();
    CPanel styledPanel(2);
    CPanel plainPanel(-1);
    QVERIFY(style->setCurrentStyle(palette->name()));
    QCOMPARE(palette->styled.count(qMakePair(&styledPanel, 2)), 1);
    for (const auto& entry : palette->styled)
        QVERIFY(entry.first != &plainPanel);
    style->setCurrentStyle(before);
}

TY_UI_TEST_MAIN(TestWidgetBase)
#include "tst_widgetbase.moc"
