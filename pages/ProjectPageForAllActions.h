#pragma once

#include "pages/AbstractRow.h"
#include "pages/ProjectPage.h"
#include "uilib/controls/CPanel.h"

#include <QPointer>

class CButton;
class CWidgetText;
class MotionSelector;
class ProjectFile;
class TimeSelector;
class TransitionSelector;

// The bar under the slide list: the default time, transition and motion of the project, which a
// choice here gives to every slide at once; the caption style of all slides; clearing the list.
// Without a project it shows the defaults of the settings.
class ProjectPage::ForAllActions : public CPanel, public AbstractRow
{
public:
    explicit ForAllActions(ProjectPage* page);
    ~ForAllActions() override;

    void setProject(ProjectFile* project);
    ProjectFile* project() const { return m_project; }
    void reload();
    void updateTexts();
    // "Очистить список" with the number of slides besides the title slide; enabled when there are any.
    void updateClearButton(int slideCount);

    CWidgetText* label() const { return m_label; }
    TimeSelector* timeSelector() const { return m_time; }
    TransitionSelector* transitionSelector() const { return m_transition; }
    MotionSelector* motionSelector() const { return m_motion; }
    CButton* styleButton() const { return m_style; }
    CButton* clearButton() const { return m_clear; }

private:
    void buildCells();
    void connectParts(ProjectPage* page);

    CWidgetText* m_label;
    TimeSelector* m_time;
    TransitionSelector* m_transition;
    MotionSelector* m_motion;
    CButton* m_style;
    CButton* m_clear;
    int m_slideCount = 0;
    QPointer<ProjectFile> m_project;
};
