#include "app/pattern_search.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

#include "engine/bounded_sky.h"
#include "engine/midpoints.h"
#include "engine/modes.h"
#include "engine/pattern_gate.h"
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
    c.jd[kChartA] = JulianDate(jd);
    for (Body b : c.ComputedBodies()) c.longitude[b][kChartA] = engine.Longitude(b, c.jd[kChartA]);
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

PatternLook::PatternLook(const Engine& engine, const Settings& settings, const RunTarget& target,
                         bool skipping)
    : engine_(engine),
      target_(target),
      pattern_(*target.pattern),
      midpointOrbIndex_(settings.controls.midpointOrbIndex),
      skipping_(skipping),
      sky_(engine, SkyMotionBounds(engine), engine.BodyCountForSettings(),
           MidpointOrbOfIndex(midpointOrbIndex_)),
      gate_(pattern_, engine.orbs, engine.BodyCountForSettings(), sky_.Bounds()) {}

bool PatternLook::At(double jd, bool wanted, std::vector<PatternInstance>& instances) {
    if (!skipping_) {
        const Chart chart = PatternChart(engine_, jd);
        positions_ += chart.bodyCount;
        PatternHits hits = PatternHitsAt(chart, engine_.orbs, midpointOrbIndex_, pattern_);
        if (wanted) instances = std::move(hits.instances);
        return HitsSatisfy(target_, hits.count);
    }
    sky_.MoveTo(jd);
    // Where no three bodies stand in the pattern's figure the finder finds
    // nothing. Elsewhere it runs again only where one of the answers it
    // was given may have changed; otherwise it would find the same count.
    if (!gate_.Open(sky_)) return false;
    const GatedSky gated(sky_, gate_);
    if (gate_.CountsInstances()) {
        // The finder would count the triples that hold.
        finderFound_ = HitsSatisfy(target_, gate_.HoldingCount());
    } else if (!sky_.WatchedUnchanged() || gate_.Version() != gateVersion_) {
        sky_.BeginWatch();
        gateVersion_ = gate_.Version();
        finderFound_ = HitsSatisfy(target_, PatternHitsAt(gated, pattern_).count);
    }
    if (finderFound_ && wanted) {
        // The instances of a stretch are those of the chart of its first
        // step: the same answers, with the deviations of its positions.
        sky_.SetExactDeviations(true);
        instances = PatternHitsAt(gated, pattern_).instances;
        sky_.SetExactDeviations(false);
    }
    return finderFound_;
}

bool PatternLook::At(double jd) {
    std::vector<PatternInstance> none;
    return At(jd, false, none);
}

int64_t PatternLook::Positions() const { return positions_ + sky_.PositionsComputed(); }

namespace {

// One span of a search: the steps after `afterJD` up to `untilJD`. Steps at
// or before afterJD are taken without a look (a span that starts in the
// middle of the search gets there from the search's first row).
struct Span {
    static constexpr double kOpen = -1e300;
    double afterJD = kOpen;
    double untilJD = 0;
};

// What a span found besides the stretches it handed on: the stretch that
// still held at its last step, and the dates of its first and last step
// looked at (0 for none).
struct SpanResult {
    int steps = 0;
    std::optional<int> refusedCode;
    int64_t positions = 0;
    std::optional<PatternStretch> open;
    double firstJD = 0;
    double lastJD = 0;
};

// Receives each stretch of a span once a step without the pattern ends it.
using StretchSink = std::function<void(PatternStretch&&)>;
// Told the date of every step looked at.
using StepTick = std::function<void(double jd)>;

// Whether the step that the dates refused would have lain after `untilJD`:
// then the search has taken every step it was asked for. The Gregorian
// calendar repeats every 400 years (146097 days), so the refused date is
// converted 400 years earlier, inside the accepted dates.
bool RefusedStepBeyond(const DateRows& rows, int interval, double untilJD) {
    DateRows probe = rows;
    ApplyStep(probe, interval, kStepForward);
    DateRowFields& row = probe.Row(kWorldDate);
    row.yearText = std::to_string(YearValue(DigitsOnly(row.yearText)) - 400);
    const Result<JulianDate> earlier = probe.InputDateToAJDate(kWorldDate);
    return earlier && earlier->days + 146097 > untilJD;
}

SpanResult SearchSpan(const Engine& engine, DateRows& rows, const Settings& settings,
                      const PatternSearchRequest& request, bool skipping, const Span& span,
                      const StretchSink& closed, const StepTick& tick) {
    PatternLook look(engine, settings, request.target, skipping);
    WorldDateStepper stepper(rows, request.interval, request.zone);
    SpanResult out;
    std::optional<PatternStretch>& open = out.open;
    for (;;) {
        if (!stepper.Step()) {
            rows.Row(kWorldDate) = stepper.Row();
            if (stepper.RefusedCode() != kDateTooLate ||
                !RefusedStepBeyond(rows, request.interval, span.untilJD))
                out.refusedCode = stepper.RefusedCode();
            break;
        }
        const double jd = stepper.JulianDays();
        if (jd > span.untilJD) {
            // The row goes back to the last step inside the range.
            stepper.Undo();
            break;
        }
        if (jd <= span.afterJD) continue;
        ++out.steps;
        if (out.steps == 1) out.firstJD = jd;
        out.lastJD = jd;
        if (tick) tick(jd);
        std::vector<PatternInstance> instances;
        if (!look.At(jd, !open, instances)) {
            if (open) {
                open->last = stepper.PreviousRow();
                closed(std::move(*open));
            }
            open.reset();
            continue;
        }
        if (!open) {
            const DateRowFields row = stepper.Row();
            open = PatternStretch{row, row, jd, jd, 0, std::move(instances)};
        }
        open->lastJD = jd;
        ++open->steps;
        if (request.firstOnly) break;
    }
    // The rows of a stretch's last step and of the search's are written only
    // now: the stepper keeps the date as numbers.
    if (open) open->last = stepper.Row();
    rows.Row(kWorldDate) = stepper.Row();
    out.positions = look.Positions();
    return out;
}

// Hands the stretches of a search out in time order: into the result and to
// the request's onStretch.
class StretchOutput {
  public:
    StretchOutput(const PatternSearchRequest& request, PatternSearchResult& out)
        : request_(request), out_(out) {}
    void operator()(PatternStretch&& s) {
        out_.stretches.push_back(std::move(s));
        if (request_.onStretch) request_.onStretch(out_.stretches.back());
    }

