#include "support/UiTestSupport.h"
#include "support/WindowMouse.h"

#include "uilib/controls/CButton.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CPanel.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/CStyle.h"

#include <QKeyEvent>
#include <QSignalSpy>

#include <cmath>

Q_DECLARE_METATYPE(QMargins)

namespace {

// A shown, active window holding one edit.
struct EditFixture
{
    explicit EditFixture(int kind)
    {
        window.resize(320, 80);
        edit = new CLinEdit(kind, &window);
        edit->setGeometry(10, 10, 260, 28);
        window.show();
        window.activateWindow();
    }
    bool focus() { return window.focusChild(edit); }

    KeyRecordingWindow window;
    CLinEdit* edit;
};

// A move without a button, straight to the edit.
void hover(QWidget* edit, const QPoint& pos)
{
    QMouseEvent event(QEvent::MouseMove, pos, edit->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &event);
}

QMargins panelFrame(const CLinEdit& edit)
{
    return edit.borderWidths() + edit.padding() + edit.margins();
}

} // namespace

class TestLineEdit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void looksByKind_data();
    void looksByKind();
    void clearButtonFollowsText();
    void clearButtonClickEmptiesEdit();
    void escape_data();
    void escape();
    void maskWhenUnfocused();
    void focusSignals();
    void sizeHint_data();
    void sizeHint();
    void textMargins_data();
    void textMargins();
    void trailingLayout();
    void invalidIconIsDropped();
    void iconInOwnColoursWithSeparator_data();
    void iconInOwnColoursWithSeparator();
    void cursorOverTextOnly();

private:
    QTemporaryDir m_dir;
    QString m_icon;
};

void TestLineEdit::initTestCase()
{
    m_icon = writeSquareSvg(m_dir.filePath(QStringLiteral("square.svg")), 16, "#ff0000");
    QVERIFY(!m_icon.isEmpty());
}

void TestLineEdit::looksByKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("clearButton");
    QTest::addColumn<QLineEdit::EchoMode>("echo");
    QTest::addColumn<bool>("mask");
    QTest::newRow("plain 29") << 29 << false << QLineEdit::Normal << false;
    QTest::newRow("clear 30") << 30 << true << QLineEdit::Normal << false;
    QTest::newRow("clear and Escape 31") << 31 << true << QLineEdit::Normal << false;
    QTest::newRow("password 32") << 32 << false << QLineEdit::Password << false;
    QTest::newRow("masked 33") << 33 << false << QLineEdit::Password << true;
    QTest::newRow("foreign kind 7") << 7 << false << QLineEdit::Normal << false;
}

void TestLineEdit::looksByKind()
{
    QFETCH(int, kind);
    QFETCH(bool, clearButton);
    QFETCH(QLineEdit::EchoMode, echo);
    QFETCH(bool, mask);
    CLinEdit edit(kind);
    Cpalette* palette = currentPalette();
    // The framed box whatever the kind.
    QCOMPARE(edit.backgroundColors(), palette->colorSet(4));
    QCOMPARE(edit.borderColors(), palette->colorSet(5));
    QCOMPARE(edit.borderWidths(), QMargins(1, 1, 1, 1));
    QCOMPARE(edit.padding(), palette->margins(7));
    QCOMPARE(edit.minimumHeight(), palette->metric(25));
    QCOMPARE(edit.palette().color(QPalette::Active, QPalette::Text), palette->textColor());
    QCOMPARE(edit.trailingSpacing(), palette->metric(24));
    QCOMPARE(edit.clearButton() != nullptr, clearButton);
    QCOMPARE(edit.echoMode(), echo);
    QCOMPARE(edit.maskWhenUnfocused(), mask);
    // A restyle adds no second clear button.
    edit.applyStyle();
    QCOMPARE(edit.findChildren<CButton*>().size(), clearButton ? 1 : 0);
}

