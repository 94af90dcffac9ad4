#pragma once

#include "crashreport/CrashReporterApi.h"

#include <QString>
#include <string>

// A record that installs with no hook: flag 0x20 selects none, and the test sender stands in.
struct TestInstall {
    TestInstall();
    CrashInstallInfo info;
    std::u16string senderFolder;
};

std::u16string u16(const QString& text);
QString fromU16(const std::u16string& text);
QString lastError();
// The /dev/shm entries of a block and of a crash event.
bool blockExists(const std::u16string& blockName);
bool eventExists(const std::u16string& crashId);
