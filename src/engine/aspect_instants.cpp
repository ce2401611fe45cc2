#include "engine/aspect_instants.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

#include "engine/approximate_sky.h"
#include "engine/aspects.h"
#include "engine/engine.h"
#include "platform/calendar.h"

namespace vek {

namespace {

constexpr double kDegree = kTwoPi / 360.0;
// Pluto's own change of motion, as the other slow planets' (the table
// itself interpolates linearly, so between its days the motion is constant).
constexpr double kPlutoPerDay2 = 0.0035 * kDegree;
// How far the table's path stands off a smooth one: its entries are rounded
// to the arc minute, and the straight lines between them cut the curve.
constexpr double kPlutoTableNoise = 0.6 / 60 * kDegree;

double Position(const Engine& engine, Body body, double jd) {
    return engine.Longitude(body, JulianDate(jd)).ValueOr(std::numeric_limits<double>::quiet_NaN());
}

double PointAt(const Engine& engine, ExtraPoint point, double jd) {
    const double v = ComputeExtraPoint(engine, point, jd, false).longitude;
    return v >= 0 ? v : std::numeric_limits<double>::quiet_NaN();
}

// Passages behind the Sun. The ephemeris bends a planet's light as it passes
// the Sun, and inside the Sun's disk the bending turns over within minutes.
// Measured by tools/measure_motion_bounds --near-sun over 1600 to 2100 (every
// minute within 0.35° of the Sun, every quarter hour out to 2°): the bending
// reaches Neptune 4.36", Uranus 4.28", Saturn 4.04", Jupiter 3.77", Mars
// 2.73", Venus 1.91" and Mercury 1.42", within the deflection bound of
// bounded_sky.cpp (6"). Neptune passed the Sun's centre on 24 January 1838
// (JD 2392770.1) and went back by 0.15" for twenty minutes, so that a natal
// point there saw three conjunctions; the change of motion over two minutes
// reaches 10° a day² (Mercury 30°) and grows without bound at shorter steps,
// since the bending has corners, where the old bound of 0.0035° a day² put a
// single crossing and missed the other two, and misplaced the crossings of
// points nearby by up to 67 seconds. So within kRoughElongation of the Sun
// the search takes no bound on the change of motion: the planet's longitude
// is a smooth path off by at most the bending, and crossings are halved down
// to the second. Beyond 1° the bending changes the motion by at most
// 0.00027° a day² at steps of an hour (Neptune), which with the paths
// without the bending (Jupiter 0.00353, Saturn 0.00193, Uranus 0.00097,
// Neptune 0.00061) stays within the bounds of bounded_sky.cpp (0.006, 0.0035,
// 0.0035, 0.0035; the faster planets' leave more room). The bounds on the
// motion hold in the disk too (there at most Mercury 2.22, Venus 1.26, Mars
// 0.79, Jupiter 0.242, Saturn 0.134, Uranus 0.067 and Neptune 0.044° a day).
constexpr double kRoughElongation = kSunPassageElongation;
// The passages are looked for in steps no shorter than this (days).
constexpr double kPassageStep = 0.05;
// A step of the passage search never reaches further than this (days), so
// that the bounds of the approximate longitudes at its far end are those of
// its start or of the next century.
constexpr double kLongestPassageStep = 150;

bool Bends(Body body) {
    return body != kSun && body != kMoon && body != kPluto;
}

// Adds the spans of [from, to] in which a body may stand within
// kRoughElongation of the Sun in longitude, found from `elongation`, which
// gives the elongation at an instant (NaN where it is not known, taken as
// 0), `offAt`, how far it may be off there (infinite where nothing is known),
// and `rate`, the fastest the elongation changes. A passage is walked in
// steps of kPassageStep; a step whose end the elongation cannot have left the
// passage by, at that rate from the last one computed, is taken as inside
// without computing it, which decides as computing it would.
template <class Elongation, class Off>
void AddPassages(Elongation elongation, Off offAt, double rate, double from, double to,
                 std::vector<std::pair<double, double>>& rough) {
    double known = NAN, knownAt = from;
    double t = from;
    while (t <= to) {
        const double off = offAt(t);
        double d = 0;
        if (std::isfinite(off)) {
            const double most = known + rate * (t - knownAt) + 1e-12;
            if ((most - off - kRoughElongation) / rate < kPassageStep) {
                d = most;
            } else {
                d = elongation(t);
                known = d;
                knownAt = t;
                if (std::isnan(d)) d = 0;
            }
        }
        const double gap = std::min((d - off - kRoughElongation) / rate, kLongestPassageStep);
        if (gap >= kPassageStep) {
            t += gap;
            continue;
        }
        const double end = std::min(t + kPassageStep, to);
        if (!rough.empty() && rough.back().second >= t)
            rough.back().second = end;
        else
            rough.push_back({t, end});
        if (end >= to) break;
        t = end;
    }
}

// Adds to `bounds` the passages behind the Sun in [from, to] of the moving
// bodies given, each with its bending as noise. Only for the ephemeris' own
// positions: a substituted source keeps within its own bounds.
void AddSunPassages(const Engine& engine, const MotionBounds& motion,
                    std::initializer_list<Body> bodies, std::optional<ExtraPoint> point,
                    double from, double to, ChangeBounds& bounds) {
    if (!motion.approximate || !(to >= from)) return;
    std::vector<std::pair<double, double>>& rough = bounds.rough;
    for (const Body body : bodies) {
        if (!Bends(body)) continue;
        const std::vector<std::pair<double, double>> spans = SunPassages(motion, body, from, to);
        rough.insert(rough.end(), spans.begin(), spans.end());
        bounds.roughNoise += motion.deflection;
    }
    // Chiron's light is bent as a planet's; its place and the Sun's come from
    // the ephemeris itself.
    if (point == ExtraPoint::Chiron) {
        auto elongation = [&](double t) {
            const double c = PointAt(engine, *point, t), sun = Position(engine, kSun, t);
            return std::fabs(std::remainder(c - sun, kTwoPi));
        };
        AddPassages(
            elongation, [](double) { return 0.0; },
            PointMaxDailyMotion(*point) + motion.perDay[kSun], from, to, rough);
        bounds.roughNoise += motion.deflection;
    }
    std::sort(rough.begin(), rough.end());
    std::vector<std::pair<double, double>> merged;
    for (const auto& span : rough) {
        if (!merged.empty() && merged.back().second >= span.first)
            merged.back().second = std::max(merged.back().second, span.second);
        else
            merged.push_back(span);
    }
    rough = std::move(merged);
}

// Whether the deviation of a pair is the second body's elongation from the
// first or the first's from the second, one of them the Sun: the bending of
// light moves a planet away from the Sun, so that the deviation stands off
// its path without the bending in the direction of its own sign.
bool ElongationFromSun(const AspectPair& pair) {
    return !pair.fixedFirst && !pair.firstPoint && (pair.first == kSun) != (pair.second == kSun);
}

}  // namespace

std::vector<std::pair<double, double>> SunPassages(const MotionBounds& motion, Body body,
                                                   double from, double to) {
    std::vector<std::pair<double, double>> spans;
    if (!Bends(body) || !(to >= from)) return spans;
    const ApproximateSky sky;
    auto offAt = [&](double t) {
        return std::max(ApproximateSky::Bound(body, t),
                        ApproximateSky::Bound(body, t + kLongestPassageStep)) +
               std::max(ApproximateSky::Bound(kSun, t),
                        ApproximateSky::Bound(kSun, t + kLongestPassageStep));
    };
    auto elongation = [&](double t) {
        const JulianDate jd(t);
        return std::fabs(std::remainder(sky.Longitude(body, jd) - sky.Longitude(kSun, jd), kTwoPi));
    };
    // The approximate longitudes move as the real ones, well within the
    // bounds on the real motion.
    AddPassages(elongation, offAt, motion.perDay[body] + motion.perDay[kSun], from, to, spans);
    return spans;
}

std::vector<int> AspectBranches(Aspect aspect) {
    if (aspect == kConjunction || aspect == kOpposition) return {1};
    return {1, -1};
}

double BranchDeviation(double first, double second, Aspect aspect, int branch) {
    return std::remainder(second - first - branch * AspectAngleOf(aspect), kTwoPi);
}

ChangeBounds PairBounds(const MotionBounds& motion, const AspectPair& pair) {
    ChangeBounds b;
    auto add = [&](Body body) {
        b.rate += motion.perDay[body];
        b.accel += body == kPluto ? kPlutoPerDay2 : motion.perDay2[body];
        if (body == kPluto) {
            // The table's days begin at 0 h UT.
            b.nodeSpacing = 1;
            b.nodeStart = 0.5;
            b.nodeNoise = kPlutoTableNoise;
        }
    };
    if (!pair.fixedFirst && pair.firstPoint) {
        b.rate += PointMaxDailyMotion(*pair.firstPoint);
        b.accel += PointMaxDailyChange(*pair.firstPoint);
    } else if (!pair.fixedFirst) {
        add(pair.first);
    }
    add(pair.second);
    return b;
}

std::vector<double> PairJumps(const Engine& engine, const AspectPair& pair, double from,
                              double to) {
    std::vector<double> jumps;
    if (!pair.fixedFirst || !engine.SiderealZodiac) return jumps;
    if (!std::isfinite(from) || !std::isfinite(to) || to - from > 400 * 366.0) return jumps;
    const int first = platform::calendar_year_of(from), last = platform::calendar_year_of(to);
    for (int year = first; year <= last + 1; ++year) {
        platform::CalendarDate d;
        d.year = year;
        d.month = 1;
        d.day = 1;
        const int32_t n = platform::date_to_jdn(d);
        if (!d.valid) continue;
        const double start = n - 0.5;
        if (start > from && start <= to) jumps.push_back(start);
    }
    return jumps;
}

Result<std::vector<AspectInstant>> FindAspectInstants(const Engine& engine,
                                                      const MotionBounds& motion,
                                                      const AspectPair& pair, double orb,
                                                      double from, double to, int branch,
                                                      const BodyPositionFn* positions) {
    if (pair.fixedFirst && !(*pair.fixedFirst >= 0)) return Error{"the fixed position is missing"};
    if (!(orb >= 0) || orb > 0.5) return Error{"the orb of an exact search must lie in 0..0.5"};
    // Per branch the exact aspect and, with an orb, the two edges.
    std::vector<double> levels;
    std::vector<int> branchOf;
    for (const int b : AspectBranches(pair.aspect)) {
        if (branch != 0 && b != branch) continue;
        const double exact = b * AspectAngleOf(pair.aspect);
        levels.push_back(exact);
        if (orb > 0) {
            levels.push_back(exact + orb);
            levels.push_back(exact - orb);
        }
        branchOf.push_back(b);
    }
    const size_t perBranch = orb > 0 ? 3 : 1;
    CrossingSpan span{from, to, PairJumps(engine, pair, from, to)};
    ChangeBounds bounds = PairBounds(motion, pair);
    bounds.angle = true;
    if (pair.fixedFirst)
        AddSunPassages(engine, motion, {pair.second}, std::nullopt, from, to, bounds);
    else if (pair.firstPoint)
        AddSunPassages(engine, motion, {pair.second}, pair.firstPoint, from, to, bounds);
    else
        AddSunPassages(engine, motion, {pair.first, pair.second}, std::nullopt, from, to, bounds);
    bounds.roughKeepsSign = ElongationFromSun(pair);
    auto at = [&](Body body, double jd) {
        if (!positions) return Position(engine, body, jd);
        return (*positions)(body, JulianDate(jd)).ValueOr(std::numeric_limits<double>::quiet_NaN());
    };
    const TimeFunction f = [&](double jd) {
        const double first = pair.fixedFirst   ? *pair.fixedFirst
                             : pair.firstPoint ? PointAt(engine, *pair.firstPoint, jd)
                                               : at(pair.first, jd);
        return at(pair.second, jd) - first;
    };
    Result<std::vector<Crossing>> found = FindCrossings(f, bounds, span, levels);
    if (!found) return found.error();
    std::vector<AspectInstant> out;
    for (const Crossing& c : *found) {
        const size_t which = static_cast<size_t>(c.level) % perBranch;
        AspectEvent e = AspectEvent::Exact;
        if (which == 1) e = c.direction < 0 ? AspectEvent::Enters : AspectEvent::Leaves;
        if (which == 2) e = c.direction > 0 ? AspectEvent::Enters : AspectEvent::Leaves;
        out.push_back({c.jd, e, branchOf[static_cast<size_t>(c.level) / perBranch]});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const AspectInstant& x, const AspectInstant& y) { return x.jd < y.jd; });
    return out;
}

}  // namespace vek

