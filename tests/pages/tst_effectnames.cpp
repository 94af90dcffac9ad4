#include <QtTest>

#include "model/MotionType.h"
#include "model/TimeText.h"
#include "model/transition/TransitionType.h"
#include "pages/EffectNames.h"

#include <climits>

class TestEffectNames : public QObject
{
    Q_OBJECT

private slots:
    void transitions_data();
    void transitions();
    void motions_data();
    void motions();
    void iconsAreDistinct();
    void minSecText_data();
    void minSecText();
    void durationText_data();
    void durationText();
};

void TestEffectNames::transitions_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("icon");
    QTest::newRow("none") << int(TransitionNone) << QStringLiteral("Нет") << ":/transition-none.svg";
    QTest::newRow("random") << int(TransitionRandom) << QStringLiteral("Случайный") << ":/transition-random.svg";
    QTest::newRow("crossfade") << int(TransitionCrossfade) << QStringLiteral("Перекрёстное растворение")
                               << ":/transition-crossfade.svg";
    QTest::newRow("last") << int(TransitionFadeToWhite) << QStringLiteral("Переход в белый")
                          << ":/transition-fadetowhite.svg";
    QTest::newRow("one past") << int(TransitionTypeCount) << QStringLiteral("Неизвестно") << QString();
    QTest::newRow("negative") << -1 << QStringLiteral("Неизвестно") << QString();
    QTest::newRow("lowest") << INT_MIN << QStringLiteral("Неизвестно") << QString();
}

void TestEffectNames::transitions()
{
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QString, icon);
    QCOMPARE(transitionName(type), name);
    QCOMPARE(transitionIcon(type), icon);
}

// The enumerators name the edge the crop is held at: the picture moves on the other side.
void TestEffectNames::motions_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("icon");
    QTest::newRow("none") << int(MotionNone) << QStringLiteral("Нет") << ":/motion-none.svg";
    QTest::newRow("random") << int(MotionRandom) << QStringLiteral("Случайное") << ":/motion-random.svg";
    QTest::newRow("held right") << int(MotionZoomInRight) << QStringLiteral("Увеличение слева")
                                << ":/motion-zoom-in-left.svg";
    QTest::newRow("held left") << int(MotionZoomInLeft) << QStringLiteral("Увеличение справа")
                               << ":/motion-zoom-in-right.svg";
    QTest::newRow("out held right") << int(MotionZoomOutRight) << QStringLiteral("Уменьшение слева")
                                    << ":/motion-zoom-out-left.svg";
    QTest::newRow("last") << int(MotionZoomOutLeft) << QStringLiteral("Уменьшение справа")
                          << ":/motion-zoom-out-right.svg";
    QTest::newRow("one past") << 12 << QStringLiteral("Неизвестно") << QString();
    QTest::newRow("negative") << -1 << QStringLiteral("Неизвестно") << QString();
}

void TestEffectNames::motions()
{
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QString, icon);
    QCOMPARE(motionName(type), name);
    QCOMPARE(motionIcon(type), icon);
}

void TestEffectNames::iconsAreDistinct()
{
    QSet<QString> seen;
    QSet<QString> names;
    for (int type = 0; type < TransitionTypeCount; ++type) {
        seen << transitionIcon(type);
        names << transitionName(type);
    }
    QCOMPARE(seen.size(), int(TransitionTypeCount));
    QCOMPARE(names.size(), int(TransitionTypeCount));
    seen.clear();
    names.clear();
    for (int type = MotionNone; type <= MotionZoomOutLeft; ++type) {
        seen << motionIcon(type);
        names << motionName(type);
    }
    QCOMPARE(seen.size(), 12);
    QCOMPARE(names.size(), 12);
}

void TestEffectNames::minSecText_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "00:00";
    QTest::newRow("rounds down") << qint64(499) << "00:00";
    QTest::newRow("rounds up") << qint64(500) << "00:01";
    QTest::newRow("to the next minute") << qint64(59500) << "01:00";
    QTest::newRow("minutes and seconds") << qint64(61500) << "01:02";
    QTest::newRow("no hours") << qint64(3600000) << "60:00";
    QTest::newRow("three digits") << qint64(6000000) << "100:00";
}

void TestEffectNames::minSecText()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(msecsToMinSecText(ms), text);
}

void TestEffectNames::durationText_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("cut off") << qint64(999) << "0:00:00";
    QTest::newRow("seconds") << qint64(59999) << "0:00:59";
    QTest::newRow("hour minutes seconds") << qint64(3725000) << "1:02:05";
    QTest::newRow("hours unpadded") << qint64(36000000) << "10:00:00";
    QTest::newRow("past 32 bits") << qint64(360000000000) << "100000:00:00";
}

void TestEffectNames::durationText()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(msecsToDurationText(ms), text);
}

QTEST_GUILESS_MAIN(TestEffectNames)
#include "tst_effectnames.moc"
