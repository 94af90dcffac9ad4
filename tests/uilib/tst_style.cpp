#include "support/UiTestSupport.h"

#include "app/CApplicaiton.h"
#include "app/CSettingsStorage.h"
#include "app/CSystemTools.h"
#include "uilib/style/CDrawable.h"
#include "uilib/style/CMenuDraw.h"
#include "uilib/style/CResourceCache.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QProxyStyle>

namespace {

class NamedPalette : public Cpalette
{
public:
    NamedPalette(const QString& name, QObject* parent, int overlap = 3) : Cpalette(parent), m_name(name), m_overlap(overlap) {}
    QString name() const override { return m_name; }
    int metric(int id) const override
    {
        switch (id) {
        case 10: return m_overlap;
        case 28: return m_overlap * 10;
        case 35: return 17;
        default: return Cpalette::metric(id);
        }
    }

private:
    QString m_name;
    int m_overlap;
};

// Records each restyle; may delete another drawable while it restyles.
class Recorder : public CDrawable
{
public:
    Recorder(QStringList* log, const QString& name) : CDrawable(0), m_log(log), m_name(name) {}
    void applyStyle() override
    {
        m_log->append(m_name);
        delete m_victim;
        m_victim = nullptr;
    }
    void deleteOnRestyle(Recorder* victim) { m_victim = victim; }

private:
    QStringList* m_log;
    QString m_name;
    Recorder* m_victim = nullptr;
};

// Lives until the application ends, to be destroyed while it closes down.
class LateDrawable : public QObject, public CDrawable
{
public:
    explicit LateDrawable(QObject* parent) : QObject(parent), CDrawable(1) {}
    void applyStyle() override {}
};

CStyle* holder()
{
    return CSystemTools::instance()->style();
}

} // namespace

class TestStyle : public QObject
{
    Q_OBJECT
private slots:
    void systemTools();
    void settingsRule();
    void unknownName();
    void switchPalette();
    void currentNameChangesNothing();
    void equalNamesFirstWins();
    void deletedPaletteGivesFreshBase();
    void drawableDeletedDuringRestyleIsSkipped();
    void setStyleKind();
    void proxyStyle();
    void menuDraw();
    void drawableAtShutdown();
};

void TestStyle::systemTools()
{
    auto* app = dynamic_cast<CApplicaiton*>(QCoreApplication::instance());
    QVERIFY(app);
    CSystemTools* tools = CSystemTools::instance();
    QVERIFY(tools);
    QCOMPARE(app->systemTools(), tools);
    QCOMPARE(tools->parent(), app);
    QVERIFY(tools->style());

    CResourceCache* cache = tools->resourceCache();
    QCOMPARE(tools->resourceCache(), cache);
    QVERIFY(cache->insert(QStringLiteral("big"), QPixmap(3000, 4000))); // 46,875 KB fits 50 MB
    delete cache;
    CResourceCache* again = tools->resourceCache();
    QVERIFY(again);
    QVERIFY(!again->find(QStringLiteral("big"), nullptr));
}

void TestStyle::settingsRule()
{
    CSettingsStorage* settings = UiTestEnvironment::settings();
    QSignalSpy screen(settings, &CSettingsStorage::lastScreenChanged);
    QCOMPARE(settings->lastScreen(), 0);
    settings->setValue(QStringLiteral("lastScreen"), QStringLiteral("abc"));
    QCOMPARE(settings->lastScreen(), 0);
    settings->setValue(QStringLiteral("lastScreen"), QStringLiteral("2"));
    QCOMPARE(settings->lastScreen(), 2);
    settings->setLastScreen(2);
    QCOMPARE(screen.count(), 0);
    settings->setLastScreen(1);
    QCOMPARE(screen.count(), 1);
    QCOMPARE(screen.at(0).at(0).toInt(), 1);
    QCOMPARE(settings->lastScreen(), 1);
}

void TestStyle::unknownName()
{
    Cpalette* before = currentPalette();
    const QFont font = QApplication::font();
    QStringList log;
    Recorder drawable(&log, QStringLiteral("a"));
    QSignalSpy written(UiTestEnvironment::settings(), &CSettingsStorage::lastStyleIdChanged);
    QVERIFY(!holder()->setCurrentStyle(QStringLiteral("NoSuchPalette")));
    QCOMPARE(currentPalette(), before);
    QCOMPARE(QApplication::font(), font);
    QVERIFY(log.isEmpty());
    QCOMPARE(written.count(), 0);
}

void TestStyle::switchPalette()
{
    auto* palette = new NamedPalette(QStringLiteral("Switch"), this);
    holder()->registerPalette(palette);
    QStringList log;
    Recorder first(&log, QStringLiteral("first"));
    Recorder second(&log, QStringLiteral("second"));
    {
        Recorder gone(&log, QStringLiteral("gone"));
    }
    Recorder third(&log, QStringLiteral("third"));
    CSettingsStorage* settings = UiTestEnvironment::settings();
    QSignalSpy written(settings, &CSettingsStorage::lastStyleIdChanged);

    QVERIFY(holder()->setCurrentStyle(QStringLiteral("Switch")));
    QCOMPARE(currentPalette(), palette);
    QCOMPARE(written.count(), 1);
    QCOMPARE(written.at(0).at(0).toString(), QStringLiteral("Switch"));
    QCOMPARE(settings->value(QStringLiteral("lastStyleId")).toString(), QStringLiteral("Switch"));
    const QFont font = QApplication::font();
    QCOMPARE(font.family(), QStringLiteral("Tahoma"));
    QCOMPARE(font.pixelSize(), 17);
    QCOMPARE(font.weight(), 50);
    QCOMPARE(log, QStringList({"first", "second", "third"}));
}

