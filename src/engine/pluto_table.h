// The Pluto table: Pluto's apparent geocentric longitude at 0 h UT of every
// day from 1600 January 1 to 2100 January 1, one encoded line per day.
#pragma once

#include <string>
#include <vector>

namespace vek {

class PlutoTable {
public:
    // First and last day numbers with a position (the last needs the line
    // after it for interpolation).
    static constexpr int kFirstDay = 2305448;
    static constexpr int kLastDay = 2488069;

    // Loads the table file. Returns "" on success, otherwise a one-line
    // description of what is wrong; the table is then left empty.
    std::string Load(const std::string& path);
    // Same from the file's content.
    std::string LoadFromString(const std::string& content);

    bool IsLoaded() const { return !degrees_.empty(); }

    // Longitude at Julian date jd (UT) in radians in [0, 2π); −99 before the
    // table's range, −100 after it, −1 when no table is loaded or jd is not
    // finite.
    double LongitudeAt(double jd) const;

private:
    std::vector<float> degrees_;  // decoded longitude of line k in degrees
};

}  // namespace vek
