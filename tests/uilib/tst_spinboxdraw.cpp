#include "support/UiTestSupport.h"

#include "app/CSystemTools.h"
#include "uilib/style/CAnimationWidget.h"
#include "uilib/style/CPainterScope.h"
#include "uilib/style/CProxyStyle.h"
#include "uilib/style/CSpinBoxDraw.h"
#include "uilib/style/CStyle.h"

#include <QApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyleFactory>
#include <QStyleOptionSpinBox>

namespace {

// A spin box drawn by the library, styled as kind 36.
class TestSpin : public QSpinBox, public CSpinBoxDraw
{
public:
    TestSpin()
        : CSpinBoxDraw(this)
    {
        currentPalette()->styleSpinBox(this, 36);
    }
    QStyleOptionSpinBox option() const
    {
        QStyleOptionSpinBox option;
        initStyleOption(&option);
        return option;
    }
};

QRect controlRect(TestSpin& spin, const QStyleOptionSpinBox& option, QStyle::SubControl control)
{
    return spin.style()->subControlRect(QStyle::CC_SpinBox, &option, control, &spin);
}

} // namespace

class TestSpinBoxDraw : public QObject
{
    Q_OBJECT
private slots:
    void lineEditBeforeServices();
    void subControlRects_data();
    void subControlRects();
    void upArrowDisabledAtMaximum();
    void applicationStyleStays();
    void sizeFromContents();
    void panelPrimitivesSuppressed_data();
    void panelPrimitivesSuppressed();
};

void TestSpinBoxDraw::lineEditBeforeServices()
{
    // The first widget comes before the application's services: making the style holder
    // restyles it, which must not make a second service.
    QLineEdit edit;
    CSystemTools* tools = CSystemTools::instance();
    QVERIFY(tools);
    QCOMPARE(CSystemTools::instance(), tools);
    QCOMPARE(QCoreApplication::instance()->findChildren<CSystemTools*>().size(), 1);
}

void TestSpinBoxDraw::subControlRects_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("buttons");
    QTest::newRow("even height") << QSize(100, 24) << true;
    QTest::newRow("odd height") << QSize(100, 25) << true;
    QTest::newRow("tall") << QSize(80, 40) << true;
    QTest::newRow("no buttons") << QSize(100, 24) << false;
}

void TestSpinBoxDraw::subControlRects()
{
    QFETCH(QSize, size);
    QFETCH(bool, buttons);
    TestSpin spin;
    spin.QWidget::resize(size);
    if (!buttons)
        spin.setButtonSymbols(QAbstractSpinBox::NoButtons);
    const QStyleOptionSpinBox option = spin.option();
    const QRect frame = QRect(QPoint(), size).marginsRemoved(spin.borderWidths());
    const QRect edit = controlRect(spin, option, QStyle::SC_SpinBoxEditField);
    const QRect up = controlRect(spin, option, QStyle::SC_SpinBoxUp);
    const QRect down = controlRect(spin, option, QStyle::SC_SpinBoxDown);
    if (!buttons) {
        QCOMPARE(edit, frame);
        QVERIFY(up.isEmpty());
        QVERIFY(down.isEmpty());
        return;
    }
    const int column = spin.upArrow()->sizeHint().width();
    QCOMPARE(column, 24);
    QCOMPARE(edit, frame.adjusted(0, 0, -column, 0));
    const int centre = frame.center().y();
    QCOMPARE(up.bottom(), centre);
    QCOMPARE(down.top(), centre + 1);
    QCOMPARE(up.right(), frame.right());
    QCOMPARE(down.right(), frame.right());
    QCOMPARE(up.size(), spin.upArrow()->sizeHint());
    QVERIFY(!up.intersects(down));
    QVERIFY(!up.intersects(edit));
}

