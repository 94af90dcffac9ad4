#include <QtTest>

#include "app/CApplicaiton.h"
#include "app/SettingsProvider.h"
#include "model/Resolution.h"
#include "support/UiTestSupport.h"

#include <QtCore/private/qobject_p.h>

#include <functional>
#include <memory>

namespace {

// One key of the settings: its default, a value other than the default, and its accessors.
struct Key
{
    const char* name;
    std::function<QVariant()> defaultValue;
    QVariant other;
    std::function<QVariant(const SettingsProvider&)> get;
    std::function<void(SettingsProvider&, const QVariant&)> set;
    const char* signal;
};

QString writableDesktop()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString firstDesktop()
{
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::DesktopLocation);
    return folders.isEmpty() ? QString() : folders.first();
}

template <class T>
std::function<QVariant()> fixed(const T& value)
{
    return [value] { return QVariant::fromValue(value); };
}

const std::vector<Key>& storedKeys()
{
    static const std::vector<Key> keys{
        {"updateCheckerShowedVersion", fixed(QString()), QStringLiteral("1.2"),
         [](const SettingsProvider& s) { return QVariant(s.updateCheckerShowedVersion()); },
         [](SettingsProvider& s, const QVariant& v) { s.setUpdateCheckerShowedVersion(v.toString()); },
         SIGNAL(updateCheckerShowedVersionChanged(QString))},
        {"showFirstStartWizard", fixed(true), false,
         [](const SettingsProvider& s) { return QVariant(s.showFirstStartWizard()); },
         [](SettingsProvider& s, const QVariant& v) { s.setShowFirstStartWizard(v.toBool()); },
         SIGNAL(showFirstStartWizardChanged(bool))},
        {"lastScreen", fixed(0), 2, [](const SettingsProvider& s) { return QVariant(s.lastScreen()); },
         [](SettingsProvider& s, const QVariant& v) { s.setLastScreen(v.toInt()); },
         SIGNAL(lastScreenChanged(int))},
        {"lastOpenFilePath", firstDesktop, QStringLiteral("/some/where"),
         [](const SettingsProvider& s) { return QVariant(s.lastOpenFilePath()); },
         [](SettingsProvider& s, const QVariant& v) { s.setLastOpenFilePath(v.toString()); },
         SIGNAL(lastOpenFilePathChanged(QString))},
        {"lastStyleId", fixed(QString()), QStringLiteral("TyStyle"),
         [](const SettingsProvider& s) { return QVariant(s.lastStyleId()); },
         [](SettingsProvider& s, const QVariant& v) { s.setLastStyleId(v.toString()); },
         SIGNAL(lastStyleIdChanged(QString))},
        {"defaultTransition", fixed(1), 7, [](const SettingsProvider& s) { return QVariant(int(s.defaultTransition())); },
         [](SettingsProvider& s, const QVariant& v) { s.setDefaultTransition(TransitionType(v.toInt())); },
         SIGNAL(defaultTransitionChanged(int))},
        {"defaultMotion", fixed(1), 4, [](const SettingsProvider& s) { return QVariant(int(s.defaultMotion())); },
         [](SettingsProvider& s, const QVariant& v) { s.setDefaultMotion(MotionType(v.toInt())); },
         SIGNAL(defaultMotionChanged(int))},
        {"defaultTime_ms", fixed(3000), 4500, [](const SettingsProvider& s) { return QVariant(s.defaultTime_ms()); },
         [](SettingsProvider& s, const QVariant& v) { s.setDefaultTime_ms(v.toInt()); },
         SIGNAL(defaultTime_msChanged(int))},
        {"transitionTime_ms", fixed(2000), 500, [](const SettingsProvider& s) { return QVariant(s.transitionTime_ms()); },
         [](SettingsProvider& s, const QVariant& v) { s.setTransitionTime_ms(v.toInt()); },
         SIGNAL(transitionTime_msChanged(int))},
        {"audioOffset", fixed(0), -3, [](const SettingsProvider& s) { return QVariant(s.audioOffset()); },
         [](SettingsProvider& s, const QVariant& v) { s.setAudioOffset(v.toInt()); },
         SIGNAL(audioOffsetChanged(int))},
        {"audioFade", fixed(0), 2, [](const SettingsProvider& s) { return QVariant(s.audioFade()); },
         [](SettingsProvider& s, const QVariant& v) { s.setAudioFade(v.toInt()); },
         SIGNAL(audioFadeChanged(int))},
        {"scaleToFit", fixed(true), false, [](const SettingsProvider& s) { return QVariant(s.scaleToFit()); },
         [](SettingsProvider& s, const QVariant& v) { s.setScaleToFit(v.toBool()); },
         SIGNAL(scaleToFitChanged(bool))},
        {"blurBackground", fixed(true), false, [](const SettingsProvider& s) { return QVariant(s.blurBackground()); },
         [](SettingsProvider& s, const QVariant& v) { s.setBlurBackground(v.toBool()); },
         SIGNAL(blurBackgroundChanged(bool))},
        {"resolution", [] { return QVariant(Resolution::defaultForScreen(true).toString()); },
         QStringLiteral("640x480"), [](const SettingsProvider& s) { return QVariant(s.resolution()); },
         [](SettingsProvider& s, const QVariant& v) { s.setResolution(v.toString()); },
         SIGNAL(resolutionChanged(QString))},
        {"folder", writableDesktop, QStringLiteral("/tmp"), [](const SettingsProvider& s) { return QVariant(s.folder()); },
         [](SettingsProvider& s, const QVariant& v) { s.setFolder(v.toString()); },
         SIGNAL(folderChanged(QString))},
        {"lastOpenAudioPath", firstDesktop, QStringLiteral("/music"),
         [](const SettingsProvider& s) { return QVariant(s.lastOpenAudioPath()); },
         [](SettingsProvider& s, const QVariant& v) { s.setLastOpenAudioPath(v.toString()); },
         SIGNAL(lastOpenAudioPathChanged(QString))},
        {"outFileFormat", fixed(QStringLiteral("webm")), QStringLiteral("mp4"),
         [](const SettingsProvider& s) { return QVariant(s.outFileFormat()); },
         [](SettingsProvider& s, const QVariant& v) { s.setOutFileFormat(v.toString()); },
         SIGNAL(outFileFormatChanged(QString))},
        {"fps", fixed(30), 60, [](const SettingsProvider& s) { return QVariant(s.fps()); },
         [](SettingsProvider& s, const QVariant& v) { s.setFps(v.toInt()); }, SIGNAL(fpsChanged(int))},
    };
    return keys;
}