void TestLineEdit::clearButtonFollowsText()
{
    CLinEdit edit(30);
    edit.resize(200, 28);
    CButton* button = edit.clearButton();
    QVERIFY(button);
    QVERIFY(!button->isVisibleTo(&edit));
    const int emptyRight = edit.textMargins().right();
    edit.setText(QStringLiteral("a"));
    QVERIFY(button->isVisibleTo(&edit));
    QCOMPARE(edit.textMargins().right(), emptyRight + button->width() + edit.trailingSpacing());
    edit.setText(QString());
    QVERIFY(!button->isVisibleTo(&edit));
    QCOMPARE(edit.textMargins().right(), emptyRight);
}

void TestLineEdit::clearButtonClickEmptiesEdit()
{
    EditFixture fixture(30);
    CLinEdit* edit = fixture.edit;
    QVERIFY(fixture.focus());
    QTest::keyClicks(edit, QStringLiteral("ab"));
    QCOMPARE(edit->text(), QStringLiteral("ab"));
    CButton* button = edit->clearButton();
    QVERIFY(button->isVisible());
    QSignalSpy edited(edit, &QLineEdit::textEdited);
    sendClick(button);
    QTRY_VERIFY_WITH_TIMEOUT(edit->text().isEmpty(), 5000);
    QCOMPARE(edited.size(), 1);
    QCOMPARE(edited.first().first().toString(), QString());
    QVERIFY(!button->isVisible());
}

void TestLineEdit::escape_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("after");
    QTest::newRow("clears with text") << 31 << "abc" << true << "";
    QTest::newRow("empty edit") << 31 << "" << false << "";
    QTest::newRow("button without Escape clearing") << 30 << "abc" << false << "abc";
    QTest::newRow("no clear button") << 29 << "abc" << false << "abc";
}

void TestLineEdit::escape()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(bool, cancel);
    QFETCH(QString, after);
    EditFixture fixture(kind);
    CLinEdit* edit = fixture.edit;
    QVERIFY(fixture.focus());
    edit->setText(text);
    QSignalSpy cancelled(edit, &CLinEdit::cancelPressed);
    QSignalSpy edited(edit, &QLineEdit::textEdited);
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(cancelled.size(), cancel ? 1 : 0);
    QCOMPARE(edit->text(), after);
    QCOMPARE(edited.size(), cancel ? 1 : 0);
    // A consumed Escape never reaches the window; an unused one does.
    QCOMPARE(fixture.window.keys.contains(Qt::Key_Escape), !cancel);
    if (cancel)
        QVERIFY(!edit->clearButton()->isVisibleTo(edit));
}

void TestLineEdit::maskWhenUnfocused()
{
    EditFixture fixture(29);
    CLinEdit* edit = fixture.edit;
    auto* other = new QLineEdit(&fixture.window);
    other->move(10, 44);
    other->show();
    edit->setText(QStringLiteral("secret"));
    edit->setMaskWhenUnfocused(true);
    QCOMPARE(edit->echoMode(), QLineEdit::Password);
    QVERIFY(fixture.focus());
    QCOMPARE(edit->echoMode(), QLineEdit::Normal);
    other->setFocus();
    QCOMPARE(edit->echoMode(), QLineEdit::Password);
    QCOMPARE(edit->text(), QStringLiteral("secret"));
}

void TestLineEdit::focusSignals()
{
    EditFixture fixture(29);
    auto* other = new QLineEdit(&fixture.window);
    other->show();
    QSignalSpy focused(fixture.edit, &CLinEdit::focused);
    QSignalSpy lost(fixture.edit, &CLinEdit::focusLost);
    QVERIFY(fixture.focus());
    QCOMPARE(focused.size(), 1);
    other->setFocus();
    QCOMPARE(lost.size(), 1);
    QCOMPARE(focused.size(), 1);
}

void TestLineEdit::sizeHint_data()
{
    QTest::addColumn<bool>("fitToText");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("placeholder");
    // The text whose advance makes the width; "x*" stands for the palette's character count.
    QTest::addColumn<QString>("widthOf");
    QTest::newRow("fixed, empty") << false << "" << "" << "x*";
    QTest::newRow("fixed, long text") << false << QString(80, QLatin1Char('W')) << "Name" << "x*";
    QTest::newRow("fit, empty shows placeholder") << true << "" << "Search the list" << "Search the list";
    QTest::newRow("fit, text wider than placeholder") << true << "A much longer text here" << "Find"
                                                      << "A much longer text here";
    QTest::newRow("fit, text narrower than placeholder") << true << "ab" << "Search the list" << "Search the list";
    QTest::newRow("fit, nothing") << true << "" << "" << "";
}

