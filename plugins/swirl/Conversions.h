// Float-to-integer conversions that are defined for every input. Inside the
// 32-bit range they are the plain truncation and floor; beyond it they
// saturate and NaN gives 0, so a parameter or host value far outside its
// normal range can never make a conversion undefined.
#pragma once

#include <cstdint>
#include <limits>

/// Truncation toward zero, saturated to the 32-bit range; NaN gives 0.
inline std::int32_t truncToInt(double x) {
    if (x != x) return 0;
    if (x >= 2147483648.0) return std::numeric_limits<std::int32_t>::max();
    if (x <= -2147483649.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(x);
}

/// The largest 32-bit integer not greater than x, saturated below at the
/// smallest one; NaN gives 0.
inline std::int32_t floorToInt(double x) {
    if (x != x) return 0;
    if (x >= 2147483648.0) return std::numeric_limits<std::int32_t>::max();
    if (x < -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    const auto towardZero = static_cast<std::int32_t>(x);
    // Cannot wrap: towardZero exceeds x only when x is above the smallest value.
    return static_cast<double>(towardZero) > x ? towardZero - 1 : towardZero;
}

/// A 64-bit count saturated to the 32-bit range.
inline std::int32_t saturateToInt(std::int64_t x) {
    if (x > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (x < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(x);
}
