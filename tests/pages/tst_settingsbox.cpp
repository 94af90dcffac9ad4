#include "support/UiTestSupport.h"

#include "app/CSystemTools.h"
#include "app/SettingsProvider.h"
#include "pages/EffectSelectors.h"
#include "pages/PageShell.h"
#include "pages/SettingsBoxPrivate.h"
#include "pages/TimeSelector.h"
#include "pages/TyStyle.h"
#include "pages/VideoFormatSelectors.h"
#include "resources/Resources.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CStyle.h"

#include <QSignalSpy>

#include <memory>

// The settings page over a settings file of its own in a temporary folder.
class TestSettingsBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void controlsStartFromStoredValues();
    void userChangeWritesOnce();
    void changeElsewhereIsNotWrittenBack();
    void negativeOffsetStoredAsIs();
    void folderDialog();
    void escapeHidesPage();
    void texts();

private:
    SettingsBox::Private* controls() const { return m_box->controls(); }

    QTemporaryDir m_folder;
    QString m_stored;
    QString m_other;
    std::unique_ptr<SettingsProvider> m_settings;
    std::unique_ptr<QWidget> m_window;
    SettingsBox* m_box = nullptr;
};

void TestSettingsBox::initTestCase()
{
    QVERIFY(m_folder.isValid());
    m_stored = m_folder.filePath(QStringLiteral("videos"));
    m_other = m_folder.filePath(QStringLiteral("other"));
    QVERIFY(QDir().mkpath(m_stored) && QDir().mkpath(m_other));
    initSlideshowResources();
    CStyle* style = CSystemTools::instance()->style();
    style->registerPalette(new TyStyle(style));
    QVERIFY(style->setCurrentStyle(QStringLiteral("TyStyle")));
    QCoreApplication::setApplicationVersion(QStringLiteral("2.4.1"));
}

void TestSettingsBox::init()
{
    const QString file = m_folder.filePath(QStringLiteral("settings.ini"));
    QFile::remove(file);
    {
        QSettings stored(file, QSettings::IniFormat);
        stored.setValue("defaultTime_ms", 7000);
        stored.setValue("transitionTime_ms", 1000);
        stored.setValue("defaultTransition", 5);
        stored.setValue("defaultMotion", 3);
        stored.setValue("audioOffset", 2);
        stored.setValue("audioFade", 4);
        stored.setValue("resolution", "1280x720");
        stored.setValue("fps", 15);
        stored.setValue("folder", m_stored);
        stored.setValue("scaleToFit", true);
        stored.setValue("blurBackground", true);
        stored.setValue("updateCheckerEnabled", false);
    }
    m_settings = std::make_unique<SettingsProvider>(file, QSettings::IniFormat, nullptr);
    m_window = std::make_unique<QWidget>();
    m_window->resize(1000, 700);
    m_box = new SettingsBox(m_settings.get(), m_window.get());
    m_box->updateTexts();
    m_box->setGeometry(100, 0, 900, 700);
}

void TestSettingsBox::cleanup()
{
    m_window.reset();
    m_settings.reset();
    PageShell::functions().chooseFolder = nullptr;
}

void TestSettingsBox::controlsStartFromStoredValues()
{
    QVERIFY(m_box->isHidden());
    QCOMPARE(m_box->styleKind(), 1055);
    QCOMPARE(m_box->focusPolicy(), Qt::ClickFocus);
    QCOMPARE(controls()->slideTime->control()->msecValue(), 7000);
    QCOMPARE(controls()->transitionTime->control()->msecValue(), 1000);
    QCOMPARE(int(controls()->transition->control()->transition()), 5);
    QCOMPARE(int(controls()->motion->control()->motion()), 3);
    QCOMPARE(controls()->audioOffset->control()->secValue(), 2);
    QCOMPARE(controls()->audioFade->control()->secValue(), 4);
    QCOMPARE(controls()->resolution->control()->resolution(), QStringLiteral("1280x720"));
    QCOMPARE(controls()->fps->control()->fps(), 15);
    // Native separators are the stored ones here: the folder reads as stored.
    QCOMPARE(controls()->folder->control()->text(), m_stored);
    QVERIFY(controls()->scaleToFit->isChecked());
    QVERIFY(controls()->blurBackground->isChecked());
    QVERIFY(!controls()->updateCheck->isChecked());
    QCOMPARE(controls()->slideTime->control()->presets(),
             QList<int>({500, 1000, 2000, 3000, 4000, 5000, 7000, 10000, 15000, 20000}));
    QCOMPARE(controls()->transitionTime->control()->presets(), QList<int>({500, 1000, 2000, 3000}));
    QCOMPARE(controls()->audioFade->control()->presets(), QList<int>({0, 1000, 2000, 3000, 4000, 5000}));
    QCOMPARE(controls()->audioOffset->control()->presets().first(), -10000);
}

