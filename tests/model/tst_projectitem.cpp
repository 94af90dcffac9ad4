#include <QtTest>

#include "model/ProjectItemColor.h"
#include "model/ProjectItemFirst.h"
#include "model/ProjectItemSimple.h"
#include "model/SlideBackground.h"

#include <QJsonDocument>

#include <limits>
#include <memory>

namespace {

using ItemPtr = std::unique_ptr<ProjectItem>;

QJsonObject parse(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

ItemPtr read(const QByteArray& json)
{
    return ItemPtr(ProjectItem::fromJson(parse(json)));
}

QJsonObject written(const ProjectItem& item)
{
    QJsonObject object;
    item.writeJson(object);
    return object;
}

// The caption every slide object without "text" reads as.
void verifyAbsentCaption(const SlideText& c)
{
    QVERIFY(c.text.isEmpty());
    QVERIFY(c.font.isEmpty());
    QVERIFY(!c.text_color.isValid());
    QVERIFY(!c.bg_color.isValid());
    QCOMPARE(int(c.position), 0);
    QCOMPARE(c.transition, 0);
    QVERIFY(!c.changed);
    QCOMPARE(int(c.font_size), 0);
}

const QByteArray kCaption =
    R"({"text":"Привет","font":"Tahoma","text_color":"#112233","bg_color":"#80445566",
        "position":6,"transition":19,"changed":true,"font_size":-2})";

} // namespace

class TestProjectItem : public QObject
{
    Q_OBJECT

private slots:
    void constructorDefaults();
    void unknownType_data();
    void unknownType();
    void fullPhoto();
    void fullColor();
    void fullTitle();
    void barePhoto();
    void bareColor();
    void bareTitle();
    void time_data();
    void time();
    void writePhoto();
    void writeColor();
    void writeTitle();
    void roundTrip_data();
    void roundTrip();
    void cloneKeepsContent();
    void durations();
    void textAnimationDuration_data();
    void textAnimationDuration();
    void captionLongerThanItsSlide_data();
    void captionLongerThanItsSlide();
    void rotate_data();
    void rotate();
    void signals_();
    void backgroundRender_data();
    void backgroundRender();
    void drawTextOnlyWithText();
};

void TestProjectItem::constructorDefaults()
{
    const ProjectItemSimple photo;
    QCOMPARE(photo.time_ms(), 1000);
    QCOMPARE(photo.transition, 1);
    QVERIFY(photo.fileName().isEmpty());
    QCOMPARE(photo.angle(), 0);
    QCOMPARE(photo.motion(), 0);
    QCOMPARE(photo.text().font, QStringLiteral("Segoe UI"));
    QCOMPARE(photo.text().text_color, QColor(Qt::white));
    QCOMPARE(photo.text().bg_color, QColor(Qt::black));
    QCOMPARE(int(photo.text().position), 8);
    QCOMPARE(photo.text().transition, 27);

    const ProjectItemSimple file(QStringLiteral("/a.jpg"), 2500, 7);
    QCOMPARE(file.fileName(), QStringLiteral("/a.jpg"));
    QCOMPARE(file.time_ms(), 2500);
    QCOMPARE(file.transition, 7);

    const ProjectItemColor color(4000, 0);
    QCOMPARE(color.bgIndex(), 22);
    QCOMPARE(color.transition, 0);
    QCOMPARE(color.text().text_color, QColor(Qt::black));
    QVERIFY(!color.text().bg_color.isValid());
    QCOMPARE(int(color.text().position), 4);

    const ProjectItemFirst title(3000);
    QCOMPARE(title.time_ms(), 3000);
    QCOMPARE(title.bgIndex(), 22);
    QVERIFY(title.isVisible());
    QCOMPARE(title.text().text, QStringLiteral("Моё слайд-шоу"));
    QCOMPARE(title.text().text_color, QColor(Qt::white));
    QVERIFY(!title.text().bg_color.isValid());
    QCOMPARE(int(title.text().position), 4);
    QCOMPARE(title.text().font, QStringLiteral("Segoe UI"));
    QCOMPARE(title.text().transition, 27);
}

