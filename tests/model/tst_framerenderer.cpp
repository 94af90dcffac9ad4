#include <QtTest>

#include "model/FrameRenderer.h"
#include "model/MotionType.h"
#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "model/ProjectItemFirst.h"
#include "model/ProjectItemSimple.h"
#include "model/transition/TransitionType.h"
#include "support/PhotoFixtures.h"

#include <cstdlib>
#include <memory>

using FrameRenderer::renderProject;

namespace {

constexpr int kWidth = 100;
constexpr int kHeight = 50;

// Keeps every frame and its timestamp; refuses frames from index refuseFrom on.
struct Recorder
{
    QVector<QImage> frames;
    QVector<qint64> times;
    int refuseFrom = -1;

    FrameSink sink()
    {
        return [this](QImage frame, qint64 timestamp) {
            frames << frame;
            times << timestamp;
            return refuseFrom < 0 || frames.size() <= refuseFrom;
        };
    }
};

// A project whose title slide lasts titleTime_ms, shown or hidden.
std::unique_ptr<ProjectFile> project(int titleTime_ms = 1000, bool titleVisible = true)
{
    auto show = std::make_unique<ProjectFile>(titleTime_ms);
    dynamic_cast<ProjectItemFirst*>(show->item(0))->setVisible(titleVisible);
    return show;
}

template <typename Item>
Item* append(ProjectFile& show, Item* item)
{
    show.insertItems({item}, -1);
    return item;
}

ProjectItemColor* addColor(ProjectFile& show, int time_ms, int transition)
{
    auto* item = append(show, new ProjectItemColor(time_ms, transition));
    item->setBgIndex(4);
    return item;
}

ProjectItemSimple* addPhoto(ProjectFile& show, const QString& path, int time_ms, int transition,
                            int motion)
{
    auto* item = append(show, new ProjectItemSimple(path, time_ms, transition));
    item->setMotion(motion);
    return item;
}

void setCaption(ProjectItem* slide, const QString& text, int animation)
{
    SlideText caption = slide->text();
    caption.text = text;
    caption.transition = animation;
    slide->setText(caption);
}

// Frames compared by their pixels, whatever their formats.
bool samePixels(const QImage& a, const QImage& b)
{
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

bool closeColor(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
        && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

} // namespace

class TestFrameRenderer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void frameCounts_data();
    void frameCounts();
    void slidesStartOnTheirTime_data();
    void slidesStartOnTheirTime();
    void transitionStartsFromTheLastFrame();
    void refusedFirstFrame_data();
    void refusedFirstFrame();
    void refusals_data();
    void refusals();
    void visibleTitleStartsTransition();
    void startSlideFromStillPicture();
    void captionAnimationFrames_data();
    void captionAnimationFrames();
    void captionAnimationKeepsSeeThroughBox_data();
    void captionAnimationKeepsSeeThroughBox();
    void captionAnimationLeavesThePictureAlone_data();
    void captionAnimationLeavesThePictureAlone();
    void motionProgress();
    void negativeTimeHoldsProgress();
    void negativeTimesBeforeSlide();
    void frameTotal_data();
    void frameTotal();
    void captionLongerThanItsSlide();
    void pickRules();
    void randomMotionNeverRepeats();
    void unseededRunsAgree();
    void releaseCaches_data();
    void releaseCaches();

private:
    QString photo(const QString& name);

    QTemporaryDir m_dir;
};

void TestFrameRenderer::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString TestFrameRenderer::photo(const QString& name)
{
    const QString path = m_dir.filePath(name);
    // Every motion draws other frames of a gradient.
    const QImage picture = PhotoFixtures::gradient(120, 60);
    return PhotoFixtures::writeFile(path, PhotoFixtures::encode(picture, "png")) ? path : QString();
}

void TestFrameRenderer::frameCounts_data()
{
    QTest::addColumn<int>("fps");
    QTest::addColumn<bool>("titleVisible");
    QTest::addColumn<int>("slideTime");
    QTest::addColumn<int>("transition");
    QTest::addColumn<int>("transitionTime");
    QTest::addColumn<int>("captionAnimation"); // -1: no caption text
    QTest::addColumn<bool>("captionPreview");
    QTest::addColumn<bool>("fromSlide"); // else the whole project, its title slide of 1000 ms first
    QTest::addColumn<int>("count");

    // 60 transition frames, then 90 frames to cover 3000 ms.
    QTest::newRow("30 fps slide") << 30 << true << 3000 << 27 << 2000 << -1 << false << true << 150;
    QTest::newRow("after a visible title") << 30 << true << 3000 << 27 << 2000 << -1 << false << false << 30 + 150;
    // The transition left out, the slide's own picture fills its time.
    QTest::newRow("after a hidden title") << 30 << false << 3000 << 27 << 2000 << -1 << false << false << 150;
    QTest::newRow("no transition") << 30 << true << 3000 << 0 << 2000 << -1 << false << true << 90;
    // 30.3 frames: the nearest frame.
    QTest::newRow("slide between frames") << 30 << true << 1010 << 0 << 2000 << -1 << false << true << 30;
    // 15 caption frames and 30 motion frames up to the end time.
    QTest::newRow("15 fps caption animation") << 15 << true << 3000 << 0 << 2000 << 27 << false << true << 45;
    QTest::newRow("caption preview") << 15 << true << 3000 << 27 << 2000 << 27 << true << true << 15;
    // The title slide's caption animation of 500 ms (7.5 frames) comes first.
    QTest::newRow("caption preview, whole project") << 15 << true << 3000 << 27 << 2000 << 27 << true << false << 8;
    QTest::newRow("caption preview, no animation") << 15 << true << 3000 << 27 << 2000 << -1 << true << true << 45;
    QTest::newRow("caption animation random") << 15 << true << 3000 << 0 << 2000 << 1 << false << true << 45;
    QTest::newRow("caption animation random, preview") << 15 << true << 3000 << 0 << 2000 << 1 << true << true << 0;
    QTest::newRow("single-frame transition") << 30 << true << 3000 << 27 << 40 << -1 << false << true << 1 + 90;
    QTest::newRow("single-frame caption") << 2 << true << 1200 << 0 << 2000 << 27 << true << true << 1;
    QTest::newRow("negative transition time") << 30 << true << 3000 << 27 << -2000 << -1 << false << true << 90;
    QTest::newRow("negative slide time") << 30 << true << -500 << 27 << 2000 << -1 << false << true << 61;
    QTest::newRow("project frame rate") << 0 << true << 3000 << 0 << 2000 << -1 << false << true << 90;
    QTest::newRow("fps 0 in the project") << 0 << true << 3000 << 0 << 2000 << -1 << false << true << 0;
    QTest::newRow("negative fps in the project") << -1 << true << 3000 << 0 << 2000 << -1 << false << true << 0;
    QTest::newRow("no frame period") << 10000001 << true << 3000 << 0 << 2000 << -1 << false << true << 0;
}

void TestFrameRenderer::frameCounts()
{
    QFETCH(int, fps);
    QFETCH(bool, titleVisible);
    QFETCH(int, slideTime);
    QFETCH(int, transition);
    QFETCH(int, transitionTime);
    QFETCH(int, captionAnimation);
    QFETCH(bool, captionPreview);
    QFETCH(bool, fromSlide);
    QFETCH(int, count);

    const auto show = project(1000, titleVisible);
    show->transition_time_ms = transitionTime;
    // Rows with fps 0 or less take the project's: 30, or the bad value of the row.
    show->fps = QByteArray(QTest::currentDataTag()) == "project frame rate" ? 30 : fps;
    ProjectItem* slide = addColor(*show, slideTime, transition);
    if (captionAnimation >= 0)
        setCaption(slide, QStringLiteral("Caption"), captionAnimation);

    Recorder recorder;
    const bool rendered = renderProject(show.get(), fromSlide ? slide : nullptr, kWidth, kHeight,
                                        captionPreview, recorder.sink(), fps);
    QCOMPARE(recorder.frames.size(), count);
    const int rate = fps > 0 ? fps : show->fps;
    QCOMPARE(rendered, rate >= 1 && rate <= 10000000);
    for (int i = 0; i < recorder.times.size(); ++i) {
        QCOMPARE(recorder.times[i], qRound64(i * 10000000.0 / rate));
        QCOMPARE(recorder.frames[i].size(), QSize(kWidth, kHeight));
    }
}

void TestFrameRenderer::slidesStartOnTheirTime_data()
{
    QTest::addColumn<int>("fps");
    QTest::addColumn<int>("slideTime");
    QTest::newRow("30 fps, 1000 ms") << 30 << 1000;
    QTest::newRow("25 fps, 1000 ms") << 25 << 1000;
    // 33.6 frames a slide: the slides round to 34 or 33 frames and stay on time.
    QTest::newRow("30 fps, 1120 ms") << 30 << 1120;
}

// Ten slides of t ms with 1000 ms crossfades after a hidden title slide: slide k starts at
// the frame nearest to k (1000 + t) ms, and the video lasts as long as the project.
void TestFrameRenderer::slidesStartOnTheirTime()
{
    QFETCH(int, fps);
    QFETCH(int, slideTime);
    const auto show = project(1000, false);
    show->transition_time_ms = 1000;
    QVector<ProjectItemColor*> slides;
    for (int k = 0; k < 10; ++k) {
        slides << addColor(*show, slideTime, TransitionCrossfade);
        slides.last()->setBgIndex(k % 2 ? 4 : 1);
    }
    Recorder recorder;
    QVERIFY(renderProject(show.get(), nullptr, kWidth, kHeight, false, recorder.sink(), fps));
    const auto frameAt = [fps](qint64 ms) { return int(qRound64(ms * fps / 1000.0)); };
    const qint64 total = show->totalDuration();
    QCOMPARE(total, 10 * (1000 + slideTime));
    QCOMPARE(recorder.frames.size(), frameAt(total));
    QCOMPARE(recorder.times.last(), qRound64((recorder.frames.size() - 1) * 10000000.0 / fps));
    // The first slide's transition is left out; each later one runs fps frames from the
    // slide's start, and the slide's own picture follows.
    for (int k = 1; k < slides.size(); ++k) {
        const int start = frameAt(k * (1000 + slideTime));
        const QImage own = slides[k]->renderImage(kWidth, kHeight, true, false, false);
        QVERIFY2(!samePixels(recorder.frames[start + fps - 1], own), qPrintable(QString::number(k)));
        QVERIFY2(samePixels(recorder.frames[start + fps], own), qPrintable(QString::number(k)));
        QVERIFY2(samePixels(recorder.frames[start], recorder.frames[start - 1]),
                 qPrintable(QString::number(k)));
    }
}

// The caption animation lengthens the motion without lengthening the slide: the next
// transition starts from the picture the slide showed last, not from its motion's end.
void TestFrameRenderer::transitionStartsFromTheLastFrame()
{
    const auto show = project(1000, false);
    show->transition_time_ms = 500;
    ProjectItemSimple* first = addPhoto(*show, photo("zoom.png"), 1000, 0, MotionZoomInCenter);
    setCaption(first, QStringLiteral("Zoom"), TransitionCrossfade);
    addColor(*show, 1000, TransitionCrossfade);
    Recorder recorder;
    QVERIFY(renderProject(show.get(), nullptr, kWidth, kHeight, false, recorder.sink(), 10));
    QCOMPARE(recorder.frames.size(), 10 + 15);
    // A crossfade's first frame is its old picture.
    QVERIFY(samePixels(recorder.frames[10], recorder.frames[9]));
    QVERIFY(!samePixels(recorder.frames[11], recorder.frames[9]));
}

void TestFrameRenderer::refusedFirstFrame_data()
{
    QTest::addColumn<int>("transition");
    QTest::addColumn<int>("captionAnimation");
    QTest::addColumn<int>("count");
    QTest::newRow("transition frame") << 27 << 27 << 1;
    // The caption animation stops; one motion frame follows and is refused too.
    QTest::newRow("caption frame") << 0 << 27 << 2;
    QTest::newRow("motion frame") << 0 << 0 << 1;
}

void TestFrameRenderer::refusedFirstFrame()
{
    QFETCH(int, transition);
    QFETCH(int, captionAnimation);
    QFETCH(int, count);
    const auto show = project();
    ProjectItem* slide = addColor(*show, 3000, transition);
    setCaption(slide, QStringLiteral("Caption"), captionAnimation);
    addColor(*show, 3000, 27);
    Recorder recorder;
    recorder.refuseFrom = 0;
    QVERIFY(renderProject(show.get(), slide, kWidth, kHeight, false, recorder.sink(), 15));
    QCOMPARE(recorder.frames.size(), count);
}

void TestFrameRenderer::refusals_data()
{
    QTest::addColumn<bool>("nullProject");
    QTest::addColumn<bool>("foreignStart");
    QTest::addColumn<int>("titleTime"); // 0: no slides at all
    QTest::addColumn<bool>("titleVisible");
    QTest::newRow("null project") << true << false << 1000 << true;
    QTest::newRow("start slide not in the project") << false << true << 1000 << true;
    QTest::newRow("only a hidden title slide") << false << false << 1000 << false;
    QTest::newRow("no slides") << false << false << 0 << true;
}

void TestFrameRenderer::refusals()
{
    QFETCH(bool, nullProject);
    QFETCH(bool, foreignStart);
    QFETCH(int, titleTime);
    QFETCH(bool, titleVisible);
    auto show = std::make_unique<ProjectFile>(titleTime);
    if (titleTime > 0)
        dynamic_cast<ProjectItemFirst*>(show->item(0))->setVisible(titleVisible);
    ProjectItemColor other(1000, 0);
    Recorder recorder;
    QVERIFY(!renderProject(nullProject ? nullptr : show.get(), foreignStart ? &other : nullptr,
                           kWidth, kHeight, false, recorder.sink(), 30));
    QVERIFY(recorder.frames.isEmpty());
}

void TestFrameRenderer::visibleTitleStartsTransition()
{
    const auto show = project(1000, true);
    show->transition_time_ms = 1000;
    addColor(*show, 1000, 27);
    Recorder recorder;
    QVERIFY(renderProject(show.get(), nullptr, kWidth, kHeight, false, recorder.sink(), 10));
    QCOMPARE(recorder.frames.size(), 10 + 10 + 10);
    // A crossfade's first frame is its old picture: the title slide with its caption.
    const QImage title = show->item(0)->renderImage(kWidth, kHeight, true, false, false);
    QVERIFY(samePixels(recorder.frames[10], title));
    QVERIFY(samePixels(recorder.frames[9], title));
}

void TestFrameRenderer::startSlideFromStillPicture()
{
    const auto show = project();
    show->transition_time_ms = 1000;
    ProjectItemSimple* before = addPhoto(*show, photo("before.png"), 1000, 0, MotionPanDown);
    setCaption(before, QStringLiteral("Before"), 0);
    ProjectItem* start = addColor(*show, 1000, 27);
    Recorder recorder;
    QVERIFY(renderProject(show.get(), start, kWidth, kHeight, false, recorder.sink(), 10));
    QCOMPARE(recorder.times.first(), 0);
    // The slide before is drawn with motion 0: its still picture with its caption.
    QVERIFY(samePixels(recorder.frames.first(),
                       before->renderImage(kWidth, kHeight, true, false, false)));
}

void TestFrameRenderer::captionAnimationFrames_data()
{
    QTest::addColumn<int>("animation");
    QTest::newRow("crossfade") << 27;
    QTest::newRow("flip over") << 10; // its caption picture holds the frame under it
}

void TestFrameRenderer::captionAnimationFrames()
{
    QFETCH(int, animation);
    // 3000 ms at 10 fps with a 1000 ms caption animation: the motion span is 4000 ms.
    const auto show = project();
    ProjectItemSimple* slide = addPhoto(*show, photo("caption.png"), 3000, 0, MotionPanLeft);
    setCaption(slide, QStringLiteral("Caption"), animation);
    Recorder recorder;
    QVERIFY(renderProject(show.get(), slide, kWidth, kHeight, false, recorder.sink(), 10));
    QCOMPARE(recorder.frames.size(), 10 + 20);
    const auto at = [slide](double progress, bool withCaption) {
        QImage image = slide->renderMotion(MotionPanLeft, kWidth, kHeight, false, false, progress);
        if (withCaption)
            slide->drawText(image);
        return image;
    };
    QCOMPARE(recorder.frames[10], at(2500, true));
    QCOMPARE(recorder.frames[29], at(7250, true));
    if (animation == 27) {
        // The crossfade starts from the picture under the caption, over the moving slide.
        QVERIFY(samePixels(recorder.frames[0], at(0, false)));
        QVERIFY(!samePixels(recorder.frames[9], at(2250, false)));
        QVERIFY(!samePixels(recorder.frames[9], at(2250, true)));
    }
}

void TestFrameRenderer::captionAnimationKeepsSeeThroughBox_data()
{
    QTest::addColumn<int>("animation");
    QTest::newRow("push from left") << 22;
    QTest::newRow("wipe") << 11;
    QTest::newRow("zoom in") << 19;
    QTest::newRow("crossfade") << 27;
}

void TestFrameRenderer::captionAnimationKeepsSeeThroughBox()
{
    QFETCH(int, animation);
    // White text in a half-black box over a white slide: nothing in the caption is darker
    // than the box, in any frame of the animation, and it ends on the captioned slide.
    const auto show = project();
    ProjectItemColor* slide = addColor(*show, 3000, 0);
    slide->setBgIndex(0);
    SlideText caption = slide->text();
    caption.text = QStringLiteral("Caption");
    caption.text_color = Qt::white;
    caption.bg_color = QColor(0, 0, 0, 128);
    caption.transition = animation;
    slide->setText(caption);
    Recorder recorder;
    QVERIFY(renderProject(show.get(), slide, kWidth, kHeight, false, recorder.sink(), 10));
    const int captionFrames = 10;
    const QRect rect = slide->text().textRect(kWidth, kHeight);
    for (int i = 0; i < captionFrames; ++i) {
        const QImage frame = recorder.frames[i].convertToFormat(QImage::Format_RGB32);
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                if (qRed(frame.pixel(x, y)) < 120)
                    QFAIL(qPrintable(QStringLiteral("frame %1 too dark at %2,%3").arg(i).arg(x).arg(y)));
            }
        }
    }
    QImage captioned = slide->renderImage(kWidth, kHeight, true, false, false);
    QVERIFY(samePixels(recorder.frames[captionFrames], captioned));
}