void TestLineEdit::sizeHint()
{
    QFETCH(bool, fitToText);
    QFETCH(QString, text);
    QFETCH(QString, placeholder);
    QFETCH(QString, widthOf);
    CLinEdit edit(29);
    edit.setFitToText(fitToText);
    QCOMPARE(edit.fixedCharacterWidth(), !fitToText);
    edit.setText(text);
    edit.setPlaceholderText(placeholder);
    const QFontMetrics metrics(edit.font());
    const int x = metrics.horizontalAdvance(QLatin1Char('x'));
    const QMargins frame = panelFrame(edit);
    const int content = widthOf == QLatin1String("x*") ? x * currentPalette()->metric(26)
                                                      : metrics.horizontalAdvance(widthOf);
    const int fixedWidth = frame.left() + frame.right() + 3;
    QCOMPARE(edit.sizeHint(), QSize(fixedWidth + content, frame.top() + frame.bottom() + metrics.height()));
    const int minimumContent = fitToText ? x : content;
    QCOMPARE(edit.minimumSizeHint().width(), fixedWidth + minimumContent);
}

void TestLineEdit::textMargins_data()
{
    QTest::addColumn<bool>("icon");
    QTest::addColumn<QMargins>("iconMargins");
    QTest::addColumn<QMargins>("panelMargins");
    QTest::addColumn<QList<int>>("trailing");
    QTest::addColumn<QList<bool>>("shown");
    QTest::newRow("bare") << false << QMargins() << QMargins() << QList<int>() << QList<bool>();
    QTest::newRow("icon with margins") << true << QMargins(4, 1, 6, 1) << QMargins() << QList<int>()
                                       << QList<bool>();
    QTest::newRow("panel margins") << false << QMargins() << QMargins(3, 2, 5, 2) << QList<int>() << QList<bool>();
    QTest::newRow("two shown widgets") << false << QMargins() << QMargins() << QList<int>{30, 20}
                                       << QList<bool>{true, true};
    QTest::newRow("hidden widget not counted") << true << QMargins(2, 0, 2, 0) << QMargins(1, 1, 1, 1)
                                               << QList<int>{30, 20} << QList<bool>{true, false};
    QTest::newRow("all hidden: no spacing") << false << QMargins() << QMargins() << QList<int>{30}
                                            << QList<bool>{false};
}

void TestLineEdit::textMargins()
{
    QFETCH(bool, icon);
    QFETCH(QMargins, iconMargins);
    QFETCH(QMargins, panelMargins);
    QFETCH(QList<int>, trailing);
    QFETCH(QList<bool>, shown);
    CLinEdit edit(29);
    edit.resize(300, 28);
    edit.setTrailingSpacing(5);
    if (icon)
        edit.setIcon(m_icon);
    edit.setIconMargins(iconMargins.left(), iconMargins.top(), iconMargins.right(), iconMargins.bottom());
    edit.setMargins(panelMargins);
    int trailingWidth = 0;
    for (int i = 0; i < trailing.size(); ++i) {
        // A plain widget and a panel both follow their show and hide.
        QWidget* widget = i % 2 ? static_cast<QWidget*>(new CPanel) : new QWidget;
        widget->setFixedWidth(trailing[i]);
        edit.addTrailingWidget(widget);
        widget->setVisible(shown[i]);
        trailingWidth += shown[i] ? trailing[i] : 0;
    }
    if (trailingWidth > 0)
        trailingWidth += 5;
    const QMargins frame = panelFrame(edit);
    const int iconWidth = icon ? 16 + iconMargins.left() + iconMargins.right() : 0;
    QCOMPARE(edit.trailingWidth(), trailingWidth);
    QCOMPARE(edit.textMargins(), QMargins(frame.left() - 2 + iconWidth, 0, frame.right() - 2 + trailingWidth, 0));
    // Hiding every trailing widget gives their room back.
    for (QWidget* widget : edit.trailingWidgets())
        widget->hide();
    QCOMPARE(edit.textMargins().right(), frame.right() - 2);
}

