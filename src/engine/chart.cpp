#include "engine/chart.h"

#include <cmath>

#include "engine/aspects.h"
#include "engine/modes.h"

namespace vek {

AspectTest AspectTestByBodies(const Chart& chart, const OrbTable& orbs, Body i, Body j,
                              Aspect aspect) {
    return TestAspect(chart.longitude[i][kChartA], chart.longitude[j][kChartA], aspect,
                      orbs.orb[aspect][kOrbBase]);
}

namespace {

// Positions half an hour after a chart's instant, computed on first use.
class LaterPositions {
  public:
    LaterPositions(const Engine& engine, JulianDate jd) : engine_(engine), jd_(jd) {}

    SkyLongitude operator()(Body body) {
        if (!known_[body]) {
            value_[body] = engine_.LaterLongitude(body, jd_);
            known_[body] = true;
        }
        return value_[body];
    }

  private:
    const Engine& engine_;
    JulianDate jd_;
    BodyArray<SkyLongitude> value_{};
    BodyArray<bool> known_{};
};

// The positions of a chart's instant and the retrograde flags. The
// ephemeris keeps what it worked out for the last instant asked (the Earth,
// nutation, Delta T), which alternating between the instant and half an hour
// later would throw away at every body; so the later positions come first,
// all of them, then those of the instant itself, which a caller computing
// more of that instant (houses, points) finds in place. `markers`: the Sun's
// and the Moon's later positions are wanted too (the markers of a moving
// chart need them whenever they are in an aspect). The values do not depend
// on the order.
void FillPositions(const Engine& engine, Chart& c, ChartSlot slot, LaterPositions& later,
                   bool markers) {
    for (const Body b : c.ComputedBodies())
        if (markers || (b != kSun && b != kMoon)) later(b);
    for (const Body b : c.ComputedBodies()) c.longitude[b][slot] = engine.Longitude(b, c.jd[slot]);
    for (const Body b : c.ComputedBodies()) {
        const SkyLongitude l = c.longitude[b][slot];
        // The Sun and the Moon are never retrograde.
        c.retrograde[b][slot] = b != kSun && b != kMoon && l && RetrogradeFrom(b, l, later(b));
    }
}

void AddPair(const Engine& engine, Chart& c, Body first, Body second, double a, double b) {
    PairResult& p = c.pairs[c.pairCount++];
    p.first = first;
    p.second = second;
    double deviation = 0;
    p.aspect = ChooseAspect(engine.orbs, a, b, c.orbColumn, deviation);
    if (!p.aspect) return;
    p.deviation = deviation;
    const double orb = engine.orbs.orb[*p.aspect][c.orbColumn];
    p.exactness = (orb - deviation) / orb;
    ++c.aspectCount[*p.aspect];
}

}  // namespace

int Chart::TotalAspects() const {
    int total = 0;
    for (const Aspect a : AllAspects()) total += aspectCount[a];
    return total;
}

JulianDate ChartDate(Mode mode, ChartSlot slot, const SlotDates& dates) {
    const ModeInfo& m = ModeInfoOf(mode);
    if (slot < 0 || slot >= m.slotCount) return JulianDate();
    return dates[m.dateSlots[static_cast<std::size_t>(slot)]];
}

Chart ComputeChart(const Engine& engine, Mode mode, const SlotDates& dates) {
    Chart c;
    c.mode = mode;
    if (mode == Mode::None) return c;
    const ModeInfo& m = ModeInfoOf(mode);
    c.twoCharts = m.twoCharts;
    c.hasMarkers = m.markers;
    c.orbColumn = m.orbColumn;
    c.bodyCount = engine.BodyCountForSettings();
    c.jd[kChartA] = ChartDate(mode, kChartA, dates);
    c.jd[kChartB] = ChartDate(mode, kChartB, dates);

    LaterPositions laterA(engine, c.jd[kChartA]);
    LaterPositions laterB(engine, c.jd[kChartB]);
    if (c.twoCharts) FillPositions(engine, c, kChartB, laterB, false);
    FillPositions(engine, c, kChartA, laterA, c.hasMarkers);

    const int n = c.bodyCount;
    if (!c.twoCharts) {
        for (const Body b : Bodies(n)) {
            const SkyLongitude lb = c.longitude[b][kChartA];
            if (!lb) continue;
            for (const Body j : BodiesAfter(b, n)) {
                const SkyLongitude lj = c.longitude[j][kChartA];
                if (!lj) continue;
                AddPair(engine, c, b, j, *lb, *lj);
                PairResult& p = c.pairs[c.pairCount - 1];
                if (p.aspect) p.marker = TrendFrom(p.deviation, laterA(b), laterA(j), *p.aspect);
            }
        }
        return c;
    }
    for (const Body natal : Bodies(n)) {
        const SkyLongitude lb = c.longitude[natal][kChartB];
        if (!lb) continue;
        for (const Body t : Bodies(n)) {
            const SkyLongitude la = c.longitude[t][kChartA];
            if (!la) continue;
            AddPair(engine, c, natal, t, *lb, *la);
            PairResult& p = c.pairs[c.pairCount - 1];
            // In personal transits only the transit body moves.
            if (p.aspect && c.hasMarkers)
                p.marker = TrendFrom(p.deviation, lb, laterA(t), *p.aspect);
        }
    }
    return c;
}

}  // namespace vek
