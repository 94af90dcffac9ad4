#pragma once

#include "uilib/style/AnimationParams.h"
#include "uilib/style/CDrawable.h"

#include <QObject>
#include <QPointer>

class CAnimateionProp;
class QWidget;

// The animated disabled look of one widget: "disabledProgress" 0 (enabled) to 1 (disabled).
// Mode 0 follows nothing by itself; any other mode follows the widget's enabled state.
// Parameters and the disabled opacity come from the palette unless set explicitly.
class CAnimationInactive : public QObject, public CDrawable
{
    Q_OBJECT
    Q_PROPERTY(double disabledProgress READ disabledProgress WRITE setDisabledProgress NOTIFY disabledProgressChanged)

public:
    CAnimationInactive(int mode, QObject* parent);
    ~CAnimationInactive() override;

    QWidget* widget() const { return m_widget; }
    void setWidget(QWidget* widget);

    bool isDisabled() const { return m_disabled; }
    void setDisabled(bool disabled, bool animated);
    void setDisabledOpacity(double factor);
    void setDisabledAnimationParams(const AnimationParams& params);
    // The opacity of the disabled look: 1 - factor x disabled progress.
    double opacity() const;

    // Off, every change is applied at once whatever the caller asks.
    bool animationsEnabled() const { return m_animationsEnabled; }
    void setAnimationsEnabled(bool enabled) { m_animationsEnabled = enabled; }

    double disabledProgress() const { return m_disabledProgress; }
    void setDisabledProgress(double progress);

    void applyStyle() override;

signals:
    void disabledProgressChanged(double progress);

protected:
    int mode() const { return m_mode; }
    CAnimateionProp* engine() const { return m_engine; }
    // Drives a state property; false when the state was already so.
    bool driveState(bool& state, bool value, const char* property, bool animated);
    // Stores a progress value that differs, repaints the widget, and says whether it changed.
    bool storeProgress(double& stored, double value);
    // Explicit parameters of one property, kept across restyles.
    void setExplicitParams(bool& explicitFlag, const char* property, const AnimationParams& params);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyDisabledStyle();

    int m_mode;
    QPointer<QWidget> m_widget;
    CAnimateionProp* m_engine;
    bool m_disabled = false;
    bool m_disabledOpacitySet = false;
    bool m_disabledParamsSet = false;
    bool m_animationsEnabled = true;
    double m_disabledOpacity = 0.0;
    double m_disabledProgress = 0.0;
};