void TestProjectItem::unknownType_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("missing") << QByteArray(R"({"time_ms":5})");
    QTest::newRow("video") << QByteArray(R"({"type":"video"})");
    QTest::newRow("case") << QByteArray(R"({"type":"Image"})");
    QTest::newRow("not a string") << QByteArray(R"({"type":1})");
}

void TestProjectItem::unknownType()
{
    QFETCH(QByteArray, json);
    QVERIFY(!read(json));
}

void TestProjectItem::fullPhoto()
{
    const ItemPtr item = read(R"({"type":"image","time_ms":4200,"transition":13,
        "file_name":"/p/x.png","angle":90,"motion":6,"text":)" + kCaption + "}");
    auto* photo = dynamic_cast<ProjectItemSimple*>(item.get());
    QVERIFY(photo);
    QCOMPARE(photo->time_ms(), 4200);
    QCOMPARE(photo->transition, 13);
    QCOMPARE(photo->fileName(), QStringLiteral("/p/x.png"));
    QCOMPARE(photo->angle(), 90);
    QCOMPARE(photo->motion(), 6);
    QCOMPARE(photo->text().text, QStringLiteral("Привет"));
    QCOMPARE(photo->text().bg_color, QColor(0x44, 0x55, 0x66, 0x80));
    QCOMPARE(int(photo->text().font_size), -2);
}

void TestProjectItem::fullColor()
{
    const ItemPtr item =
        read(R"({"type":"colored","time_ms":800,"transition":0,"bg_index":19,"text":)" + kCaption
             + "}");
    auto* color = dynamic_cast<ProjectItemColor*>(item.get());
    QVERIFY(color);
    QCOMPARE(color->time_ms(), 800);
    QCOMPARE(color->transition, 0);
    QCOMPARE(color->bgIndex(), 19);
    QCOMPARE(color->text().transition, 19);
    QVERIFY(!dynamic_cast<IFileSourceItem*>(item.get()));
}

void TestProjectItem::fullTitle()
{
    const ItemPtr item =
        read(R"({"type":"starter","time_ms":2000,"visible":true,"bg_index":3,"text":)" + kCaption
             + "}");
    auto* title = dynamic_cast<ProjectItemFirst*>(item.get());
    QVERIFY(title);
    QCOMPARE(title->time_ms(), 2000);
    QVERIFY(title->isVisible());
    QCOMPARE(title->bgIndex(), 3);
    QCOMPARE(title->text().text, QStringLiteral("Привет"));
    QVERIFY(dynamic_cast<IStarterItem*>(item.get()));
    QVERIFY(dynamic_cast<IColorBackground*>(item.get()));
}

void TestProjectItem::barePhoto()
{
    const ItemPtr item = read(R"({"type":"image","time":5})");
    auto* photo = dynamic_cast<ProjectItemSimple*>(item.get());
    QVERIFY(photo);
    QCOMPARE(photo->time_ms(), 5000);
    QCOMPARE(photo->transition, 1);
    QCOMPARE(photo->motion(), 0);
    QCOMPARE(photo->angle(), 0);
    QVERIFY(photo->fileName().isEmpty());
    verifyAbsentCaption(photo->text());
}

void TestProjectItem::bareColor()
{
    const ItemPtr item = read(R"({"type":"colored"})");
    auto* color = dynamic_cast<ProjectItemColor*>(item.get());
    QVERIFY(color);
    QCOMPARE(color->bgIndex(), 0);
    QCOMPARE(color->time_ms(), 1000);
    QCOMPARE(color->transition, 1);
    verifyAbsentCaption(color->text());
}

void TestProjectItem::bareTitle()
{
    const ItemPtr item = read(R"({"type":"starter"})");
    auto* title = dynamic_cast<ProjectItemFirst*>(item.get());
    QVERIFY(title);
    QVERIFY(!title->isVisible());
    QCOMPARE(title->bgIndex(), 0);
    QCOMPARE(title->time_ms(), 0);
    verifyAbsentCaption(title->text());
}