void TestFrameRenderer::captionAnimationLeavesThePictureAlone_data()
{
    QTest::addColumn<int>("animation");
    // Fading through white is left out: white is no mix of the caption's colour and black.
    for (int type = TransitionPixelate; type < TransitionFadeToWhite; ++type)
        QTest::newRow(qPrintable(QString::number(type))) << type;
}

// A magenta caption box over a moving pattern photo: outside the box every frame is the
// slide's own motion frame; inside, every pixel is that frame's pixel mixed with magenta or
// black, never a pixel of the photo from elsewhere.
void TestFrameRenderer::captionAnimationLeavesThePictureAlone()
{
    QFETCH(int, animation);
    const QSize size(160, 90);
    QImage pattern(200, 120, QImage::Format_RGB32);
    for (int y = 0; y < pattern.height(); ++y) {
        for (int x = 0; x < pattern.width(); ++x)
            pattern.setPixel(x, y, qRgb((x * 7 + y * 3) % 200 + 40, (x * 5 + y * 11) % 180 + 60,
                                        (x * 13 + y * 2) % 200 + 40));
    }
    const QString path = m_dir.filePath("pattern.png");
    QVERIFY(PhotoFixtures::writeFile(path, PhotoFixtures::encode(pattern, "png")));
    const auto show = project();
    ProjectItemSimple* slide = addPhoto(*show, path, 1000, 0, MotionPanLeft);
    SlideText caption = slide->text();
    caption.text = QStringLiteral("Caption");
    caption.text_color = QColor(255, 0, 255);
    caption.bg_color = QColor(255, 0, 255);
    caption.transition = animation;
    slide->setText(caption);
    const int fps = 10;
    Recorder recorder;
    QVERIFY(renderProject(show.get(), slide, size.width(), size.height(), false, recorder.sink(), fps));
    const int captionFrames = int(qRound64(slide->textAnimationDuration() * fps / 1000.0));
    QVERIFY(captionFrames > 1);
    const QRect box = slide->text().textRect(size.width(), size.height());
    const double step = 10000000.0 / (1000 + slide->textAnimationDuration()) / fps;
    for (int i = 0; i < captionFrames; ++i) {
        const QImage frame = recorder.frames[i].convertToFormat(QImage::Format_RGB32);
        const QImage own = slide->renderMotion(MotionPanLeft, size.width(), size.height(), false,
                                               false, i * step)
                               .convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const QRgb p = frame.pixel(x, y);
                const QRgb q = own.pixel(x, y);
                const QString where = QStringLiteral("frame %1 at %2,%3").arg(i).arg(x).arg(y);
                if (!box.contains(x, y)) {
                    QVERIFY2(p == q, qPrintable(where));
                    continue;
                }
                // p = q (1 - a) + k a, with k of equal red and blue and no green.
                const double a = 1 - double(qGreen(p)) / qGreen(q);
                QVERIFY2(a > -0.03, qPrintable(where));
                if (a < 0.05) {
                    QVERIFY2(closeColor(p, q, 8), qPrintable(where));
                    continue;
                }
                const double red = (qRed(p) - qRed(q) * (1 - a)) / a;
                const double blue = (qBlue(p) - qBlue(q) * (1 - a)) / a;
                QVERIFY2(qAbs(red - blue) < 6 / a + 4, qPrintable(where));
            }
        }
    }
}

