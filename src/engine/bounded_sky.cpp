#include "engine/bounded_sky.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/engine.h"
#include "platform/ephemeris.h"

namespace vek {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Largest daily motions assumed for the bodies, in degrees, and largest
// changes of the daily motion in degrees per day² and of those in degrees per
// day³. Measured (tools/measure_motion_bounds) over the accepted years 1 to
// 2799 and 20 years on either side, every day (the Moon every half day), the
// largest motions are Sun 1.021, Mercury 2.204, Venus 1.260, Mars 0.792,
// Jupiter 0.243, Saturn 0.131, Uranus 0.063, Neptune 0.039 and Moon 15.399
// (the retrograde ones are slower); the largest changes Sun 0.0007, Mercury
// 0.198, Venus 0.0426, Mars 0.0152, Jupiter 0.0035, Saturn 0.0022, Uranus
// 0.0024, Neptune 0.0024 and Moon 0.517; the largest changes of those Sun
// 0.00005, Mercury 0.047, Venus 0.0045, Mars 0.0031, Jupiter 0.0034, Saturn
// 0.0035, Uranus 0.0038, Neptune 0.0038 and Moon 0.207 (for the slow planets
// mostly the bending of light near the Sun, which the seams below also
// cover). These are changes between whole days: over hours, as a planet
// passes behind the Sun, the bending changes its motion by up to 0.044° a day²
// (measured at quarter-day steps), which is why the estimates below follow
// the paths without the bending. Pluto's motion comes from its table, which
// interpolates linearly between days, so its motion changes abruptly.
constexpr BodyArray<double> kDegreesPerDay = {0,   1.25, 2.6,  1.5, 1.0, 0.35,
                                              0.2, 0.1,  0.07, 0,   17.0};
constexpr BodyArray<double> kDegreesPerDay2 = {0,      0.0012, 0.3,    0.065, 0.025, 0.006,
                                               0.0035, 0.0035, 0.0035, 0,     0.8};
// The Moon never moves less than 11.7° a day; the bound leaves a margin.
constexpr double kMoonLeastDegreesPerDay = 11.0;
constexpr BodyArray<double> kDegreesPerDay3 = {0,     0.0001, 0.07,  0.007, 0.005, 0.006,
                                               0.006, 0.006,  0.006, 0,     0.3};

// The fastest motions forward and backward, measured
// (tools/measure_motion_bounds) from whole days over the same years: forward
// Sun 1.02140, Mercury 2.20416, Venus 1.26001, Mars 0.79165, Jupiter 0.24289,
// Saturn 0.13138, Uranus 0.06330 and Neptune 0.03896; backward Mercury
// 1.38550, Venus 0.63590, Mars 0.40227, Jupiter 0.13670, Saturn 0.08331,
// Uranus 0.04395 and Neptune 0.02848, while the Sun never moves less than
// 0.95151 forward. The bounds add 3% and 0.005° a day (take them off the
// Sun's least motion), which covers the motion between whole days (the
// largest change of motion over a few hours) and the change of the bending of
// light from one day to the next (below 0.0033° a day).
constexpr BodyArray<double> kMostForwardDegreesPerDay = {0,     1.058, 2.276, 1.303, 0.821, 0.256,
                                                         0.141, 0.071, 0.046, 0,     0};
constexpr BodyArray<double> kMostBackwardDegreesPerDay = {0,     -0.918, 1.433, 0.661, 0.420, 0.146,
                                                          0.091, 0.051,  0.035, 0,     0};

// The same changes of the path apart from the bending of light, measured
// (tools/measure_motion_bounds) from the longitudes without the bending every
// day over the years 1 to 2799 and 20 years on either side: Jupiter 0.00353
// and 0.000124, Saturn 0.00193 and 0.000061, Uranus 0.00097 and 0.000032,
// Neptune 0.00061 and 0.000024, with a margin; the faster bodies keep the
// bounds above.
constexpr BodyArray<double> kSmoothDegreesPerDay2 = {0,      0.0012, 0.3,    0.065, 0.025, 0.005,
                                                     0.0027, 0.0014, 0.0009, 0,     0.8};
constexpr BodyArray<double> kSmoothDegreesPerDay3 = {0,       0.0001,  0.07,    0.007, 0.005, 0.0002,
                                                     0.0001,  0.00005, 0.00004, 0,     0.3};
// The bending of light moves an apparent longitude by up to 1.75 arc seconds
// at the Sun's limb by the textbook figure, but Swiss Ephemeris bends by more
// while a planet passes behind the Sun: measured every quarter hour about
// each passage over the same years, Mercury 1.4", Venus 1.9", Mars 2.8",
// Jupiter 3.8", Saturn 4.1", Uranus 4.3" and Neptune 4.4". The bound
// leaves a margin.
constexpr double kDeflection = 6.0 / 3600 / 360 * kTwoPi;

// The largest separations in longitude from the Sun, measured
// (tools/measure_motion_bounds --elongations) every day over the years 1 to
// 2799 and 20 years on either side: Mercury 27.795°, Venus 47.337°, and
// Mercury from Venus 73.761° (less than the sum of the bounds); daily samples
// miss a greatest elongation by less than 0.03°, and the bounds leave more
// than half a degree.
constexpr double kMercuryFromSunDegrees = 28.5;
constexpr double kVenusFromSunDegrees = 48.5;

// Seams of the ephemeris: where it changes from one data file to the next, or
// from the files to the analytical theory, a longitude may step by far less
// than this (about 20 arc seconds). The seams of the files lie 600 years apart.
constexpr double kEphemerisSeam = 1e-4;
constexpr double kDaysBetweenSeams = 600 * 365.0;

// Rounding in the computed quantities, and the edge tolerance of the aspect
// test, are far below this; a margin must exceed the bodies' uncertainty by
// it to decide.
constexpr double kRounding = 1e-9;

// The angle d brought into [−h, h], h half of kTwoPi, as std::remainder(d,
// kTwoPi) brings it: within 3h of 0 one step of kTwoPi does it, and that
// step is exact there.
double Wrapped(double d) {
    constexpr double kHalf = kTwoPi / 2;
    if (d > kHalf && d < 3 * kHalf) return d - kTwoPi;
    if (d < -kHalf && d > -3 * kHalf) return d + kTwoPi;
    if (d >= -kHalf && d <= kHalf) return d;
    return std::remainder(d, kTwoPi);
}

// The difference b − a of two longitudes taken the short way round.
double ShortStep(double a, double b) {
    return Wrapped(b - a);
}

}  // namespace

