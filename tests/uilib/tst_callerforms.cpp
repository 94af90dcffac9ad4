#include "support/UiTestSupport.h"

#include "uilib/controls/CBorder.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CButtonMenuItem.h"
#include "uilib/controls/CComboBase.h"
#include "uilib/controls/CDialog.h"
#include "uilib/controls/CDialogMessage.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/COverlay.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CProgressBar.h"
#include "uilib/controls/CScrollArea.h"
#include "uilib/controls/CShadowInner.h"
#include "uilib/controls/CSlider.h"
#include "uilib/controls/CStartScreen.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetBase.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWidgetTextIcon.h"
#include "uilib/controls/CWindow.h"
#include "uilib/controls/CWindowMenu.h"
#include "uilib/controls/CWindowPopup.h"
#include "uilib/style/CPainterScope.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>

#include <type_traits>

namespace {

template <class Form>
constexpr bool hasForm(Form)
{
    return true;
}

} // namespace

// Every form in which the application shell and the pages call the controls, written as they call
// them. It only has to compile; it never runs.
void callerForms(QWidget* parent)
{
    CButton plain(parent);
    CButton kind(11, parent, true);
    CButton withIcon(11, QStringLiteral(":/uilib/titlebar-close.svg"), parent, false);
    QObject::connect(&plain, &CButton::clicked, [] {});
    QObject::connect(&plain, &CButton::toggled, [](bool) {});
    QObject::connect(&plain, &CButton::hovered, [] {});
    QObject::connect(&plain, &CButton::leaved, [] {});
    plain.setText(QStringLiteral("Text"));
    plain.setCheckable(true);
    plain.setChecked(plain.isChecked() || plain.isHovered());
    plain.setCheckedAndEmit(true);
    plain.setExclusive(true);
    plain.setTransparentForMouse(true);

    CButtonMenuItem menuButton(11, QStringLiteral(":/uilib/titlebar-close.svg"), 8, 1, parent, false);
    menuButton.setPopupOffset(1, 2);
    menuButton.setPopupPosition(4);
    menuButton.showPopup();
    CWindowMenu* popup = menuButton.popup();
    if (menuButton.isPopupVisible())
        menuButton.closePopup();

    CComboBase combo(1032, QSizePolicy::Preferred, 2, parent, false);
    QObject::connect(&combo, &CComboBase::currentDataChanged, [](QVariant) {});
    QObject::connect(&combo, &CComboBase::itemClicked, [] {});
    CButton* item = combo.addItem(QVariant(1), QStringLiteral("One"));
    combo.setItems(QVariantList{1, 2});
    combo.setItemText(QVariant(1), QStringLiteral("One"));
    combo.setCurrentData(QVariant(2), QString());
    combo.setCurrentDataSilently(combo.currentData(), QString());
    item->setVisible(combo.itemStyleKind() == 19);

    CDialog dialog(1, 16, parent, CWindow::Default, false);
    CDialog shortDialog(parent, CWindow::Default, false);
    dialog.addButton(1, new CButton(11, &dialog, false), true, false);
    QBoxLayout* buttonLayout = dialog.buttonLayout();
    CPanel* buttonPanel = dialog.buttonPanel();
    CPanel* contentPanel = dialog.contentPanel();
    CButton* defaultButton = dialog.defaultButton();
    Q_UNUSED(buttonLayout)
    Q_UNUSED(buttonPanel)
    Q_UNUSED(contentPanel)
    Q_UNUSED(defaultButton)
    dialog.done(dialog.exec(CWindow::CenteredOnParent));

    CDialogMessage message(parent, false);
    message.addExtraWidget(new QLineEdit(&message), false);
    message.setIcon(QStringLiteral(":/uilib/titlebar-close.svg"));
    message.setSpacing(8);
    message.setText(QStringLiteral("Text"));
    CWidgetText* label = message.textLabel();
    QObject::connect(label, &QLabel::linkActivated, [](const QString&) {});

    CLinEdit edit(29, parent);
    CLinEdit password(32, parent);
    edit.addTrailingWidget(new QWidget(&edit));
    edit.setFitToText(true);
    edit.setIcon(QStringLiteral(":/uilib/titlebar-close.svg"));
    edit.setIconColors(ColorSet(Qt::black));
    edit.setIconMargins(4, 0, 4, 0);

    COverlay overlay(parent);
    overlay.setVisible(true);

    CPanel panel(1052, parent, false);
    CPanel plainPanel(parent, false);

    CScrollArea area(-1, parent, false);
    area.shadowInner()->setEdgeShadows(Qt::TopEdge | Qt::BottomEdge, 42, 9);

    CShadowInner inner(parent, parent);
    inner.setEdgeShadows(Qt::TopEdge | Qt::BottomEdge, 42, 9);

    CWidgetBase base(parent, Qt::WindowFlags());
    QObject::connect(&base, &CWidgetBase::showed, [] {});
    QObject::connect(&base, &CWidgetBase::hided, [] {});
    QObject::connect(&base, &CWidgetBase::visibilityChanged, [](bool) {});
    QObject::connect(&base, &CWidgetBase::resized, [](QSize) {});

    CWidgetIcon icon(QStringLiteral(":/uilib/titlebar-close.svg"), parent);
    CWidgetIcon iconFromText(":/uilib/titlebar-close.svg", parent);
    icon.setIconColor(Qt::red);
    iconFromText.setIconName(":/uilib/titlebar-close.svg");

    CWidgetText text(1062, parent);
    QObject::connect(&text, &CWidgetText::textChanged, [] {});
    text.setElideMode(Qt::ElideRight);

    CWidgetTextIcon textIcon(1, QStringLiteral(":/uilib/titlebar-close.svg"), parent, false);
    CWidgetTextIcon textOnly(1, parent, false);

    CWindowMenu menu(Qt::Vertical, parent, CWindow::Default, false);
    CWindowMenu styledMenu(3, Qt::Vertical, parent, CWindow::Default, false);
    menu.addActionItem(QString(), QStringLiteral("Action"), [] {});
    menu.addButtonItem(16, QString());
    menu.addWidget(new QWidget);
    menu.ensureItemVisible(popup);
    QBoxLayout* itemLayout = menu.itemLayout();
    Q_UNUSED(itemLayout)
    menu.setCloseOnItemClick(false);
    menu.setScrollable(2, -1);
    menu.scrollArea();
    menu.showAtCursor();
    menu.addPassThroughWidget(&plain);
    menu.removePassThroughWidget(&plain);

    CWindow window(0, 16, parent, CWindow::Default, false, QStringLiteral("Window"));
    window.border()->setMargins(4, 4, 4, 4);
    window.contentWidget();
    window.titleBar()->extraLayout();
    window.titleBar()->iconWidget();
    window.titleBar()->titleLabel();
    window.setTitle(QStringLiteral("Title"));
    window.showNextToRect(QRect(0, 0, 10, 10), 8, 1, true, QPoint(), 1);
    window.showWindow(CWindow::CenteredOnParent);

    CStartScreen splash(QRect(0, 0, 1280, 1024), QPixmap(), QStringLiteral("1.1.3"), 2000, 0, 0, 0, true,
                        QPoint(0, 0), QPoint(50, 104), QColor(Qt::transparent), QColor(Qt::white), 1);
    splash.setFont(QFont(QStringLiteral("Segoe UI Semibold")));
    splash.finishWith(&window);
    splash.finishWith(nullptr);
}

