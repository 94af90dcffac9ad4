#pragma once

#include "crashreport/CrashUtils.h"

#include <string>
#include <string_view>

// Names shared by the crash handler and the sender program.

inline constexpr char kSenderFileName[] = "Brindlet";

inline std::string sharedMemoryName(std::u16string_view blockName)
{
    return "/" + toUtf8(blockName);
}

inline std::string crashEventName(std::u16string_view crashId)
{
    return "/CrashReportEvent_" + toUtf8(crashId);
}