MotionBounds SkyMotionBounds(const Engine& engine) {
    MotionBounds m;
    for (const Body b : AllBodies()) {
        m.perDay[b] = ToRadians(Degrees(kDegreesPerDay[b])).value;
        m.perDay2[b] = ToRadians(Degrees(kDegreesPerDay2[b])).value;
        m.perDay3[b] = ToRadians(Degrees(kDegreesPerDay3[b])).value;
        m.smoothPerDay2[b] = ToRadians(Degrees(kSmoothDegreesPerDay2[b])).value;
        m.smoothPerDay3[b] = ToRadians(Degrees(kSmoothDegreesPerDay3[b])).value;
        m.firstJD[b] = platform::kEphemerisFirstJd;
        m.endJD[b] = platform::kEphemerisLastJd;
    }
    m.perDay[kPluto] = engine.pluto.MaxDailyMotion();
    m.forwardPerDay[kMoon] = ToRadians(Degrees(kMoonLeastDegreesPerDay)).value;
    for (const Body b : AllBodies()) {
        m.mostForward[b] = ToRadians(Degrees(kMostForwardDegreesPerDay[b])).value;
        m.mostBackward[b] = ToRadians(Degrees(kMostBackwardDegreesPerDay[b])).value;
    }
    // Pluto's table moves either way by its largest step; the Moon keeps its
    // bounds above.
    m.mostForward[kPluto] = m.mostBackward[kPluto] = m.perDay[kPluto];
    m.mostForward[kMoon] = m.perDay[kMoon];
    m.mostBackward[kMoon] = -m.forwardPerDay[kMoon];
    // The Moon and Pluto have positions on the days of the Pluto table.
    for (const Body b : {kPluto, kMoon}) {
        m.firstJD[b] = PlutoTable::kFirstDay - 0.5;
        m.endJD[b] = PlutoTable::kLastDay + 0.5;
    }
    m.fromSun[kMercury] = ToRadians(Degrees(kMercuryFromSunDegrees)).value;
    m.fromSun[kVenus] = ToRadians(Degrees(kVenusFromSunDegrees)).value;
    m.seam = kEphemerisSeam;
    m.deflection = kDeflection;
    m.approximate = engine.source.ephemerisPositions;
    return m;
}

