#include "app/CSystemTools.h"
#include "uilib/style/CDrawable.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QTest>

namespace {

class Drawable : public CDrawable
{
public:
    Drawable() : CDrawable(0) {}
    void applyStyle() override { ++restyled; }
    int restyled = 0;
};

} // namespace

// Library objects under an application that is not a CApplicaiton.
class TestPlainApplication : public QObject
{
    Q_OBJECT
private slots:
    void noService();
};

void TestPlainApplication::noService()
{
    QVERIFY(!CSystemTools::instance());
    Cpalette* palette = currentPalette();
    QVERIFY(palette);
    QCOMPARE(palette->name(), QStringLiteral("Cpalette"));
    QCOMPARE(currentPalette(), palette);
    {
        Drawable drawable;
        drawable.setStyleKind(2);
        QCOMPARE(drawable.restyled, 1);
    }
    delete palette;
    QVERIFY(currentPalette());
}

QTEST_MAIN(TestPlainApplication)
#include "tst_plainapplication.moc"
