// Searching forward in time for an aspect pattern, as a run of the window
// does: the World date steps by the chosen interval, and after every step the
// stop test of the run decides whether the pattern is there. The search here
// needs only the positions of world transits and the one pattern finder of the
// target, not the table and summary texts of a full compute, yet gives the same
// counts the full compute stores for a run (which clears the counts before each
// step).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "config/settings.h"
#include "display/results_text.h"
#include "engine/chart.h"
#include "engine/bounded_sky.h"
#include "engine/engine.h"
#include "engine/pattern_gate.h"
#include "engine/patterns.h"
#include "engine/sky_tests.h"
#include "time/date_rows.h"
#include "time/stepping.h"
#include "util/result.h"

namespace vek {

// The chart of world transits at `jd` with the positions of chart A only: no
// later positions, pairs, markers or retrograde flags. Enough for the pattern
// finders and the midpoint search, which test aspects by bodies.
Chart PatternChart(const Engine& engine, double jd);

// What a compute that starts from cleared counts stores in slot `pattern`
// for `chart`, with the instances behind that count. The stellia
// follow the compute: a size counts only when no larger stellium exists. The
// midpoint slot lists its midpoints as instances of three bodies (outer,
// centre, outer) without a mean deviation.
struct PatternHits {
    int count = 0;
    std::vector<PatternInstance> instances;
};
PatternHits PatternHitsAt(const Chart& chart, const OrbTable& orbs, int midpointOrbIndex,
                          Pattern pattern);
// The same on any source of the tests (sky_tests.h), with its midpoint orb.
PatternHits PatternHitsAt(const SkyTests& sky, Pattern pattern);

// Whether hits in the target's slot satisfy the run's stop test.
bool HitsSatisfy(const RunTarget& target, int count);

// Whether a run's stop test holds at each of a series of steps, as the
// search decides it (see SearchMethod): skipping, from the bodies' motion
// bounds and the pattern's gate, or from the chart of every step. The steps
// asked must not go back in time. The engine must hold the settings and
// stay as it is while the look is used.
class PatternLook {
  public:
    PatternLook(const Engine& engine, const Settings& settings, const RunTarget& target,
                bool skipping);
    PatternLook(const PatternLook&) = delete;
    PatternLook& operator=(const PatternLook&) = delete;

    // Whether the stop test holds at the step at `jd`; `instances` receives
    // the pattern's instances there when `wanted` and it holds.
    bool At(double jd, bool wanted, std::vector<PatternInstance>& instances);
    bool At(double jd);

    // Positions computed through the longitude wrapper so far.
    int64_t Positions() const;

  private:
    const Engine& engine_;
    RunTarget target_;
    Pattern pattern_;
    int midpointOrbIndex_;
    bool skipping_;
    BoundedSky sky_;
    PatternGate gate_;
    bool finderFound_ = false;  // the finder's stop test when it last ran
    int64_t gateVersion_ = -1;  // and the gate's triples then
    int64_t positions_ = 0;
};

// One stretch of consecutive steps in which the pattern holds.
struct PatternStretch {
    DateRowFields first;  // the World date row at the first and last step
    DateRowFields last;
    double firstJD = 0;
    double lastJD = 0;
    int steps = 0;
    // The instances at the first step of the stretch.
    std::vector<PatternInstance> instances;
};

// How the search looks at the steps. Both find the same.
enum class SearchMethod {
    // Skipping where the engine computes its positions with the ephemeris,
    // step by step where a caller substituted the source of positions.
    Automatic,
    // Decides the pattern's tests from as few positions as the bodies'
    // motion bounds allow (bounded_sky.h), runs the finder only where one of
    // its answers may have changed, and computes the chart of a step only for
    // the instances at a stretch's first step. Relies on the bodies moving no
    // faster than the ephemeris' bounds.
    Skipping,
    // Computes every body at every step and runs the finder on the chart: the
    // plain loop, kept as the measure of the other.
    StepByStep,
};

struct PatternSearchRequest {
    RunTarget target;         // pattern ≥ 0
    int interval = kStepDay;  // StepInterval
    double untilJD = 0;       // the last step taken lies at or before this date
    bool firstOnly = false;   // stop at the first stretch's first step
    SearchMethod method = SearchMethod::Automatic;
    // The named zone the World date was given in: the steps go in its local
    // time (StepWorldDateInZone). A fixed zone keeps the row's offset.
    TimeZone zone = {};
    // Called on the calling thread with each stretch as soon as its last
    // step is known, in time order, before the search returns them all.
    std::function<void(const PatternStretch&)> onStretch = nullptr;
    // Called on the calling thread about every kProgressInterval while the
    // search runs: the days from the starting date up to which the steps are
    // looked at, and the stretches found so far.
    std::function<void(double daysDone, int stretchesFound)> onProgress = nullptr;
};

inline constexpr std::chrono::milliseconds kProgressInterval(100);

struct PatternSearchResult {
    std::vector<PatternStretch> stretches;
    int steps = 0;  // steps taken
    // A step at or before `untilJD` left the accepted date range: the World
    // date error code that ended the search there (StepOutcome::refusedCode);
    // none when every step up to `untilJD` was taken (the next one may still
    // lie beyond the dates) or the search ended at the first find.
    std::optional<int> refusedCode;
    // Positions computed through the longitude wrapper.
    int64_t positions = 0;
};

// Steps the World date of `rows` forward from where it stands, as a run does
// (the starting date itself is not tested: a run steps before it looks), and
// collects the stretches in time order. The engine must hold the settings
// (ApplySettingsToEngine). The row is left at the last step taken. Fails for
// a target without a pattern, an unknown interval or a World date that does
// not convert.
Result<PatternSearchResult> SearchPattern(const Engine& engine, DateRows& rows,
                                          const Settings& settings,
                                          const PatternSearchRequest& request);

}  // namespace vek
