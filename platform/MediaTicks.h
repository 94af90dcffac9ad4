#pragma once

#include <cstdint>

// Media timestamps and clocks count ticks of 100 ns.
constexpr std::int64_t kTicksPerSecond = 10000000;