bool PositionsFromEphemeris(const Engine& engine) {
    return engine.source.planetLongitude == &platform::planet_longitude_speed &&
           engine.source.moonPosition == &platform::moon_position;
}

BoundedSky::BoundedSky(const Engine& engine, const MotionBounds& bounds, int bodyCount,
                       double midpointOrb)
    : engine_(engine),
      bounds_(bounds),
      bodyCount_(std::clamp(bodyCount, 0, kMaxBodies)),
      midpointOrb_(midpointOrb) {
    for (const Body b : AllBodies()) estimatedAt_[b] = -kInfinity;
    for (const vek::Aspect a : AllAspects()) angle_[a] = AspectAngleOf(a);
    // Bodies beyond the count keep the longitude 0 a chart leaves them.
    for (const Body b : BodyRange(bodyCount_ + 1, kMaxBodies)) {
        track_[b].longitude = SkyLongitude(0);
        track_[b].have = true;
    }
}

void BoundedSky::MoveTo(double jd) {
    jd_ = jd;
    nextJD_ = std::nextafter(jd, kInfinity);
}

void BoundedSky::BeginWatch() {
    watchedUntil_ = kInfinity;
}

void BoundedSky::Watch(const Answer& a) const {
    watchedUntil_ = std::min(watchedUntil_, a.until);
}

bool BoundedSky::ExactNow(Body b) const {
    return !Counted(b) || (track_[b].have && track_[b].jd == jd_);
}

bool BoundedSky::Usable(Body b) const {
    if (!Counted(b)) return true;
    const Track& t = track_[b];
    return t.have && t.longitude && t.jd >= bounds_.firstJD[b] && jd_ < bounds_.endJD[b];
}

BoundedSky::Estimate BoundedSky::EstimateOf(Body b) const {
    if (!Counted(b)) return {0, 0};
    // The same instant asks the same body again for each of its tests.
    if (estimatedAt_[b] == jd_) return estimated_[b];
    estimatedAt_[b] = jd_;
    return estimated_[b] = FreshEstimate(b);
}

BoundedSky::Estimate BoundedSky::TrackEstimate(Body b) const {
    const Track& t = track_[b];
    const double t3 = t.pastJD[0], y3 = t.pastTropical[0];
    const double now = jd_;
    // From the last position with the largest motion, off by a seam at either
    // end.
    Estimate e{y3, bounds_.perDay[b] * (now - t3) + 2 * bounds_.seam};
    // Along a line through the last two positions, then along a parabola
    // through the last three: off by the largest change of motion (the error
    // of a polynomial through points of a curve), by a seam at the instant and
    // by the seams of the points as the polynomial carries them. The steps
    // between the points are taken the short way round, which they are when
    // no body can move half a circle between them. The polynomials follow
    // the path without the bending of light, off which every position may
    // stand by the deflection and a seam.
    const double seam = bounds_.seam + bounds_.deflection;
    if (t.past >= 2 && bounds_.smoothPerDay2[b] > 0) {
        const double t2 = t.pastJD[1];
        if (bounds_.perDay[b] * (t3 - t2) < kPi / 2) {
            const double z2 = y3 - ShortStep(t.pastTropical[1], y3);
            const double l2 = -(now - t3) / (t3 - t2), l3 = (now - t2) / (t3 - t2);
            const double radius = bounds_.smoothPerDay2[b] / 2 * (now - t2) * (now - t3) +
                                  seam * (1 + std::fabs(l2) + std::fabs(l3));
            if (radius < e.radius) e = {l2 * z2 + l3 * y3, radius};
            if (t.past >= 3 && bounds_.smoothPerDay3[b] > 0) {
                const double t1 = t.pastJD[2];
                if (bounds_.perDay[b] * (t3 - t1) < kPi / 2) {
                    const double z1 = z2 - ShortStep(t.pastTropical[2], t.pastTropical[1]);
                    const double k1 = (now - t2) * (now - t3) / ((t1 - t2) * (t1 - t3));
                    const double k2 = (now - t1) * (now - t3) / ((t2 - t1) * (t2 - t3));
                    const double k3 = (now - t1) * (now - t2) / ((t3 - t1) * (t3 - t2));
                    const double r = bounds_.smoothPerDay3[b] / 6 * (now - t1) * (now - t2) * (now - t3) +
                                     seam * (1 + std::fabs(k1) + std::fabs(k2) + std::fabs(k3));
                    if (r < e.radius) e = {k1 * z1 + k2 * z2 + k3 * y3, r};
                }
            }
        }
    }
    return e;
}