void TestFrameRenderer::motionProgress()
{
    // 20000 ms at 2 fps: progress grows by 10,000,000 / 15000 / 2 per frame and holds at
    // 10000 for the last 5 seconds.
    const auto show = project();
    ProjectItemSimple* slide = addPhoto(*show, photo("long.png"), 20000, 0, MotionPanLeft);
    Recorder recorder;
    QVERIFY(renderProject(show.get(), slide, kWidth, kHeight, false, recorder.sink(), 2));
    QCOMPARE(recorder.frames.size(), 40);
    double progress = 0;
    for (int i = 0; i < recorder.frames.size(); ++i) {
        QVERIFY2(recorder.frames[i]
                     == slide->renderMotion(MotionPanLeft, kWidth, kHeight, false, false, progress),
                 qPrintable(QStringLiteral("frame %1").arg(i)));
        progress = qMin(progress + 10000000.0 / 15000 / 2, 10000.0);
    }
    QCOMPARE(recorder.frames[30], recorder.frames[39]);
    QVERIFY(recorder.frames[29] != recorder.frames[30]);
}

void TestFrameRenderer::negativeTimeHoldsProgress()
{
    // A time from a document of -3000 ms with a caption animation of 500 ms gives a negative
    // motion span: the progress stays at 0.
    const auto show = project();
    ProjectItemSimple* slide = addPhoto(*show, photo("negative.png"), -3000, 0, MotionPanLeft);
    setCaption(slide, QStringLiteral("Caption"), 27);
    Recorder recorder;
    QVERIFY(renderProject(show.get(), slide, kWidth, kHeight, false, recorder.sink(), 16));
    QCOMPARE(recorder.frames.size(), 8 + 1);
    QImage expected = slide->renderMotion(MotionPanLeft, kWidth, kHeight, false, false, 0);
    slide->drawText(expected);
    QCOMPARE(recorder.frames.last(), expected);
}

