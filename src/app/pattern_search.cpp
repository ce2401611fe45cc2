#include "app/pattern_search.h"

#include <algorithm>
#include <iterator>
#include <system_error>
#include <thread>

#include "engine/bounded_sky.h"
#include "engine/midpoints.h"
#include "engine/modes.h"
#include "platform/ephemeris.h"
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
    for (Body b : c.ComputedBodies()) c.longitude[b][kChartA] = engine.Longitude(b, jd);
    return c;
}

PatternHits PatternHitsAt(const SkyTests& sky, Pattern pattern) {
    PatternHits hits;
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
        for (Pattern larger : EnumRange<Pattern>(Index(kStellium6), Index(pattern) - 1))
            if (FindPattern(sky, larger).count > 0) return hits;
    PatternResult r = FindPattern(sky, pattern);
    hits.count = r.count;
    hits.instances = std::move(r.instances);
    return hits;
}

PatternHits PatternHitsAt(const Chart& chart, const OrbTable& orbs, int midpointOrbIndex,
                          Pattern pattern) {
    return PatternHitsAt(ChartTests(chart, orbs, MidpointOrbOfIndex(midpointOrbIndex)), pattern);
}

bool HitsSatisfy(const RunTarget& target, int count) {
    if (!target.pattern) return false;
    PatternArray<int16_t> counts{};
    counts[*target.pattern] = static_cast<int16_t>(count > INT16_MAX ? INT16_MAX : count);
    return RunTargetFound(target, counts);
}

namespace {

// One span of a search: the steps after `afterJD` up to `untilJD`. Steps at
// or before afterJD are taken without a look (a span that starts in the
// middle of the search gets there from the search's first row).
struct Span {
    static constexpr double kOpen = -1e300;
    double afterJD = kOpen;
    double untilJD = 0;
};

// What a span found, with the dates of its first and last step looked at (0
// for none).
struct SpanResult {
    PatternSearchResult found;
    double firstJD = 0;
    double lastJD = 0;
};

SpanResult SearchSpan(const Engine& engine, DateRows& rows, const Settings& settings,
                      const PatternSearchRequest& request, bool skipping, const Span& span) {
    const int midpointOrbIndex = settings.controls.midpointOrbIndex;
    BoundedSky sky(engine, SkyMotionBounds(engine), engine.BodyCountForSettings(),
                   MidpointOrbOfIndex(midpointOrbIndex));
    bool found = false;  // the stop test at the latest step
    SpanResult result;
    PatternSearchResult& out = result.found;
    PatternStretch* open = nullptr;
    for (;;) {
        const DateRowFields before = rows.Row(kWorldDate);
        const StepOutcome step = StepWorldDate(rows, request.interval, kStepForward);
        if (!step.accepted) {
            out.refusedCode = step.julianDate;
            break;
        }
        if (step.julianDate > span.untilJD) {
            // The row goes back to the last step inside the range.
            rows.Row(kWorldDate) = before;
            break;
        }
        if (step.julianDate <= span.afterJD) continue;
        ++out.steps;
        if (out.steps == 1) result.firstJD = step.julianDate;
        result.lastJD = step.julianDate;
        PatternHits hits;
        if (skipping) {
            // The finder runs again only where one of the answers it was given
            // may have changed; otherwise it would find the same count.
            sky.MoveTo(step.julianDate);
            if (!sky.WatchedUnchanged()) {
                sky.BeginWatch();
                found =
                    HitsSatisfy(request.target, PatternHitsAt(sky, *request.target.pattern).count);
            }
            if (found && !open) {
                // The instances of a stretch are those of the chart of its first
                // step: the same answers, with the deviations of its positions.
                sky.SetExactDeviations(true);
                hits = PatternHitsAt(sky, *request.target.pattern);
                sky.SetExactDeviations(false);
            }
        } else {
            const Chart chart = PatternChart(engine, step.julianDate);
            out.positions += chart.bodyCount;
            hits = PatternHitsAt(chart, engine.orbs, midpointOrbIndex, *request.target.pattern);
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
    return result;
}

// Searches of at least this many days are split in two halves, each searched
// on its own thread.
constexpr double kDaysWorthTwoThreads = 60;

}  // namespace

Result<PatternSearchResult> SearchPattern(const Engine& engine, DateRows& rows,
                                          const Settings& settings,
                                          const PatternSearchRequest& request) {
    if (!request.target.pattern)
        return Fail("no pattern to search for");
    if (request.interval < 0 || request.interval >= kStepIntervalCount)
        return Fail("unknown step interval");
    const double startJD = rows.InputDateToAJDate(kWorldDate);
    if (startJD < 0) return Fail("the World date is not a valid date");

    // Skipping needs the ephemeris' motion bounds; a second thread also needs
    // the ephemeris to answer there as here, and is worth it only for a long
    // search that does not end at the first find.
    const bool fromEphemeris = PositionsFromEphemeris(engine);
    const bool skipping = request.method == SearchMethod::Skipping ||
                          (request.method == SearchMethod::Automatic && fromEphemeris);
    // The accepted dates end before 2800; beyond, a second half has nothing
    // to do.
    constexpr double kLastAcceptedJD = 2743738.5;  // 2800 January 1
    const double endJD = std::min(request.untilJD, kLastAcceptedJD);
    const bool twoThreads = request.method == SearchMethod::Automatic && fromEphemeris &&
                            !request.firstOnly && endJD - startJD >= kDaysWorthTwoThreads;
    if (twoThreads) {
        // The first half on this thread, the second on another; the second
        // steps from the same row through the first half without looking.
        // Both take every step as one search takes it, so where the pattern
        // holds from the last step of the first half into the first of the
        // second, their stretches join.
        const double middleJD = startJD + (endJD - startJD) / 2;
        DateRows secondRows = rows;
        SpanResult second;
        std::thread worker;
        try {
            worker = std::thread([&] {
                second = SearchSpan(engine, secondRows, settings, request, skipping,
                                    {middleJD, request.untilJD});
                platform::release_thread();
            });
        } catch (const std::system_error&) {
            // No second thread: one search on this one.
        }
        if (worker.joinable()) {
            SpanResult first =
                SearchSpan(engine, rows, settings, request, skipping, {Span::kOpen, middleJD});
            worker.join();
            PatternSearchResult& out = first.found;
            if (out.refusedCode < 0) return out;  // the dates ended in the first half
            PatternSearchResult& more = second.found;
            out.steps += more.steps;
            out.refusedCode = more.refusedCode;
            out.positions += more.positions;
            if (more.steps > 0) rows.Row(kWorldDate) = secondRows.Row(kWorldDate);
            auto next = more.stretches.begin();
            if (next != more.stretches.end() && !out.stretches.empty() && first.lastJD > 0 &&
                out.stretches.back().lastJD == first.lastJD && next->firstJD == second.firstJD) {
                PatternStretch& joined = out.stretches.back();
                joined.last = next->last;
                joined.lastJD = next->lastJD;
                joined.steps += next->steps;
                ++next;
            }
            out.stretches.insert(out.stretches.end(), std::make_move_iterator(next),
                                 std::make_move_iterator(more.stretches.end()));
            return out;
        }
    }
    return SearchSpan(engine, rows, settings, request, skipping, {Span::kOpen, request.untilJD})
        .found;
}

}  // namespace vek
