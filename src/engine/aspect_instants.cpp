#include "engine/aspect_instants.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

}  // namespace

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
