#pragma once

#include "model/ProjectItem.h"

// A slide that comes in with a transition from the previous one.
class ProjectItemTransition : public ProjectItem
{
public:
    ProjectItemTransition(int time_ms, int transition, QObject* parent = nullptr);

    void readJson(const QJsonObject& object) override;
    void writeJson(QJsonObject& object) const override;
    // The time plus the transition time unless the transition is none.
    int duration(int transitionTime_ms) const override;

    int transition; // a TransitionType
};