void TestFrameRenderer::negativeTimesBeforeSlide()
{
    // The slides before add up to a negative start time; the slide is still in the project.
    const auto show = project(1000, true);
    show->item(0)->setTime_ms(-5000);
    ProjectItem* slide = addColor(*show, 1000, 0);
    Recorder recorder;
    QVERIFY(renderProject(show.get(), slide, kWidth, kHeight, false, recorder.sink(), 10));
    QCOMPARE(recorder.frames.size(), 10);
    Recorder whole;
    QVERIFY(renderProject(show.get(), nullptr, kWidth, kHeight, false, whole.sink(), 10));
    // The title slide lasts as long as its caption animation (500 ms): 5 caption frames and
    // one motion frame; the slide after it ends at 1500 ms.
    QCOMPARE(whole.frames.size(), 5 + 1 + 9);
}

void TestFrameRenderer::frameTotal_data()
{
    // Slides as (time, transition, caption animation; -1 no caption text) triples.
    QTest::addColumn<int>("fps");
    QTest::addColumn<bool>("titleVisible");
    QTest::addColumn<QVector<int>>("slides");
    QTest::newRow("captions longer than slides") << 10 << true << QVector<int>{300, 0, 27, 300, 27, 22};
    QTest::newRow("random picks") << 30 << true << QVector<int>{1000, 1, 1, 700, 1, 27, 2000, 0, -1};
    QTest::newRow("slides shorter than a frame")
        << 2 << true << QVector<int>{100, 0, -1, 100, 27, -1, 300, 0, 27};
    QTest::newRow("no time and below 0")
        << 10 << true << QVector<int>{0, 27, 27, -500, 0, 27, 0, 0, -1, 1000, 0, -1};
    QTest::newRow("types that draw nothing") << 25 << true << QVector<int>{1000, 99, 99, 400, 27, 1};
    QTest::newRow("after a hidden title") << 7 << false << QVector<int>{1300, 27, 27, 250, 11, 10};
    QTest::newRow("hidden title alone") << 7 << false << QVector<int>{};
}