void TestProjectItem::time_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("time");
    QTest::newRow("time_ms wins") << QByteArray(R"({"type":"image","time_ms":700,"time":9})") << 700;
    QTest::newRow("legacy seconds") << QByteArray(R"({"type":"colored","time":3})") << 3000;
    QTest::newRow("time_ms not a number")
        << QByteArray(R"({"type":"image","time_ms":"700","time":9})") << 0;
    QTest::newRow("fraction") << QByteArray(R"({"type":"image","time_ms":1.5})") << 0;
    QTest::newRow("too large") << QByteArray(R"({"type":"image","time_ms":1e20})") << 0;
    QTest::newRow("legacy overflow")
        << QByteArray(R"({"type":"image","time":2000000000})") << std::numeric_limits<int>::max();
    QTest::newRow("legacy negative overflow")
        << QByteArray(R"({"type":"image","time":-2000000000})") << std::numeric_limits<int>::min();
}

void TestProjectItem::time()
{
    QFETCH(QByteArray, json);
    const ItemPtr item = read(json);
    QVERIFY(item);
    QTEST(item->time_ms(), "time");
}

void TestProjectItem::writePhoto()
{
    ProjectItemSimple photo(QStringLiteral("/p/a.jpg"), 1500, 26);
    QCOMPARE(written(photo),
             parse(R"({"type":"image","time_ms":1500,"transition":26,"file_name":"/p/a.jpg",
                       "angle":0,"text":{"text":"","font":"Segoe UI","text_color":"#ffffff",
                       "bg_color":"#ff000000","position":8,"transition":27,"changed":false,
                       "font_size":0}})"));
    photo.setMotion(9);
    photo.rotate();
    const QJsonObject object = written(photo);
    QCOMPARE(object.value("motion").toInt(), 9);
    QCOMPARE(object.value("angle").toInt(), 90);
}

void TestProjectItem::writeColor()
{
    ProjectItemColor color(2000, 5);
    color.setBgIndex(40);
    QCOMPARE(written(color),
             parse(R"({"type":"colored","time_ms":2000,"transition":5,"bg_index":40,
                       "text":{"text":"","font":"Segoe UI","text_color":"#000000",
                       "position":4,"transition":27,"changed":false,"font_size":0}})"));
}

void TestProjectItem::writeTitle()
{
    ProjectItemFirst title(3000);
    title.setVisible(false);
    QCOMPARE(written(title),
             parse(R"({"type":"starter","time_ms":3000,"visible":false,"bg_index":22,
                       "text":{"text":"Моё слайд-шоу","font":"Segoe UI","text_color":"#ffffff",
                       "position":4,"transition":27,"changed":false,"font_size":0}})"));
}

void TestProjectItem::roundTrip_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("photo") << QByteArray(R"({"type":"image","time_ms":4200,"transition":13,
        "file_name":"/p/x.png","angle":270,"motion":11,"text":)" + kCaption + "}");
    QTest::newRow("photo no motion") << QByteArray(R"({"type":"image","time_ms":1,"transition":0,
        "file_name":"","angle":45,"text":)" + kCaption + "}");
    QTest::newRow("colour") << QByteArray(R"({"type":"colored","time_ms":800,"transition":28,
        "bg_index":-5,"text":)" + kCaption + "}");
    QTest::newRow("title") << QByteArray(R"({"type":"starter","time_ms":2000,"visible":true,
        "bg_index":29,"text":)" + kCaption + "}");
}

void TestProjectItem::roundTrip()
{
    QFETCH(QByteArray, json);
    const ItemPtr item = read(json);
    QVERIFY(item);
    QCOMPARE(written(*item), parse(json));
    const ItemPtr again(ProjectItem::fromJson(written(*item)));
    QCOMPARE(written(*again), parse(json));
}