// Counts the signals that any settings object emits while it lives (blocked ones are not emitted).
class EmissionRecorder
{
public:
    EmissionRecorder()
    {
        s_count = 0;
        static QSignalSpyCallbackSet set{&onSignal, nullptr, nullptr, nullptr};
        qt_register_signal_spy_callbacks(&set);
    }
    ~EmissionRecorder() { qt_register_signal_spy_callbacks(nullptr); }
    int count() const { return s_count; }

private:
    static void onSignal(QObject* caller, int, void**)
    {
        if (qobject_cast<CSettingsStorage*>(caller))
            ++s_count;
    }
    static int s_count;
};

int EmissionRecorder::s_count = 0;

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void defaultsWithoutFile_data();
    void defaultsWithoutFile();
    void noSignalWhileConstructing();
    void setterWritesAndEmitsOnce_data();
    void setterWritesAndEmitsOnce();
    void unparsableIntReadsZero_data();
    void unparsableIntReadsZero();
    void transitionTimeOutsideListBecomes3000_data();
    void transitionTimeOutsideListBecomes3000();
    void missingOutputFolderBecomesDesktop();
    void updateCheckerReachesFileOnlyOnSave();
    void loadSignalsCachedKeysOnChange();
    void firstRunEndsWithDestruction();
    void signalsInOrderWithValNames();
    void instanceFollowsApplicationSettings();

private:
    QString filePath() const { return m_folder->filePath(QStringLiteral("settings.ini")); }
    std::unique_ptr<SettingsProvider> makeSettings() const;
    // What another reader of the file sees now.
    QVariant stored(const QString& key) const;
    void store(const QVariantMap& values) const;

    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestSettings::init()
{
    m_folder.reset(new QTemporaryDir);
    QVERIFY(m_folder->isValid());
}

void TestSettings::cleanup()
{
    m_folder.reset();
}

std::unique_ptr<SettingsProvider> TestSettings::makeSettings() const
{
    return std::make_unique<SettingsProvider>(filePath(), QSettings::IniFormat, nullptr);
}

QVariant TestSettings::stored(const QString& key) const
{
    return QSettings(filePath(), QSettings::IniFormat).value(key);
}

void TestSettings::store(const QVariantMap& values) const
{
    QSettings file(filePath(), QSettings::IniFormat);
    for (auto it = values.begin(); it != values.end(); ++it)
        file.setValue(it.key(), it.value());
}

static void addKeyRows()
{
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < storedKeys().size(); ++i)
        QTest::newRow(storedKeys()[i].name) << int(i);
}

void TestSettings::defaultsWithoutFile_data()
{
    addKeyRows();
}

