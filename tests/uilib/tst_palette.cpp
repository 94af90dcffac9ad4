#include "support/UiTestSupport.h"

#include "uilib/style/ColorUtils.h"
#include "uilib/style/Cpalette.h"

Q_DECLARE_METATYPE(ColorSet)
Q_DECLARE_METATYPE(ArrowSpec)
Q_DECLARE_METATYPE(QMargins)

namespace {

// Overrides only the targets of the aliases.
class AliasPalette : public Cpalette
{
public:
    using Cpalette::Cpalette;
    QColor color(int role) const override
    {
        switch (role) {
        case 0: return QColor(Qt::blue);
        case 3: return QColor(Qt::red);
        default: return Cpalette::color(role);
        }
    }
    int metric(int id) const override { return id == 0 ? 7 : Cpalette::metric(id); }
};

class DarkPalette : public Cpalette
{
public:
    using Cpalette::Cpalette;
    bool isDark() const override { return true; }
};

const QColor Hover(0, 0, 0, 24);
const QColor Pressed(0, 0, 0, 46);
const QColor Border = colorWithAlpha(Qt::black, 0.22);

QString describe(const QVariant& value)
{
    if (value.canConvert<ColorSet>()) {
        const ColorSet s = value.value<ColorSet>();
        QStringList names;
        for (const QColor& c : {s.normal, s.hovered, s.pressed, s.disabled, s.checkedNormal, s.checkedHovered,
                                s.checkedPressed, s.checkedDisabled})
            names << (c.isValid() ? c.name(QColor::HexArgb) : QStringLiteral("invalid"));
        return names.join(QLatin1Char(' '));
    }
    if (value.canConvert<ArrowSpec>()) {
        const ArrowSpec a = value.value<ArrowSpec>();
        return QStringLiteral("%1x%2 %3,%4,%5,%6 dir %7 w %8")
            .arg(a.size.width()).arg(a.size.height()).arg(a.margins.left()).arg(a.margins.top())
            .arg(a.margins.right()).arg(a.margins.bottom()).arg(int(a.direction)).arg(a.width);
    }
    if (value.canConvert<AnimationParams>()) {
        const AnimationParams p = value.value<AnimationParams>();
        return QStringLiteral("%1/%2 %3/%4 %5..%6")
            .arg(p.forwardCurve).arg(p.forwardDuration).arg(p.backwardCurve).arg(p.backwardDuration)
            .arg(p.startValue.toString(), p.endValue.toString());
    }
    if (value.canConvert<QMargins>()) {
        const QMargins m = value.value<QMargins>();
        return QStringLiteral("%1,%2,%3,%4").arg(m.left()).arg(m.top()).arg(m.right()).arg(m.bottom());
    }
    if (value.type() == QVariant::Color) {
        const QColor c = value.value<QColor>();
        return c.isValid() ? c.name(QColor::HexArgb) : QStringLiteral("invalid");
    }
    return value.toString() + QLatin1Char(' ') + QLatin1String(value.typeName());
}

} // namespace

class TestPalette : public QObject
{
    Q_OBJECT
private slots:
    void values_data();
    void values();
    void aliasesFollowOverrides();
    void darkVariant();
    void overlays_data();
    void overlays();
    void menuStyleSheet();
};