// One behaviour of each form whose arguments read differently from what they do.
class CallerFormsTest : public QObject
{
    Q_OBJECT

private slots:
    void slider()
    {
        static_assert(std::is_constructible_v<CSlider, int, Qt::Orientation, QWidget*>);
        static_assert(std::is_base_of_v<QAbstractSlider, CSlider>);
        static_assert(hasForm<CButton* (CSlider::*)() const>(&CSlider::handleButton));
        static_assert(hasForm<bool (CSlider::*)() const>(&CSlider::isAnimated));
        static_assert(hasForm<void (CSlider::*)(bool)>(&CSlider::setAnimated));
        static_assert(hasForm<void (CSlider::*)(const QColor&, const QColor&)>(&CSlider::setGrooveColors));
        static_assert(hasForm<void (CSlider::*)(int, int)>(&CSlider::setGrooveMetrics));
        static_assert(hasForm<void (CSlider::*)(int)>(&CSlider::setValueSilently));
        static_assert(hasForm<void (QAbstractSlider::*)()>(&CSlider::sliderPressed));
        static_assert(hasForm<void (QAbstractSlider::*)(int)>(&CSlider::valueChanged));
    }

    void progressBar()
    {
        static_assert(std::is_constructible_v<CProgressBar, int, QWidget*, bool>);
        static_assert(std::is_base_of_v<QProgressBar, CProgressBar>);
        static_assert(hasForm<void (CProgressBar::*)(bool)>(&CProgressBar::setTaskbarProgressVisible));
    }

