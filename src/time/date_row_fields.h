// The raw contents of one date row's five controls, as a state file saves
// them and the window shows them. Index 0 of every list is its empty entry.
#pragma once

#include <string>

namespace vek {

struct DateRowFields {
    int monthIndex = 0;     // 0 empty, 1..12 the month
    int dayIndex = 0;       // 0 empty, 1..31 the day
    std::string yearText;   // the year box exactly as typed
    int timeIndex = 0;      // 0 empty, k = 1..48: (k − 1) × 30 minutes
    int zoneIndex = 0;      // 0 empty, 1..47: offset (index − 24) × 30 minutes east
};

}  // namespace vek