  private:
    const PatternSearchRequest& request_;
    PatternSearchResult& out_;
};

// Calls the request's onProgress at most every kProgressInterval, looking
// at the clock only every 64th step.
class ProgressMeter {
  public:
    explicit ProgressMeter(const PatternSearchRequest& request) : request_(request) {}
    void Step(double daysDone, int found) {
        if (request_.onProgress && ++steps_ % 64 == 0) Report(daysDone, found);
    }
    void Report(double daysDone, int found) {
        if (!request_.onProgress) return;
        const auto now = std::chrono::steady_clock::now();
        if (now < next_) return;
        next_ = now + kProgressInterval;
        request_.onProgress(daysDone, found);
    }

  private:
    const PatternSearchRequest& request_;
    std::chrono::steady_clock::time_point next_ = std::chrono::steady_clock::now();
    int steps_ = 0;
};

// Searches of at least this many days are split in two halves, each searched
// on its own thread.
constexpr double kDaysWorthTwoThreads = 60;

// What the second half's thread hands to the first: its stretches as they
// are found, while the first half may still be running.
struct SecondHalf {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<PatternStretch> stretches;
    bool done = false;
    std::atomic<double> firstJD{0};  // of its first step looked at
    std::atomic<double> latestJD{0};
    SpanResult result;
};

// Searches the second half on a thread of its own; false when no thread could
// be started.
bool StartSecondHalf(std::thread& worker, SecondHalf& half, const Engine& engine,
                     DateRows& rows, const Settings& settings, const PatternSearchRequest& request,
                     bool skipping, double middleJD) {
    try {
        worker = std::thread([&half, &engine, &rows, &settings, &request, skipping, middleJD] {
            half.result = SearchSpan(
                engine, rows, settings, request, skipping, {middleJD, request.untilJD},
                [&half](PatternStretch&& s) {
                    const std::lock_guard<std::mutex> lock(half.mutex);
                    half.stretches.push_back(std::move(s));
                    half.changed.notify_one();
                },
                [&half](double jd) {
                    if (half.firstJD.load() == 0) half.firstJD = jd;
                    half.latestJD = jd;
                });
            platform::release_thread();
            const std::lock_guard<std::mutex> lock(half.mutex);
            half.done = true;
            half.changed.notify_one();
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

// Hands the second half's stretches on after the first half's: the stretch
// that held at the first half's last step goes on into the second half's
// first stretch when that begins at the second half's first step.
class HalfJoin {
  public:
    HalfJoin(StretchOutput& output, std::optional<PatternStretch> pending, double firstLastJD)
        : output_(output), pending_(std::move(pending)), firstLastJD_(firstLastJD) {}
    // `secondFirstJD`: the date of the second half's first step looked at.
    void Take(PatternStretch&& s, double secondFirstJD) {
        if (first_ && pending_ && pending_->lastJD == firstLastJD_ && s.firstJD == secondFirstJD) {
            pending_->last = s.last;
            pending_->lastJD = s.lastJD;
            pending_->steps += s.steps;
            output_(std::move(*pending_));
        } else {
            Flush();
            output_(std::move(s));
        }
        pending_.reset();
        first_ = false;
    }
    void Flush() {
        if (pending_) output_(std::move(*pending_));
        pending_.reset();
    }

  private:
    StretchOutput& output_;
    std::optional<PatternStretch> pending_;
    double firstLastJD_;
    bool first_ = true;
};

// The first half on this thread, the second on another; the second steps
// from the same row through the first half without looking. Both take every
// step as one search takes it, so where the pattern holds from the last step
// of the first half into the first of the second, their stretches join.
// Nothing when no second thread could be started.
std::optional<PatternSearchResult> SearchInHalves(const Engine& engine, DateRows& rows,
                                                  const Settings& settings,
                                                  const PatternSearchRequest& request,
                                                  bool skipping, double startJD, double endJD) {
    const double middleJD = startJD + (endJD - startJD) / 2;
    DateRows secondRows = rows;
    SecondHalf half;
    std::thread worker;
    if (!StartSecondHalf(worker, half, engine, secondRows, settings, request, skipping, middleJD))
        return std::nullopt;
    PatternSearchResult out;
    StretchOutput output(request, out);
    ProgressMeter progress(request);
    auto found = [&out] { return static_cast<int>(out.stretches.size()); };
    auto daysDone = [&](double firstHalfJD) {
        const double more = half.latestJD.load();
        return firstHalfJD - startJD + (more > middleJD ? more - middleJD : 0);
    };
    SpanResult first =
        SearchSpan(engine, rows, settings, request, skipping, {Span::kOpen, middleJD}, output,
                   [&](double jd) { progress.Step(daysDone(jd), found()); });
    out.steps = first.steps;
    out.positions = first.positions;
    if (first.refusedCode) {
        // The dates ended in the first half; so do the second's steps.
        worker.join();
        if (first.open) output(std::move(*first.open));
        out.refusedCode = first.refusedCode;
        return out;
    }
    HalfJoin join(output, std::move(first.open), first.lastJD);
    for (bool done = false; !done;) {
        std::deque<PatternStretch> ready;
        {
            std::unique_lock<std::mutex> lock(half.mutex);
            half.changed.wait_for(lock, kProgressInterval,
                                  [&] { return half.done || !half.stretches.empty(); });
            ready.swap(half.stretches);
            done = half.done;
        }
        for (PatternStretch& s : ready) join.Take(std::move(s), half.firstJD.load());
        progress.Report(daysDone(middleJD), found());
    }
    worker.join();
    if (half.result.open) join.Take(std::move(*half.result.open), half.firstJD.load());
    join.Flush();
    out.steps += half.result.steps;
    out.refusedCode = half.result.refusedCode;
    out.positions += half.result.positions;
    if (half.result.steps > 0) rows.Row(kWorldDate) = secondRows.Row(kWorldDate);
    return out;
}

}  // namespace

Result<PatternSearchResult> SearchPattern(const Engine& engine, DateRows& rows,
                                          const Settings& settings,
                                          const PatternSearchRequest& request) {
    if (!request.target.pattern)
        return Fail("no pattern to search for");
    if (request.interval < 0 || request.interval >= kStepIntervalCount)
        return Fail("unknown step interval");
    const Result<JulianDate> start = rows.InputDateToAJDate(kWorldDate);
    if (!start) return Fail("the World date is not a valid date");
    const double startJD = start->days;

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
    if (request.method == SearchMethod::Automatic && fromEphemeris && !request.firstOnly &&
        endJD - startJD >= kDaysWorthTwoThreads) {
        std::optional<PatternSearchResult> halves =
            SearchInHalves(engine, rows, settings, request, skipping, startJD, endJD);
        if (halves) return std::move(*halves);
        // No second thread: one search on this one.
    }
    PatternSearchResult out;
    StretchOutput output(request, out);
    ProgressMeter progress(request);
    SpanResult one = SearchSpan(
        engine, rows, settings, request, skipping, {Span::kOpen, request.untilJD}, output,
        [&](double jd) { progress.Step(jd - startJD, static_cast<int>(out.stretches.size())); });
    if (one.open) output(std::move(*one.open));
    out.steps = one.steps;
    out.refusedCode = one.refusedCode;
    out.positions = one.positions;
    return out;
}

}  // namespace vek