void TestStyle::currentNameChangesNothing()
{
    holder()->registerPalette(new NamedPalette(QStringLiteral("Again"), this));
    QVERIFY(holder()->setCurrentStyle(QStringLiteral("Again")));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QStringList log;
    Recorder drawable(&log, QStringLiteral("a"));
    QSignalSpy written(UiTestEnvironment::settings(), &CSettingsStorage::lastStyleIdChanged);

    QVERIFY(holder()->setCurrentStyle(QStringLiteral("Again")));
    QCOMPARE(written.count(), 0);
    QCOMPARE(QApplication::font().family(), QStringLiteral("DejaVu Sans"));
    QVERIFY(log.isEmpty());
}

void TestStyle::equalNamesFirstWins()
{
    auto* first = new NamedPalette(QStringLiteral("Twin"), this);
    auto* second = new NamedPalette(QStringLiteral("Twin"), this);
    holder()->registerPalette(first);
    holder()->registerPalette(second);
    QVERIFY(holder()->setCurrentStyle(QStringLiteral("Twin")));
    QCOMPARE(currentPalette(), first);
}

void TestStyle::deletedPaletteGivesFreshBase()
{
    auto* palette = new NamedPalette(QStringLiteral("Doomed"), this);
    holder()->registerPalette(palette);
    QVERIFY(holder()->setCurrentStyle(QStringLiteral("Doomed")));
    delete palette;
    Cpalette* fresh = currentPalette();
    QVERIFY(fresh);
    QCOMPARE(fresh->name(), QStringLiteral("Cpalette"));
    QCOMPARE(fresh->parent(), holder());
    QCOMPARE(currentPalette(), fresh);
}

void TestStyle::drawableDeletedDuringRestyleIsSkipped()
{
    holder()->registerPalette(new NamedPalette(QStringLiteral("Walk"), this));
    QStringList log;
    Recorder killer(&log, QStringLiteral("killer"));
    auto* victim = new Recorder(&log, QStringLiteral("victim"));
    Recorder last(&log, QStringLiteral("last"));
    killer.deleteOnRestyle(victim);
    QVERIFY(holder()->setCurrentStyle(QStringLiteral("Walk")));
    QCOMPARE(log, QStringList({"killer", "last"}));
}

void TestStyle::setStyleKind()
{
    QStringList log;
    Recorder drawable(&log, QStringLiteral("a"));
    QCOMPARE(drawable.styleKind(), 0);
    QVERIFY(drawable.hasStyle());
    drawable.setStyleKind(0);
    QVERIFY(log.isEmpty());
    drawable.setStyleKind(-1);
    QCOMPARE(log.size(), 1);
    QVERIFY(!drawable.hasStyle());
}

void TestStyle::proxyStyle()
{
    holder()->registerPalette(new NamedPalette(QStringLiteral("Proxy"), this, 5));
    auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
    QVERIFY(style);
    QCOMPARE(style->styleHint(QStyle::SH_EtchDisabledText), 0);
    QCOMPARE(style->styleHint(QStyle::SH_DitherDisabledText), 0);
    QCOMPARE(style->styleHint(QStyle::SH_MenuBar_AltKeyNavigation), 0);
    QCOMPARE(style->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1000);

    QVERIFY(holder()->setCurrentStyle(QStringLiteral("Proxy")));
    QCOMPARE(style->pixelMetric(QStyle::PM_SubMenuOverlap), 5);
    QCOMPARE(style->styleHint(QStyle::SH_LineEdit_PasswordMaskDelay), 50);
    QCOMPARE(style->pixelMetric(QStyle::PM_SmallIconSize), style->baseStyle()->pixelMetric(QStyle::PM_SmallIconSize));
}

void TestStyle::menuDraw()
{
    holder()->registerPalette(new Cpalette(this));
    QVERIFY(holder()->setCurrentStyle(QStringLiteral("Cpalette")));
    QWidget target;
    new CMenuDraw(&target, 41);

    auto* menu = new QMenu(&target);
    auto* plain = new QWidget(&target);
    auto* early = new QMenu(&target);
    QVERIFY(menu->windowFlags().testFlag(Qt::NoDropShadowWindowHint));
    QVERIFY(menu->windowFlags().testFlag(Qt::Popup));
    QVERIFY(plain->windowFlags().testFlag(Qt::NoDropShadowWindowHint));
    QVERIFY(menu->styleSheet().isEmpty());
    delete early;

    QCoreApplication::sendPostedEvents();
    QTRY_COMPARE(menu->styleSheet(), currentPalette()->menuStyleSheet(41));
    QVERIFY(plain->styleSheet().isEmpty());
}

void TestStyle::drawableAtShutdown()
{
    // Destroyed with the application, after the service; the process must end cleanly.
    new LateDrawable(QCoreApplication::instance());
}

TY_UI_TEST_MAIN(TestStyle)
#include "tst_style.moc"