void TestSettingsBox::userChangeWritesOnce()
{
    QSignalSpy transitions(m_settings.get(), &SettingsProvider::defaultTransitionChanged);
    TransitionSelector* transition = controls()->transition->control();
    transition->setTransition(TransitionType(7));
    QCOMPARE(transitions.size(), 1);
    QCOMPARE(int(m_settings->defaultTransition()), 7);
    QCOMPARE(m_settings->value("defaultTransition").toInt(), 7);
    // The same choice again writes nothing.
    transition->setTransition(TransitionType(7));
    QCOMPARE(transitions.size(), 1);

    QSignalSpy times(m_settings.get(), &SettingsProvider::defaultTime_msChanged);
    controls()->slideTime->control()->setMsecValue(15000);
    controls()->slideTime->control()->setMsecValue(15000);
    QCOMPARE(times.size(), 1);
    QCOMPARE(m_settings->defaultTime_ms(), 15000);

    QSignalSpy fps(m_settings.get(), &SettingsProvider::fpsChanged);
    controls()->fps->control()->setFps(30);
    QCOMPARE(fps.size(), 1);
    QCOMPARE(m_settings->fps(), 30);

    QSignalSpy resolution(m_settings.get(), &SettingsProvider::resolutionChanged);
    controls()->resolution->control()->setResolution(QStringLiteral("1920x1080"));
    QCOMPARE(resolution.size(), 1);
    QCOMPARE(m_settings->resolution(), QStringLiteral("1920x1080"));

    QSignalSpy blur(m_settings.get(), &SettingsProvider::blurBackgroundChanged);
    controls()->blurBackground->setCheckedAndEmit(false);
    QVERIFY(blur.wait(5000));
    QCOMPARE(blur.size(), 1);
    QVERIFY(!m_settings->blurBackground());

    QSignalSpy updates(m_settings.get(), &CSettingsStorage::updateCheckerEnabledChanged);
    controls()->updateCheck->setCheckedAndEmit(true);
    QVERIFY(updates.wait(5000));
    QVERIFY(m_settings->updateCheckerEnabled());
}

void TestSettingsBox::changeElsewhereIsNotWrittenBack()
{
    TimeSelector* slide = controls()->slideTime->control();
    QSignalSpy fromControl(slide, &TimeSelector::msecValueChanged);
    QSignalSpy written(m_settings.get(), &SettingsProvider::defaultTime_msChanged);
    m_settings->setDefaultTime_ms(2000);
    QCOMPARE(slide->msecValue(), 2000);
    QCOMPARE(fromControl.size(), 0);
    QCOMPARE(written.size(), 1);

    MotionSelector* motion = controls()->motion->control();
    QSignalSpy motionFromControl(motion, &MotionSelector::motionChanged);
    m_settings->setDefaultMotion(MotionType(6));
    QCOMPARE(int(motion->motion()), 6);
    QCOMPARE(motionFromControl.size(), 0);

    QSignalSpy toggled(controls()->scaleToFit, &CButton::toggled);
    QSignalSpy scale(m_settings.get(), &SettingsProvider::scaleToFitChanged);
    m_settings->setScaleToFit(false);
    QVERIFY(!controls()->scaleToFit->isChecked());
    QCoreApplication::processEvents();
    QCOMPARE(toggled.size(), 0);
    QCOMPARE(scale.size(), 1);

    QSignalSpy resolution(m_settings.get(), &SettingsProvider::resolutionChanged);
    m_settings->setResolution(QStringLiteral("640x480"));
    QCOMPARE(controls()->resolution->control()->resolution(), QStringLiteral("640x480"));
    QCOMPARE(resolution.size(), 1);

    m_settings->setFolder(m_other);
    QCOMPARE(controls()->folder->control()->text(), m_other);
}

void TestSettingsBox::negativeOffsetStoredAsIs()
{
    TimeSelector* offset = controls()->audioOffset->control();
    offset->setSecValue(-3);
    QCOMPARE(m_settings->audioOffset(), -3);
    QCOMPARE(m_settings->value("audioOffset").toInt(), -3);
    QCOMPARE(offset->secValue(), -3);
    QCOMPARE(offset->msecValue(), -3000);
}

void TestSettingsBox::folderDialog()
{
    QString answer;
    QStringList asked;
    PageShell::functions().chooseFolder = [&](const QString& title, const QString& start) {
        asked << title << start;
        return answer;
    };
    m_window->show();
    m_box->setVisibleAnimated(true, false);
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    CButton* folder = controls()->folder->control();
    QSignalSpy written(m_settings.get(), &SettingsProvider::folderChanged);
    QVERIFY(clickAsUser(folder));
    QCOMPARE(asked, QStringList({QStringLiteral("Сохранять слайд-шоу в папку"), m_stored}));
    QCOMPARE(written.size(), 0);
    QCOMPARE(m_settings->folder(), m_stored);
    QCOMPARE(folder->text(), m_stored);

    answer = m_other;
    QVERIFY(clickAsUser(folder));
    QCOMPARE(written.size(), 1);
    QCOMPARE(m_settings->folder(), m_other);
    QCOMPARE(folder->text(), m_other);
}

void TestSettingsBox::escapeHidesPage()
{
    ManualAnimationClock animations;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_box->showAnimated();
    animations.advance(1000);
    QVERIFY(m_box->isVisible());
    QWidget* control = controls()->fps->control();
    control->setFocusPolicy(Qt::StrongFocus);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_A);
    animations.advance(1000);
    QVERIFY(m_box->isVisible());
    QTest::keyClick(control, Qt::Key_Escape);
    animations.advance(1000);
    QVERIFY(m_box->isHidden());
}

void TestSettingsBox::texts()
{
    QCOMPARE(controls()->versionLabel->text(), QStringLiteral("2.4.1"));
    QCOMPARE(controls()->backButton->text(), QStringLiteral("Настройки"));
    QCOMPARE(controls()->slideGroup->caption()->text(), QStringLiteral("Параметры слайд-шоу по умолчанию:"));
    QCOMPARE(controls()->systemGroup->caption()->text(), QStringLiteral("Системные настройки:"));
    QCOMPARE(controls()->transitionTime->caption()->text(), QStringLiteral("Длительность перехода"));
    QCOMPARE(controls()->folder->caption()->text(), QStringLiteral("Папка для сохранения"));
    QCOMPARE(controls()->blurBackground->text(), QStringLiteral("Размыть фон"));
    QCOMPARE(controls()->updateCheck->text(), QStringLiteral("Автоматически проверять обновления"));
}

TY_UI_TEST_MAIN(TestSettingsBox)

#include "tst_settingsbox.moc"
