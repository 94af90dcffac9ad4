#include "support/PreviewProjects.h"

#include "model/ProjectFile.h"
#include "model/ProjectItemColor.h"
#include "model/transition/TransitionType.h"

std::unique_ptr<ProjectFile> colourProject(int slides, int time_ms)
{
    auto project = std::make_unique<ProjectFile>();
    project->resolution = Resolution(320, 240);
    project->transition_time_ms = 0;
    for (int i = 0; i < slides; ++i)
        project->insertItems({new ProjectItemColor(time_ms, TransitionNone)}, -1);
    return project;
}