// The count the progress is told beforehand is the count of frames drawn.
void TestFrameRenderer::frameTotal()
{
    QFETCH(int, fps);
    QFETCH(bool, titleVisible);
    QFETCH(QVector<int>, slides);
    const auto show = project(1000, titleVisible);
    show->transition_time_ms = 500;
    for (int i = 0; i + 2 < slides.size(); i += 3) {
        ProjectItem* slide = addColor(*show, slides[i], slides[i + 1]);
        if (slides[i + 2] >= 0)
            setCaption(slide, QStringLiteral("Caption"), slides[i + 2]);
    }
    Recorder recorder;
    renderProject(show.get(), nullptr, kWidth, kHeight, false, recorder.sink(), fps);
    QCOMPARE(FrameRenderer::frameTotal(show.get(), kWidth, kHeight, fps), qint64(recorder.frames.size()));
}

// A caption animation of 500 ms on a slide of 300 ms: the slide lasts until the animation
// ended, in the show's length as in its frames.
void TestFrameRenderer::captionLongerThanItsSlide()
{
    const auto show = project(1000, false);
    ProjectItemSimple* slide = addPhoto(*show, photo("short.png"), 300, 0, MotionNone);
    setCaption(slide, QStringLiteral("Caption"), TransitionCrossfade);
    QCOMPARE(show->totalDuration(), qint64(500));
    Recorder recorder;
    QVERIFY(renderProject(show.get(), nullptr, kWidth, kHeight, false, recorder.sink(), 10));
    // 5 caption frames, all within the show's 500 ms, then the motion frame that always
    // follows, with the caption whole.
    QCOMPARE(recorder.frames.size(), 5 + 1);
    QCOMPARE(FrameRenderer::frameTotal(show.get(), kWidth, kHeight, 10), qint64(6));
    QVERIFY(recorder.times[4] < show->totalDuration() * 10000);
    const QImage whole = slide->renderImage(kWidth, kHeight, true, false, false);
    QVERIFY(!samePixels(recorder.frames[4], whole));
    QVERIFY(samePixels(recorder.frames[5], whole));
}