namespace vek {

namespace {

void SortByTime(std::vector<ExactAspect>& v) {
    std::stable_sort(v.begin(), v.end(), [](const ExactAspect& a, const ExactAspect& b) {
        if (a.jd != b.jd) return a.jd < b.jd;
        if (a.moving != b.moving) return Index(a.moving) < Index(b.moving);
        if (OtherNumber(a) != OtherNumber(b)) return OtherNumber(a) < OtherNumber(b);
        return Index(a.aspect) < Index(b.aspect);
    });
}

struct Target {
    Body other;
    Aspect aspect;
    int branch;
    std::optional<ExtraPoint> point = std::nullopt;
};

// The transits of each moving body to fixed longitudes: each level is a
// target's longitude plus its aspect's angle on its branch.
Status TransitsToLevels(const Engine& engine, const MotionBounds& motion,
                        const std::vector<double>& levels, const std::vector<Target>& targets,
                        int bodyCount, double from, double to, std::vector<ExactAspect>& out) {
    if (levels.empty()) return Ok();
    for (const Body m : Bodies(bodyCount)) {
        const AspectPair pair{kSun, m, kConjunction, 0.0};
        ChangeBounds bounds = PairBounds(motion, pair);
        bounds.angle = true;
        AddSunPassages(engine, motion, {m}, std::nullopt, from, to, bounds);
        const CrossingSpan span{from, to, PairJumps(engine, pair, from, to)};
        const TimeFunction f = [&](double jd) { return Position(engine, m, jd); };
        Result<std::vector<Crossing>> found = FindCrossings(f, bounds, span, levels);
        if (!found) return found.error();
        for (const Crossing& c : *found) {
            const Target& t = targets[static_cast<size_t>(c.level)];
            out.push_back({c.jd, m, t.other, t.aspect, t.branch, c.direction, t.point});
        }
    }
    return Ok();
}

// The levels of every aspect on both its branches at a longitude.
void AddAspectLevels(double longitude, Body other, std::optional<ExtraPoint> point,
                     std::vector<double>& levels, std::vector<Target>& targets) {
    for (const Aspect a : AllAspects())
        for (const int b : AspectBranches(a)) {
            levels.push_back(longitude + b * AspectAngleOf(a));
            targets.push_back({other, a, b, point});
        }
}

}  // namespace

int OtherNumber(const ExactAspect& x) {
    return x.otherPoint ? PointNumber(*x.otherPoint) : Index(x.other);
}

void SortExactAspects(std::vector<ExactAspect>& v) {
    SortByTime(v);
}

Result<std::vector<ExactAspect>> FindExactTransits(const Engine& engine, const MotionBounds& motion,
                                                   const BodyArray<SkyLongitude>& natal,
                                                   int bodyCount,
                                                   double from, double to) {
    std::vector<ExactAspect> out;
    // moving − natal = ±angle: the moving body's longitude meets natal ± angle.
    std::vector<double> levels;
    std::vector<Target> targets;
    for (const Body n : Bodies(bodyCount))
        if (natal[n]) AddAspectLevels(*natal[n], n, std::nullopt, levels, targets);
    if (const Status s = TransitsToLevels(engine, motion, levels, targets, bodyCount, from, to, out);
        !s)
        return s.error();
    SortByTime(out);
    return out;
}

Result<std::vector<ExactAspect>> FindExactAspectsAmong(const Engine& engine,
                                                       const MotionBounds& motion, int bodyCount,
                                                       double from, double to) {
    std::vector<ExactAspect> out;
    std::vector<double> levels;
    std::vector<Target> targets;
    for (const Aspect a : AllAspects())
        for (const int b : AspectBranches(a)) {
            levels.push_back(b * AspectAngleOf(a));
            targets.push_back({kSun, a, b});
        }
    for (const Body m : Bodies(bodyCount)) {
        for (const Body o : BodiesAfter(m, bodyCount)) {
            const AspectPair pair{m, o, kConjunction, std::nullopt};
            ChangeBounds bounds = PairBounds(motion, pair);
            bounds.angle = true;
            AddSunPassages(engine, motion, {m, o}, std::nullopt, from, to, bounds);
            bounds.roughKeepsSign = ElongationFromSun(pair);
            const CrossingSpan span{from, to, {}};
            const TimeFunction f = [&](double jd) {
                return Position(engine, m, jd) - Position(engine, o, jd);
            };
            Result<std::vector<Crossing>> found = FindCrossings(f, bounds, span, levels);
            if (!found) return found.error();
            for (const Crossing& c : *found) {
                const Target& t = targets[static_cast<size_t>(c.level)];
                out.push_back({c.jd, m, o, t.aspect, t.branch, c.direction});
            }
        }
    }
    SortByTime(out);
    return out;
}

Result<std::vector<ExactAspect>> FindExactAspectsToPoints(const Engine& engine,
                                                          const MotionBounds& motion,
                                                          const std::vector<PointPosition>& points,
                                                          bool natal, int bodyCount, double from,
                                                          double to) {
    std::vector<ExactAspect> out;
    if (natal) {
        std::vector<double> levels;
        std::vector<Target> targets;
        for (const PointPosition& p : points)
            if (p.longitude >= 0) AddAspectLevels(p.longitude, kSun, p.point, levels, targets);
        if (const Status s =
                TransitsToLevels(engine, motion, levels, targets, bodyCount, from, to, out);
            !s)
            return s.error();
        SortByTime(out);
        return out;
    }
    // moving body − point = ±angle, both moving.
    std::vector<double> levels;
    std::vector<Target> targets;
    AddAspectLevels(0.0, kSun, std::nullopt, levels, targets);
    for (const PointPosition& p : points) {
        for (const Body m : Bodies(bodyCount)) {
            AspectPair pair{kSun, m, kConjunction, std::nullopt, p.point};
            ChangeBounds bounds = PairBounds(motion, pair);
            bounds.angle = true;
            AddSunPassages(engine, motion, {m}, p.point, from, to, bounds);
            const CrossingSpan span{from, to, {}};
            const TimeFunction f = [&](double jd) {
                return Position(engine, m, jd) - PointAt(engine, p.point, jd);
            };
            Result<std::vector<Crossing>> found = FindCrossings(f, bounds, span, levels);
            if (!found) return found.error();
            for (const Crossing& c : *found) {
                const Target& t = targets[static_cast<size_t>(c.level)];
                out.push_back({c.jd, m, kSun, t.aspect, t.branch, c.direction, p.point});
            }
        }
    }
    SortByTime(out);
    return out;
}

}  // namespace vek
