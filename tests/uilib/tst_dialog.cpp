#include "support/UiTestSupport.h"

#include "app/CSystemTools.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CDialog.h"
#include "uilib/controls/CDialogMessage.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CTitleBar.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CStyle.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QTimer>

#include <functional>

namespace {

// A dialog with buttons 1 and 2, 2 the default.
struct TwoButtonDialog
{
    TwoButtonDialog()
    {
        first = new CButton(11);
        second = new CButton(11);
        dialog.addButton(1, first);
        dialog.addButton(2, second, true);
    }
    CDialog dialog;
    CButton* first;
    CButton* second;
};

void sendKey(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

// Runs exec with the step queued to run inside its loop, under a watchdog.
int execWith(CDialog* dialog, const std::function<void()>& step)
{
    NestedLoopWatchdog watchdog(5000);
    QTimer::singleShot(0, dialog, step);
    return dialog->exec();
}

// A palette that stacks the icon above the message text.
class StackedPalette : public Cpalette
{
public:
    using Cpalette::Cpalette;
    QString name() const override { return QStringLiteral("StackedMessage"); }
    int metric(int id) const override { return id == 6 ? 0 : Cpalette::metric(id); }
};

} // namespace

class DialogTest : public QObject
{
    Q_OBJECT

private slots:
    void endsWithIndex_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("expected");
        QTest::newRow("Return gives the default") << "return" << 2;
        QTest::newRow("Enter gives the default") << "enter" << 2;
        QTest::newRow("Escape gives 0") << "escape" << 0;
        QTest::newRow("closing gives 0") << "close" << 0;
        QTest::newRow("title-bar close gives 0") << "titlebar" << 0;
        QTest::newRow("a click gives its index") << "click1" << 1;
        QTest::newRow("done gives its result") << "done7" << 7;
    }
    void endsWithIndex()
    {
        QFETCH(QString, step);
        QFETCH(int, expected);
        TwoButtonDialog fixture;
        CDialog* dialog = &fixture.dialog;
        const int result = execWith(dialog, [&] {
            if (step == "return")
                sendKey(dialog, Qt::Key_Return);
            else if (step == "enter")
                sendKey(dialog, Qt::Key_Enter);
            else if (step == "escape")
                sendKey(dialog, Qt::Key_Escape);
            else if (step == "close")
                dialog->close();
            else if (step == "titlebar")
                emit dialog->titleBar()->closeButton()->clicked();
            else if (step == "click1")
                emit fixture.first->clicked();
            else if (step == "done7")
                dialog->done(7);
        });
        QCOMPARE(result, expected);
        QVERIFY(dialog->isHidden());
    }

    void runsAgainAfterExec()
    {
        TwoButtonDialog fixture;
        QCOMPARE(execWith(&fixture.dialog, [&] { sendKey(&fixture.dialog, Qt::Key_Return); }), 2);
        QCOMPARE(execWith(&fixture.dialog, [&] { sendKey(&fixture.dialog, Qt::Key_Escape); }), 0);
    }

    void firstDefaultStays()
    {
        TwoButtonDialog fixture;
        auto* third = new CButton(11);
        fixture.dialog.addButton(3, third, true);
        QCOMPARE(fixture.dialog.defaultButton(), fixture.second);
        QCOMPARE(fixture.dialog.button(3), third);
        QCOMPARE(fixture.dialog.button(4), nullptr);
    }

