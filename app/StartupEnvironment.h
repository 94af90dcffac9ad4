#pragma once

#include <QString>

// What main sets up before the application object exists.
namespace StartupEnvironment {

// Frameless moves, resizes and window placement need X11: under Wayland the program runs on
// xcb unless QT_QPA_PLATFORM chooses otherwise.
void chooseQtPlatform();
// A stable text per machine; may be empty.
QString machineId();

} // namespace StartupEnvironment
