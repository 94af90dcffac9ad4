#include "support/UiTestSupport.h"

#include "uilib/controls/CTextEdit.h"
#include "uilib/style/CStyle.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextDocument>
#include <QVBoxLayout>

Q_DECLARE_METATYPE(QMargins)

namespace {

const QString Words = QStringLiteral("a slide show of summer photos with music and captions that wrap ");

// The height of the text laid out in a document of its own with the edit's font and margin.
int documentHeight(const CTextEdit& edit, const QString& text, int textWidth)
{
    QTextDocument document;
    document.setDefaultFont(edit.document()->defaultFont());
    document.setDocumentMargin(4.0);
    document.setPlainText(text);
    document.setTextWidth(textWidth);
    return qRound(document.size().height());
}

} // namespace

class TestTextEdit : public QObject
{
    Q_OBJECT
private slots:
    void looksByKind_data();
    void looksByKind();
    void heightFollowsWrappedDocument_data();
    void heightFollowsWrappedDocument();
    void growingEditInLayout();
    void minimumSizeHint();
    void viewportMargins_data();
    void viewportMargins();
    void scrollBarsInsideBorder();
    void setText_data();
    void setText();
    void focusSignals();
    void keyPressPaintsOnce();
};

void TestTextEdit::looksByKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("grows");
    QTest::newRow("default 34") << 34 << false;
    QTest::newRow("growing 35") << 35 << true;
    QTest::newRow("foreign kind 30") << 30 << false;
}

void TestTextEdit::looksByKind()
{
    QFETCH(int, kind);
    QFETCH(bool, grows);
    CTextEdit edit(kind, nullptr);
    Cpalette* palette = currentPalette();
    QCOMPARE(edit.backgroundColors(), palette->colorSet(4));
    QCOMPARE(edit.borderColors(), palette->colorSet(5));
    QCOMPARE(edit.padding(), palette->margins(7));
    QCOMPARE(edit.palette().color(QPalette::Active, QPalette::Text), palette->textColor());
    // A scroll area takes no minimum height from the box look.
    QCOMPARE(edit.minimumHeight(), 0);
    QCOMPARE(edit.fitToDocument(), grows);
    QCOMPARE(edit.hasHeightForWidth(), grows);
    const QSizePolicy::Policy policy = grows ? QSizePolicy::Preferred : QSizePolicy::Expanding;
    QCOMPARE(edit.sizePolicy().horizontalPolicy(), policy);
    QCOMPARE(edit.sizePolicy().verticalPolicy(), policy);
    if (!grows)
        QCOMPARE(edit.heightForWidth(300), -1);
    QCOMPARE(CTextEdit().styleKind(), 34);
}

void TestTextEdit::heightFollowsWrappedDocument_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("textWidth");
    const QString longText = Words.repeated(4);
    // The panel's own width (1 + 8 on each side) comes off the width.
    QTest::newRow("one short line") << "Caption" << 300 << 282;
    QTest::newRow("long text wraps") << longText << 300 << 282;
    QTest::newRow("long text, narrower") << longText << 150 << 132;
    QTest::newRow("empty") << "" << 300 << 282;
    QTest::newRow("width below the panel: 10 px") << longText << 5 << 10;
    QTest::newRow("zero width: 10 px") << longText << 0 << 10;
    QTest::newRow("multiple lines") << "one\ntwo\nthree" << 300 << 282;
}

void TestTextEdit::heightFollowsWrappedDocument()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, textWidth);
    CTextEdit edit(35, nullptr);
    edit.setPlainText(text);
    const QMargins frame = edit.borderWidths() + edit.padding() + edit.margins();
    QCOMPARE(frame.left() + frame.right(), 18);
    const int panelHeight = frame.top() + frame.bottom();
    QCOMPARE(edit.heightForWidth(width), panelHeight - 8 + documentHeight(edit, text, textWidth));
    // The edit's own document is left as it was.
    QCOMPARE(edit.toPlainText(), text);
}

void TestTextEdit::growingEditInLayout()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new CTextEdit(35, &window);
    layout->addWidget(edit);
    layout->addStretch();
    window.resize(260, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(edit->height(), edit->heightForWidth(edit->width()));
    const int oneLine = edit->height();
    QSignalSpy sizeChanged(edit->document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged);
    edit->setPlainText(Words.repeated(6));
    QVERIFY(sizeChanged.size() > 0);
    QTRY_VERIFY(edit->height() > oneLine * 2);
    QCOMPARE(edit->height(), edit->heightForWidth(edit->width()));
    // Shrinking the text gives the room back.
    edit->setPlainText(QStringLiteral("short"));
    QTRY_COMPARE(edit->height(), oneLine);
    // Without growing the layout no longer follows the document.
    edit->setFitToDocument(false);
    QVERIFY(!edit->hasHeightForWidth());
    edit->setPlainText(Words.repeated(6));
    QCOMPARE(edit->heightForWidth(edit->width()), -1);
}

