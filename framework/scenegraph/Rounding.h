#pragma once

#include <cmath>
#include <cstdint>

// Float-to-int conversions for drawing and animation. Drawing positions, clip
// and stretch rectangles and path positions round to nearest with ties to even;
// everything else truncates toward zero. Both saturate at the int range and
// turn NaN into 0, so bad arithmetic can never become undefined behaviour.
namespace rounding {

inline int saturate(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return INT32_MAX;
    if (value <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int>(value);
}

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -1.5 -> -2).
inline int halfEven(double value)
{
    if (std::isnan(value))
        return 0;
    const double floor = std::floor(value);
    const double diff = value - floor;
    double result = floor;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0.0))
        result = floor + 1.0;
    return saturate(result);
}

inline int truncate(double value)
{
    return saturate(std::trunc(value));
}

} // namespace rounding