void TestSpinBoxDraw::upArrowDisabledAtMaximum()
{
    TestSpin spin;
    spin.QWidget::resize(100, 24);
    spin.setRange(0, 10);
    spin.setValue(10);
    QCOMPARE(spin.style()->styleHint(QStyle::SH_SpinControls_DisableOnBounds, nullptr, &spin), 1);
    QStyleOptionSpinBox option = spin.option();
    option.state |= QStyle::State_MouseOver;
    option.activeSubControls = QStyle::SC_SpinBoxUp;
    QVERIFY(!(option.stepEnabled & QAbstractSpinBox::StepUpEnabled));
    paintInScope(QSize(100, 24), 1.0, [&](CPainterScope& scope) { spin.paintButtons(scope, &option); });
    QVERIFY(spin.upArrow()->animation()->isDisabled());
    QVERIFY(!spin.upArrow()->animation()->isHovered());
    QVERIFY(!spin.downArrow()->animation()->isDisabled());
    QCOMPARE(spin.upArrow()->rect(), controlRect(spin, option, QStyle::SC_SpinBoxUp));

    // Below the maximum the hovered up arrow lights up.
    spin.setValue(5);
    option = spin.option();
    option.state |= QStyle::State_MouseOver;
    option.activeSubControls = QStyle::SC_SpinBoxUp;
    paintInScope(QSize(100, 24), 1.0, [&](CPainterScope& scope) { spin.paintButtons(scope, &option); });
    QVERIFY(!spin.upArrow()->animation()->isDisabled());
    QVERIFY(spin.upArrow()->animation()->isHovered());
}

void TestSpinBoxDraw::applicationStyleStays()
{
    const QPointer<QStyle> application = QApplication::style();
    for (int i = 0; i < 20; ++i) {
        auto* spin = new TestSpin;
        auto* proxy = qobject_cast<QProxyStyle*>(spin->style());
        QVERIFY(proxy);
        QVERIFY(proxy->baseStyle() != application.data());
        delete spin;
    }
    QVERIFY(application);
    QCOMPARE(QApplication::style(), application.data());
    QSpinBox plain;
    QCOMPARE(plain.style(), application.data());
}

void TestSpinBoxDraw::sizeFromContents()
{
    TestSpin spin;
    const QStyleOptionSpinBox option = spin.option();
    const QSize contents(30, 16);
    const QSize panel = spin.CSpinBoxDraw::sizeHint();
    QCOMPARE(spin.style()->sizeFromContents(QStyle::CT_SpinBox, &option, contents, &spin),
             contents + panel + QSize(24, 0));
}

void TestSpinBoxDraw::panelPrimitivesSuppressed_data()
{
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("widget");
    QTest::addColumn<bool>("drawn");
    enum { Plain, Panel, PanelChild, Spin };
    QTest::newRow("focus of a panel") << int(QStyle::PE_FrameFocusRect) << int(Panel) << false;
    QTest::newRow("focus of a plain widget") << int(QStyle::PE_FrameFocusRect) << int(Plain) << true;
    QTest::newRow("bevel of a spin box") << int(QStyle::PE_PanelButtonBevel) << int(Spin) << false;
    QTest::newRow("bevel of a panel") << int(QStyle::PE_PanelButtonBevel) << int(Panel) << true;
    QTest::newRow("line edit in a panel") << int(QStyle::PE_PanelLineEdit) << int(PanelChild) << false;
    QTest::newRow("line edit of a panel") << int(QStyle::PE_PanelLineEdit) << int(Panel) << false;
    QTest::newRow("plain line edit") << int(QStyle::PE_PanelLineEdit) << int(Plain) << true;
}

void TestSpinBoxDraw::panelPrimitivesSuppressed()
{
    QFETCH(int, element);
    QFETCH(int, widget);
    QFETCH(bool, drawn);
    struct PanelWidget : QWidget, CPanelDraw
    {
        PanelWidget()
            : CPanelDraw(this)
        {
        }
    };
    QWidget plain;
    PanelWidget panel;
    QWidget child(&panel);
    TestSpin spin;
    QWidget* const widgets[] = {&plain, &panel, &child, &spin};
    CProxyStyle style(QStyleFactory::create(QStringLiteral("fusion")));
    QStyleOptionFrame frame;
    QStyleOptionFocusRect focus;
    QStyleOption& option = element == QStyle::PE_FrameFocusRect ? static_cast<QStyleOption&>(focus) : frame;
    option.initFrom(&plain);
    option.rect = QRect(0, 0, 40, 24);
    option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
    frame.lineWidth = 1;
    const QImage image = paintAtRatio(QSize(40, 24), 1.0, [&](QPainter* painter) {
        style.drawPrimitive(QStyle::PrimitiveElement(element), &option, painter, widgets[widget]);
    });
    QCOMPARE(!isFlatImage(image), drawn);
}

TY_UI_TEST_MAIN(TestSpinBoxDraw)
#include "tst_spinboxdraw.moc"