void TestFrameRenderer::pickRules()
{
    using FrameRenderer::pickMotion;
    using FrameRenderer::pickTransition;
    for (int kept : {0, 2, 5, 11, 12, -1})
        QCOMPARE(pickMotion(kept, 5), kept);
    for (int kept : {0, 3, 7, 27, 29, -1})
        QCOMPARE(pickTransition(kept, 27), kept);

    for (int previous = 0; previous <= 11; ++previous) {
        QSet<int> seen;
        for (int i = 0; i < 400; ++i) {
            const int picked = pickMotion(MotionRandom, previous);
            QVERIFY(picked >= 2 && picked <= 11);
            QVERIFY(picked != previous);
            seen << picked;
        }
        QCOMPARE(seen.size(), previous >= 2 ? 9 : 10);
    }
    for (int previous : {0, 2, 5, 8, 27, 28}) {
        QSet<int> seen;
        for (int i = 0; i < 1000; ++i) {
            const int picked = pickTransition(TransitionRandom, previous);
            QVERIFY(picked >= 2 && picked <= 28);
            QVERIFY(picked != previous);
            QVERIFY(picked != 3 && picked != 4 && picked != 6 && picked != 7);
            seen << picked;
        }
        QCOMPARE(seen.size(), previous >= 2 ? 22 : 23);
    }
}