void TestPalette::values_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("argument");
    QTest::addColumn<QVariant>("expected");
    const auto row = [](const char* op, int arg, const QVariant& value) {
        QTest::addRow("%s(%d)", op, arg) << QString::fromLatin1(op) << arg << value;
    };
    const auto color = [](const QColor& c) { return QVariant::fromValue(c); };
    const QColor none;
    const QColor transparent(Qt::transparent);

    row("name", 0, QStringLiteral("Cpalette"));
    row("baseName", 0, QStringLiteral("Cpalette"));
    row("description", 0, QString());
    row("isDark", 0, false);

    const int metrics[] = {1, 20, 0, 1, 20, 0, 1, 1, 20, 0, 3, 150, 200, 1, 20, 0, 150, 150,
                           8, 0, 8, 8, 1, 0, 1, 24, 24, 24, 0, 12, 1, 8, 1, 16, 14, 14};
    for (int id = 0; id < 36; ++id)
        row("metric", id, metrics[id]);
    row("metric", 36, 0);
    row("metric", -1, 0);

    row("opacity", 0, 0.6);
    row("opacity", 1, 0.57);
    row("opacity", 2, 0.0);
    row("defaultSize", 0, QSize(92, 36));
    row("defaultSize", 1, QSize(0, 0));

    const QMargins margins[] = {{16, 16, 16, 16}, {16, 8, 8, 16}, {4, 4, 4, 4}, {0, 0, 0, 0},
                                {16, 4, 16, 4},   {0, 0, 0, 0},   {12, 4, 12, 4}, {8, 0, 8, 0}, {0, 0, 0, 0}};
    for (int kind = 0; kind < 9; ++kind)
        row("margins", kind, QVariant::fromValue(margins[kind]));

    const QColor roles[] = {none, Pressed, QColor(0xFFFFFF), Border, Border, QColor(0, 0, 0, 64),
                            QColor(0xF4F4F4), Border, Border, QColor(0xFFFFFF), Border, Border, Pressed,
                            QColor(0xFFFFFF), Border, Border, QColor(0x2C2B30), QColor(0xF4F4F4),
                            QColor(0x458BCF), QColor(0xFF373A), QColor(0x47AD74), QColor(0x656565), none};
    for (int role = 0; role <= 22; ++role)
        row("color", role, color(roles[role]));
    row("color", -1, color(none));

    const ColorSet overlay(transparent, Hover, Pressed, none, Pressed, Pressed, Pressed, none);
    const ColorSet grey(QColor(0xE2E2E2), Hover, Pressed, QColor(0xF1F1F1), Pressed, Pressed, Pressed,
                        QColor(0xF1F1F1));
    const QColor white(0xFFFFFF);
    const ColorSet sets[] = {
        overlay, overlay, overlay,
        ColorSet(white, white, white, QColor(0xF4F4F4)),
        grey, grey,
        ColorSet(transparent, Hover, Pressed, none),
        ColorSet(transparent, QColor(0xE81123), QColor(0xA92831), none),
        ColorSet(QColor(0x2C2B30), transparent, transparent, none),
        ColorSet(none),
    };
    // Kind 3 reads role 0, which the base palette leaves undefined.
    for (int kind = 0; kind < 10; ++kind)
        row("colorSet", kind < 3 ? kind : kind + 1, QVariant::fromValue(sets[kind]));

    row("arrowStyle", 0, QVariant::fromValue(ArrowSpec{QSize(8, 5), QMargins(0, 1, 0, 0), Qt::DownArrow, 0}));
    row("arrowStyle", 1, QVariant::fromValue(ArrowSpec{QSize(5, 8), QMargins(0, 1, 0, 0), Qt::RightArrow, 0}));
    row("arrowStyle", 2, QVariant::fromValue(ArrowSpec{QSize(8, 5), QMargins(8, 4, 8, 2), Qt::UpArrow, 0}));
    row("arrowStyle", 3, QVariant::fromValue(ArrowSpec{QSize(8, 5), QMargins(8, 2, 8, 4), Qt::DownArrow, 0}));
    row("arrowStyle", 4, QVariant::fromValue(ArrowSpec{QSize(0, 0), QMargins(), Qt::DownArrow, 0}));

    const auto params = [](QEasingCurve::Type f, int fd, QEasingCurve::Type b, int bd, const QVariant& s,
                           const QVariant& e) { return QVariant::fromValue(AnimationParams{f, fd, b, bd, s, e}); };
    using E = QEasingCurve;
    row("animationValue", 0, params(E::OutCubic, 500, E::InCubic, 500, 0.0, 1.0));
    row("animationValue", 1, params(E::OutCubic, 200, E::InCubic, 500, 0.0, 1.0));
    row("animationValue", 2, params(E::OutCubic, 200, E::OutCubic, 200, 0.0, 1.0));
    row("animationValue", 3, params(E::OutCubic, 300, E::InCubic, 500, 0.0, 1.0));
    row("animationValue", 4, params(E::OutCubic, 150, E::InCubic, 350, 0.0, 1.0));
    row("animationValue", 5, params(E::Linear, 0, E::Linear, 0, QVariant(), QVariant()));

    const char* icons[] = {"", "CheckBoxIcon1", "RadioIcon1", "ToggleIcon1", ":/uilib/close-10.svg",
                           ":/uilib/close-10.svg", "", "", "", "", ":/uilib/titlebar-minimize.svg",
                           ":/uilib/titlebar-maximize.svg", ":/uilib/titlebar-restore.svg",
                           ":/uilib/titlebar-close.svg", ""};
    for (int kind = 0; kind < 15; ++kind)
        row("titleBarIcon", kind, QString::fromLatin1(icons[kind]));

    row("menuStyleSheet", 0, QString());
    row("textColor", 0, color(QColor(0x2C2B30)));
    row("secondaryTextColor", 0, color(colorWithAlpha(QColor(0x2C2B30), 0.57)));
}