void TestTextEdit::minimumSizeHint()
{
    CTextEdit growing(35, nullptr);
    const QMargins frame = growing.borderWidths() + growing.padding() + growing.margins();
    const int line = QFontMetrics(growing.document()->defaultFont()).lineSpacing();
    QCOMPARE(growing.minimumSizeHint().height(), line + frame.top() + frame.bottom());
    QCOMPARE(growing.minimumSizeHint().width(), growing.QPlainTextEdit::minimumSizeHint().width());
    CTextEdit plain(34, nullptr);
    QCOMPARE(plain.minimumSizeHint(), plain.QPlainTextEdit::minimumSizeHint());
    // Size hints: (16, 16) while the size-adjust policy is ignored, else the minimum.
    QCOMPARE(plain.sizeHint(), QSize(16, 16));
    growing.setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    QCOMPARE(growing.sizeHint(), growing.minimumSizeHint());
}

void TestTextEdit::viewportMargins_data()
{
    QTest::addColumn<QMargins>("padding");
    QTest::addColumn<QMargins>("viewport");
    QTest::newRow("palette padding") << QMargins(8, 0, 8, 0) << QMargins(4, -4, 4, -4);
    QTest::newRow("small padding stays negative") << QMargins(2, 2, 2, 2) << QMargins(-2, -2, -2, -2);
    QTest::newRow("exactly the document margin") << QMargins(4, 4, 4, 4) << QMargins(0, 0, 0, 0);
}

void TestTextEdit::viewportMargins()
{
    QFETCH(QMargins, padding);
    QFETCH(QMargins, viewport);
    QWidget window;
    auto* edit = new CTextEdit(34, &window);
    edit->setPadding(padding);
    edit->setGeometry(0, 0, 200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(edit->viewport()->geometry(), edit->rect().marginsRemoved(viewport));
}

void TestTextEdit::scrollBarsInsideBorder()
{
    QWidget window;
    auto* edit = new CTextEdit(34, &window);
    edit->setBorderWidths(QMargins(3, 2, 5, 4));
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setPlainText(Words.repeated(5) + QStringLiteral("\n").repeated(40));
    edit->setGeometry(0, 0, 220, 140);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* horizontal = edit->horizontalScrollBar()->parentWidget();
    QWidget* vertical = edit->verticalScrollBar()->parentWidget();
    QTRY_COMPARE(vertical->geometry().topRight(), QPoint(220 - 5 - 1, 2));
    QCOMPARE(vertical->geometry().bottom(), 140 - 4 - horizontal->height() - 1);
    QCOMPARE(horizontal->geometry().bottomLeft(), QPoint(3, 140 - 4 - 1));
    QCOMPARE(horizontal->geometry().right(), 220 - 5 - vertical->width() - 1);
    QCOMPARE(edit->cornerWidget()->geometry(),
             QRect(vertical->x(), horizontal->y(), vertical->width(), horizontal->height()));
    // A later resize keeps them inside.
    edit->resize(260, 160);
    QCOMPARE(vertical->geometry().topRight(), QPoint(260 - 5 - 1, 2));
    QCOMPARE(horizontal->geometry().bottomLeft(), QPoint(3, 160 - 4 - 1));
}

void TestTextEdit::setText_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("silently");
    QTest::addColumn<int>("emitted");
    QTest::newRow("same text") << "caption" << "caption" << false << 0;
    QTest::newRow("new text") << "caption" << "other" << false << 1;
    QTest::newRow("same text silently") << "caption" << "caption" << true << 0;
    QTest::newRow("new text silently") << "caption" << "other" << true << 0;
    QTest::newRow("emptied") << "caption" << "" << false << 1;
}

void TestTextEdit::setText()
{
    QFETCH(QString, initial);
    QFETCH(QString, text);
    QFETCH(bool, silently);
    QFETCH(int, emitted);
    CTextEdit edit(34, nullptr);
    edit.setPlainText(initial);
    QSignalSpy changed(&edit, &CTextEdit::plainTextChanged);
    QSignalSpy textChanged(&edit, &QPlainTextEdit::textChanged);
    if (silently)
        edit.setTextSilently(text);
    else
        edit.setTextIfChanged(text);
    QCOMPARE(edit.toPlainText(), text);
    QCOMPARE(changed.size(), emitted);
    QCOMPARE(textChanged.size(), emitted);
    if (emitted)
        QCOMPARE(changed.first().first().toString(), text);
    // Blocking is restored.
    QVERIFY(!edit.signalsBlocked());
}

void TestTextEdit::focusSignals()
{
    QWidget window;
    auto* edit = new CTextEdit(34, &window);
    auto* other = new CTextEdit(34, &window);
    other->move(0, 120);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    qRegisterMetaType<Qt::FocusReason>();
    QSignalSpy focused(edit, &CTextEdit::focused);
    QSignalSpy lost(edit, &CTextEdit::focusLost);
    edit->setFocus(Qt::TabFocusReason);
    QCOMPARE(focused.size(), 1);
    QCOMPARE(focused.first().first().value<Qt::FocusReason>(), Qt::TabFocusReason);
    other->setFocus();
    QCOMPARE(lost.size(), 1);
}

void TestTextEdit::keyPressPaintsOnce()
{
    KeyRecordingWindow window;
    auto* edit = new CTextEdit(34, &window);
    QVERIFY(window.focusChild(edit));
    QTest::keyClick(edit, Qt::Key_A);
    // Repaints wait for the next pass of the event loop, then come back on.
    QVERIFY(!edit->updatesEnabled());
    QCOMPARE(edit->toPlainText(), QStringLiteral("a"));
    QTRY_VERIFY(edit->updatesEnabled());
}

TY_UI_TEST_MAIN(TestTextEdit)
#include "tst_textedit.moc"