void TestFrameRenderer::randomMotionNeverRepeats()
{
    // 300 ms at 10 fps: three frames a slide, the second one at a known progress.
    const auto show = project(1000, false);
    const QString path = photo("random.png");
    QVector<ProjectItemSimple*> slides{addPhoto(*show, path, 300, 0, MotionPanDown)};
    for (int i = 0; i < 40; ++i)
        slides << addPhoto(*show, path, 300, 0, MotionRandom);
    Recorder recorder;
    QVERIFY(renderProject(show.get(), nullptr, kWidth, kHeight, false, recorder.sink(), 10));
    QCOMPARE(recorder.frames.size(), 3 * slides.size());

    const double progress = 10000000.0 / 300 / 10;
    int previous = MotionNone;
    QSet<int> seen;
    for (int s = 0; s < slides.size(); ++s) {
        QVector<int> matches;
        for (int m = MotionPanLeft; m <= MotionZoomOutLeft; ++m)
            if (slides[s]->renderMotion(m, kWidth, kHeight, false, false, progress)
                == recorder.frames[3 * s + 1])
                matches << m;
        QCOMPARE(matches.size(), 1);
        QVERIFY2(matches[0] != previous, qPrintable(QStringLiteral("slide %1").arg(s)));
        previous = matches[0];
        seen << previous;
    }
    QVERIFY(seen.size() > 5);
}

