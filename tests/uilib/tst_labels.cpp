#include "support/UiTestSupport.h"

#include "uilib/controls/CWidgetIcon.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWidgetTextIcon.h"
#include "uilib/style/CIcon.h"
#include "uilib/style/COpacityEffect.h"

#include <QSignalSpy>

namespace {
const QString LongText = QStringLiteral("A caption far too long for a narrow label");
}

class TestLabels : public QObject
{
    Q_OBJECT
private slots:
    void plainTextElidesWhileNarrow();
    void richTextIsNeverElided();
    void elidingMinimumWidthAndPolicy();
    void kindEightElidesRight();
    void textChangedOncePerChange();
    void wrapAnywhereBreaksLongWord_data();
    void wrapAnywhereBreaksLongWord();
    void linkInsideBrokenWordStillWorks();
    void disabledLabelFades();
    void iconAlignmentAndSizes();
    void disabledIconPaintsFainter();
    void textIconPaintsLikeButton();
};

void TestLabels::plainTextElidesWhileNarrow()
{
    CWidgetText label;
    label.setElideMode(Qt::ElideRight);
    label.setText(LongText);
    const int whole = label.fontMetrics().horizontalAdvance(LongText);
    label.resize(whole / 2, 30);
    label.show();
    label.grab();
    QVERIFY(label.isElided());
    label.resize(whole + 20, 30);
    label.grab();
    QVERIFY(!label.isElided());
}

void TestLabels::richTextIsNeverElided()
{
    CWidgetText label;
    label.setElideMode(Qt::ElideRight);
    label.setText("<b>" + LongText + "</b>");
    label.resize(40, 30);
    label.show();
    label.grab();
    QVERIFY(!label.isElided());
}

void TestLabels::elidingMinimumWidthAndPolicy()
{
    CWidgetText label;
    label.setContentsMargins(2, 1, 3, 1);
    label.setText(LongText);
    label.setElideMode(Qt::ElideRight);
    QCOMPARE(label.sizePolicy().horizontalPolicy(), QSizePolicy::Maximum);
    const QFontMetrics metrics(label.font());
    QCOMPARE(label.minimumSizeHint().width(), metrics.boundingRect("...").width() + 5);
    label.resize(60, 30);
    label.grab();
    QCOMPARE(label.minimumSizeHint().width(), metrics.boundingRect("A...").width() + 5);
    label.setElideMode(Qt::ElideNone);
    QCOMPARE(label.sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
}

void TestLabels::kindEightElidesRight()
{
    CWidgetText label(8);
    QCOMPARE(label.elideMode(), Qt::ElideRight);
}

void TestLabels::textChangedOncePerChange()
{
    CWidgetText label;
    QSignalSpy spy(&label, &CWidgetText::textChanged);
    label.setText("one");
    label.setText("one");
    QCOMPARE(spy.size(), 1);
    label.setText("two");
    QCOMPARE(spy.size(), 2);
}

void TestLabels::wrapAnywhereBreaksLongWord_data()
{
    QTest::addColumn<QString>("text");
    const QString word(120, QLatin1Char('w'));
    QTest::newRow("plain") << word;
    QTest::newRow("rich") << "<b>w</b>" + word.mid(1);
}

void TestLabels::wrapAnywhereBreaksLongWord()
{
    QFETCH(QString, text);
    CWidgetText label;
    label.setWordWrap(true);
    label.setText(text);
    const int lineHeight = QFontMetrics(label.font()).height();
    QVERIFY(label.heightForWidth(200) < 2 * lineHeight);
    label.setWrapAnywhere(true);
    QVERIFY(label.heightForWidth(200) > 3 * lineHeight);
    label.resize(200, label.heightForWidth(200));
    label.show();
    QVERIFY(!isFlatImage(label.grab().toImage()));
    label.setWrapAnywhere(false);
    QVERIFY(label.heightForWidth(200) < 2 * lineHeight);
}

void TestLabels::linkInsideBrokenWordStillWorks()
{
    CWidgetText label;
    label.setWordWrap(true);
    label.setText("<a href=\"go\">wwww</a>" + QString(116, QLatin1Char('w')));
    label.setWrapAnywhere(true);
    label.resize(200, label.heightForWidth(200));
    label.show();
    label.grab();
    QSignalSpy spy(&label, &QLabel::linkActivated);
    const QFontMetrics metrics(label.font());
    const QPoint pos = label.contentsRect().topLeft() + QPoint(metrics.horizontalAdvance("ww"), metrics.height() / 2);
    QTest::mouseMove(&label, pos);
    QTest::mouseClick(&label, Qt::LeftButton, Qt::NoModifier, pos);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("go"));
    QVERIFY(label.heightForWidth(200) > 3 * metrics.height());
}

void TestLabels::disabledLabelFades()
{
    ManualAnimationClock clock;
    CWidgetText label;
    label.setText("Faded");
    label.show();
    label.setEnabled(false);
    clock.advance(2000);
    auto* effect = dynamic_cast<COpacityEffect*>(label.graphicsEffect());
    QVERIFY(effect);
    QVERIFY(effect->opacity() < 1.0);
    label.setEnabled(true);
    clock.advance(2000);
    QCOMPARE(effect->opacity(), 1.0);
}

void TestLabels::iconAlignmentAndSizes()
{
    CWidgetIcon empty;
    QCOMPARE(int(empty.alignment()), 132);
    empty.setContentsMargins(2, 3, 4, 5);
    QCOMPARE(empty.minimumSizeHint(), QSize(-1 + 6, -1 + 8));
    QTemporaryDir dir;
    const QString path = writeSquareSvg(dir.filePath("square.svg"), 16, "#ff0000");
    CWidgetIcon icon(path);
    icon.setContentsMargins(1, 1, 1, 1);
    QCOMPARE(icon.sizeHint(), icon.icon()->defaultSize() + QSize(2, 2));
    icon.setIconSize(QSize(24, 24));
    QCOMPARE(icon.sizeHint(), QSize(26, 26));
}

void TestLabels::disabledIconPaintsFainter()
{
    QTemporaryDir dir;
    const QString path = writeSquareSvg(dir.filePath("square.svg"), 16, "#ff0000");
    CWidgetIcon icon(path);
    icon.setIconSize(QSize(16, 16));
    icon.resize(16, 16);
    const int enabled = renderWidget(&icon, 1.0).pixelColor(8, 8).alpha();
    icon.setEnabled(false);
    const int disabled = renderWidget(&icon, 1.0).pixelColor(8, 8).alpha();
    QCOMPARE(enabled, 255);
    QVERIFY(qAbs(disabled - qRound(0.7 * 255)) <= 2);
}

void TestLabels::textIconPaintsLikeButton()
{
    CWidgetTextIcon widget(12);
    widget.setText("Shown");
    QVERIFY(widget.sizeHint().width() >= QFontMetrics(widget.textFont()).horizontalAdvance("Shown"));
    widget.resize(widget.sizeHint());
    QVERIFY(!isFlatImage(renderWidget(&widget, 1.0)));
}

TY_UI_TEST_MAIN(TestLabels)
#include "tst_labels.moc"