    void unusableDefaultIgnoresReturn_data()
    {
        QTest::addColumn<bool>("disabled");
        QTest::newRow("disabled") << true;
        QTest::newRow("hidden") << false;
    }
    void unusableDefaultIgnoresReturn()
    {
        QFETCH(bool, disabled);
        TwoButtonDialog fixture;
        CDialog* dialog = &fixture.dialog;
        if (disabled)
            fixture.second->setEnabled(false);
        else
            fixture.second->setVisible(false);
        bool stillOpen = false;
        const int result = execWith(dialog, [&] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(dialog, &press);
            stillOpen = dialog->isVisible() && press.isAccepted();
            dialog->done(1);
        });
        QVERIFY(stillOpen);
        QCOMPARE(result, 1);
    }

    void returnWithoutDefaultGoesOn()
    {
        CDialog dialog;
        dialog.addButton(1, new CButton(11));
        QVERIFY(!dialog.defaultButton());
        const int result = execWith(&dialog, [&] {
            sendKey(&dialog, Qt::Key_Return);
            QVERIFY(dialog.isVisible());
            dialog.done(1);
        });
        QCOMPARE(result, 1);
    }

    void execWhileRunningGivesZero()
    {
        TwoButtonDialog fixture;
        int inner = -1;
        const int outer = execWith(&fixture.dialog, [&] {
            inner = fixture.dialog.exec();
            fixture.dialog.done(1);
        });
        QCOMPARE(inner, 0);
        QCOMPARE(outer, 1);
    }

    void destroyedDuringExecGivesZero()
    {
        QPointer<CDialog> dialog = new CDialog;
        dialog->addButton(1, new CButton(11), true);
        const int result = execWith(dialog, [&] { delete dialog.data(); });
        QCOMPARE(result, 0);
        QVERIFY(!dialog);
    }

    void deleteOnCloseDeletesAfterExec()
    {
        QPointer<CDialog> dialog = new CDialog;
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->addButton(5, new CButton(11), true);
        QCOMPARE(execWith(dialog, [&] { sendKey(dialog, Qt::Key_Return); }), 5);
        QVERIFY(!dialog);
    }

    void buttonRowOrderAndIndex()
    {
        CDialog dialog;
        auto* right1 = new CButton(11);
        auto* right2 = new CButton(11);
        auto* left = new CButton(11);
        QVERIFY(dialog.addButton(1, right1));
        QVERIFY(dialog.addButton(2, right2));
        QVERIFY(dialog.addButton(3, left, false, true));
        QBoxLayout* row = dialog.buttonLayout();
        QCOMPARE(row->itemAt(0)->widget(), left);
        QVERIFY(row->itemAt(1)->spacerItem());
        QCOMPARE(row->itemAt(2)->widget(), right1);
        QCOMPARE(row->itemAt(3)->widget(), right2);
        QCOMPARE(left->property("VORNPROP_ButtonIndex").toInt(), 3);
        QCOMPARE(right2->property("VORNPROP_ButtonIndex").toInt(), 2);
        QCOMPARE(right1->parentWidget(), dialog.buttonPanel());
    }

    void hidingEndsLoop_data()
    {
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("expected");
        QTest::newRow("minimised") << 16 << 0;
        QTest::newRow("minimised with option 4") << (4 | 16) << 3;
    }
    void hidingEndsLoop()
    {
        QFETCH(int, options);
        QFETCH(int, expected);
        CDialog dialog(1, options);
        bool runningWhenMinimised = false;
        const int result = execWith(&dialog, [&] {
            dialog.showMinimized();
            QTimer::singleShot(0, &dialog, [&] {
                runningWhenMinimised = true;
                dialog.done(3);
            });
        });
        QCOMPARE(result, expected);
        QCOMPARE(runningWhenMinimised, expected == 3);
    }

    void waitsForHiddenParent()
    {
        CWindow parent(16, nullptr);
        parent.resize(500, 400);
        parent.move(100, 80);
        CDialog dialog(&parent);
        dialog.resize(200, 100);
        dialog.showModeless();
        QVERIFY(dialog.isHidden());
        parent.show();
        QVERIFY(dialog.isVisible());
        QVERIFY(qAbs(dialog.geometry().center().x() - parent.geometry().center().x()) <= 1);
        QVERIFY(qAbs(dialog.geometry().center().y() - parent.geometry().center().y()) <= 1);
    }

    void hidingDropsPendingShow()
    {
        CWindow parent(16, nullptr);
        CDialog dialog(&parent);
        dialog.showModeless();
        dialog.hide();
        parent.show();
        QVERIFY(dialog.isHidden());
    }

    void messageLayoutFollowsPalette_data()
    {
        QTest::addColumn<bool>("stacked");
        QTest::newRow("beside") << false;
        QTest::newRow("stacked") << true;
    }
    void messageLayoutFollowsPalette()
    {
        QFETCH(bool, stacked);
        CStyle* style = CSystemTools::instance()->style();
        const QString previous = currentPalette()->name();
        if (stacked) {
            static QPointer<Cpalette> palette;
            if (!palette) {
                palette = new StackedPalette(style);
                style->registerPalette(palette);
            }
            QVERIFY(style->setCurrentStyle(palette->name()));
        }
        CDialogMessage message;
        style->setCurrentStyle(previous);
        auto* outer = qobject_cast<QBoxLayout*>(message.contentPanel()->layout());
        QVERIFY(outer);
        auto* messageLayout = qobject_cast<QBoxLayout*>(outer->itemAt(0)->layout());
        QVERIFY(messageLayout);
        QCOMPARE(messageLayout->direction(), stacked ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
        QVERIFY(qobject_cast<CWidgetIcon*>(messageLayout->itemAt(0)->widget()));
        QCOMPARE(messageLayout->itemAt(0)->alignment(), stacked ? Qt::AlignHCenter : Qt::Alignment());
        QCOMPARE(messageLayout->itemAt(1)->widget(), message.textLabel());
        QCOMPARE(messageLayout->stretch(1), 1);
        QVERIFY(messageLayout->itemAt(2)->spacerItem());
    }

    void emptyIconNameHidesIcon()
    {
        CDialogMessage message;
        auto* icon = message.contentPanel()->findChild<CWidgetIcon*>();
        QVERIFY(icon->isHidden());
        message.setIcon(QStringLiteral(":/uilib/titlebar-close.svg"));
        QVERIFY(!icon->isHidden());
        message.setIcon(QString());
        QVERIFY(icon->isHidden());
    }

    void linkedEditDrivesDefault_data()
    {
        QTest::addColumn<bool>("editFirst");
        QTest::addColumn<bool>("noLink");
        QTest::newRow("button, then edit") << false << false;
        QTest::newRow("edit, then button") << true << false;
        QTest::newRow("not linked") << false << true;
    }
    void linkedEditDrivesDefault()
    {
        QFETCH(bool, editFirst);
        QFETCH(bool, noLink);
        CDialogMessage message;
        auto* edit = new QLineEdit;
        auto* ok = new CButton(11);
        if (editFirst)
            message.addExtraWidget(edit, noLink);
        message.addButton(1, ok, true);
        if (!editFirst)
            message.addExtraWidget(edit, noLink);
        message.showModeless();
        QCOMPARE(ok->isEnabled(), noLink);
        edit->setText(QStringLiteral("a"));
        QVERIFY(ok->isEnabled());
        edit->clear();
        QCOMPARE(ok->isEnabled(), noLink);
        // An empty box ignores Return, and Escape still ends it.
        if (!noLink) {
            const int result = execWith(&message, [&] {
                sendKey(&message, Qt::Key_Return);
                QVERIFY(message.isVisible());
                sendKey(&message, Qt::Key_Escape);
            });
            QCOMPARE(result, 0);
        }
    }

    void overlongWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wrapAnywhere");
        const QString w100(100, QLatin1Char('a'));
        QTest::newRow("120 characters") << QString(120, QLatin1Char('b')) << true;
        QTest::newRow("101 characters after words") << "Some words " + QString(101, QLatin1Char('c')) << true;
        QTest::newRow("words of 100") << w100 + " " + w100 + " " + w100 << false;
        QTest::newRow("lines of 100") << w100 + "\n" + w100 << false;
        QTest::newRow("long link address") << "<a href=\"https://example.org/" + QString(150, QLatin1Char('x'))
                                                  + "\">the file</a> is missing"
                                           << false;
        QTest::newRow("long word in rich text") << "<b>" + QString(130, QLatin1Char('d')) + "</b>" << true;
        QTest::newRow("empty") << QString() << false;
    }
    void overlongWords()
    {
        QFETCH(QString, text);
        QFETCH(bool, wrapAnywhere);
        CDialogMessage message;
        message.setText(text);
        QCOMPARE(message.textLabel()->wrapAnywhere(), wrapAnywhere);
    }

    void wrapAnywhereFollowsNewText()
    {
        CDialogMessage message;
        message.setText(QString(120, QLatin1Char('b')));
        QVERIFY(message.textLabel()->wrapAnywhere());
        message.setText(QStringLiteral("short words only"));
        QVERIFY(!message.textLabel()->wrapAnywhere());
    }
};

TY_UI_TEST_MAIN(DialogTest)
#include "tst_dialog.moc"
