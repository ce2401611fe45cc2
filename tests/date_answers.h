// A date row's answer as a test compares it: the date, or NaN after a
// failure (so that a comparison with any date fails), and the code of a
// failure (0 after a success).
#pragma once

#include <cmath>
#include <optional>

#include "engine/vek_types.h"
#include "util/result.h"

namespace vek::testing {

inline double DaysOf(const Result<JulianDate>& answer) {
    return answer ? answer->days : std::nan("");
}
inline double DaysOf(const Result<double>& answer) {
    return answer ? *answer : std::nan("");
}
inline double DaysOf(const std::optional<JulianDate>& date) {
    return date ? date->days : std::nan("");
}

template <class T>
int CodeOf(const Result<T>& answer) {
    return answer ? 0 : answer.error().code;
}

}  // namespace vek::testing