BoundedSky::Estimate BoundedSky::FreshEstimate(Body b) const {
    const double now = jd_;
    Estimate e = TrackEstimate(b);
    // Where positions have not been computed for a while, the approximate
    // longitude may be the closer one. It costs far less than a position but
    // far more than an estimate: computed where a test needs it, and until
    // then the approximate longitudes of earlier instants carried forward
    // stand for it.
    if (approximateJD_[b] != now) {
        approximateJD_[b] = now;
        const double inf = kInfinity;
        approximateAt_[b] = {-1, bounds_.approximate ? ApproximateBound(b) : inf};
    }
    refinable_[b] = false;
    if (e.radius > approximateAt_[b].radius) {
        if (approximateAt_[b].longitude >= 0) {
            e = approximateAt_[b];
        } else {
            const Estimate carried = CarriedApproximate(b);
            if (carried.radius < e.radius) e = carried;
            refinable_[b] = e.radius > approximateAt_[b].radius;
        }
    }
    e.longitude = NormalizeAngle(e.longitude);
    return e;
}

double BoundedSky::ApproximateBound(Body b) const {
    // The bound changes from century to century (of 36524.25 days from the
    // year 1): kept for the days of the century that lie clear of its ends,
    // where the century found cannot round to the next or the last.
    BoundSpan& s = boundSpan_[b];
    if (jd_ > s.from && jd_ < s.to) return s.bound;
    constexpr double kCentury = 36524.25, kYear1 = 1721425.5, kClear = 1e-6;
    const double c = std::floor((jd_ - kYear1) / kCentury);
    s.from = kYear1 + c * kCentury + kClear;
    s.to = kYear1 + (c + 1) * kCentury - kClear;
    s.bound = ApproximateSky::Bound(b, jd_);
    return s.bound;
}

BoundedSky::Estimate BoundedSky::CarriedApproximate(Body b) const {
    const ApproximateTrack& t = approximateTrack_[b];
    if (t.count == 0) return {0, kInfinity};
    const double now = jd_;
    const double t1 = t.jd[0], y1 = t.longitude[0];
    // From the last approximate longitude with the largest motion, off by its
    // bound and a seam at either end.
    Estimate e{y1, t.bound[0] + bounds_.perDay[b] * (now - t1) + 2 * bounds_.seam};
    // Along the line through the last two, which lie off the path without
    // the bending of light by their bounds, the deflection and a seam.
    if (t.count >= 2 && bounds_.smoothPerDay2[b] > 0) {
        const double t2 = t.jd[1];
        if (bounds_.perDay[b] * (t1 - t2) < kPi / 2) {
            const double z2 = y1 - ShortStep(t.longitude[1], y1);
            const double l2 = -(now - t1) / (t1 - t2), l1 = (now - t2) / (t1 - t2);
            const double noise = bounds_.seam + bounds_.deflection;
            const double radius = bounds_.smoothPerDay2[b] / 2 * (now - t2) * (now - t1) +
                                  noise * (1 + std::fabs(l2) + std::fabs(l1)) +
                                  t.bound[1] * std::fabs(l2) + t.bound[0] * std::fabs(l1);
            if (radius < e.radius) e = {l2 * z2 + l1 * y1, radius};
        }
    }
    return e;
}

BoundedSky::Estimate BoundedSky::ApproximateOf(Body b) const {
    Estimate& a = approximateAt_[b];
    if (a.longitude < 0) {
        a.longitude = approximate_.Longitude(b, JulianDate(jd_));
        estimatedAt_[b] = -kInfinity;
        ApproximateTrack& t = approximateTrack_[b];
        t.jd[1] = t.jd[0];
        t.longitude[1] = t.longitude[0];
        t.bound[1] = t.bound[0];
        t.jd[0] = jd_;
        t.longitude[0] = a.longitude;
        t.bound[0] = a.radius;
        t.count = std::min(t.count + 1, 2);
    }
    return a;
}