void TestProjectItem::cloneKeepsContent()
{
    const QByteArray jsons[] = {
        R"({"type":"image","time_ms":4200,"transition":13,"file_name":"/p/x.png","angle":180,
            "motion":3,"text":)" + kCaption + "}",
        R"({"type":"colored","time_ms":800,"transition":2,"bg_index":7,"text":)" + kCaption + "}",
        R"({"type":"starter","time_ms":2000,"visible":false,"bg_index":1,"text":)" + kCaption + "}",
    };
    for (const QByteArray& json : jsons) {
        const ItemPtr item = read(json);
        const ItemPtr copy(item->clone());
        QVERIFY(copy.get() != item.get());
        QCOMPARE(typeid(*copy).name(), typeid(*item).name());
        QVERIFY(!copy->parent());
        QCOMPARE(written(*copy), written(*item));
    }
}

void TestProjectItem::durations()
{
    ProjectItemFirst title(3000);
    QCOMPARE(title.duration(2000), 3000);
    title.setVisible(false);
    QCOMPARE(title.duration(2000), 0);

    ProjectItemColor color(4000, 0);
    QCOMPARE(color.duration(2000), 4000);
    color.transition = 27;
    QCOMPARE(color.duration(2000), 6000);

    ProjectItemSimple photo(QString(), 1000, 1);
    QCOMPARE(photo.duration(500), 1500);
    photo.setTime_ms(std::numeric_limits<int>::max());
    QCOMPARE(photo.duration(500), std::numeric_limits<int>::max());
}

void TestProjectItem::captionLongerThanItsSlide_data()
{
    QTest::addColumn<int>("time");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("animation");
    QTest::addColumn<int>("shown"); // after the transition
    QTest::newRow("300 ms, animated") << 300 << "a" << 27 << 500;
    QTest::newRow("no time, animated") << 0 << "a" << 27 << 500;
    QTest::newRow("below 0, animated") << -5000 << "a" << 27 << 500;
    QTest::newRow("longer than its animation") << 900 << "a" << 27 << 900;
    QTest::newRow("300 ms, no text") << 300 << "" << 27 << 300;
    QTest::newRow("300 ms, not animated") << 300 << "a" << 0 << 300;
    // Animations that draw nothing take no time.
    QTest::newRow("300 ms, random") << 300 << "a" << 1 << 300;
    QTest::newRow("300 ms, unknown") << 300 << "a" << 99 << 300;
    QTest::newRow("below 0, no text") << -5000 << "" << 27 << 0;
}

// The slide lasts until its caption animation ended, in every kind of slide.
void TestProjectItem::captionLongerThanItsSlide()
{
    QFETCH(int, time);
    QFETCH(QString, text);
    QFETCH(int, animation);
    QFETCH(int, shown);
    ProjectItemFirst title(time);
    ProjectItemColor color(time, 0);
    ProjectItemSimple photo(QString(), time, 27);
    for (ProjectItem* item : std::initializer_list<ProjectItem*>{&title, &color, &photo}) {
        item->text().text = text;
        item->text().transition = animation;
        QCOMPARE(item->shownTime_ms(), shown);
    }
    QCOMPARE(title.duration(2000), shown);
    QCOMPARE(color.duration(2000), shown);
    QCOMPARE(photo.duration(2000), shown + 2000);
}

void TestProjectItem::textAnimationDuration_data()
{
    QTest::addColumn<int>("time");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("animation");
    QTest::addColumn<int>("duration");
    QTest::newRow("short") << 900 << "a" << 27 << 500;
    QTest::newRow("at 1500") << 1500 << "a" << 27 << 500;
    QTest::newRow("third") << 6000 << "a" << 27 << 2000;
    QTest::newRow("long") << 12000 << "a" << 27 << 3000;
    QTest::newRow("negative time") << -600 << "a" << 27 << 500;
    QTest::newRow("no text") << 6000 << "" << 27 << 0;
    QTest::newRow("no animation") << 6000 << "a" << 0 << 0;
}