    void dialogButtonsAreButtons()
    {
        CDialog dialog;
        auto* ok = new CButton(11);
        QVERIFY(dialog.addButton(3, ok, true, false));
        QCOMPARE(dialog.defaultButton(), ok);
        QCOMPARE(dialog.button(3), ok);
    }

    void messageSecondArgumentDefersStyle()
    {
        CDialogMessage message(nullptr, true);
        QCOMPARE(message.styleKind(), 2);
    }

    void extraWidgetFlagAllowsEmpty()
    {
        CDialogMessage message;
        auto* ok = new CButton(11);
        message.addButton(1, ok, true);
        message.addExtraWidget(new QLineEdit, true);
        QVERIFY(ok->isEnabled());
    }

    void shortMenuFormIsMenuKindWithOrientation()
    {
        CWindowMenu menu(Qt::Horizontal);
        QCOMPARE(menu.styleKind(), 3);
        QCOMPARE(menu.itemLayout()->direction(), QBoxLayout::LeftToRight);
    }

    void menuButtonWithIconOpensByClick()
    {
        CButtonMenuItem button(11, QStringLiteral(":/uilib/titlebar-close.svg"), 8, 1);
        QCOMPARE(button.openMode(), 0);
        QVERIFY(button.hasIcon());
    }

    void comboFlagIsWidthMode()
    {
        CComboBase combo(18, QSizePolicy::Preferred, 2);
        QCOMPARE(combo.widthMode(), 2);
        QCOMPARE(combo.sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
    }

    void fitToTextIsFixedCharacterWidthOff()
    {
        CLinEdit edit(29);
        edit.setFitToText(true);
        QVERIFY(!edit.fixedCharacterWidth());
        edit.setFitToText(false);
        QVERIFY(edit.fixedCharacterWidth());
    }

    void startScreen()
    {
        static_assert(std::is_base_of_v<QSplashScreen, CStartScreen>);
        static_assert(hasForm<void (CStartScreen::*)(CWindow*)>(&CStartScreen::finishWith));
    }

    // The shell's zeros: no dots and no tick until the minimum time; the trailing 1 puts the
    // loading text at the left.
    void startScreenShellArguments()
    {
        const QRect place = QGuiApplication::primaryScreen()->geometry();
        QPixmap picture(400, 200);
        picture.fill(Qt::black);
        CStartScreen splash(place, picture, QStringLiteral("1.1.3"), 60000, 0, 0, 0, true, QPoint(0, 0),
                            QPoint(50, 104), QColor(Qt::transparent), QColor(Qt::white), 1);
        QCOMPARE(splash.loadingText(), QStringLiteral("Loading"));
        QCOMPARE(splash.loadingRect(), QRect(50, 0, 350, 96));
        QCOMPARE(splash.geometry().center(), place.center());
        QCoreApplication::processEvents();
        QCOMPARE(splash.loadingText(), QStringLiteral("Loading"));
        QVERIFY(splash.isTicking());
        QVERIFY(!splash.isMinimumTimeOver());
    }

    void shortSetItemsKeepsOrTakesFirst()
    {
        CComboBase combo(18, QSizePolicy::Preferred, 0);
        combo.setItems(QVariantList{1, 2});
        QCOMPARE(combo.currentData(), QVariant(1));
    }
};

TY_UI_TEST_MAIN(CallerFormsTest)
#include "tst_callerforms.moc"
