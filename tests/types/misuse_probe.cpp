// Compiled by the type tests: without a VEK_MISUSE_* define this file must
// compile; with one, the marked line mixes up a domain value and must not.
#include "engine/angle_text.h"
#include "engine/aspects.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "engine/patterns.h"
#include "time/aspect_search.h"
#include "time/date_rows.h"

namespace vek {

double Probe(Engine& engine, const Chart& chart, const OrbTable& orbs, DateRows& rows) {
    double sum = engine.Longitude(kMars, JulianDate(2451545.0)).ValueOr(0);
    sum += AspectTestByBodies(chart, orbs, kSun, kMars, kConjunction).deviation;
    sum += AspectAngleOf(kSquare);
    if (const SkyLongitude venus = chart.longitude[kVenus][kChartA]) sum += *venus;
    sum += StelliumSizeOfSlot(kStellium4);
    sum += rows.Row(kBirth1).dayIndex;
    sum += engine.TrendAgainstFixedLongitude(JulianDate(2451545.0), 0.5, kSun, kTrine, 0.1);
    engine.AspectColor[kSquare] = Rgb(255, 0, 0);
    sum += static_cast<double>(AngleText(ToRadians(Degrees(12.5))).size());
#ifdef VEK_MISUSE_INT_AS_BODY
    sum += engine.Longitude(4, JulianDate(2451545.0)).ValueOr(0);
#endif
#ifdef VEK_MISUSE_SWAPPED_BODY_AND_ASPECT
    sum += AspectTestByBodies(chart, orbs, kSun, kConjunction, kMars).deviation;
#endif
#ifdef VEK_MISUSE_INT_AS_ASPECT
    sum += AspectAngleOf(3);
#endif
#ifdef VEK_MISUSE_INT_INDEXES_BODIES
    sum += *chart.longitude[3][kChartA];
#endif
#ifdef VEK_MISUSE_INT_AS_PATTERN
    sum += StelliumSizeOfSlot(9);
#endif
#ifdef VEK_MISUSE_INT_AS_SLOT
    sum += rows.Row(1).dayIndex;
#endif
#ifdef VEK_MISUSE_LONGITUDE_AS_JULIAN_DATE
    sum += engine.TrendAgainstFixedLongitude(0.5, JulianDate(2451545.0), kSun, kTrine, 0.1);
#endif
#ifdef VEK_MISUSE_DAYS_AS_POSITION_DATE
    sum += engine.Longitude(kMars, 2451545.0).ValueOr(0);
#endif
#ifdef VEK_MISUSE_SOURCE_OF_PLAIN_DAYS
    const LongitudeFn source = [&engine](Body b, double jd) { return engine.Longitude(b, JulianDate(jd)); };
    sum += source(kMars, JulianDate(2451545.0)).ValueOr(0);
#endif
#ifdef VEK_MISUSE_DEGREES_AS_RADIANS
    sum += static_cast<double>(AngleText(Degrees(12.5)).size());
#endif
#ifdef VEK_MISUSE_MISSING_POSITION_AS_ANGLE
    sum += chart.longitude[kVenus][kChartA];
#endif
#ifdef VEK_MISUSE_INT_AS_COLOR
    engine.AspectColor[kSquare] = 0xFF;
#endif
    return sum;
}

}  // namespace vek
