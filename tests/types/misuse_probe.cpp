// Compiled by the type tests: without a VEK_MISUSE_* define this file must
// compile; with one, the marked line mixes up a domain value and must not.
#include "engine/aspects.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "engine/patterns.h"
#include "time/date_rows.h"

namespace vek {

double Probe(const Engine& engine, const Chart& chart, const OrbTable& orbs, DateRows& rows) {
    double sum = engine.Longitude(kMars, 2451545.0);
    sum += AspectTestByBodies(chart, orbs, kSun, kMars, kConjunction).deviation;
    sum += AspectAngleOf(kSquare);
    sum += chart.longitude[kVenus][kChartA];
    sum += StelliumSizeOfSlot(kStellium4);
    sum += rows.Row(kBirth1).dayIndex;
#ifdef VEK_MISUSE_INT_AS_BODY
    sum += engine.Longitude(4, 2451545.0);
#endif
#ifdef VEK_MISUSE_SWAPPED_BODY_AND_ASPECT
    sum += AspectTestByBodies(chart, orbs, kSun, kConjunction, kMars).deviation;
#endif
#ifdef VEK_MISUSE_INT_AS_ASPECT
    sum += AspectAngleOf(3);
#endif
#ifdef VEK_MISUSE_INT_INDEXES_BODIES
    sum += chart.longitude[3][kChartA];
#endif
#ifdef VEK_MISUSE_INT_AS_PATTERN
    sum += StelliumSizeOfSlot(9);
#endif
#ifdef VEK_MISUSE_INT_AS_SLOT
    sum += rows.Row(1).dayIndex;
#endif
    return sum;
}

}  // namespace vek
