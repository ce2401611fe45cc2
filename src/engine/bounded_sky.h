// The pattern tests at a run of later and later instants, computing as few
// positions as the answers allow.
//
// Every body moves no faster than a known bound, and its motion changes no
// faster than another. A test compares a quantity of the positions (a
// deviation, a distance from a midpoint, a separation) with a threshold, and
// the quantity moves no faster than the positions it is made of. So a test
// can be decided on an estimate of the positions, extrapolated from the
// body's last two computed positions, whenever the estimate's possible error
// cannot reach the threshold; and an answer, once decided with a margin,
// stays until the bodies could have used the margin up. Where neither
// settles a test, the positions of the instant itself are computed through
// the engine's longitude wrapper, as the chart of that instant computes them,
// and the test is decided on them as the chart's tests decide. The bounds only
// choose which positions may stay uncomputed: every answer is the one the
// chart of the instant gives, up to the ephemeris' own noise. (Swiss
// Ephemeris answers the same date with differences of a few 1e-9 radians
// depending on the dates asked before; a quantity that close to a threshold,
// and a mean deviation in its ninth decimal, may come out either way, as they
// may between two step-by-step runs that ask in a different order.)
//
// The bounds assume that the ephemeris answers every date of the accepted
// range: an answer kept across a failure of a skipped position would outlive
// it. The search therefore skips only with the real ephemeris.
#pragma once

#include <cstdint>
#include <limits>

#include "engine/approximate_sky.h"
#include "engine/sky_tests.h"
#include "engine/vek_types.h"

namespace vek {

class Engine;

struct MotionBounds {
    // Largest change of each body's tropical longitude per day in radians,
    // either way.
    BodyArray<double> perDay{};
    // Largest change of that daily motion per day (radians per day²), and
    // largest change of that per day (radians per day³); 0 where the motion
    // may change abruptly, and only the bounds before are used.
    BodyArray<double> perDay2{};
    BodyArray<double> perDay3{};
    // Least change of the tropical longitude per day of a body that never
    // moves backward (radians per day); 0 for the bodies that may.
    BodyArray<double> forwardPerDay{};
    // Closer bounds of the same motion, with its direction: the fastest
    // forward, and the fastest backward (negative for a body that never moves
    // backward: then it always moves forward by at least as much), in
    // radians per day. They hold for the body's path without the bending of
    // light, off which each computed position may lie by `deflection`.
    BodyArray<double> mostForward{};
    BodyArray<double> mostBackward{};
    // What a computed longitude may stand off a smooth path: an ephemeris
    // may have small seams where its sources change.
    double seam = 0;
    // The bounds above hold for the longitudes as computed, with the bending
    // of light near the Sun, which for the slow planets makes the largest
    // changes of motion. Off by at most `deflection` from those longitudes,
    // each body follows a path whose change of motion keeps within
    // smoothPerDay2 (radians per day²) and whose change of that within
    // smoothPerDay3 (radians per day³): what an estimate from past positions
    // may use with the seams and the deflection as the noise of each position.
    BodyArray<double> smoothPerDay2{};
    BodyArray<double> smoothPerDay3{};
    double deflection = 0;
    // Whether the positions are the ephemeris' own, which the approximate
    // longitudes keep within their bounds of.
    bool approximate = false;
    // For the ephemeris' own positions: the largest separation in longitude
    // of Mercury and Venus from the Sun (radians); 0 for the bodies that
    // stand anywhere.
    BodyArray<double> fromSun{};
    // Julian dates [firstJD, endJD) in which each body always has a position.
    BodyArray<double> firstJD{};
    BodyArray<double> endJD{};
};

// The bounds of the engine's ephemeris and Pluto table, from the largest
// motions over the accepted years 1 to 2799 with a margin (bounded_sky.cpp
// lists them); Pluto's daily motion comes from its table.
MotionBounds SkyMotionBounds(const Engine& engine);

// Whether the engine's positions come from the ephemeris those bounds are
// for (and not from a source a test substituted).
bool PositionsFromEphemeris(const Engine& engine);

class BoundedSky final : public SkyTests {
  public:
    // The tests of world transits with the engine's orbs (column 0) and the
    // given midpoint orb in radians, over bodies 1..bodyCount.
    BoundedSky(const Engine& engine, const MotionBounds& bounds, int bodyCount, double midpointOrb);