void TestLineEdit::trailingLayout()
{
    EditFixture fixture(29);
    CLinEdit& edit = *fixture.edit;
    edit.setMargins(QMargins(0, 2, 3, 1));
    auto* first = new QWidget;
    first->setFixedWidth(30);
    auto* second = new QWidget;
    second->setFixedWidth(20);
    edit.addTrailingWidget(first);
    edit.addTrailingWidget(second);
    second->hide();
    edit.resize(200, 30);
    // Border 1 and the margins: the inner height is 30 - 3 - 2, laid out from x = 200 - 4.
    QCOMPARE(first->geometry(), QRect(166, 3, 30, 25));
    // A hidden widget keeps its place.
    QCOMPARE(second->geometry(), QRect(146, 3, 20, 25));
    edit.resize(240, 40);
    QCOMPARE(first->geometry(), QRect(206, 3, 30, 35));
}

void TestLineEdit::invalidIconIsDropped()
{
    CLinEdit edit(29);
    const QMargins before = edit.textMargins();
    edit.setIcon(m_dir.filePath(QStringLiteral("missing.svg")));
    QVERIFY(!edit.icon());
    const QString broken = m_dir.filePath(QStringLiteral("broken.svg"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not an svg");
    file.close();
    edit.setIcon(broken);
    QVERIFY(!edit.icon());
    QCOMPARE(edit.textMargins(), before);
    edit.setIcon(m_icon);
    QVERIFY(edit.icon());
    QCOMPARE(edit.textMargins().left(), before.left() + 16);
}

void TestLineEdit::iconInOwnColoursWithSeparator_data()
{
    QTest::addColumn<double>("ratio");
    addRatioRows();
}

void TestLineEdit::iconInOwnColoursWithSeparator()
{
    QFETCH(double, ratio);
    CLinEdit edit(29);
    edit.resize(200, 28);
    edit.setIcon(m_icon);
    edit.setIconMargins(4, 0, 4, 0);
    edit.setSeparatorColor(QColor(0, 0, 255));
    const QImage image = renderWidget(&edit, ratio, Qt::white);
    // Without icon colours the icon keeps its own red; border 1, margin 4, 16 wide, centred.
    QCOMPARE(logicalPixel(image, QPointF(1 + 4 + 8, 14)), QColor(255, 0, 0));
    // The separator fills one whole column right of the icon's column, top to bottom inside the border.
    const int column = qRound((1 + 4 + 16 + 4 - 1) * ratio);
    const int width = qRound((1 + 4 + 16 + 4) * ratio) - column;
    for (int x = column; x < column + width; ++x) {
        QCOMPARE(devicePixel(image, x, int(14 * ratio)), QColor(0, 0, 255));
        QCOMPARE(devicePixel(image, x, int(std::ceil(1 * ratio))), QColor(0, 0, 255));
    }
    QVERIFY(devicePixel(image, column + width, int(14 * ratio)) != QColor(0, 0, 255));
    // Icon colours given: the icon takes the normal one.
    edit.setIconColors(ColorSet(QColor(0, 128, 0)));
    const QImage tinted = renderWidget(&edit, ratio, Qt::white);
    QCOMPARE(logicalPixel(tinted, QPointF(1 + 4 + 8, 14)), QColor(0, 128, 0));
}

void TestLineEdit::cursorOverTextOnly()
{
    EditFixture fixture(30);
    CLinEdit* edit = fixture.edit;
    edit->setIcon(m_icon);
    edit->setText(QStringLiteral("text"));
    QVERIFY(edit->hasMouseTracking());
    hover(edit, QPoint(8, 14));
    QCOMPARE(edit->cursor().shape(), Qt::ArrowCursor);
    hover(edit, QPoint(100, 14));
    QCOMPARE(edit->cursor().shape(), Qt::IBeamCursor);
    hover(edit, QPoint(edit->width() - 5, 14));
    QCOMPARE(edit->cursor().shape(), Qt::ArrowCursor);
}

TY_UI_TEST_MAIN(TestLineEdit)
#include "tst_lineedit.moc"
