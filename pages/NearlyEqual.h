#pragma once

#include <algorithm>
#include <cmath>

// Equal within a relative tolerance of 1e-12.
inline bool nearlyEqual(double a, double b)
{
    return std::abs(a - b) <= 1e-12 * std::max(std::abs(a), std::abs(b));
}