    // Moves to the next instant, never earlier than the current one.
    void MoveTo(double jd);
    double JD() const { return jd_; }

    // Starts watching the tests asked from now on.
    void BeginWatch();
    // Whether every test asked since BeginWatch gives the same answer at the
    // current instant: asking them again in the same order would find the
    // same. False before the first BeginWatch.
    bool WatchedUnchanged() const { return jd_ < watchedUntil_; }

    // With exact deviations on, an aspect that holds comes with the
    // deviation of the instant's own positions, computed where they are not
    // yet, so the instances of a pattern are those of the instant's chart.
    void SetExactDeviations(bool on) { exactDeviations_ = on; }

    // Positions computed so far through the longitude wrapper.
    int64_t PositionsComputed() const { return computed_; }

    // An answer with the instant before which it stays as it is.
    struct TimedAnswer {
        bool holds = false;
        double until = 0;
    };
    // The aspect and midpoint tests with their horizons, decided as the tests
    // below decide them but not watched: asking them leaves WatchedUnchanged
    // as it was.
    TimedAnswer AspectUntil(Body x, Body y, vek::Aspect aspect) const;
    TimedAnswer AtMidpointUntil(Body centre, Body y, Body z) const;
    // The same where an answer decided before still stands at the current
    // instant, without deciding anything; `until` is −∞ where none stands.
    TimedAnswer KnownAspect(Body x, Body y, vek::Aspect aspect) const;
    TimedAnswer KnownAtMidpoint(Body centre, Body y, Body z) const;

    const MotionBounds& Bounds() const { return bounds_; }

    int BodyCount() const override { return bodyCount_; }
    // The answer is exact. Without exact deviations the deviation is that of
    // the estimates the answer was decided on.
    AspectTest Aspect(Body x, Body y, vek::Aspect aspect) const override;
    bool Distinct(Body x, Body y) const override;
    bool AtMidpoint(Body centre, Body y, Body z) const override;

  private:
    // An answer and the instant before which it holds.
    struct Answer {
        double until = -1;
        bool value = false;
        double deviation = 0;
    };
    // The last position computed of a body as the wrapper gave it, and the
    // last three with a position in the tropical zodiac, where the bodies move
    // smoothly (the sidereal correction steps from year to year, by the same
    // for all bodies, which no test sees), newest first.
    struct Track {
        double jd = 0;
        SkyLongitude longitude;
        bool have = false;
        double pastJD[3] = {};
        double pastTropical[3] = {};
        int past = 0;
    };
    // Where a body stands at the current instant (tropical) and how far it
    // may be off.
    struct Estimate {
        double longitude;
        double radius;
    };
    // One body of a test and the weight of its motion in the tested quantity,
    // negative where the quantity falls as the body moves forward.
    struct Term {
        Body body;
        double weight;
    };