void BoundedSky::ComputeExact(Body b) const {
    if (!Counted(b)) return;
    Track& t = track_[b];
    estimatedAt_[b] = -kInfinity;
    const SkyLongitude longitude = engine_.Longitude(b, JulianDate(jd_));
    t.have = true;
    t.jd = jd_;
    t.longitude = longitude;
    if (longitude) {
        for (int i = 2; i > 0; --i) {
            t.pastJD[i] = t.pastJD[i - 1];
            t.pastTropical[i] = t.pastTropical[i - 1];
        }
        t.pastJD[0] = jd_;
        t.pastTropical[0] = *longitude + engine_.ZodiacOffset(JulianDate(jd_));
        t.past = std::min(t.past + 1, 3);
    } else {
        t.past = 0;
    }
    ++computed_;
}

bool BoundedSky::Missing(const Term* terms, int count) const {
    bool missing = false;
    for (int i = 0; i < count; ++i) {
        const Body b = terms[i].body;
        if (!ExactNow(b) && !Usable(b)) ComputeExact(b);
        missing = missing || (ExactNow(b) && !track_[b].longitude);
    }
    return missing;
}

template <class Margin>
double BoundedSky::Decide(const Term* terms, int count, Margin margin, bool& exact) const {
    for (;;) {
        exact = true;
        double uncertainty = 0;
        Body widest = kSun;
        double widestShare = -1;
        Body refinableWidest = kSun;
        double refinableShare = -1;
        for (int i = 0; i < count; ++i) {
            const Body b = terms[i].body;
            if (ExactNow(b)) {
                // The chart's own longitude where it is the instant's.
                estimate_[b] = {*track_[b].longitude, 0};
                continue;
            }
            exact = false;
            estimate_[b] = EstimateOf(b);
            const double share = std::fabs(terms[i].weight) * estimate_[b].radius;
            uncertainty += share;
            if (share > widestShare) {
                widestShare = share;
                widest = b;
            }
            if (refinable_[b] && share > refinableShare) {
                refinableShare = share;
                refinableWidest = b;
            }
        }
        if (!exact) {
            // Estimates are tropical: bring the exact ones to the same zodiac.
            for (int i = 0; i < count; ++i) {
                const Body b = terms[i].body;
                if (!ExactNow(b)) continue;
                estimate_[b].longitude = NormalizeAngle(!Counted(b) ? engine_.ZodiacOffset(JulianDate(jd_))
                                                                       : track_[b].pastTropical[0]);
            }
        }
        const double m = margin();
        if (exact || std::fabs(m) > uncertainty + kRounding) return m;
        // Undecided: the approximate longitude first where one would narrow
        // an estimate, the position itself only where none would.
        if (refinableShare >= 0) {
            ApproximateOf(refinableWidest);
            continue;
        }
        ComputeExact(widest);
    }
}

double BoundedSky::Horizon(const Term* terms, int count, double margin) const {
    const double now = nextJD_;
    // At a later instant t each body may have moved from where it stands now
    // along its path by its motion forward or backward, and off the path by
    // the deflection at either end and a seam; the estimate it was decided on
    // is off by its radius. The quantity moves fastest where the bodies that
    // raise it move forward fastest and those that lower it backward, or the
    // other way round. The answer holds while the sum stays below the margin.
    double slack = std::fabs(margin) - kRounding;
    double rising = 0, falling = 0;
    double until = kInfinity;
    for (int i = 0; i < count; ++i) {
        const Body b = terms[i].body;
        if (!Counted(b)) continue;
        if (!Usable(b)) return now;
        const double w = std::fabs(terms[i].weight);
        slack -= w * (estimate_[b].radius + 2 * bounds_.seam + 2 * bounds_.deflection);
        const double seams = 2 * bounds_.seam / kDaysBetweenSeams;
        const double forward = bounds_.mostForward[b] + seams;
        const double backward = bounds_.mostBackward[b] + seams;
        rising += w * (terms[i].weight > 0 ? forward : backward);
        falling += w * (terms[i].weight > 0 ? backward : forward);
        until = std::min(until, bounds_.endJD[b]);
    }
    if (!(slack > 0)) return now;
    const double rate = std::max(rising, falling);
    if (rate > 0) until = std::min(until, jd_ + slack / rate);
    return std::max(until, now);
}

