#pragma once

#include <memory>

class ProjectFile;

// A small project of plain colour slides without transitions, drawn quickly at 320 x 240.
std::unique_ptr<ProjectFile> colourProject(int slides, int time_ms);
