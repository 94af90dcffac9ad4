#pragma once

#include "pages/GroupLayout.h"
#include "pages/Labeled.h"
#include "pages/SettingsBox.h"

#include <QPointer>

class CButton;
class CWidgetText;
class FpsSelector;
class MotionSelector;
class QHBoxLayout;
class ResolutionSelector;
class TimeSelector;
class TransitionSelector;

struct SettingsBox::Private
{
    template <class L>
    using GroupLayout = ::GroupLayout<L>;

    Private(SettingsBox* owner, SettingsProvider* settings);

    void layOut();
    void setPresets();
    void bind();
    void chooseFolder();

    SettingsBox* owner;
    QPointer<SettingsProvider> settings;
    CWidgetText* versionLabel;
    CButton* backButton;
    QHBoxLayout* topRow;
    GroupLayout<QHBoxLayout>* slideGroup;
    Labeled<TimeSelector>* slideTime;
    Labeled<TimeSelector>* transitionTime;
    Labeled<TransitionSelector>* transition;
    Labeled<MotionSelector>* motion;
    GroupLayout<QHBoxLayout>* audioGroup;
    Labeled<TimeSelector>* audioOffset;
    Labeled<TimeSelector>* audioFade;
    GroupLayout<QGridLayout>* exportGroup;
    Labeled<ResolutionSelector>* resolution;
    Labeled<FpsSelector>* fps;
    Labeled<CButton>* folder;
    CButton* scaleToFit;
    CButton* blurBackground;
    GroupLayout<QGridLayout>* systemGroup;
    CButton* updateCheck;
};
