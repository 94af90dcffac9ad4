#include "support/UiTestSupport.h"

#include "uilib/controls/CSpinBox.h"
#include "uilib/style/CStyle.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleOptionSpinBox>

namespace {

// A shown, active window with an integer and a real spin box; `real` picks the one to test.
struct SpinFixture
{
    explicit SpinFixture(bool real)
    {
        window.resize(300, 100);
        if (real) {
            auto* spin = new CDoubleSpin(36, &window);
            spin->setRange(0.0, 10.0);
            spin->setDecimals(1);
            spin->setValue(5.5);
            box = spin;
        } else {
            auto* spin = new CSpinBox(36, &window);
            spin->setRange(0, 100);
            spin->setValue(42);
            box = spin;
        }
        box->setGeometry(10, 10, 120, 28);
        window.show();
        window.activateWindow();
    }
    bool focus() { return window.focusChild(box); }
    QLineEdit* editor() const { return box->findChild<QLineEdit*>(); }
    QRect arrow(QStyle::SubControl control) const
    {
        QStyleOptionSpinBox option;
        option.initFrom(box);
        option.buttonSymbols = box->buttonSymbols();
        option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxEditField;
        option.frame = false;
        return box->style()->subControlRect(QStyle::CC_SpinBox, &option, control, box);
    }
    void mouse(QEvent::Type type, const QPoint& pos) const
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, pos, box->mapToGlobal(pos), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &event);
    }

    KeyRecordingWindow window;
    QAbstractSpinBox* box;
};

} // namespace

class TestSpinBox : public QObject
{
    Q_OBJECT
private slots:
    void looksByKind_data();
    void looksByKind();
    void keys_data();
    void keys();
    void arrowPresses_data();
    void arrowPresses();
    void setValueSilently();
    void focusSignals_data();
    void focusSignals();
};

void TestSpinBox::looksByKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("spin box kind 36") << 36;
    QTest::newRow("foreign kind 30") << 30;
}

void TestSpinBox::looksByKind()
{
    QFETCH(int, kind);
    CSpinBox spin(kind);
    Cpalette* palette = currentPalette();
    // The framed box whatever the kind; the arrow column only for 36.
    QCOMPARE(spin.backgroundColors(), palette->colorSet(4));
    QCOMPARE(spin.borderColors(), palette->colorSet(5));
    QCOMPARE(spin.minimumHeight(), palette->metric(25));
    QCOMPARE(spin.palette().color(QPalette::Active, QPalette::Text), palette->textColor());
    QMargins padding = palette->margins(7);
    if (kind == 36)
        padding.setRight(0);
    QCOMPARE(spin.padding(), padding);
    QCOMPARE(spin.upArrow()->arrowColors() == palette->colorSet(6), kind == 36);
    // The inner edit keeps clear of the frame: padding, border and margins.
    auto* editor = spin.findChild<QLineEdit*>();
    QCOMPARE(editor->contentsMargins(), spin.padding() + spin.borderWidths() + spin.margins());
    QCOMPARE(editor->textMargins(), QMargins(-2, -2, -2, -1));
}

void TestSpinBox::keys_data()
{
    QTest::addColumn<bool>("real");
    QTest::addColumn<int>("key");
    // Cursor position before the key; -1: the end of the text.
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<int>("cursorAfter");
    for (bool real : {false, true}) {
        const char* type = real ? "real" : "int";
        QTest::addRow("%s Return", type) << real << int(Qt::Key_Return) << -1 << "enterPressed" << -1;
        QTest::addRow("%s Enter", type) << real << int(Qt::Key_Enter) << 0 << "enterPressed" << 0;
        QTest::addRow("%s Escape", type) << real << int(Qt::Key_Escape) << 1 << "escPressed" << 1;
        QTest::addRow("%s Left at start", type) << real << int(Qt::Key_Left) << 0 << "prevWidgetRequested" << 0;
        QTest::addRow("%s Left inside", type) << real << int(Qt::Key_Left) << 2 << "" << 1;
        QTest::addRow("%s Right at end", type) << real << int(Qt::Key_Right) << -1 << "nextWidgetRequested" << -1;
        QTest::addRow("%s Right inside", type) << real << int(Qt::Key_Right) << 0 << "" << 1;
    }
}

void TestSpinBox::keys()
{
    QFETCH(bool, real);
    QFETCH(int, key);
    QFETCH(int, cursor);
    QFETCH(QString, signal);
    QFETCH(int, cursorAfter);
    SpinFixture fixture(real);
    QVERIFY(fixture.focus());
    QLineEdit* editor = fixture.editor();
    const int end = editor->text().size();
    editor->setCursorPosition(cursor < 0 ? end : cursor);
    const QString text = editor->text();
    const QStringList names{"enterPressed", "escPressed", "prevWidgetRequested", "nextWidgetRequested"};
    QList<QSharedPointer<QSignalSpy>> spies;
    for (const QString& name : names) {
        const QByteArray signature = QByteArray::number(QSIGNAL_CODE) + name.toLatin1() + "()";
        spies.append(QSharedPointer<QSignalSpy>::create(fixture.box, signature.constData()));
    }
    QSignalSpy finished(fixture.box, &QAbstractSpinBox::editingFinished);
    QTest::keyClick(fixture.box, Qt::Key(key));
    // Return and Enter stop at the signal: the box does not finish its editing.
    QCOMPARE(finished.size(), 0);
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(spies[i]->size(), names[i] == signal ? 1 : 0);
    QCOMPARE(editor->cursorPosition(), cursorAfter < 0 ? end : cursorAfter);
    QCOMPARE(editor->text(), text);
    // Every one of these keys is used up by the box.
    QVERIFY(!fixture.window.keys.contains(key));
}