void TestSettings::defaultsWithoutFile()
{
    QFETCH(int, index);
    const Key& key = storedKeys()[size_t(index)];
    const auto settings = makeSettings();
    QCOMPARE(key.get(*settings), key.defaultValue());
    QCOMPARE(settings->updateCheckerEnabled(), true);
    QCOMPARE(settings->registerAsDefaultApp(), true);
}

void TestSettings::noSignalWhileConstructing()
{
    // Every value the loading step reads or mends differs from the defaults.
    store({{QStringLiteral("updateCheckerEnabled"), false},
           {QStringLiteral("registerAsDefaultApp"), false},
           {QStringLiteral("transitionTime_ms"), 1500},
           {QStringLiteral("folder"), m_folder->filePath(QStringLiteral("gone"))}});
    EmissionRecorder recorder;
    const auto settings = makeSettings();
    QCOMPARE(recorder.count(), 0);
    QCOMPARE(settings->updateCheckerEnabled(), false);
    QCOMPARE(settings->registerAsDefaultApp(), false);
    // The same mends after construction do signal.
    store({{QStringLiteral("transitionTime_ms"), 1500}});
    settings->load();
    QCOMPARE(recorder.count(), 1);
}

void TestSettings::setterWritesAndEmitsOnce_data()
{
    addKeyRows();
}

void TestSettings::setterWritesAndEmitsOnce()
{
    QFETCH(int, index);
    const Key& key = storedKeys()[size_t(index)];
    const auto settings = makeSettings();
    QSignalSpy changed(settings.get(), key.signal);
    QVERIFY(changed.isValid());

    key.set(*settings, key.other);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.takeFirst().at(0), key.other);
    QCOMPARE(key.get(*settings), key.other);
    settings->sync();
    QCOMPARE(stored(QString::fromLatin1(key.name)).toString(), key.other.toString());

    key.set(*settings, key.other);
    QCOMPARE(changed.count(), 0);
    // The stored text compares equal to the typed value after a reload too.
    const auto reloaded = makeSettings();
    QSignalSpy reloadedChanged(reloaded.get(), key.signal);
    key.set(*reloaded, key.other);
    QCOMPARE(reloadedChanged.count(), 0);
}

void TestSettings::unparsableIntReadsZero_data()
{
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < storedKeys().size(); ++i) {
        const Key& key = storedKeys()[i];
        // The transition time is mended to a listed one when it loads.
        if (key.other.type() == QVariant::Int && qstrcmp(key.name, "transitionTime_ms") != 0)
            QTest::newRow(key.name) << int(i);
    }
}

void TestSettings::unparsableIntReadsZero()
{
    QFETCH(int, index);
    const Key& key = storedKeys()[size_t(index)];
    store({{QString::fromLatin1(key.name), QStringLiteral("abc")}});
    QCOMPARE(key.get(*makeSettings()), QVariant(0));
}

void TestSettings::transitionTimeOutsideListBecomes3000_data()
{
    QTest::addColumn<QVariant>("storedValue");
    QTest::addColumn<int>("expected");
    QTest::newRow("500 kept") << QVariant(500) << 500;
    QTest::newRow("1000 kept") << QVariant(1000) << 1000;
    QTest::newRow("2000 kept") << QVariant(2000) << 2000;
    QTest::newRow("3000 kept") << QVariant(3000) << 3000;
    QTest::newRow("1500") << QVariant(1500) << 3000;
    QTest::newRow("0") << QVariant(0) << 3000;
    QTest::newRow("-500") << QVariant(-500) << 3000;
    QTest::newRow("4000") << QVariant(4000) << 3000;
    QTest::newRow("abc") << QVariant(QStringLiteral("abc")) << 3000;
}

void TestSettings::transitionTimeOutsideListBecomes3000()
{
    QFETCH(QVariant, storedValue);
    QFETCH(int, expected);
    store({{QStringLiteral("transitionTime_ms"), storedValue}});
    const auto settings = makeSettings();
    QCOMPARE(settings->transitionTime_ms(), expected);
    settings->sync();
    QCOMPARE(stored(QStringLiteral("transitionTime_ms")).toInt(), expected);
}

void TestSettings::missingOutputFolderBecomesDesktop()
{
    store({{QStringLiteral("folder"), m_folder->filePath(QStringLiteral("gone"))}});
    QCOMPARE(makeSettings()->folder(), writableDesktop());

    store({{QStringLiteral("folder"), m_folder->path()}});
    QCOMPARE(makeSettings()->folder(), m_folder->path());
}

