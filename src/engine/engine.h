// The engine module: the orb table, the name and glyph tables, the Pluto
// table and the settings the engine reads, the longitude wrapper every
// position goes through, and the retrograde flag and applying/separating
// trend of an aspect.
#pragma once

#include <cstdint>
#include <string>

#include "engine/pluto_table.h"
#include "engine/vek_types.h"
#include "engine/vocabulary.h"

namespace vek {

// Where the wrapper gets planet and Moon positions from; the platform
// ephemeris unless a caller (a test) substitutes its own.
struct PositionSource {
    // Planet by library code at a Julian date (UT); negative = no position
    // (−99 before the ephemeris, −100 after it, −1 a failure).
    double (*planetLongitude)(int code, double jd, int year, double* speed);
    // Moon at t = jd − 2451545.
    double (*moonPosition)(double t);
    // Whether the two give the platform ephemeris' positions (a test may
    // remember them): then the approximate longitudes measured against the
    // ephemeris (approximate_sky.h) hold for them.
    bool ephemerisPositions = false;
};
PositionSource PlatformPositionSource();

// One thirty-minute step, the interval of the retrograde flag and of the
// applying/separating trend.
inline constexpr double kHalfHour = 1.0 / 48.0;

// Sidereal offset subtracted from tropical longitudes in a calendar year.
double Ayanamsa(int year);

// Retrograde flag from a body's longitude now and half an hour later. The
// Sun and the Moon never are, nor is a body without a position. The step is
// taken the short way round, so crossing 0° Aries in either direction keeps
// the true direction of motion.
bool RetrogradeFrom(Body body, SkyLongitude longitude, SkyLongitude longitudeLater);

// Trend of an aspect's deviation: −1 when the deviation computed from the
// later longitudes is smaller than `deviation` (applying), +1 when larger
// (separating), 0 when equal or when a later position is missing.
int TrendFrom(double deviation, SkyLongitude laterA, SkyLongitude laterB, Aspect aspect);

class Engine {
  public:
    Engine();

    // Start-up: keeps the data folder (with a trailing separator) and hands it
    // to the ephemeris, turns "Include Moon" on, fills the glyph tables, the
    // aspect colours, and builds the name tables.
    void Initialize(const std::string& dataFolder);

    // Rebuilds the name tables for a language.
    void SetLanguage(vek::Language language);
    vek::Language Language() const { return language_; }

    // Loads pluto.slx from the data folder; a failure carries the reason.
    Status LoadPlutoTable();

    // Longitude wrapper: body 1..10 at Julian date jd (UT) in radians in
    // [0, 2π), sidereal when SiderealZodiac is set; none before or after the
    // data range, and a failed one for any other failure, including a
    // non-finite jd.
    SkyLongitude Longitude(Body body, JulianDate jd) const;

    // Position of a body half an hour after jd, for comparison with
    // Longitude(body, jd): sidereal with the ayanamsa of jd's calendar year,
    // so that the last half hour of a year does not see the next year's
    // correction as motion.
    SkyLongitude LaterLongitude(Body body, JulianDate jd) const;

    // What the wrapper subtracts from the tropical longitudes at jd: the
    // sidereal correction of jd's calendar year, 0 in the tropical zodiac.
    double ZodiacOffset(JulianDate jd) const;

    // Retrograde flag of a body with longitude L at jd (recomputes jd + ½ h).
    bool Retrograde(Body body, SkyLongitude longitude, JulianDate jd) const;

    // Trend of aspect `aspect` between chart A bodies i and j, both recomputed
    // at jd + ½ h, against the current deviation.
    int DeviationTrend(JulianDate jd, Body i, Body j, Aspect aspect, double deviation) const;

    // Trend of the aspect between body i, recomputed at jd + ½ h, and the
    // fixed longitude L (a natal position in personal transits).
    int TrendAgainstFixedLongitude(JulianDate jd, double longitude, Body i, Aspect aspect,
                                   double deviation) const;

    // 10 with the Moon, 9 without.
    int BodyCountForSettings() const { return IncludeMoon ? kMaxBodies : kMaxBodies - 1; }

    const std::string& DataFolder() const { return dataFolder_; }

    // The orbs of the settings (SetOrbs); the results of a compute are its
    // Chart, which the engine does not keep.
    OrbTable orbs;
    NameTables names;
    GlyphTables glyphs;
    AspectArray<Color> AspectColor{};
    PlutoTable pluto;
    bool SiderealZodiac = false;
    bool IncludeMoon = true;
    PositionSource source;

  private:
    // The wrapper at jd, sidereal with the ayanamsa of the calendar year of
    // the instant `ayanamsaAt`.
    SkyLongitude LongitudeWithAyanamsa(Body body, JulianDate jd, JulianDate ayanamsaAt) const;

    std::string dataFolder_;
    vek::Language language_ = kEnglish;
};

}  // namespace vek
