#include "app/SettingsProvider.h"

#include "app/CApplicaiton.h"
#include "app/ProductUpdateChecker.h"
#include "model/Resolution.h"

#include <QDir>
#include <QStandardPaths>

namespace {
const QString DefaultTransitionKey = QStringLiteral("defaultTransition");
const QString DefaultMotionKey = QStringLiteral("defaultMotion");
const QString DefaultTimeKey = QStringLiteral("defaultTime_ms");
const QString TransitionTimeKey = QStringLiteral("transitionTime_ms");
const QString AudioOffsetKey = QStringLiteral("audioOffset");
const QString AudioFadeKey = QStringLiteral("audioFade");
const QString ScaleToFitKey = QStringLiteral("scaleToFit");
const QString BlurBackgroundKey = QStringLiteral("blurBackground");
const QString ResolutionKey = QStringLiteral("resolution");
const QString FolderKey = QStringLiteral("folder");
const QString LastOpenAudioPathKey = QStringLiteral("lastOpenAudioPath");
const QString OutFileFormatKey = QStringLiteral("outFileFormat");
const QString FpsKey = QStringLiteral("fps");
const QString UpdateServiceUrlKey = QStringLiteral("updateServiceUrl");

QString writableDesktop()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}
} // namespace

SettingsProvider::SettingsProvider(const QString& fileName, QSettings::Format format, QObject* parent)
    : CSettingsStorage(fileName, format, parent)
{
    blockSignals(true);
    load();
    blockSignals(false);
}

SettingsProvider* SettingsProvider::instance()
{
    auto* app = dynamic_cast<CApplicaiton*>(QCoreApplication::instance());
    return app ? qobject_cast<SettingsProvider*>(app->settings()) : nullptr;
}

void SettingsProvider::load()
{
    CSettingsStorage::load();
    if (!QDir(folder()).exists())
        setFolder(writableDesktop());
    if (!transitionTimes().contains(transitionTime_ms()))
        setTransitionTime_ms(transitionTimes().last());
}

void SettingsProvider::save()
{
    CSettingsStorage::save();
}

const QList<int>& SettingsProvider::transitionTimes()
{
    static const QList<int> times{500, 1000, 2000, 3000};
    return times;
}

TransitionType SettingsProvider::defaultTransition() const
{
    return TransitionType(readValue(DefaultTransitionKey, int(TransitionRandom)));
}

void SettingsProvider::setDefaultTransition(const TransitionType& val)
{
    if (writeValue(DefaultTransitionKey, int(val)))
        emit defaultTransitionChanged(val);
}

MotionType SettingsProvider::defaultMotion() const
{
    return MotionType(readValue(DefaultMotionKey, int(MotionRandom)));
}

void SettingsProvider::setDefaultMotion(const MotionType& val)
{
    if (writeValue(DefaultMotionKey, int(val)))
        emit defaultMotionChanged(val);
}

int SettingsProvider::defaultTime_ms() const
{
    return readValue(DefaultTimeKey, 3000);
}

void SettingsProvider::setDefaultTime_ms(const int& val)
{
    if (writeValue(DefaultTimeKey, val))
        emit defaultTime_msChanged(val);
}

int SettingsProvider::transitionTime_ms() const
{
    return readValue(TransitionTimeKey, 2000);
}

void SettingsProvider::setTransitionTime_ms(const int& val)
{
    if (writeValue(TransitionTimeKey, val))
        emit transitionTime_msChanged(val);
}

int SettingsProvider::audioOffset() const
{
    return readValue(AudioOffsetKey, 0);
}

void SettingsProvider::setAudioOffset(const int& val)
{
    if (writeValue(AudioOffsetKey, val))
        emit audioOffsetChanged(val);
}

int SettingsProvider::audioFade() const
{
    return readValue(AudioFadeKey, 0);
}

void SettingsProvider::setAudioFade(const int& val)
{
    if (writeValue(AudioFadeKey, val))
        emit audioFadeChanged(val);
}

bool SettingsProvider::scaleToFit() const
{
    return readValue(ScaleToFitKey, true);
}

void SettingsProvider::setScaleToFit(const bool& val)
{
    if (writeValue(ScaleToFitKey, val))
        emit scaleToFitChanged(val);
}

bool SettingsProvider::blurBackground() const
{
    return readValue(BlurBackgroundKey, true);
}

void SettingsProvider::setBlurBackground(const bool& val)
{
    if (writeValue(BlurBackgroundKey, val))
        emit blurBackgroundChanged(val);
}

QString SettingsProvider::resolution() const
{
    return readValue(ResolutionKey, Resolution::defaultForScreen(true).toString());
}

void SettingsProvider::setResolution(const QString& val)
{
    if (writeValue(ResolutionKey, val))
        emit resolutionChanged(val);
}

QString SettingsProvider::folder() const
{
    return readValue(FolderKey, writableDesktop());
}

void SettingsProvider::setFolder(const QString& val)
{
    if (writeValue(FolderKey, val))
        emit folderChanged(val);
}

QString SettingsProvider::lastOpenAudioPath() const
{
    return readValue(LastOpenAudioPathKey, desktopFolder());
}

void SettingsProvider::setLastOpenAudioPath(const QString& val)
{
    if (writeValue(LastOpenAudioPathKey, val))
        emit lastOpenAudioPathChanged(val);
}

QString SettingsProvider::outFileFormat() const
{
    return readValue(OutFileFormatKey, QStringLiteral("webm"));
}

void SettingsProvider::setOutFileFormat(const QString& val)
{
    if (writeValue(OutFileFormatKey, val))
        emit outFileFormatChanged(val);
}

int SettingsProvider::fps() const
{
    return readValue(FpsKey, 30);
}

void SettingsProvider::setFps(const int& val)
{
    if (writeValue(FpsKey, val))
        emit fpsChanged(val);
}

QString SettingsProvider::updateServiceUrl() const
{
    return readValue(UpdateServiceUrlKey, ProductUpdateChecker::kDefaultServiceUrl);
}