void TestSpinBox::arrowPresses_data()
{
    QTest::addColumn<bool>("real");
    QTest::addColumn<bool>("atMaximum");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("presses");
    for (bool real : {false, true}) {
        const char* type = real ? "real" : "int";
        QTest::addRow("%s up", type) << real << false << true << 1;
        QTest::addRow("%s down", type) << real << false << false << 1;
        QTest::addRow("%s up at maximum", type) << real << true << true << 0;
        QTest::addRow("%s down at maximum", type) << real << true << false << 1;
    }
}

void TestSpinBox::arrowPresses()
{
    QFETCH(bool, real);
    QFETCH(bool, atMaximum);
    QFETCH(bool, up);
    QFETCH(int, presses);
    SpinFixture fixture(real);
    QAbstractSpinBox* box = fixture.box;
    if (atMaximum) {
        if (auto* spin = qobject_cast<QSpinBox*>(box))
            spin->setValue(spin->maximum());
        else if (auto* spin = qobject_cast<QDoubleSpinBox*>(box))
            spin->setValue(spin->maximum());
    }
    QSignalSpy pressed(box, SIGNAL(buttonPressed()));
    QSignalSpy released(box, SIGNAL(buttonReleased()));
    const QRect arrow = fixture.arrow(up ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown);
    QVERIFY(!arrow.isEmpty());
    fixture.mouse(QEvent::MouseButtonPress, arrow.center());
    QCOMPARE(pressed.size(), presses);
    QCOMPARE(released.size(), 0);
    fixture.mouse(QEvent::MouseButtonRelease, arrow.center());
    QCOMPARE(pressed.size(), presses);
    QCOMPARE(released.size(), presses);
    // A press in the text field is no arrow press.
    const QRect field = fixture.arrow(QStyle::SC_SpinBoxEditField);
    fixture.mouse(QEvent::MouseButtonPress, field.center());
    fixture.mouse(QEvent::MouseButtonRelease, field.center());
    QCOMPARE(pressed.size(), presses);
    QCOMPARE(released.size(), presses);
}

void TestSpinBox::setValueSilently()
{
    CSpinBox spin(36);
    spin.setRange(0, 10);
    QSignalSpy intChanged(&spin, &CSpinBox::intValueChanged);
    spin.setValue(3);
    QCOMPARE(intChanged.size(), 1);
    QCOMPARE(intChanged.first().first().toInt(), 3);
    spin.setValueSilently(7);
    QCOMPARE(spin.value(), 7);
    spin.setValueSilently(7);
    QCOMPARE(intChanged.size(), 1);
    QVERIFY(!spin.signalsBlocked());

    CDoubleSpin real(36);
    real.setRange(0.0, 10.0);
    QSignalSpy doubleChanged(&real, &CDoubleSpin::doubleValueChanged);
    real.setValue(2.5);
    QCOMPARE(doubleChanged.size(), 1);
    QCOMPARE(doubleChanged.first().first().toDouble(), 2.5);
    real.setValueSilently(4.25);
    QCOMPARE(real.value(), 4.25);
    QCOMPARE(doubleChanged.size(), 1);
    QVERIFY(!real.signalsBlocked());
}

void TestSpinBox::focusSignals_data()
{
    QTest::addColumn<bool>("real");
    QTest::newRow("int") << false;
    QTest::newRow("real") << true;
}

void TestSpinBox::focusSignals()
{
    QFETCH(bool, real);
    SpinFixture fixture(real);
    auto* other = new QLineEdit(&fixture.window);
    other->move(10, 50);
    other->show();
    QVERIFY(QTest::qWaitForWindowActive(&fixture.window));
    other->setFocus();
    qRegisterMetaType<Qt::FocusReason>();
    QSignalSpy focused(fixture.box, SIGNAL(focused(Qt::FocusReason)));
    QSignalSpy lost(fixture.box, SIGNAL(focusLost()));
    fixture.box->setFocus(Qt::TabFocusReason);
    QCOMPARE(focused.size(), 1);
    QCOMPARE(focused.first().first().value<Qt::FocusReason>(), Qt::TabFocusReason);
    other->setFocus();
    QCOMPARE(lost.size(), 1);
}

TY_UI_TEST_MAIN(TestSpinBox)
#include "tst_spinbox.moc"