void TestFrameRenderer::unseededRunsAgree()
{
    const auto show = project(1000, true);
    show->transition_time_ms = 300;
    const QString path = photo("seeded.png");
    for (int i = 0; i < 8; ++i) {
        addPhoto(*show, path, 300, TransitionRandom, MotionRandom);
        addColor(*show, 300, TransitionRandom);
    }
    Recorder first, second;
    std::srand(1); // the sequence of a process that never seeds
    QVERIFY(renderProject(show.get(), nullptr, kWidth, kHeight, false, first.sink(), 10));
    std::srand(1);
    QVERIFY(renderProject(show.get(), nullptr, kWidth, kHeight, false, second.sink(), 10));
    QCOMPARE(first.frames.size(), second.frames.size());
    QVERIFY(first.frames == second.frames);
}

void TestFrameRenderer::releaseCaches_data()
{
    QTest::addColumn<bool>("release");
    QTest::addColumn<QVector<bool>>("cached"); // for each photo slide after the render
    QTest::newRow("release") << true << QVector<bool>{false, false, false, true};
    QTest::newRow("keep") << false << QVector<bool>{true, true, true, true};
}

void TestFrameRenderer::releaseCaches()
{
    QFETCH(bool, release);
    QFETCH(QVector<bool>, cached);
    const auto show = project();
    show->transition_time_ms = 200;
    QStringList paths;
    QVector<ProjectItemSimple*> slides;
    for (int i = 0; i < cached.size(); ++i) {
        paths << photo(QStringLiteral("release%1.png").arg(i));
        slides << addPhoto(*show, paths.last(), 200, 27, MotionPanLeft);
    }
    Recorder recorder;
    QVERIFY(renderProject(show.get(), nullptr, kWidth, kHeight, false, recorder.sink(), 10,
                          Qt::SmoothTransformation, release));
    for (const QString& path : paths)
        QVERIFY(QFile::remove(path));
    // A slide that kept its caches still draws its picture without its file.
    for (int i = 0; i < slides.size(); ++i) {
        const QImage probe = slides[i]->renderMotion(MotionPanLeft, kWidth, kHeight, false, false, 0);
        QCOMPARE(probe.pixel(50, 25) != qRgb(0, 0, 0), cached[i]);
    }
}

QTEST_MAIN(TestFrameRenderer)
#include "tst_framerenderer.moc"
