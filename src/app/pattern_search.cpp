#include "app/pattern_search.h"

#include "engine/bounded_sky.h"
#include "engine/midpoints.h"
#include "engine/modes.h"
#include "time/stepping.h"

namespace vek {

Chart PatternChart(const Engine& engine, double jd) {
    Chart c;
    c.mode = Mode::World;
    const ModeInfo& m = ModeInfoOf(Mode::World);
    c.twoCharts = m.twoCharts;
    c.hasMarkers = m.markers;
    c.orbColumn = m.orbColumn;
    c.bodyCount = engine.BodyCountForSettings();
    c.jd[kChartA] = jd;
    for (int b = 1; b <= c.bodyCount; ++b) c.longitude[b][kChartA] = engine.Longitude(b, jd);
    return c;
}

PatternHits PatternHitsAt(const SkyTests& sky, int pattern) {
    PatternHits hits;
    if (pattern < 0 || pattern >= kPatternCount) return hits;
    if (pattern == kMidpoint) {
        for (const Midpoint& m : FindMidpoints(sky)) {
            PatternInstance p;
            p.bodies[0] = m.lower;
            p.bodies[1] = m.centre;
            p.bodies[2] = m.upper;
            p.size = 3;
            p.hasMean = false;
            hits.instances.push_back(p);
        }
        hits.count = static_cast<int>(hits.instances.size());
        return hits;
    }
    // A stellium size counts only when no larger one exists, as the compute
    // reports the largest size only.
    if (StelliumSizeOfSlot(pattern) > 0)
        for (int larger = kStellium6; larger < pattern; ++larger)
            if (FindPattern(sky, larger).count > 0) return hits;
    PatternResult r = FindPattern(sky, pattern);
    hits.count = r.count;
    hits.instances = std::move(r.instances);
    return hits;
}

PatternHits PatternHitsAt(const Chart& chart, const OrbTable& orbs, int midpointOrbIndex,
                          int pattern) {
    return PatternHitsAt(ChartTests(chart, orbs, MidpointOrbOfIndex(midpointOrbIndex)), pattern);
}

bool HitsSatisfy(const RunTarget& target, int count) {
    if (target.pattern < 0 || target.pattern >= kPatternCount) return false;
    int16_t counts[kPatternCount] = {};
    counts[target.pattern] = static_cast<int16_t>(count > INT16_MAX ? INT16_MAX : count);
    return RunTargetFound(target, counts);
}

Result<PatternSearchResult> SearchPattern(const Engine& engine, DateRows& rows,
                                          const Settings& settings,
                                          const PatternSearchRequest& request) {
    if (request.target.pattern < 0 || request.target.pattern >= kPatternCount)
        return Fail("no pattern to search for");
    if (request.interval < 0 || request.interval >= kStepIntervalCount)
        return Fail("unknown step interval");
    if (rows.InputDateToAJDate(kWorldDate) < 0) return Fail("the World date is not a valid date");

    const bool skipping =
        request.method == SearchMethod::Skipping ||
        (request.method == SearchMethod::Automatic && PositionsFromEphemeris(engine));
    const int midpointOrbIndex = settings.controls.midpointOrbIndex;
    BoundedSky sky(engine, SkyMotionBounds(engine), engine.BodyCountForSettings(),
                   MidpointOrbOfIndex(midpointOrbIndex));
    bool found = false;  // the stop test at the latest step

    PatternSearchResult out;
    PatternStretch* open = nullptr;
    for (;;) {
        const DateRowFields before = rows.Row(kWorldDate);
        const StepOutcome step = StepWorldDate(rows, request.interval, kStepForward);
        if (!step.accepted) {
            out.refusedCode = step.julianDate;
            break;
        }
        if (step.julianDate > request.untilJD) {
            // The row goes back to the last step inside the range.
            rows.Row(kWorldDate) = before;
            break;
        }
        ++out.steps;
        PatternHits hits;
        if (skipping) {
            // The finder runs again only where one of the answers it was given
            // may have changed; otherwise it would find the same count.
            sky.MoveTo(step.julianDate);
            if (!sky.WatchedUnchanged()) {
                sky.BeginWatch();
                found =
                    HitsSatisfy(request.target, PatternHitsAt(sky, request.target.pattern).count);
            }
            if (found && !open) {
                // The instances of a stretch are those of the chart of its first
                // step: the same answers, with the deviations of its positions.
                sky.SetExactDeviations(true);
                hits = PatternHitsAt(sky, request.target.pattern);
                sky.SetExactDeviations(false);
            }
        } else {
            const Chart chart = PatternChart(engine, step.julianDate);
            out.positions += chart.bodyCount;
            hits = PatternHitsAt(chart, engine.orbs, midpointOrbIndex, request.target.pattern);
            found = HitsSatisfy(request.target, hits.count);
        }
        if (!found) {
            open = nullptr;
            continue;
        }
        if (!open) {
            out.stretches.push_back({step.row, step.row, step.julianDate, step.julianDate, 0,
                                     std::move(hits.instances)});
            open = &out.stretches.back();
        }
        open->last = step.row;
        open->lastJD = step.julianDate;
        ++open->steps;
        if (request.firstOnly) break;
    }
    out.positions += sky.PositionsComputed();
    return out;
}

}  // namespace vek
