#pragma once

#include "uilib/style/AnimationParams.h"
#include "uilib/style/CAnimateionProp.h"

#include <QObject>
#include <QVariant>

// A "progress" from 0 to 1 driven by its own engine, for whoever watches it.
class CAnimationProgress : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double progress READ progress WRITE setProgress NOTIFY progressChanged)

public:
    CAnimationProgress(QObject* parent, const AnimationParams& params);
    // The parameters as a QVariant holding an AnimationParams.
    CAnimationProgress(QObject* parent, const QVariant& params);

    void playForward(bool animated = true) { setState(true, animated); }
    void playBackward(bool animated = true) { setState(false, animated); }
    void setState(bool on, bool animated);
    void jumpToEnd() { setState(true, false); }
    void resetToStart() { setState(false, false); }

    double progress() const { return m_progress; }
    void setProgress(double progress);
    void setAnimationParams(const AnimationParams& params);

    bool isRunning() const;
    // The position the progress was last sent to.
    CAnimateionProp::Pos position() const;

signals:
    void progressChanged(double progress);
    // The position the animation runs to.
    void started(CAnimateionProp::Pos destPos);
    // The position it has reached.
    void finished(CAnimateionProp::Pos currPos);

private:
    double m_progress = 0.0;
    CAnimateionProp* m_engine;
};
