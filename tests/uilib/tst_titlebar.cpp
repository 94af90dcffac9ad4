#include "support/UiTestSupport.h"
#include "support/WindowMouse.h"

#include "uilib/controls/CButton.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetText.h"

#include <QHBoxLayout>
#include <QSignalSpy>
#include <QVBoxLayout>

namespace {

// A window with a title bar on top.
struct TitledWindow
{
    TitledWindow()
    {
        window.resize(600, 200);
        bar = new CTitleBar(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(bar);
        layout->addStretch(1);
    }
    QWidget window;
    CTitleBar* bar;
};

QList<bool> shownButtons(const CTitleBar* bar)
{
    return {!bar->minimiseButton()->isHidden(), !bar->maximiseButton()->isHidden(),
            !bar->restoreButton()->isHidden(), !bar->closeButton()->isHidden()};
}

} // namespace

class TitleBarTest : public QObject
{
    Q_OBJECT

private slots:
    void buttonsByBitsAndState_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<QList<bool>>("normal");
        QTest::addColumn<QList<bool>>("maximised");
        QTest::newRow("all") << 7 << QList<bool>{true, true, false, true} << QList<bool>{true, false, true, true};
        QTest::newRow("close only") << 4 << QList<bool>{false, false, false, true}
                                    << QList<bool>{false, false, false, true};
        QTest::newRow("maximise and close") << 6 << QList<bool>{false, true, false, true}
                                            << QList<bool>{false, false, true, true};
    }
    void buttonsByBitsAndState()
    {
        QFETCH(int, bits);
        QFETCH(QList<bool>, normal);
        QFETCH(QList<bool>, maximised);
        TitledWindow titled;
        titled.bar->setButtons(bits);
        titled.window.show();
        QCOMPARE(shownButtons(titled.bar), normal);
        titled.window.showMaximized();
        QCOMPARE(shownButtons(titled.bar), maximised);
        titled.window.showNormal();
        QCOMPARE(shownButtons(titled.bar), normal);
    }

    void toolTips()
    {
        TitledWindow titled;
        QCOMPARE(titled.bar->minimiseButton()->toolTip(), QStringLiteral("Свернуть"));
        QCOMPARE(titled.bar->maximiseButton()->toolTip(), QStringLiteral("Развернуть на весь экран"));
        QCOMPARE(titled.bar->restoreButton()->toolTip(), QStringLiteral("Восстановить размер окна"));
        QCOMPARE(titled.bar->closeButton()->toolTip(), QStringLiteral("Закрыть"));
    }

    void buttonsActOnWindow()
    {
        TitledWindow titled;
        titled.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&titled.window));
        sendClick(titled.bar->maximiseButton());
        QTRY_VERIFY(titled.window.isMaximized());
        sendClick(titled.bar->restoreButton());
        QTRY_VERIFY(!titled.window.isMaximized());
        sendClick(titled.bar->closeButton());
        QTRY_VERIFY(!titled.window.isVisible());
    }

    void titleCentredOverWiderRightSide()
    {
        TitledWindow titled;
        titled.bar->titleLabel()->setText(QStringLiteral("Title"));
        auto* extra = new QWidget;
        extra->setFixedWidth(150);
        titled.bar->extraLayout()->addWidget(extra);
        titled.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&titled.window));
        QTRY_VERIFY(titled.bar->spacerBefore()->width() > 0);
        QCOMPARE(titled.bar->spacerAfter()->width(), 0);
        const QRect title = titled.bar->titleLabel()->geometry();
        QVERIFY2(qAbs(title.center().x() - titled.bar->rect().center().x()) <= 1,
                 qPrintable(QStringLiteral("title %1..%2 in %3").arg(title.left()).arg(title.right())
                                .arg(titled.bar->width())));
    }

    void leftAlignedTitleHasNoSpacers()
    {
        TitledWindow titled;
        titled.bar->titleLabel()->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        titled.bar->setButtons(4);
        QCOMPARE(titled.bar->spacerBefore()->maximumWidth(), 0);
        QCOMPARE(titled.bar->spacerAfter()->maximumWidth(), 0);
    }
};

TY_UI_TEST_MAIN(TitleBarTest)
#include "tst_titlebar.moc"
