#include "BarsFixture.h"

#include "model/ProjectItemTransition.h"
#include "pages/LoopSelector.h"
#include "pages/ProjectPageVideoSettingsBox.h"
#include "pages/TimeSelector.h"
#include "pages/VideoFormatSelectors.h"
#include "pages/VideoPlayer.h"
#include "resources/Resources.h"
#include "uilib/controls/CButton.h"

#include <QSignalSpy>

namespace {

using Box = ProjectPage::VideoSettingsBox;

// Presses a check box as a user would; its toggled comes on the next pass of the event loop.
void press(CButton* box)
{
    QSignalSpy toggled(box, &CButton::toggled);
    box->setCheckedAndEmit(!box->isChecked());
    QVERIFY(toggled.count() == 1 || toggled.wait(10000));
}

bool blurEnabled(const Box* box)
{
    return box->blurRow()->control()->isEnabled() && box->blurRow()->label()->isEnabled();
}

bool blurDisabled(const Box* box)
{
    return !box->blurRow()->control()->isEnabled() && !box->blurRow()->label()->isEnabled();
}

} // namespace

// The video settings box of a page: what each control writes into the project, which changes
// redraw the selected slide, and the settings' defaults shown without a project.
class TestVideoSettingsBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initSlideshowResources(); }
    void init();
    void cleanup();
    void controlsMirrorProject();
    void blurOnlyWithScale();
    void changesRedrawOnlyPictures_data();
    void changesRedrawOnlyPictures();
    void transitionTimeUpdatesDuration();
    void settingsShownWithoutProject();

private:
    Box* box() const { return m_fixture->page->videoSettingsBox(); }
    std::unique_ptr<BarsFixture> m_fixture;
};

void TestVideoSettingsBox::init()
{
    m_fixture = std::make_unique<BarsFixture>();
    ProjectFile* project = m_fixture->project.get();
    project->resolution = Resolution(640, 480);
    project->scale_to_fit = true;
    project->blur_background = true;
    project->transition_time_ms = 2000;
    project->project_loop = 2;
    project->fps = 15;
}

void TestVideoSettingsBox::cleanup()
{
    m_fixture.reset();
}

void TestVideoSettingsBox::controlsMirrorProject()
{
    m_fixture->bind();
    QCOMPARE(box()->resolutionRow()->control()->resolution(), QStringLiteral("640x480"));
    QVERIFY(box()->scaleRow()->control()->isChecked());
    QVERIFY(box()->blurRow()->control()->isChecked());
    QCOMPARE(box()->transitionTimeRow()->control()->msecValue(), 2000);
    QCOMPARE(box()->loopRow()->control()->value(), 2);
    QCOMPARE(box()->fpsRow()->control()->fps(), 15);
    QCOMPARE(box()->scaleRow()->label()->text(), QStringLiteral("Растянуть по размеру экрана"));
    QCOMPARE(box()->loopRow()->icon()->toolTip(), QStringLiteral("Количество повторов всего проекта"));
    QCOMPARE(box()->loopRow()->control()->oneLoopDuration(), m_fixture->project->durationFrom(nullptr));
}

void TestVideoSettingsBox::blurOnlyWithScale()
{
    m_fixture->bind();
    CButton* scale = box()->scaleRow()->control();
    QVERIFY(blurEnabled(box()));
    press(scale);
    QVERIFY(!m_fixture->project->scale_to_fit);
    QVERIFY(blurDisabled(box()));
    // The blur value itself stays.
    QVERIFY(box()->blurRow()->control()->isChecked());
    QVERIFY(m_fixture->project->blur_background);
    press(scale);
    QVERIFY(blurEnabled(box()));

    // A project without scaling comes with the blur disabled.
    auto other = std::make_unique<ProjectFile>(1000);
    other->scale_to_fit = false;
    m_fixture->page->setProject(other.get(), false);
    QVERIFY(blurDisabled(box()));
    m_fixture->bind();
    QVERIFY(blurEnabled(box()));
}

