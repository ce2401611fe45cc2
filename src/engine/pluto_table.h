// The Pluto table: Pluto's apparent geocentric longitude at 0 h UT of every
// day from 1600 January 1 to 2100 January 1, one encoded line per day.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/vek_types.h"
#include "util/result.h"

namespace vek {

class PlutoTable {
  public:
    // First and last day numbers with a position (the last needs the line
    // after it for interpolation).
    static constexpr int kFirstDay = 2305448;
    static constexpr int kLastDay = 2488069;
    // Lines a complete table holds: one per day through kLastDay + 1.
    static constexpr int kRequiredLines = kLastDay - kFirstDay + 2;

    // Loads the table file. On failure the error's message says in one line
    // what is wrong, and the table is left empty.
    Status Load(const std::string& path);
    // Same from the file's content. Lines may end in LF or CR LF; each line
    // is trimmed of surrounding blanks and blank lines are skipped.
    Status LoadFromString(const std::string& content);

    bool IsLoaded() const { return !minutes_.empty(); }

    // Longitude at Julian date jd (UT) in radians in [0, 2π), interpolated
    // linearly between the two days around jd; none before or after the
    // table's range, and a failed one when no table is loaded or jd is not
    // finite.
    SkyLongitude LongitudeAt(double jd) const;

    // The largest change of LongitudeAt in one day, in radians: the largest
    // step between two neighbouring lines (0 when no table is loaded).
    double MaxDailyMotion() const;

  private:
    std::vector<uint16_t> minutes_;  // longitude of line k in arc minutes, 0..21599
    int maxStep_ = 0;                // largest step between neighbouring lines, arc minutes
};

}  // namespace vek
