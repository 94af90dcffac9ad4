#pragma once

#include "pages/ProjectPage.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CDrawable.h"

#include <QBoxLayout>
#include <QPointer>
#include <QVector>
#include <QWidget>

class CButton;
class FpsSelector;
class LoopSelector;
class ProjectFile;
class ResolutionSelector;
class TimeSelector;

// The project-wide video settings: resolution, scale to fit, transition time, blurred
// background, project loops and frame rate. Each control writes straight into the bound
// project; without one the controls show the defaults of the settings.
class ProjectPage::VideoSettingsBox : public QWidget, public CDrawable
{
public:
    template <class T>
    class Row;

    explicit VideoSettingsBox(ProjectPage* page);
    ~VideoSettingsBox() override;

    void setProject(ProjectFile* project);
    ProjectFile* project() const { return m_project; }
    void reload();
    // One loop's length in the loop selector: the project's total duration.
    void setTotalDuration();
    void updateTexts();
    void applyStyle() override;

    Row<ResolutionSelector>* resolutionRow() const { return m_resolution; }
    Row<CButton>* scaleRow() const { return m_scale; }
    Row<TimeSelector>* transitionTimeRow() const { return m_transitionTime; }
    Row<CButton>* blurRow() const { return m_blur; }
    Row<LoopSelector>* loopRow() const { return m_loop; }
    Row<FpsSelector>* fpsRow() const { return m_fps; }

private:
    template <class T>
    Row<T>* addRow(T* control, const char* icon, int gridRow, int gridColumn);
    void connectControls();
    void updateBlurEnabled();
    void onResolutionChanged(const QString& text);
    void onScaleToggled(bool checked);
    void onBlurToggled(bool checked);
    void onTransitionTimeChanged(int ms);
    // Drops the slides' pictures and redraws the selected slide.
    void redrawPictures();

    ProjectPage* m_page;
    QPointer<ProjectFile> m_project;
    QVector<CWidgetIcon*> m_icons;
    Row<ResolutionSelector>* m_resolution;
    Row<CButton>* m_scale;
    Row<TimeSelector>* m_transitionTime;
    Row<CButton>* m_blur;
    Row<LoopSelector>* m_loop;
    Row<FpsSelector>* m_fps;
};

// One setting: a hint icon that carries the tooltip, a caption and the control at the right.
template <class T>
class ProjectPage::VideoSettingsBox::Row : public QHBoxLayout
{
public:
    Row(const QString& icon, T* control)
        : m_icon(new CWidgetIcon(icon))
        , m_label(new CWidgetText(1062))
        , m_control(control)
    {
        setContentsMargins(0, 0, 0, 0);
        setSpacing(6);
        addWidget(m_icon);
        addWidget(m_label);
        addStretch();
        addWidget(m_control);
    }
    ~Row() override = default;

    void setTexts(const QString& toolTip, const QString& label)
    {
        m_icon->setToolTip(toolTip);
        m_label->setText(label);
    }

    CWidgetIcon* icon() const { return m_icon; }
    CWidgetText* label() const { return m_label; }
    T* control() const { return m_control; }

private:
    CWidgetIcon* m_icon;
    CWidgetText* m_label;
    T* m_control;
};
