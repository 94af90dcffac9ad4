#pragma once

#include "app/CSettingsStorage.h"
#include "model/MotionType.h"
#include "model/transition/TransitionType.h"

// The program's settings: the defaults of new slideshows and the output choices, beside the
// shell's keys. Nothing is signalled while the constructor loads.
class SettingsProvider : public CSettingsStorage
{
    Q_OBJECT
public:
    SettingsProvider(const QString& fileName, QSettings::Format format, QObject* parent);

    // The running application's settings when they are a SettingsProvider, else null.
    static SettingsProvider* instance();

    // Also puts back the desktop for an output folder that is gone and 3000 for a transition
    // time that is not one of transitionTimes().
    void load() override;
    void save() override;

    static const QList<int>& transitionTimes();

    TransitionType defaultTransition() const;
    void setDefaultTransition(const TransitionType& val);
    MotionType defaultMotion() const;
    void setDefaultMotion(const MotionType& val);
    int defaultTime_ms() const;
    void setDefaultTime_ms(const int& val);
    int transitionTime_ms() const;
    void setTransitionTime_ms(const int& val);
    int audioOffset() const;
    void setAudioOffset(const int& val);
    int audioFade() const;
    void setAudioFade(const int& val);
    bool scaleToFit() const;
    void setScaleToFit(const bool& val);
    bool blurBackground() const;
    void setBlurBackground(const bool& val);
    // "<width>x<height>".
    QString resolution() const;
    void setResolution(const QString& val);
    QString folder() const;
    void setFolder(const QString& val);
    QString lastOpenAudioPath() const;
    void setLastOpenAudioPath(const QString& val);
    // A file extension without the dot.
    QString outFileFormat() const;
    void setOutFileFormat(const QString& val);
    int fps() const;
    void setFps(const int& val);
    // Read only: the address of the update service.
    QString updateServiceUrl() const;

signals:
    void defaultTransitionChanged(int val);
    void defaultMotionChanged(int val);
    void defaultTime_msChanged(int val);
    void transitionTime_msChanged(int val);
    void audioOffsetChanged(int val);
    void audioFadeChanged(int val);
    void scaleToFitChanged(bool val);
    void blurBackgroundChanged(bool val);
    void resolutionChanged(QString val);
    void folderChanged(QString val);
    void lastOpenAudioPathChanged(QString val);
    void outFileFormatChanged(QString val);
    void fpsChanged(int val);
};