void TestVideoSettingsBox::changesRedrawOnlyPictures_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("redraws");
    QTest::newRow("resolution") << QStringLiteral("resolution") << true;
    QTest::newRow("scale") << QStringLiteral("scale") << true;
    QTest::newRow("blur") << QStringLiteral("blur") << true;
    QTest::newRow("loops") << QStringLiteral("loops") << false;
    QTest::newRow("fps") << QStringLiteral("fps") << false;
}

void TestVideoSettingsBox::changesRedrawOnlyPictures()
{
    QFETCH(QString, control);
    QFETCH(bool, redraws);
    m_fixture->bind();
    ProjectFile* project = m_fixture->project.get();
    m_fixture->page->selectSlides({project->item(2)});
    VideoPlayer* player = m_fixture->page->previewPanel()->player();
    QTRY_VERIFY(!player->stillImage().isNull());
    const qint64 shown = player->stillImage().cacheKey();

    if (control == QLatin1String("resolution")) {
        box()->resolutionRow()->control()->setResolution(QStringLiteral("1280x720"));
        QCOMPARE(project->resolution, Resolution(1280, 720));
    } else if (control == QLatin1String("scale")) {
        press(box()->scaleRow()->control());
        QVERIFY(!project->scale_to_fit);
    } else if (control == QLatin1String("blur")) {
        press(box()->blurRow()->control());
        QVERIFY(!project->blur_background);
    } else if (control == QLatin1String("loops")) {
        emit box()->loopRow()->control()->valueChanged(5);
        QCOMPARE(project->project_loop, 5);
    } else {
        box()->fpsRow()->control()->setFps(30);
        QCOMPARE(project->fps, 30);
    }
    QCoreApplication::processEvents();
    QCOMPARE(player->stillImage().cacheKey() != shown, redraws);
}

void TestVideoSettingsBox::transitionTimeUpdatesDuration()
{
    ProjectFile* project = m_fixture->project.get();
    for (ProjectItem* item : project->items()) {
        if (auto* slide = dynamic_cast<ProjectItemTransition*>(item))
            slide->transition = TransitionCrossfade;
    }
    m_fixture->bind();
    const qint64 before = box()->loopRow()->control()->oneLoopDuration();
    QCOMPARE(before, project->durationFrom(nullptr));

    box()->transitionTimeRow()->control()->setMsecValue(500);
    QCOMPARE(project->transition_time_ms, 500);
    QTRY_COMPARE(box()->loopRow()->control()->oneLoopDuration(), project->durationFrom(nullptr));
    QVERIFY(box()->loopRow()->control()->oneLoopDuration() != before);
}

void TestVideoSettingsBox::settingsShownWithoutProject()
{
    SettingsProvider* settings = m_fixture->settings.settings();
    // Each change shows at once, on its own.
    settings->setTransitionTime_ms(1000);
    QCOMPARE(box()->transitionTimeRow()->control()->msecValue(), 1000);
    settings->setResolution(QStringLiteral("1280x720"));
    QCOMPARE(box()->resolutionRow()->control()->resolution(), QStringLiteral("1280x720"));
    settings->setFps(15);
    QCOMPARE(box()->fpsRow()->control()->fps(), 15);
    settings->setScaleToFit(true);
    QVERIFY(box()->scaleRow()->control()->isChecked());
    settings->setBlurBackground(true);
    QVERIFY(box()->blurRow()->control()->isChecked());
    QVERIFY(blurEnabled(box()));
    QCOMPARE(box()->loopRow()->control()->value(), 1);
    settings->setScaleToFit(false);
    QVERIFY(!box()->scaleRow()->control()->isChecked());
    QVERIFY(blurDisabled(box()));

    // A choice without a project writes nothing.
    box()->fpsRow()->control()->setFps(30);
    box()->transitionTimeRow()->control()->setMsecValue(3000);
    QCOMPARE(settings->fps(), 15);
    QCOMPARE(settings->transitionTime_ms(), 1000);
}

TY_UI_TEST_MAIN(TestVideoSettingsBox)
#include "tst_videosettingsbox.moc"
