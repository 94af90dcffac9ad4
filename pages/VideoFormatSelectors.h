#pragma once

#include "uilib/controls/CComboBase.h"

// Chooses the output video's size among the standard ones, written "<width>x<height>". The list
// notes square and portrait sizes; with fullLabel 0 the button shows only the plain size.
class ResolutionSelector : public CComboBase
{
    Q_OBJECT
public:
    ResolutionSelector(int styleKind, int fullLabel, QWidget* parent = nullptr);
    ~ResolutionSelector() override;

    QString resolution() const { return currentData().toString(); }
    void setResolution(const QString& wxh);
    void setResolutionSilently(const QString& wxh);
    void updateTexts();
    // "1080x1080 (Instagram)", "720x1280 (портретная ориентация)" or the plain size.
    static QString itemLabel(const QString& wxh);

signals:
    void resolutionChanged(QString value);

private:
    void updateButtonText();

    int m_fullLabel;
};

// Chooses the output frame rate: 15 or 30 frames per second.
class FpsSelector : public CComboBase
{
    Q_OBJECT
public:
    explicit FpsSelector(int styleKind, QWidget* parent = nullptr);
    ~FpsSelector() override;

    int fps() const { return currentData().toInt(); }
    void setFps(int fps);
    void setFpsSilently(int fps);
    void updateTexts();

signals:
    void fpsChanged(int value);
};