void TestPalette::values()
{
    QFETCH(QString, operation);
    QFETCH(int, argument);
    QFETCH(QVariant, expected);
    Cpalette palette(nullptr);
    const QHash<QString, std::function<QVariant(int)>> operations = {
        {"name", [&](int) { return QVariant(palette.name()); }},
        {"baseName", [&](int) { return QVariant(palette.baseName()); }},
        {"description", [&](int) { return QVariant(palette.description()); }},
        {"isDark", [&](int) { return QVariant(palette.isDark()); }},
        {"metric", [&](int a) { return QVariant(palette.metric(a)); }},
        {"opacity", [&](int a) { return QVariant(palette.opacity(a)); }},
        {"defaultSize", [&](int a) { return QVariant(palette.defaultSize(a)); }},
        {"margins", [&](int a) { return QVariant::fromValue(palette.margins(a)); }},
        {"color", [&](int a) { return QVariant::fromValue(palette.color(a)); }},
        {"colorSet", [&](int a) { return QVariant::fromValue(palette.colorSet(a)); }},
        {"arrowStyle", [&](int a) { return QVariant::fromValue(palette.arrowStyle(a)); }},
        {"animationValue", [&](int a) { return QVariant::fromValue(palette.animationValue(a)); }},
        {"titleBarIcon", [&](int a) { return QVariant(palette.titleBarIcon(a)); }},
        {"menuStyleSheet", [&](int a) { return QVariant(palette.menuStyleSheet(a)); }},
        {"textColor", [&](int) { return QVariant::fromValue(palette.textColor()); }},
        {"secondaryTextColor", [&](int) { return QVariant::fromValue(palette.secondaryTextColor()); }},
    };
    QVERIFY(operations.contains(operation));
    QCOMPARE(describe(operations.value(operation)(argument)), describe(expected));
}

void TestPalette::aliasesFollowOverrides()
{
    AliasPalette palette(nullptr);
    for (int role : {4, 7, 8, 10, 11, 14, 15})
        QCOMPARE(palette.color(role), QColor(Qt::red));
    for (int id : {3, 7, 13})
        QCOMPARE(palette.metric(id), 7);
    QCOMPARE(palette.metric(27), 24);
    const QColor accentPressed = mixColors(Qt::blue, Pressed);
    QCOMPARE(describe(QVariant::fromValue(palette.colorSet(3))),
             describe(QVariant::fromValue(ColorSet(QColor(0x656565), Qt::blue, accentPressed, QColor(), Qt::blue,
                                                   Hover, accentPressed, QColor()))));
    // The menu border follows role 3 through role 10.
    QVERIFY(palette.menuStyleSheet(41).contains(QLatin1String("border: 1px solid #ff0000;")));
}

void TestPalette::darkVariant()
{
    DarkPalette palette(nullptr);
    QCOMPARE(palette.color(1), QColor(255, 255, 255, 60));
    QCOMPARE(palette.color(5), QColor(0, 0, 0, 128));
    QCOMPARE(palette.textColor(), QColor(0xF4F4F4));
    QCOMPARE(palette.colorSet(9).normal, QColor(0xF4F4F4));
    QCOMPARE(palette.colorSet(0).hovered, QColor(255, 255, 255, 30));
}

void TestPalette::overlays_data()
{
    QTest::addColumn<QColor>("base");
    QTest::addColumn<bool>("darkPalette");
    QTest::addColumn<bool>("lightOverlay");
    QTest::newRow("invalid on light") << QColor() << false << false;
    QTest::newRow("invalid on dark") << QColor() << true << true;
    QTest::newRow("transparent on dark") << QColor(Qt::transparent) << true << true;
    QTest::newRow("black on light") << QColor(Qt::black) << false << true;
    QTest::newRow("white on dark") << QColor(Qt::white) << true << false;
    QTest::newRow("grey 127") << QColor(127, 127, 127) << false << true;
    QTest::newRow("grey 128") << QColor(128, 128, 128) << true << false;
}

void TestPalette::overlays()
{
    QFETCH(QColor, base);
    QFETCH(bool, darkPalette);
    QFETCH(bool, lightOverlay);
    Cpalette light(nullptr);
    DarkPalette dark(nullptr);
    const Cpalette& palette = darkPalette ? static_cast<const Cpalette&>(dark) : light;
    QCOMPARE(palette.hoverOverlayColor(base), lightOverlay ? QColor(255, 255, 255, 30) : QColor(0, 0, 0, 24));
    QCOMPARE(palette.pressedOverlayColor(base), lightOverlay ? QColor(255, 255, 255, 60) : QColor(0, 0, 0, 46));
}

void TestPalette::menuStyleSheet()
{
    Cpalette palette(nullptr);
    QCOMPARE(palette.menuStyleSheet(41),
             QStringLiteral("QMenu {    border: 1px solid #c7c7c7;    background-color: #ffffff;    color: #2c2b30;"
                            "    padding: 0px;}QMenu::item {    padding: 3px 35px 3px 20px;    background-color: "
                            "transparent;}QMenu::item:disabled {    color: #d1d1d1;}QMenu::item:selected {    "
                            "background-color: #d1d1d1;}QMenu::item:disabled:selected {    background-color: "
                            "transparent;}QMenu::separator {    height: 1px;    margin-top: 2px;    margin-bottom: "
                            "2px;    background: #d1d1d1;}"));
    QCOMPARE(palette.menuStyleSheet(40), QString());
}

QTEST_GUILESS_MAIN(TestPalette)
#include "tst_palette.moc"
