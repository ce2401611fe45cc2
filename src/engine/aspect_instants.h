// The instants at which an aspect between two bodies comes within orb, is
// exact and leaves the orb, found by the crossing search on the positions of
// the engine's longitude wrapper (so in the zodiac the engine is set to).
//
// An aspect of angle A holds on the branch of the longitude difference
// second − first near +A and, for A other than 0° and 180°, on the one near
// −A. On each branch the signed deviation, the difference taken into
// (−π, π] about the branch's angle, is a smooth function of time: it is 0
// when the aspect is exact and ±orb at the edges of the orb. Each branch is
// searched for those three levels.
#pragma once

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "engine/bounded_sky.h"
#include "engine/crossings.h"
#include "engine/extra_points.h"
#include "engine/vek_types.h"
#include "util/result.h"

namespace vek {

class Engine;

enum class AspectEvent { Enters, Exact, Leaves };

struct AspectInstant {
    double jd = 0;  // UT
    AspectEvent event = AspectEvent::Exact;
    // The branch: +1 where second − first is near +A, −1 near −A (the
    // conjunction and the opposition have +1 only).
    int branch = 1;
    bool operator==(const AspectInstant&) const = default;
};

// Two bodies and an aspect. Both move (world transits), or the first stands
// at a fixed longitude as the wrapper gave it (a natal position). With
// `firstPoint` the first is that extra point instead of the body `first`:
// moving as the ephemeris gives it, or fixed by `fixedFirst`.
struct AspectPair {
    Body first = kSun;
    Body second = kSun;
    Aspect aspect = kConjunction;
    std::optional<double> fixedFirst;
    std::optional<ExtraPoint> firstPoint = std::nullopt;
};

// The branches of an aspect: {+1} for the conjunction and the opposition,
// {+1, −1} for the others.
std::vector<int> AspectBranches(Aspect aspect);

// The signed deviation of a branch at a pair of longitudes, in (−π, π].
double BranchDeviation(double first, double second, Aspect aspect, int branch);

// The bounds of the signed deviation of a pair: the bodies' speed and
// acceleration bounds summed; Pluto's table makes it piecewise linear between
// days, with the rounding of its entries as the noise across them.
ChangeBounds PairBounds(const MotionBounds& motion, const AspectPair& pair);

// Within this elongation from the Sun in longitude the ephemeris' bending of
// light may turn a planet's apparent motion within minutes.
inline constexpr double kSunPassageElongation = kTwoPi / 360;

// The spans of [from, to] in which `body` may stand within
// kSunPassageElongation of the Sun in longitude, from the approximate
// longitudes and their bounds (all of a span where those are not known);
// none for the bodies the ephemeris does not bend (the Sun, the Moon, Pluto's
// table). The crossing search takes no bound on the change of motion there.
std::vector<std::pair<double, double>> SunPassages(const MotionBounds& motion, Body body,
                                                   double from, double to);

// The instants at which the engine's positions step where the deviation of a
// pair may jump: in the sidereal zodiac the correction changes at the start
// of every calendar year, which moves a body against a fixed longitude. None
// when both bodies move or the zodiac is tropical.
std::vector<double> PairJumps(const Engine& engine, const AspectPair& pair, double from, double to);

// A source of the bodies' positions that gives what the engine's longitude
// wrapper gives, such as a cache in front of it: the searches of one report
// share the positions of the instants they have in common.
using BodyPositionFn = std::function<SkyLongitude(Body body, JulianDate jd)>;

// The instants in [from, to] of one branch (or of every branch, branch 0)
// with the orb in radians: every entry, exact pass and exit, in time order.
// An orb of 0 gives the exact passes only. Fails when a body has no position
// at an instant the search asks. The bodies' positions come from
// `positions` when given, else from the engine's wrapper.
Result<std::vector<AspectInstant>> FindAspectInstants(const Engine& engine,
                                                      const MotionBounds& motion,
                                                      const AspectPair& pair, double orb,
                                                      double from, double to, int branch = 0,
                                                      const BodyPositionFn* positions = nullptr);

}  // namespace vek

namespace vek {

// An exact aspect of a moving body: to a natal body (personal transits) or
// to another moving body (world transits).
struct ExactAspect {
    double jd = 0;  // UT
    Body moving = kSun;
    Body other = kSun;  // the natal body, or the moving body of higher number
    Aspect aspect = kConjunction;
    int branch = 1;  // as AspectInstant::branch, of moving − other
    // +1 when moving − other grows through the aspect's angle there, −1 when
    // it shrinks (a retrograde pass or the other body overtaking).
    int direction = 0;
    // The other is this extra point instead of the body `other`.
    std::optional<ExtraPoint> otherPoint = std::nullopt;
};

// The number of the other party in the order of the lists: the body's
// number, or the point's after the bodies (PointNumber).
int OtherNumber(const ExactAspect& x);

// Sorts in time order, ties by moving body, other party and aspect.
void SortExactAspects(std::vector<ExactAspect>& v);

// Every exact aspect in [from, to] of the moving bodies 1..bodyCount to the
// natal longitudes (as the wrapper gave them; one without a position takes no part),
// in time order, ties in body order. Each moving body is one search for all
// natal points and aspects at once.
Result<std::vector<ExactAspect>> FindExactTransits(const Engine& engine, const MotionBounds& motion,
                                                   const BodyArray<SkyLongitude>& natal,
                                                   int bodyCount,
                                                   double from, double to);

// Every exact aspect in [from, to] among the moving bodies 1..bodyCount, each
// pair once with the lower number as `moving`, in time order.
Result<std::vector<ExactAspect>> FindExactAspectsAmong(const Engine& engine,
                                                       const MotionBounds& motion, int bodyCount,
                                                       double from, double to);

// Every exact aspect in [from, to] of the moving bodies 1..bodyCount to extra
// points, in time order: to natal points standing at the given positions (a
// negative longitude takes no part), or, with `natal` false, to the points
// as they move (each body and point one search). Fails, among others, where
// a moving point has no position in the span (Chiron beyond its files).
Result<std::vector<ExactAspect>> FindExactAspectsToPoints(const Engine& engine,
                                                          const MotionBounds& motion,
                                                          const std::vector<PointPosition>& points,
                                                          bool natal, int bodyCount, double from,
                                                          double to);

}  // namespace vek
