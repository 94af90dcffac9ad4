#pragma once

#include <QString>

// A session bus is named by the environment or found in the runtime folder; without either
// there is none to talk to (and none is started).
bool sessionBusExpected();

// Selects the file in the desktop's file manager (org.freedesktop.FileManager1.ShowItems); false
// without a session bus or when no file manager answered within the time-out.
bool showItemInFileManager(const QString& absolutePath, int timeoutMs = 5000);