double BoundedSky::ForwardHorizon(Body lo, Body hi, vek::Aspect aspect, double orb) const {
    const double now = nextJD_;
    // The leader always moves forward faster than the other can.
    const double seams = 2 * bounds_.seam / kDaysBetweenSeams;
    auto leastGain = [&](Body leader, Body other) {
        return -bounds_.mostBackward[leader] - bounds_.mostForward[other] - 2 * seams;
    };
    Body leader = hi, other = lo;
    if (!(leastGain(leader, other) > 0)) std::swap(leader, other);
    const double least = leastGain(leader, other);
    if (!(least > 0) || !Counted(leader) || !Counted(other) || !Usable(leader) || !Usable(other))
        return now;
    // The difference leader − other, where it may be off by `off`, moves
    // forward by at most `most` a day.
    const double off = estimate_[leader].radius + estimate_[other].radius + 4 * bounds_.seam +
                       4 * bounds_.deflection + kRounding;
    const double most = bounds_.mostForward[leader] + bounds_.mostBackward[other] + 2 * seams;
    const double lowest = estimate_[leader].longitude - estimate_[other].longitude - off;
    // The edges of the orbs: the separation passes angle ± orb at these
    // differences, and 360° less them.
    const double angle = angle_[aspect];
    double ahead = kInfinity;
    for (const double edge : {angle - orb, angle + orb, -angle - orb, -angle + orb})
        ahead = std::min(ahead, NormalizeAngle(Wrapped(edge - lowest)));
    const double room = ahead - 2 * off;
    if (!(room > 0)) return now;
    const double until = std::min({jd_ + room / most, bounds_.endJD[leader], bounds_.endJD[other]});
    return std::max(until, now);
}

AspectTest BoundedSky::Aspect(Body x, Body y, vek::Aspect aspect) const {
    const Body lo = std::min(x, y), hi = std::max(x, y);
    const double orb = engine_.orbs.orb[aspect][kOrbBase];
    Answer& a = aspect_[aspect][lo][hi];
    if (jd_ < a.until) {
        Watch(a);
        return ExactDeviation(a, x, y, aspect, orb);
    }
    if (lo == hi) {
        // A body against itself: separation 0 wherever it stands, so the answer
        // changes only where its positions end.
        if (!ExactNow(lo) && !Usable(lo)) ComputeExact(lo);
        const SkyLongitude l = track_[lo].longitude;
        const AspectTest t = TestAspect(l, l, aspect, orb);
        a = {Usable(lo) ? (!Counted(lo) ? kInfinity : bounds_.endJD[lo])
                        : nextJD_,
             t.holds, t.deviation};
        Watch(a);
        return t;
    }
    if (NeverInAspect(lo, hi, aspect, orb)) {
        a = {std::min(bounds_.endJD[lo], bounds_.endJD[hi]), false, 0};
        Watch(a);
        return {};
    }
    const double angle = angle_[aspect];
    const Term terms[2] = {{lo, 1}, {hi, -1}};
    if (Missing(terms, 2)) {
        // A body without a position is in no aspect, wherever the other is.
        a = {nextJD_, false, 0};
        Watch(a);
        return {};
    }
    double deviation = 0;
    bool exact = false;
    const double m = Decide(
        terms, 2,
        [&] {
            deviation = std::fabs(
                SeparationAngle(estimate_[lo].longitude, estimate_[hi].longitude) - angle);
            return orb - deviation;
        },
        exact);
    if (exact) {
        const AspectTest t = TestAspect(track_[lo].longitude, track_[hi].longitude, aspect, orb);
        a.value = t.holds;
        a.deviation = t.deviation;
    } else {
        a.value = m > 0;
        a.deviation = deviation;
    }
    a.until = std::max(Horizon(terms, 2, m), ForwardHorizon(lo, hi, aspect, orb));
    Watch(a);
    return ExactDeviation(a, x, y, aspect, orb);
}