void TestProjectItem::textAnimationDuration()
{
    QFETCH(int, time);
    QFETCH(QString, text);
    QFETCH(int, animation);
    ProjectItemColor item(time, 0);
    item.text().text = text;
    item.text().transition = animation;
    QTEST(item.textAnimationDuration(), "duration");
}

void TestProjectItem::rotate_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("rotated");
    QTest::newRow("0") << 0 << 90;
    QTest::newRow("90") << 90 << 180;
    QTest::newRow("270") << 270 << 0;
    QTest::newRow("300") << 300 << 0;
    QTest::newRow("45") << 45 << 135;
    QTest::newRow("200") << 200 << 0;
    QTest::newRow("max") << std::numeric_limits<int>::max() << 0;
}

void TestProjectItem::rotate()
{
    QFETCH(int, angle);
    ProjectItemSimple photo;
    QJsonObject object;
    object.insert("angle", angle);
    photo.readJson(object);
    QCOMPARE(photo.angle(), angle);
    photo.rotate();
    QTEST(photo.angle(), "rotated");
}

void TestProjectItem::signals_()
{
    ProjectItemFirst title(1000);
    QSignalSpy text(&title, &ProjectItem::textChanged);
    QSignalSpy visibility(&title, &ProjectItem::visibilityChanged);

    SlideText caption = title.text();
    caption.position = TextInfo::TopLeft;
    title.setText(caption);
    QCOMPARE(text.count(), 0);
    QCOMPARE(int(title.text().position), 0);
    caption.text = QStringLiteral("New");
    title.setText(caption);
    QCOMPARE(text.count(), 1);

    title.setVisible(true);
    QCOMPARE(visibility.count(), 0);
    title.setVisible(false);
    title.setVisible(false);
    QCOMPARE(visibility.count(), 1);
    QVERIFY(!title.isVisible());
}

void TestProjectItem::backgroundRender_data()
{
    QTest::addColumn<bool>("title");
    QTest::addColumn<int>("index");
    QTest::newRow("colour plain") << false << 5;
    QTest::newRow("colour gradient") << false << 21;
    QTest::newRow("colour outside") << false << 77;
    QTest::newRow("title") << true << 22;
}

void TestProjectItem::backgroundRender()
{
    QFETCH(bool, title);
    QFETCH(int, index);
    ItemPtr item(title ? static_cast<ProjectItem*>(new ProjectItemFirst(1000))
                       : new ProjectItemColor(1000, 0));
    dynamic_cast<IColorBackground&>(*item).setBgIndex(index);
    item->text().text = QStringLiteral("Caption");
    item->text().text_color = Qt::red;
    const QImage background = backgroundImage(index, QSize(320, 200));

    // Neither scale-to-fit nor blur changes the picture.
    QCOMPARE(item->renderImage(320, 200, false, true, true), background);
    QImage out;
    item->renderImage(out, 320, 200, false, false, false);
    QCOMPARE(out, background);

    QImage captioned = background;
    item->drawText(captioned);
    QVERIFY(captioned != background);
    QCOMPARE(item->renderImage(320, 200, true, false, false), captioned);
}

void TestProjectItem::drawTextOnlyWithText()
{
    ProjectItemColor item(1000, 0);
    item.setBgIndex(3);
    item.text().text.clear();
    item.text().bg_color = Qt::blue;
    const QImage background = backgroundImage(3, QSize(200, 100));
    QImage image = background;
    item.drawText(image);
    QCOMPARE(image, background);
    QCOMPARE(item.renderImage(200, 100, true, false, false), background);

    // With text, only the caption rectangle changes.
    item.text().text = QStringLiteral("Hi");
    const QRect rect = item.text().textRect(200, 100);
    item.drawText(image);
    QCOMPARE(image.pixel(rect.topLeft()), QColor(Qt::blue).rgba());
    for (const QPoint& outside : {QPoint(0, 0), QPoint(199, 99)})
        if (!rect.contains(outside))
            QCOMPARE(image.pixel(outside), background.pixel(outside));
}

QTEST_MAIN(TestProjectItem)
#include "tst_projectitem.moc"
