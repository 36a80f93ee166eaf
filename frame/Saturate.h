// Saturating int arithmetic for element code. Host-given sizes, coordinates and counts can
// be anything: widths and positions stop at the int range instead of wrapping around.
// (The scrollbar classes keep their own, as they share no code with anything.)
#pragma once

#include <climits>

inline int ClampToInt(long long v) {
    return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v));
}

inline int SatAdd(long long a, long long b) {
    return ClampToInt(a + b);
}
