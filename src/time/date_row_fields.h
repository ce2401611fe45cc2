// The raw contents of one date row's five controls, as a state file saves
// them and the window shows them. Index 0 of every list is its empty entry.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "engine/geo_point.h"
#include "time/zones.h"

namespace vek {

// Where a date row's event took place: a city chosen from the atlas (its
// title as the list showed it) or coordinates typed (no name).
struct RowPlace {
    std::string name;
    GeoPoint point;
    bool operator==(const RowPlace&) const = default;
};

struct DateRowFields {
    DateRowFields() = default;
    // The five list controls; nothing beyond the lists.
    DateRowFields(int month, int day, std::string year, int time, int zone)
        : monthIndex(month), dayIndex(day), yearText(std::move(year)), timeIndex(time),
          zoneIndex(zone) {}

    int monthIndex = 0;     // 0 empty, 1..12 the month
    int dayIndex = 0;       // 0 empty, 1..31 the day
    std::string yearText;   // the year box exactly as typed
    int timeIndex = 0;      // 0 empty, k = 1..48: (k − 1) × 30 minutes
    int zoneIndex = 0;      // 0 empty, 1..47: offset (index − 24) × 30 minutes east

    // Beyond the lists. A minute of the day that the time list lacks
    // (14:47); timeIndex then names the half hour it lies in, so stepping
    // and the list's own tests go on working. −1 when the list's entry is
    // the time.
    int exactMinute = -1;
    // A zone of the tz database, or an offset the zone list lacks (+5:45);
    // when set it is the row's zone and zoneIndex only follows it: the list
    // entry of the offset in force at the row's date, 0 when the list has
    // none.
    std::optional<TimeZone> zone;
    // For a time the zone's clocks skipped or showed twice: which of its
    // two meanings the user chose (Ask: not chosen yet).
    Fold fold = Fold::Ask;
    // The place of the row, for the houses; none by default. It leaves the
    // date, time and zone as they are.
    std::optional<RowPlace> place;

    bool HasExtras() const { return exactMinute >= 0 || zone.has_value(); }
};

}  // namespace vek