    bool ExactNow(Body b) const;
    // Whether the body's last position stands for the current instant: it had
    // a position when computed and has one now.
    bool Usable(Body b) const;
    Estimate EstimateOf(Body b) const;
    Estimate FreshEstimate(Body b) const;
    // From the body's last computed positions alone.
    Estimate TrackEstimate(Body b) const;
    // The approximate longitude of the current instant and its bound (set
    // for the instant by EstimateOf).
    Estimate ApproximateOf(Body b) const;
    // The approximate longitudes of earlier instants carried to the current
    // one, where no approximate longitude of the instant is computed yet.
    Estimate CarriedApproximate(Body b) const;
    // ApproximateSky::Bound of the body at the current instant.
    double ApproximateBound(Body b) const;
    // Computes the positions of the terms' bodies that cannot be estimated;
    // whether one of them has no position at the instant.
    bool Missing(const Term* terms, int count) const;
    void ComputeExact(Body b) const;
    // Brings the terms' bodies to estimates that decide the test, computing
    // positions of the instant where they do not, and returns the margin
    // `quantity − threshold` that `margin` finds on those estimates;
    // `exact` tells whether all the terms' positions are the instant's own.
    // Every body of the terms has a position at the instant (Missing).
    template <class Margin>
    double Decide(const Term* terms, int count, Margin margin, bool& exact) const;
    // The instant before which a margin found now keeps its sign.
    double Horizon(const Term* terms, int count, double margin) const;
    // For an aspect of a body that only moves forward, faster than the other
    // can move either way: their difference grows steadily, so the answer
    // stays until the difference reaches the next edge of an orb ahead, which
    // may lie much further than the nearest edge either way.
    double ForwardHorizon(Body lo, Body hi, vek::Aspect aspect, double orb) const;
    void Watch(const Answer& a) const;
    // Whether two bodies can never stand in the aspect, as Mercury, Venus and
    // the Sun never stand far apart.
    bool NeverInAspect(Body lo, Body hi, vek::Aspect aspect, double orb) const;
    AspectTest ExactDeviation(const Answer& a, Body x, Body y, vek::Aspect aspect, double orb) const;

    const Engine& engine_;
    MotionBounds bounds_;
    int bodyCount_;
    double midpointOrb_;
    double jd_ = -1;
    double nextJD_ = -1;  // the first instant after jd_, where an answer of jd_ alone ends
    // Bodies past the count stand for the longitude 0 a chart leaves them.
    bool Counted(Body b) const { return Index(b) <= bodyCount_; }

    mutable BodyArray<Track> track_;
    mutable BodyArray<Estimate> estimate_;
    ApproximateSky approximate_;
    // The instant of each body's approximate estimate, and the estimate: its
    // bound, and its longitude once it was needed (−1 until then).
    mutable BodyArray<double> approximateJD_{};
    mutable BodyArray<Estimate> approximateAt_{};
    // The last two approximate longitudes computed of each body and their
    // bounds, newest first.
    struct ApproximateTrack {
        double jd[2] = {};
        double longitude[2] = {};
        double bound[2] = {};
        int count = 0;
    };
    mutable BodyArray<ApproximateTrack> approximateTrack_{};
    // Each body's approximate bound and the days it holds for.
    struct BoundSpan {
        double from = 0, to = 0, bound = 0;
    };
    mutable BodyArray<BoundSpan> boundSpan_{};
    AspectArray<double> angle_{};
    // Whether the body's estimate at the current instant would narrow with
    // its approximate longitude, not yet computed.
    mutable BodyArray<bool> refinable_{};
    // The last estimate of each body and its instant; −∞ once a position or
    // approximate longitude computed since may narrow it.
    mutable BodyArray<double> estimatedAt_{};
    mutable BodyArray<Estimate> estimated_{};
    mutable AspectArray<BodyArray<BodyArray<Answer>>> aspect_;
    mutable BodyArray<BodyArray<Answer>> distinct_;
    mutable BodyArray<BodyArray<BodyArray<Answer>>> midpoint_;
    bool exactDeviations_ = false;
    mutable double watchedUntil_ = -1;
    mutable int64_t computed_ = 0;
};

// Inline: the pattern gate asks them for every test of every triple it looks
// at.
inline BoundedSky::TimedAnswer BoundedSky::KnownAspect(Body x, Body y, vek::Aspect aspect) const {
    const Answer& a = x < y ? aspect_[aspect][x][y] : aspect_[aspect][y][x];
    if (jd_ < a.until) return {a.value, a.until};
    return {false, -std::numeric_limits<double>::infinity()};
}

inline BoundedSky::TimedAnswer BoundedSky::KnownAtMidpoint(Body centre, Body y, Body z) const {
    const Answer& a = y < z ? midpoint_[centre][y][z] : midpoint_[centre][z][y];
    if (jd_ < a.until) return {a.value, a.until};
    return {false, -std::numeric_limits<double>::infinity()};
}

}  // namespace vek