bool BoundedSky::NeverInAspect(Body lo, Body hi, vek::Aspect aspect, double orb) const {
    if (!bounds_.approximate || !Counted(lo) || !Counted(hi)) return false;
    const double x = bounds_.fromSun[lo], y = bounds_.fromSun[hi];
    // The separation of two bodies near the Sun is at most the sum of theirs
    // from it.
    double most = kPi;
    if (lo == kSun && y > 0) most = y;
    if (x > 0 && y > 0) most = x + y;
    return most + kRounding < angle_[aspect] - orb;
}

AspectTest BoundedSky::ExactDeviation(const Answer& a, Body x, Body y, vek::Aspect aspect,
                                      double orb) const {
    if (!exactDeviations_ || !a.value || x == y) return {a.value, a.deviation};
    for (const Body b : {x, y})
        if (!ExactNow(b)) ComputeExact(b);
    return TestAspect(track_[x].longitude, track_[y].longitude, aspect, orb);
}

bool BoundedSky::Distinct(Body x, Body y) const {
    if (x == y) return false;
    const Body lo = std::min(x, y), hi = std::max(x, y);
    Answer& a = distinct_[lo][hi];
    if (jd_ < a.until) {
        Watch(a);
        return a.value;
    }
    // Decided without the instant's positions only when they lie apart.
    const Term terms[2] = {{lo, 1}, {hi, -1}};
    if (Missing(terms, 2)) {
        a = {nextJD_, false, 0};
        Watch(a);
        return false;
    }
    bool exact = false;
    const double m = Decide(
        terms, 2, [&] { return SeparationAngle(estimate_[lo].longitude, estimate_[hi].longitude); },
        exact);
    if (exact) {
        const SkyLongitude p = track_[lo].longitude, q = track_[hi].longitude;
        a.value = p && q && *p != *q;
    } else {
        a.value = true;
    }
    a.until = a.value ? Horizon(terms, 2, m) : nextJD_;
    Watch(a);
    return a.value;
}

bool BoundedSky::AtMidpoint(Body centre, Body y, Body z) const {
    const Body lo = std::min(y, z), hi = std::max(y, z);
    Answer& a = midpoint_[centre][lo][hi];
    if (jd_ < a.until) {
        Watch(a);
        return a.value;
    }
    // The distance of the centre from the axis through the mean of the outer
    // two moves with the centre and with half the motion of each outer body;
    // where an outer longitude passes 0° the mean jumps by half a circle and
    // the axis stays.
    const Term terms[3] = {{centre, 1}, {lo, -0.5}, {hi, -0.5}};
    if (Missing(terms, 3)) {
        // A body without a position is at no midpoint, nor the midpoint of one.
        a = {nextJD_, false, 0};
        Watch(a);
        return false;
    }
    bool exact = false;
    const double m = Decide(
        terms, 3,
        [&] {
            const double mean = (estimate_[lo].longitude + estimate_[hi].longitude) / 2;
            const double c = estimate_[centre].longitude;
            const double off =
                std::min(SeparationAngle(mean, c), SeparationAngle(NormalizeAngle(mean + kPi), c));
            return midpointOrb_ - off;
        },
        exact);
    if (exact) {
        const SkyLongitude c = track_[centre].longitude;
        const SkyLongitude p = track_[y].longitude, q = track_[z].longitude;
        a.value = c && p && q && AtMidpointOf(*c, *p, *q, midpointOrb_);
    } else {
        a.value = m > 0;
    }
    a.until = Horizon(terms, 3, m);
    Watch(a);
    return a.value;
}

BoundedSky::TimedAnswer BoundedSky::AspectUntil(Body x, Body y, vek::Aspect aspect) const {
    const double watched = watchedUntil_;
    const bool holds = Aspect(x, y, aspect).holds;
    watchedUntil_ = watched;
    return {holds, aspect_[aspect][std::min(x, y)][std::max(x, y)].until};
}

BoundedSky::TimedAnswer BoundedSky::AtMidpointUntil(Body centre, Body y, Body z) const {
    const double watched = watchedUntil_;
    const bool holds = AtMidpoint(centre, y, z);
    watchedUntil_ = watched;
    return {holds, midpoint_[centre][std::min(y, z)][std::max(y, z)].until};
}

}  // namespace vek
