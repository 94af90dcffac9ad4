#pragma once

// SIGTERM and SIGINT ask the render to stop, as a cancel does: the job then ends its
// programs, removes its work files and leaves the output as it was.
namespace StopSignals {

// Replaces the handlers of both signals; the programs started later get the defaults back.
void install();
// True once either signal came.
bool received();

} // namespace StopSignals