void TestSettings::updateCheckerReachesFileOnlyOnSave()
{
    const auto settings = makeSettings();
    QSignalSpy changed(settings.get(), &CSettingsStorage::updateCheckerEnabledChanged);
    settings->setUpdateCheckerEnabled(false);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0), QVariant(false));
    QCOMPARE(settings->updateCheckerEnabled(), false);
    settings->sync();
    QVERIFY(!stored(QStringLiteral("updateCheckerEnabled")).isValid());

    settings->setUpdateCheckerEnabled(false);
    QCOMPARE(changed.count(), 1);
    settings->save();
    settings->sync();
    QCOMPARE(stored(QStringLiteral("updateCheckerEnabled")).toBool(), false);
    QCOMPARE(stored(QStringLiteral("registerAsDefaultApp")).toBool(), true);
}

void TestSettings::loadSignalsCachedKeysOnChange()
{
    const auto settings = makeSettings();
    QSignalSpy updateChecker(settings.get(), &CSettingsStorage::updateCheckerEnabledChanged);
    QSignalSpy registerAsDefault(settings.get(), &CSettingsStorage::registerAsDefaultAppChanged);
    store({{QStringLiteral("registerAsDefaultApp"), false}});
    settings->load();
    QCOMPARE(updateChecker.count(), 0);
    QCOMPARE(registerAsDefault.count(), 1);
    QCOMPARE(settings->registerAsDefaultApp(), false);
    settings->load();
    QCOMPARE(registerAsDefault.count(), 1);
}

void TestSettings::firstRunEndsWithDestruction()
{
    auto* app = static_cast<CApplicaiton*>(QCoreApplication::instance());
    makeSettings().reset();
    QCOMPARE(stored(QStringLiteral("FirstRun")).toBool(), false);

    const QString other = m_folder->filePath(QStringLiteral("fresh.ini"));
    auto fresh = std::make_unique<SettingsProvider>(other, QSettings::IniFormat, nullptr);
    QCOMPARE(app->isFirstRun(), true);
    fresh.reset();
    fresh = std::make_unique<SettingsProvider>(other, QSettings::IniFormat, nullptr);
    QCOMPARE(app->isFirstRun(), false);
    fresh.reset();
    app->setFirstRun(true);
}

void TestSettings::signalsInOrderWithValNames()
{
    const auto signalsOf = [](const QMetaObject& meta) {
        QStringList list;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            const QMetaMethod method = meta.method(i);
            if (method.methodType() == QMetaMethod::Signal)
                list << QString::fromLatin1(method.methodSignature() + ' ' + method.parameterNames().join(','));
        }
        return list;
    };
    QCOMPARE(signalsOf(CSettingsStorage::staticMetaObject),
             QStringList({"lastScreenChanged(int) val", "updateCheckerEnabledChanged(bool) val",
                          "updateCheckerShowedVersionChanged(QString) val", "registerAsDefaultAppChanged(bool) val",
                          "checkIsNotDefaultChanged(bool) val", "lastOpenFilePathChanged(QString) val",
                          "lastStyleIdChanged(QString) val", "showFirstStartWizardChanged(bool) val"}));
    QCOMPARE(signalsOf(SettingsProvider::staticMetaObject),
             QStringList({"defaultTransitionChanged(int) val", "defaultMotionChanged(int) val",
                          "defaultTime_msChanged(int) val", "transitionTime_msChanged(int) val",
                          "audioOffsetChanged(int) val", "audioFadeChanged(int) val", "scaleToFitChanged(bool) val",
                          "blurBackgroundChanged(bool) val", "resolutionChanged(QString) val", "folderChanged(QString) val",
                          "lastOpenAudioPathChanged(QString) val", "outFileFormatChanged(QString) val",
                          "fpsChanged(int) val"}));
    QCOMPARE(SettingsProvider::staticMetaObject.methodCount() - SettingsProvider::staticMetaObject.methodOffset(), 13);
    QCOMPARE(SettingsProvider::staticMetaObject.propertyCount(),
             SettingsProvider::staticMetaObject.propertyOffset());
}

void TestSettings::instanceFollowsApplicationSettings()
{
    auto* app = static_cast<CApplicaiton*>(QCoreApplication::instance());
    CSettingsStorage* previous = app->settings();
    QCOMPARE(SettingsProvider::instance(), nullptr); // a plain CSettingsStorage

    auto settings = makeSettings();
    app->setSettings(settings.get());
    QCOMPARE(SettingsProvider::instance(), settings.get());
    settings.reset();
    QCOMPARE(app->settings(), nullptr);
    QCOMPARE(SettingsProvider::instance(), nullptr);
    app->setSettings(previous);
}

TY_UI_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
