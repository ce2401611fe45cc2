#include "engine/approximate_sky.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "platform/ephemeris.h"
#include "util/angle.h"

namespace vek {

namespace {

constexpr double kDegree = kTwoPi / 360;
constexpr double kArcSecond = kDegree / 3600;
constexpr double kJ2000 = 2451545.0;

// Mean orbital elements on the ecliptic and equinox of J2000 with their
// changes per Julian century: semi-major axis (AU), eccentricity,
// inclination, mean longitude, longitude of perihelion and of the ascending
// node (degrees).
struct Elements {
    double a, da, e, de, i, di, l, dl, perihelion, dperihelion, node, dnode;
};
constexpr Elements kOrbitMercury = {0.38709927,  0.00000037,  0.20563593,   0.00001906,
                               7.00497902,  -0.00594749, 252.25032350, 149472.67411175,
                               77.45779628, 0.16047689,  48.33076593,  -0.12534081};
constexpr Elements kOrbitVenus = {0.72333566,   0.00000390,  0.00677672,   -0.00004107,
                             3.39467605,   -0.00078890, 181.97909950, 58517.81538729,
                             131.60246718, 0.00268329,  76.67984255,  -0.27769418};
constexpr Elements kOrbitEarth = {1.00000261,   0.00000562, 0.01671123,   -0.00004392,
                             -0.00001531,  -0.01294668, 100.46457166, 35999.37244981,
                             102.93768193, 0.32327364, 0.0,          0.0};
constexpr Elements kOrbitMars = {1.52371034,   0.00001847,  0.09339410,  0.00007882,
                            1.84969142,   -0.00813131, -4.55343205, 19140.30268499,
                            -23.94362959, 0.44441088,  49.55953891, -0.29257343};
constexpr Elements kOrbitJupiter = {5.20288700,  -0.00011607, 0.04838624,  -0.00013253,
                               1.30439695,  -0.00183714, 34.39644051, 3034.74612775,
                               14.72847983, 0.21252668,  100.47390909, 0.20469106};
constexpr Elements kOrbitSaturn = {9.53667594,  -0.00125060, 0.05386179,   -0.00050991,
                              2.48599187,  0.00193609,  49.95424423,  1222.49362201,
                              92.59887831, -0.41897216, 113.66242448, -0.28867794};
constexpr Elements kOrbitUranus = {19.18916464,  -0.00196176, 0.04725744,   -0.00004397,
                              0.77263783,   -0.00242939, 313.23810451, 428.48202785,
                              170.95427630, 0.40805281,  74.01692503,  0.04240589};
constexpr Elements kOrbitNeptune = {30.06992276, 0.00026291,  0.00859048,   0.00005105,
                               1.77004347,  0.00035372,  -55.12002969, 218.45945325,
                               44.96476227, -0.32241464, 131.78422574, -0.00508664};

const Elements* ElementsOf(Body b) {
    switch (b) {
        case kMercury: return &kOrbitMercury;
        case kVenus: return &kOrbitVenus;
        case kMars: return &kOrbitMars;
        case kJupiter: return &kOrbitJupiter;
        case kSaturn: return &kOrbitSaturn;
        case kUranus: return &kOrbitUranus;
        case kNeptune: return &kOrbitNeptune;
        default: return nullptr;
    }
}

// std::floor as one conversion each way where the number fits in an integer
// (as all times and turns here do), instead of the long sequence a compiler
// makes of std::floor for processors without a rounding instruction. The
// same result but for the sign of a zero.
double Floor(double x) {
    if (!(std::fabs(x) < 0x1p52)) return std::floor(x);
    const double f = static_cast<double>(static_cast<int64_t>(x));
    return f > x ? f - 1 : f;
}

// The direction of (x, y), as std::atan2(y, x) gives it to within two units
// in the last place, for a third of its cost: the arctangent of the smaller
// over the larger part from a table of the arctangents of eighths and the
// series of the rest, below 1/16, to its sixth term (off by less than 1e-17).
double Direction(double y, double x) {
    static constexpr double kAtanOfEighths[9] = {0.0, 0.12435499454676144, 0.24497866312686414,
                                                 0.35877067027057225, 0.4636476090008061, 0.5585993153435624,
                                                 0.6435011087932844, 0.7188299996216245, 0.7853981633974483};
    constexpr double kHalfTurn = 3.141592653589793, kQuarterTurn = 1.5707963267948966;
    const double ax = std::fabs(x), ay = std::fabs(y);
    const bool steep = ay > ax;
    const double hi = steep ? ay : ax, lo = steep ? ax : ay;
    if (!(hi > 0 && hi < std::numeric_limits<double>::infinity())) return std::atan2(y, x);
    const double z = lo / hi;
    const int k = static_cast<int>(z * 8 + 0.5);
    const double c = k * 0.125;
    const double w = (z - c) / (1 + z * c), w2 = w * w;
    double a = kAtanOfEighths[k] +
               w * (1 + w2 * (-1.0 / 3 + w2 * (1.0 / 5 + w2 * (-1.0 / 7 + w2 * (1.0 / 9 - w2 / 11)))));
    if (steep) a = kQuarterTurn - a;
    if (x < 0) a = kHalfTurn - a;
    return y < 0 ? -a : a;
}

// A heliocentric ecliptic position (J2000, AU; the height above the
// ecliptic does not change a longitude) and its change per day.
struct Orbit {
    double x, y, vx, vy;
};

// The cosine and sine of an angle.
struct Turn {
    double c = 1, s = 0;
};

// The turn by a further `delta` radians, for small |delta|: the series
// of its cosine and sine to the terms that still count in a double (up to
// 0.05 they are off by less than 1e-11).
Turn TurnedBy(const Turn& t, double delta) {
    const double d2 = delta * delta;
    const double cd = 1 - d2 / 2 + d2 * d2 / 24, sd = delta * (1 - d2 / 6 + d2 * d2 / 120);
    return {t.c * cd - t.s * sd, t.s * cd + t.c * sd};
}

// The turn by the sum of two angles.
Turn Times(const Turn& a, const Turn& b) {
    return {a.c * b.c - a.s * b.s, a.s * b.c + a.c * b.s};
}

// The turn by j/64 of a turn, from the sines of the first quarter.
Turn TurnOfSixtyFourths(int j) {
    static constexpr double kSine[17] = {0.0, 0.0980171403295606, 0.19509032201612825, 0.29028467725446233,
                                         0.3826834323650898, 0.47139673682599764, 0.5555702330196022,
                                         0.6343932841636455, 0.7071067811865475, 0.773010453362737,
                                         0.8314696123025452, 0.8819212643483549, 0.9238795325112867,
                                         0.9569403357322089, 0.9807852804032304, 0.9951847266721968, 1.0};
    auto sine = [&](int n) {
        n &= 63;
        const double v = (n & 16) ? kSine[16 - (n & 15)] : kSine[n & 15];
        return (n & 32) ? -v : v;
    };
    return {sine(j + 16), sine(j)};
}

// The cosine and sine of an angle, as std::cos and std::sin give them to
// within a few units in the last place, for a third of their cost: the
// nearest 64th of a turn from a table, turned on by the series of the rest
// (below π/64, off by less than 1e-20). π/32 is taken in two parts, the
// first exact in its multiples.
Turn TurnOf(double angle) {
    if (!(std::fabs(angle) < 1000)) return {std::cos(angle), std::sin(angle)};
    constexpr double kStepHigh = 0.09817477036267519, kStepLow = 6.200584873003378e-11;
    const double k = Floor(angle * (32 / 3.141592653589793) + 0.5);
    const double r = (angle - k * kStepHigh) - k * kStepLow, r2 = r * r;
    const double c = 1 + r2 * (-1.0 / 2 + r2 * (1.0 / 24 + r2 * (-1.0 / 720 + r2 * (1.0 / 40320 - r2 / 3628800))));
    const double s = r * (1 + r2 * (-1.0 / 6 + r2 * (1.0 / 120 + r2 * (-1.0 / 5040 + r2 / 362880))));
    return Times(TurnOfSixtyFourths(static_cast<int>(k)), {c, s});
}

// The angles of an orientation turn by less than 1.1° a century together, so
// by less than 2e-4 radians in this span.
constexpr double kOrientationDays = 256;

// The four numbers that turn a place in the orbit of `el` onto the ecliptic
// at T: the x and y of the ecliptic from the orbit's x (towards the
// perihelion) and y.
std::array<double, 4> PlaneAt(const Elements& el, double t) {
    const double angle[3] = {el.perihelion - el.node, el.node, el.i};
    const double change[3] = {el.dperihelion - el.dnode, el.dnode, el.di};
    Turn at[3];
    for (int k = 0; k < 3; ++k) at[k] = TurnOf((angle[k] + change[k] * t) * kDegree);
    const double cw = at[0].c, sw = at[0].s, cn = at[1].c, sn = at[1].s, ci = at[2].c;
    return {cw * cn - sw * sn * ci, -sw * cn - cw * sn * ci, cw * sn + sw * cn * ci,
            -sw * sn + cw * cn * ci};
}

// The cosine and sine of a small angle |x| ≤ 0.21 (the eccentric less the mean
// anomaly, at most the eccentricity) from their series: the first terms left
// out are below 1e-18.
Turn SmallTurn(double x) {
    const double x2 = x * x;
    const double c =
        1 + x2 * (-1.0 / 2 + x2 * (1.0 / 24 + x2 * (-1.0 / 720 + x2 * (1.0 / 40320 + x2 * (-1.0 / 3628800 + x2 / 479001600)))));
    const double s =
        x * (1 + x2 * (-1.0 / 6 + x2 * (1.0 / 120 + x2 * (-1.0 / 5040 + x2 * (1.0 / 362880 + x2 * (-1.0 / 39916800))))));
    return {c, s};
}

// An angle in degrees brought to [−180°, 180°] and turned into radians; the
// subtraction of whole turns is exact.
double HalfTurnRadians(double degrees) {
    return (degrees - 360 * Floor(degrees / 360 + 0.5)) * kDegree;
}

// The cosine and sine of the mean anomaly of the orbit of `el` at T, from
// those at the start of T's span in `s` turned on by the series of SmallTurn.
Turn MeanAnomalyTurn(const Elements& el, double t, ApproximateSky::AnomalySpan& s) {
    const double perDay = (el.dl - el.dperihelion) / 36525;  // degrees
    const double spanDays = 0.2 / (perDay * kDegree);
    const double days = t * 36525;
    const double start = Floor(days / spanDays) * spanDays;
    if (s.t != start) {
        s.t = start;
        const double t0 = start / 36525;
        const Turn at = TurnOf(HalfTurnRadians(el.l + el.dl * t0 - (el.perihelion + el.dperihelion * t0)));
        s.cosine = at.c;
        s.sine = at.s;
    }
    return Times({s.cosine, s.sine}, SmallTurn(perDay * (days - start) * kDegree));
}

// The Kepler orbit at T Julian centuries from J2000 (dynamical time), with
// the orbit's orientation and mean anomaly at the starts of T's spans in `o`
// and `s`.
Orbit Heliocentric(const Elements& el, double t, ApproximateSky::Orientation& o,
                   ApproximateSky::AnomalySpan& s) {
    const double a = el.a + el.da * t;
    const double e = el.e + el.de * t;
    const Turn mean = MeanAnomalyTurn(el, t, s);
    // Kepler's equation E − e sin E = M solved by Newton for x = E − M, the
    // sine and cosine of E from those of M turned by x. Started at the series
    // to e³; as Newton converges quadratically, the step after one of d would
    // be about e d² / (2 (1 − e cos E)), so the steps stop where that is below
    // 1e-12.
    const double sm = mean.s, cm = mean.c;
    double x = e * sm * (1 + e * cm + e * e * (1 - 1.5 * sm * sm));
    Turn r = SmallTurn(x);
    for (int k = 0; k < 8; ++k) {
        const double q = 1 - e * (cm * r.c - sm * r.s);
        const double d = (x - e * (sm * r.c + cm * r.s)) / q;
        x -= d;
        if (e * d * d < 2e-12 * q) {
            // The turn carried back over the last step, off by d³/6 (below
            // 1e-15 where the steps stop).
            const double h = 1 - d * d / 2;
            r = {r.c * h + r.s * d, r.s * h - r.c * d};
            break;
        }
        r = SmallTurn(x);
    }
    const double se = sm * r.c + cm * r.s, ce = cm * r.c - sm * r.s;
    const double b = a * std::sqrt(1 - e * e);
    const double xo = a * (ce - e), yo = b * se;
    // The mean motion per day, and with it the eccentric anomaly's.
    const double rate = el.dl * kDegree / 36525 / (1 - e * ce);
    const double vxo = -a * se * rate, vyo = b * ce * rate;
    constexpr double kSpan = kOrientationDays / 36525;
    const double start = Floor(t / kSpan) * kSpan;
    if (o.t != start) {
        o.t = start;
        const std::array<double, 4> v0 = PlaneAt(el, start), vh = PlaneAt(el, start + kSpan / 2),
                                    v1 = PlaneAt(el, start + kSpan);
        for (int k = 0; k < 4; ++k) {
            o.c0[k] = v0[k];
            o.c1[k] = 4 * vh[k] - 3 * v0[k] - v1[k];
            o.c2[k] = 2 * (v0[k] + v1[k]) - 4 * vh[k];
        }
    }
    const double u = (t - start) / kSpan;
    double turn[4];
    for (int k = 0; k < 4; ++k) turn[k] = o.c0[k] + u * (o.c1[k] + u * o.c2[k]);
    const double pxx = turn[0], pxy = turn[1], pyx = turn[2], pyy = turn[3];
    return {pxx * xo + pxy * yo, pyx * xo + pyy * yo, pxx * vxo + pxy * vyo,
            pyx * vxo + pyy * vyo};
}

// What the Kepler orbits of the four giant planets leave out: their pull on
// each other (above all the great inequality of Jupiter and Saturn, in
// 2 Jupiter − 5 Saturn, of about 0.3° and 0.8°) and the slow drift of their
// elements over the accepted years away from the years the elements were
// fitted to. Each is a correction of the heliocentric longitude (radians)
// and distance (AU) of the orbit above: a cubic in the time τ (−1 400 days
// before 1 January of the year 1, +1 400 days after 1 January 2800, as
// kFitFirstT and kFitLastT below say) plus terms in multiples of the orbit's
// own mean anomaly and of the mean longitudes of the four planets, each
// times a power of τ. They were fitted by least squares to the ephemeris'
// heliocentric positions every 11.3 days, keeping the terms above 0.0005°
// (in longitude, or in the distance as seen from the Earth at the planet's
// closest); the bounds below are measured with them over the accepted years.
struct PerturbationTerm {
    signed char anomaly, jupiter, saturn, uranus, neptune, power;
    double sinL, cosL, sinR, cosR;
};
// The corrections: of the longitude (radians) and the distance (AU).
struct Correction {
    double longitude, distance;
};
// What the terms are made of at one time: the powers −9 to 9 of e^{iλ} of the
// four planets and 0 to 3 of e^{iM}, as (cosine, sine) pairs, and the powers
// 0 to 3 of τ.
constexpr int kMost = 9;
struct TermPowers {
    Turn planet[4][2 * kMost + 1];
    Turn own[4];
    double tau[4];
};
// The sum of the terms of a table, written out by the compiler term by term.
template <const auto& kTerms>
Correction SumOfTerms(const TermPowers& p);
// The highest multiple of planet b's mean longitude that a table takes.
template <size_t N>
constexpr int MostOf(const PerturbationTerm (&terms)[N], int b) {
    int most = 0;
    for (const PerturbationTerm& term : terms) {
        const int multiples[4] = {term.jupiter, term.saturn, term.uranus, term.neptune};
        most = std::max(most, multiples[b] < 0 ? -multiples[b] : multiples[b]);
    }
    return most;
}
template <size_t N>
constexpr std::array<int, 4> MostOf(const PerturbationTerm (&terms)[N]) {
    return {MostOf(terms, 0), MostOf(terms, 1), MostOf(terms, 2), MostOf(terms, 3)};
}
struct Perturbations {
    double longitude[4], distance[4];
    Correction (*sumOfTerms)(const TermPowers&);
    std::array<int, 4> most;  // the powers of each planet's e^{iλ} the terms take
};
constexpr PerturbationTerm kJupiterTerms[] = {
    {1, 0, 0, 0, 0, 0, -3.3659e-03, -9.8844e-04, -2.5814e-03, 8.7942e-03},
    {1, 0, 0, 0, 0, 1, 8.3597e-03, 3.7530e-03, 9.7507e-03, -2.1784e-02},
    {1, 0, 0, 0, 0, 2, -1.8767e-04, -1.9807e-04, -5.1429e-04, 4.9839e-04},
    {1, 0, 0, 0, 0, 3, 2.4123e-04, 1.4166e-04, 3.7491e-04, -6.2422e-04},
    {2, 0, 0, 0, 0, 0, -2.0136e-04, -6.3947e-05, -1.4825e-04, 4.1840e-04},
    {2, 0, 0, 0, 0, 1, 4.9778e-04, 2.1657e-04, 4.8705e-04, -1.0298e-03},
    {2, 0, 0, 0, 0, 2, -2.4564e-05, 1.2609e-06, -4.9138e-06, 4.8524e-05},
    {2, 0, 0, 0, 0, 3, 2.5369e-05, 4.0399e-05, 9.1877e-05, -4.8470e-05},
    {3, 0, 0, 0, 0, 0, -1.3285e-05, -3.9486e-06, -8.6258e-06, 2.4353e-05},
    {3, 0, 0, 0, 0, 1, 3.0031e-05, 1.3791e-05, 2.5995e-05, -4.9313e-05},
    {3, 0, 0, 0, 0, 3, 8.5029e-06, 4.3848e-06, 1.4544e-05, -3.3413e-05},
    {0, 0, 1, 0, 0, 0, 4.3287e-05, 4.4693e-05, 3.9211e-05, -8.0236e-05},
    {0, 0, 2, 0, 0, 0, -4.0836e-06, -2.4506e-05, -5.1610e-05, 3.1925e-05},
    {0, 0, 3, 0, 0, 0, 1.9574e-05, 2.2557e-06, 5.6852e-06, -5.5464e-05},
    {0, 0, 5, 0, 0, 0, 1.4007e-05, -6.2527e-06, -1.3669e-05, -3.1111e-05},
    {0, 1, -5, 0, 0, 0, -2.5932e-04, -3.9558e-05, 1.0059e-04, -6.6767e-04},
    {0, 1, -3, 0, 0, 0, -2.8177e-05, 4.1256e-05, -1.1098e-06, 1.0938e-05},
    {0, 1, -2, 0, 0, 0, 6.0951e-04, -1.2342e-04, -1.0273e-04, -2.6305e-04},
    {0, 1, -2, 0, 0, 1, 5.9094e-05, 6.2983e-05, 2.9540e-05, -3.0547e-05},
    {0, 1, -1, 0, 0, 0, -3.8833e-04, 9.2782e-06, 1.7714e-05, 6.5442e-04},
    {0, 2, -5, 0, 0, 0, -5.9000e-03, 4.4774e-04, -1.1283e-04, -2.2333e-04},
    {0, 2, -5, 0, 0, 1, 1.6612e-04, -3.2529e-03, 1.2683e-04, -3.0298e-05},
    {0, 2, -5, 0, 0, 2, 9.6156e-04, 3.0021e-04, -4.1022e-07, 3.6600e-05},
    {0, 2, -4, 0, 0, 0, 4.4043e-05, 7.1125e-05, 7.8137e-05, -5.8866e-05},
    {0, 2, -4, 0, 0, 1, -2.8159e-05, 1.5285e-05, 2.0857e-05, 3.3920e-05},
    {0, 2, -3, 0, 0, 0, 1.8718e-04, -3.5335e-04, -7.7704e-04, -3.9806e-04},
    {0, 2, -2, 0, 0, 0, 9.7060e-04, -2.2261e-05, -5.7883e-05, -2.8170e-03},
    {0, 2, -1, 0, 0, 0, -2.4473e-05, 7.7124e-06, 1.9714e-05, 5.7383e-05},
    {0, 3, -5, 0, 0, 0, 1.8514e-04, 7.4345e-04, 1.9176e-03, -4.6555e-04},
    {0, 3, -5, 0, 0, 1, -3.0906e-04, 1.3590e-06, -1.2110e-06, 7.9414e-04},
    {0, 3, -5, 0, 0, 2, -1.9603e-05, -1.0002e-04, -2.6309e-04, 4.8319e-05},
    {0, 3, -4, 0, 0, 0, -2.9212e-05, 6.7626e-05, 2.1229e-04, 1.0023e-04},
    {0, 3, -3, 0, 0, 0, 8.3290e-05, -2.2987e-05, -4.7911e-05, -2.9481e-04},
    {0, 3, -2, 0, 0, 0, 5.7940e-05, -1.3595e-05, -2.6856e-05, -1.2454e-04},
    {0, 4, -5, 0, 0, 0, 1.3021e-05, 4.9596e-05, 1.2412e-04, -1.3679e-05},
    {0, 4, -4, 0, 0, 0, 1.6784e-05, 4.4751e-06, 9.5145e-06, -7.0532e-05},
};
constexpr Perturbations kJupiterPerturbations = {
    {-0.0175254182, 0.0391994049, -0.000268496685, 9.93842429e-05},
    {-0.00125104101, 0.00269450339, -2.80074851e-05, 3.40725016e-06},
    &SumOfTerms<kJupiterTerms>, MostOf(kJupiterTerms)};
constexpr PerturbationTerm kSaturnTerms[] = {
    {1, 0, 0, 0, 0, 0, 3.0671e-04, 1.5636e-02, 7.4826e-02, -1.1303e-03},
    {1, 0, 0, 0, 0, 1, 1.0426e-02, -3.9085e-02, -1.8617e-01, -5.0778e-02},
    {1, 0, 0, 0, 0, 2, -7.1676e-03, 2.5183e-03, 1.1954e-02, 3.4195e-02},
    {1, 0, 0, 0, 0, 3, -2.0556e-04, 4.7211e-04, 2.3745e-03, 9.4921e-04},
    {2, 0, 0, 0, 0, 0, -9.1894e-05, 1.0889e-03, 3.9981e-03, 5.1913e-04},
    {2, 0, 0, 0, 0, 1, 1.1273e-03, -2.7502e-03, -1.0108e-02, -4.6395e-03},
    {2, 0, 0, 0, 0, 2, -1.0375e-03, 2.0182e-04, 6.8906e-04, 3.8683e-03},
    {2, 0, 0, 0, 0, 3, 1.6573e-04, 2.2941e-04, 1.1128e-03, -5.6516e-04},
    {3, 0, 0, 0, 0, 0, -1.9872e-05, 7.7272e-05, 2.3256e-04, 1.0673e-04},
    {3, 0, 0, 0, 0, 1, 1.2431e-04, -1.7870e-04, -4.7927e-04, -4.6361e-04},
    {3, 0, 0, 0, 0, 2, -1.0662e-04, -9.7044e-06, -5.8494e-05, 2.8774e-04},
    {3, 0, 0, 0, 0, 3, 1.0598e-05, 3.5110e-05, 1.2360e-04, -4.1320e-05},
    {0, -4, 4, 0, 0, 0, 9.6295e-06, -5.4258e-07, 2.1185e-06, 9.6934e-05},
    {0, -3, 3, 0, 0, 0, 3.2495e-05, -7.8063e-07, 1.6354e-06, 3.2368e-04},
    {0, -3, 4, 0, 0, 0, -1.1973e-05, -2.1431e-05, 1.8328e-04, -1.0114e-04},
    {0, -3, 5, 0, 0, 0, 2.3814e-05, -4.5158e-05, 3.4258e-04, 1.6298e-04},
    {0, -3, 5, 0, 0, 1, -6.1267e-05, -3.4384e-05, 2.3028e-04, -4.5424e-04},
    {0, -3, 5, 0, 0, 2, -2.9756e-05, 4.0630e-05, -3.0860e-04, -1.6005e-04},
    {0, -3, 6, 0, 0, 0, 1.5106e-05, 5.0090e-06, -1.2549e-05, 1.7190e-05},
    {0, -2, 1, 0, 0, 0, -1.4327e-05, 6.7761e-06, -6.9348e-05, 9.6593e-05},
    {0, -2, 2, 0, 0, 0, 1.5696e-04, 1.5336e-05, -4.1731e-05, 1.4186e-03},
    {0, -2, 3, 0, 0, 0, 1.7550e-04, -2.2498e-05, 5.8795e-04, 3.7924e-04},
    {0, -2, 4, 0, 0, 0, 1.9224e-03, -3.6235e-03, 1.7056e-02, 9.0032e-03},
    {0, -2, 4, 0, 0, 1, -1.4646e-03, -4.8268e-04, 2.2442e-03, -6.8918e-03},
    {0, -2, 4, 0, 0, 2, -1.3663e-04, 2.4580e-04, -1.1344e-03, -5.8950e-04},
    {0, -2, 5, 0, 0, 0, -1.4548e-02, -1.0800e-03, -7.3236e-04, 3.6911e-03},
    {0, -2, 5, 0, 0, 1, 4.5584e-04, 8.0524e-03, 2.0448e-03, 9.3455e-05},
    {0, -2, 5, 0, 0, 2, 2.4052e-03, -8.6483e-04, -2.1078e-04, -7.4752e-04},
    {0, -2, 6, 0, 0, 0, -9.8665e-05, 7.7827e-04, 3.6344e-03, 4.7891e-04},
    {0, -2, 7, 0, 0, 0, 5.4180e-05, 1.1542e-05, 8.1306e-05, -1.8437e-04},
    {0, -1, 1, 0, 0, 0, -3.2871e-05, 1.4478e-04, -6.1256e-04, 8.2044e-03},
    {0, -1, 2, 0, 0, 0, 1.9520e-03, 4.5184e-04, -8.8769e-04, 5.2183e-03},
    {0, -1, 2, 0, 0, 1, 2.0366e-04, -2.1470e-04, 5.6314e-04, 5.0576e-04},
    {0, -1, 2, 0, 0, 2, 1.6323e-06, -2.8237e-05, 1.0504e-04, 7.5642e-05},
    {0, -1, 3, 0, 0, 0, -9.0421e-05, -2.2303e-04, -1.0702e-03, 2.0200e-04},
    {0, -1, 4, 0, 0, 0, -1.3609e-05, 5.4192e-06, 1.0341e-05, 1.3429e-04},
    {0, 1, 0, 0, 0, 0, 1.7358e-05, 5.9141e-05, -8.1709e-05, -1.1347e-04},
    {0, 0, 0, 3, 0, 0, -4.8940e-05, -4.4747e-05, -2.1283e-04, 2.2201e-04},
    {0, 0, 0, 7, 0, 0, -4.5953e-06, -6.8804e-05, -4.9678e-04, 1.9310e-05},
    {0, 0, 1, -3, 0, 0, 1.5679e-05, -8.3538e-05, -1.2558e-05, -3.6833e-07},
    {0, 0, 1, -2, 0, 0, 1.4202e-05, 4.1830e-05, 5.3505e-05, -3.0589e-05},
    {0, 0, 1, -1, 0, 0, -3.8759e-05, -3.1235e-06, -1.1745e-05, 1.3171e-04},
    {0, 0, 2, -7, 0, 0, 2.1334e-05, -1.7678e-05, 5.0343e-05, 5.4321e-05},
    {0, 0, 2, -6, 0, 0, 5.4213e-06, 1.2687e-05, -9.0098e-06, 1.0159e-05},
    {0, 0, 2, -3, 0, 0, 7.9698e-05, 5.5431e-05, 2.5647e-04, -3.6568e-04},
    {0, 0, 2, -2, 0, 0, 6.1943e-05, 3.9536e-06, 1.9447e-05, -3.3962e-04},
    {0, 0, 3, -3, 0, 0, 1.1859e-05, 1.6925e-06, 9.4650e-06, -4.5991e-05},
};
constexpr Perturbations kSaturnPerturbations = {
    {0.0420265709, -0.0933200559, 0.000611430195, -0.000327871483},
    {-0.000925290983, 0.0186884169, -0.000153946443, 0.000127809576},
    &SumOfTerms<kSaturnTerms>, MostOf(kSaturnTerms)};
constexpr PerturbationTerm kUranusTerms[] = {
    {1, 0, 0, 0, 0, 0, -6.2925e-03, -1.1969e-03, -3.5446e-02, 6.2565e-02},
    {1, 0, 0, 0, 0, 1, 8.8288e-02, 4.5082e-02, 5.1280e-01, -6.7941e-01},
    {1, 0, 0, 0, 0, 2, 4.2478e-03, -1.8217e-03, 1.1121e-02, -3.9233e-02},
    {1, 0, 0, 0, 0, 3, -4.4276e-02, -1.9250e-02, -2.2558e-01, 3.3833e-01},
    {2, 0, 0, 0, 0, 0, -1.2078e-03, -4.0119e-04, -6.2862e-03, -6.7264e-03},
    {2, 0, 0, 0, 0, 1, 2.5669e-03, 2.0470e-02, -7.1624e-03, 3.3431e-02},
    {2, 0, 0, 0, 0, 2, -3.1995e-04, 3.8229e-04, 2.7320e-03, 1.0712e-02},
    {2, 0, 0, 0, 0, 3, -1.2493e-03, -1.0044e-02, 4.5505e-03, -1.6915e-02},
    {3, 0, 0, 0, 0, 0, 6.1856e-05, 1.2076e-03, 2.8935e-03, 1.6418e-03},
    {3, 0, 0, 0, 0, 1, -7.5708e-03, 1.2448e-03, -6.4725e-02, -6.3998e-03},
    {3, 0, 0, 0, 0, 2, -2.7456e-04, -2.7916e-03, -3.2692e-03, -1.1080e-02},
    {3, 0, 0, 0, 0, 3, 3.6195e-03, -6.4222e-04, 3.2720e-02, 4.3095e-03},
    {0, -1, 0, 1, 0, 0, -2.5723e-04, 1.8446e-06, 3.0003e-05, 4.9651e-03},
    {0, -1, 0, 2, 0, 0, 1.9169e-05, 6.1075e-06, 7.1421e-05, -2.7049e-04},
    {0, 1, 0, 0, 0, 0, 6.1095e-06, 8.4608e-07, -3.3514e-05, 2.2348e-04},
    {0, 0, -3, 5, 0, 0, -1.8093e-05, -1.1363e-05, 3.3837e-04, -1.5859e-04},
    {0, 0, -3, 6, 0, 0, 4.5293e-05, -1.2383e-05, -9.7254e-04, -3.4560e-04},
    {0, 0, -2, 2, 0, 0, 2.0198e-05, -3.2354e-08, 1.3611e-05, 3.8890e-04},
    {0, 0, -2, 3, 0, 0, -1.1124e-05, 7.0369e-06, -1.0567e-04, -1.8228e-04},
    {0, 0, -2, 4, 0, 0, 6.7205e-06, -7.3997e-06, 1.1378e-04, 8.0726e-05},
    {0, 0, -2, 5, 0, 0, -5.3286e-07, -1.5701e-05, 1.2395e-04, 3.6753e-06},
    {0, 0, -1, 1, 0, 0, -1.0330e-04, 4.3468e-05, -3.1437e-04, 3.3746e-03},
    {0, 0, -1, 2, 0, 0, 1.8786e-04, -6.9937e-04, 6.0619e-03, 1.4055e-03},
    {0, 0, -1, 3, 0, 0, 5.8922e-05, 6.3752e-04, 1.4861e-03, 1.8796e-05},
    {0, 0, -1, 4, 0, 0, 4.6922e-06, -3.0689e-05, -2.5533e-04, -3.7119e-05},
    {0, 0, 0, 0, 1, 0, -2.7280e-05, -4.8121e-05, 5.5563e-05, 2.4095e-04},
    {0, 0, 0, 0, 2, 0, 1.1960e-02, 1.9633e-02, 1.8583e-01, -7.6159e-02},
    {0, 0, 0, 0, 3, 0, 4.2606e-06, -1.1834e-05, -2.0268e-04, -1.0593e-04},
    {0, 0, 0, 0, 4, 0, -2.2932e-04, -4.6194e-04, -5.9206e-04, -4.6125e-04},
    {0, 0, 0, 0, 5, 0, 3.6954e-05, -1.6856e-05, -6.9053e-04, 9.4929e-04},
    {0, 0, 0, 0, 6, 0, -4.1189e-05, 1.3264e-04, 4.6948e-05, 6.2329e-04},
    {0, 0, 0, 1, -8, 0, -1.7523e-05, 1.7711e-05, -9.9536e-05, 8.3769e-06},
    {0, 0, 0, 1, -7, 0, 3.0037e-06, 1.3611e-05, 9.2037e-05, -1.7354e-04},
    {0, 0, 0, 1, -6, 0, 5.7893e-05, 2.4492e-06, 6.0696e-05, 7.6828e-05},
    {0, 0, 0, 1, -4, 0, -1.6989e-03, -2.8694e-04, 6.7177e-04, -1.5809e-02},
    {0, 0, 0, 1, -3, 0, 3.8249e-05, -9.6719e-06, -9.5552e-05, 3.0029e-05},
    {0, 0, 0, 1, -2, 0, -7.7061e-02, -1.4658e-01, -3.1035e-02, -4.5499e-02},
    {0, 0, 0, 1, -1, 0, -1.3958e-04, -2.3743e-05, -4.1409e-05, 1.0098e-03},
    {0, 0, 0, 1, 1, 0, 2.2195e-05, -5.9986e-07, 1.8046e-05, -3.3017e-04},
    {0, 0, 0, 1, 2, 0, 3.2611e-03, -3.9871e-03, 4.5747e-03, -6.2447e-03},
    {0, 0, 0, 1, 3, 0, 9.7176e-06, -1.3868e-06, -6.0255e-04, -1.1097e-04},
    {0, 0, 0, 1, 4, 0, -5.5840e-04, 1.0784e-04, -2.8882e-03, 8.7186e-04},
    {0, 0, 0, 1, 5, 0, -8.3772e-06, 2.0486e-05, 3.3566e-04, -3.3534e-05},
    {0, 0, 0, 2, -6, 0, -3.3807e-05, -1.4116e-04, 1.3936e-03, -4.5764e-04},
    {0, 0, 0, 2, -5, 0, 1.0623e-05, 1.3271e-05, -1.8456e-05, -4.7712e-05},
    {0, 0, 0, 2, -4, 0, 7.0951e-03, -7.8588e-03, 6.2868e-04, -3.5636e-03},
    {0, 0, 0, 2, -3, 0, -7.2697e-05, 9.6678e-06, -9.3468e-05, 4.7498e-04},
    {0, 0, 0, 2, -2, 0, 2.3939e-02, 5.1008e-03, 8.5914e-02, -1.8051e-01},
    {0, 0, 0, 2, -1, 0, 2.3972e-05, 2.3453e-05, 3.1298e-04, -2.4993e-04},
    {0, 0, 0, 2, 1, 0, 1.1231e-05, -6.1130e-07, -1.2214e-04, -4.6519e-04},
    {0, 0, 0, 2, 2, 0, -1.9067e-03, -2.3267e-03, -1.0711e-02, -1.6675e-02},
    {0, 0, 0, 3, -6, 0, 9.1569e-04, 3.0440e-04, 2.8264e-04, -2.3002e-04},
    {0, 0, 0, 3, -5, 0, -1.2265e-05, 5.5001e-06, -3.1495e-05, 3.2318e-05},
    {0, 0, 0, 3, -4, 0, -2.3426e-05, 1.0428e-03, 8.5750e-03, 2.5792e-03},
    {0, 0, 0, 3, -3, 0, 6.2343e-05, 1.7058e-05, 1.9693e-04, -7.3532e-04},
    {0, 0, 0, 3, -2, 0, -9.0094e-04, -5.7655e-03, 6.4079e-03, -1.3531e-02},
    {0, 0, 0, 3, -1, 0, 8.1174e-06, 9.1714e-06, 2.6063e-04, -2.1047e-04},
    {0, 0, 0, 4, -4, 0, 1.7503e-04, -8.6808e-05, 6.7701e-04, -1.6285e-04},
    {0, 0, 0, 4, -3, 0, -7.5021e-06, 8.6460e-06, 1.6755e-04, 1.1881e-04},
    {0, 0, 0, 4, -2, 0, -1.3362e-03, 1.4223e-04, -1.5486e-02, -4.5313e-03},
};
constexpr Perturbations kUranusPerturbations = {
    {0.00709792829, 0.289154554, 0.0122539332, -0.144379821},
    {-0.00262963702, 0.125923458, -0.00981633355, -0.0498042616},
    &SumOfTerms<kUranusTerms>, MostOf(kUranusTerms)};
constexpr PerturbationTerm kNeptuneTerms[] = {
    {1, 0, 0, 0, 0, 0, 1.6088e-03, -3.8209e-04, -7.0579e-03, -2.5714e-02},
    {1, 0, 0, 0, 0, 1, 6.8095e-04, -2.2602e-03, -6.9446e-02, 1.6034e-02},
    {1, 0, 0, 0, 0, 2, -4.7289e-04, -3.1974e-04, -2.0848e-03, 1.0387e-02},
    {1, 0, 0, 0, 0, 3, -9.7899e-04, 3.5826e-04, 2.3329e-02, 1.5528e-03},
    {2, 0, 0, 0, 0, 0, -1.0904e-04, 4.2529e-05, -1.3441e-03, 1.8064e-03},
    {2, 0, 0, 0, 0, 1, -2.0640e-03, -1.2273e-03, -2.1740e-02, 3.2037e-02},
    {2, 0, 0, 0, 0, 2, 9.6035e-05, 5.8680e-05, 3.7584e-03, -1.4202e-03},
    {2, 0, 0, 0, 0, 3, 1.0166e-03, 6.1206e-04, 1.0880e-02, -1.5617e-02},
    {3, 0, 0, 0, 0, 0, -1.8170e-04, 1.2786e-04, 1.1538e-03, 4.1574e-03},
    {3, 0, 0, 0, 0, 1, -3.1839e-03, -1.9970e-03, -4.9350e-02, 4.7975e-02},
    {3, 0, 0, 0, 0, 2, 5.4812e-05, 1.4362e-04, 3.2355e-03, -8.5541e-04},
    {3, 0, 0, 0, 0, 3, 1.5616e-03, 9.8763e-04, 2.4440e-02, -2.3397e-02},
    {0, -1, 0, 0, 1, 0, -1.6484e-04, -7.2025e-07, -2.1431e-05, 4.9572e-03},
    {0, 0, -1, 0, 1, 0, -9.0140e-05, -2.6590e-07, -1.1886e-05, 2.7395e-03},
    {0, 0, 0, -3, 3, 0, -6.6108e-06, -6.4241e-06, 9.8724e-05, -6.6927e-05},
    {0, 0, 0, -3, 5, 0, -1.6374e-05, 1.2152e-05, -2.6605e-04, -1.9439e-04},
    {0, 0, 0, -3, 6, 0, -3.9285e-05, 9.6168e-06, 2.1776e-05, -6.7669e-06},
    {0, 0, 0, -2, 1, 0, -2.4074e-05, -1.0949e-04, 1.9075e-03, -8.2155e-04},
    {0, 0, 0, -2, 2, 0, -3.8173e-06, -3.8056e-05, 7.6067e-04, 9.8342e-05},
    {0, 0, 0, -2, 3, 0, -3.2432e-04, 1.0037e-04, -2.2091e-03, -5.3901e-03},
    {0, 0, 0, -2, 4, 0, -5.5563e-04, -1.5794e-04, 4.6747e-04, 5.9347e-04},
    {0, 0, 0, -2, 5, 0, -2.3979e-06, 1.8498e-05, 8.0719e-05, -3.0885e-04},
    {0, 0, 0, -2, 6, 0, -1.0997e-06, -2.5709e-05, -3.6315e-04, -5.0906e-05},
    {0, 0, 0, -2, 7, 0, -2.4579e-05, -2.1455e-05, -4.9516e-04, 3.3918e-04},
    {0, 0, 0, -1, 1, 0, -1.4392e-03, 6.7256e-04, -5.6616e-03, -3.2172e-02},
    {0, 0, 0, -1, 2, 0, -7.8122e-03, -4.4657e-03, 1.9616e-04, 1.0595e-02},
    {0, 0, 0, -1, 3, 0, -4.4746e-04, 2.8925e-04, 1.0324e-02, -2.1463e-03},
    {0, 0, 0, -1, 4, 0, 5.8833e-04, -3.6235e-04, -4.3141e-03, -9.4151e-03},
    {0, 0, 0, -1, 5, 0, 2.3578e-04, -1.0827e-03, -1.8156e-02, -9.1365e-03},
    {0, 0, 0, 1, 0, 0, -2.2495e-05, -6.2015e-04, -1.1008e-02, 3.1696e-04},
    {0, 0, 0, 1, 1, 0, -6.9598e-04, -6.7257e-04, -1.4806e-02, 9.7520e-03},
};
constexpr Perturbations kNeptunePerturbations = {
    {-0.0115962818, 0.0145992175, -0.000461636742, -0.00396381529},
    {0.00218149489, -0.00761113998, -0.00210242519, 0.00203362664},
    &SumOfTerms<kNeptuneTerms>, MostOf(kNeptuneTerms)};

// The mean longitudes of Jupiter, Saturn, Uranus and Neptune (degrees,
// J2000) that the terms' arguments are made of.
constexpr double kMeanLongitude[4][2] = {{34.351484, 3034.9056746},
                                         {50.077444, 1222.1137943},
                                         {314.055005, 428.4669983},
                                         {304.348665, 218.4862002}};
static_assert(std::ranges::max(kJupiterPerturbations.most) <= kMost &&
              std::ranges::max(kSaturnPerturbations.most) <= kMost &&
              std::ranges::max(kUranusPerturbations.most) <= kMost &&
              std::ranges::max(kNeptunePerturbations.most) <= kMost);
const Perturbations* PerturbationsOf(Body b) {
    switch (b) {
        case kJupiter: return &kJupiterPerturbations;
        case kSaturn: return &kSaturnPerturbations;
        case kUranus: return &kUranusPerturbations;
        case kNeptune: return &kNeptunePerturbations;
        default: return nullptr;
    }
}

constexpr double kFitFirstT = (1721425.5 - 400 - kJ2000) / 36525;
constexpr double kFitLastT = (2743738.5 + 400 - kJ2000) / 36525;

// The turn of the argument of term I of a table: the product of the powers
// it takes, leaving out those it takes to the power zero.
template <const auto& kTerms, size_t I>
Turn ArgumentOf(const TermPowers& p) {
    constexpr PerturbationTerm kTerm = kTerms[I];
    constexpr int kMultiples[4] = {kTerm.jupiter, kTerm.saturn, kTerm.uranus, kTerm.neptune};
    Turn z = p.own[kTerm.anomaly];
    bool first = kTerm.anomaly == 0;
    for (int b = 0; b < 4; ++b) {
        if (kMultiples[b] == 0) continue;
        const Turn& power = p.planet[b][kMultiples[b] + kMost];
        z = first ? power : Times(z, power);
        first = false;
    }
    return z;
}

template <const auto& kTerms>
Correction SumOfTerms(const TermPowers& p) {
    Correction out{0, 0};
    [&]<size_t... I>(std::index_sequence<I...>) {
        (
            [&] {
                constexpr PerturbationTerm kTerm = kTerms[I];
                const Turn z = ArgumentOf<kTerms, I>(p);
                const double w = p.tau[kTerm.power];
                out.longitude += w * (kTerm.sinL * z.s + kTerm.cosL * z.c);
                out.distance += w * (kTerm.sinR * z.s + kTerm.cosR * z.c);
            }(),
            ...);
    }(std::make_index_sequence<std::size(kTerms)>());
    return out;
}

// The corrections of `k` at T. `anomaly` is the mean anomaly the orbit is
// solved for.
Correction CorrectionAt(const Perturbations& k, double t, double anomaly) {
    TermPowers p;
    for (int b = 0; b < 4; ++b) {
        if (k.most[b] == 0) continue;
        Turn* zero = p.planet[b] + kMost;
        const Turn unit = TurnOf(HalfTurnRadians(kMeanLongitude[b][0] + kMeanLongitude[b][1] * t));
        for (int n = 1; n <= k.most[b]; ++n) {
            zero[n] = Times(zero[n - 1], unit);
            zero[-n] = {zero[n].c, -zero[n].s};
        }
    }
    p.own[1] = TurnOf(anomaly);
    for (int n = 2; n < 4; ++n) p.own[n] = Times(p.own[n - 1], p.own[1]);
    const double tau = (2 * t - kFitFirstT - kFitLastT) / (kFitLastT - kFitFirstT);
    p.tau[0] = 1;
    p.tau[1] = tau;
    p.tau[2] = tau * tau;
    p.tau[3] = tau * tau * tau;
    Correction out = k.sumOfTerms(p);
    for (int n = 0; n < 4; ++n) {
        out.longitude += k.longitude[n] * p.tau[n];
        out.distance += k.distance[n] * p.tau[n];
    }
    return out;
}

// The corrections change slowly (their shortest periods are years): they are
// taken at the ends of spans of this many days and interpolated linearly in
// between, which is off by less than 5e-6 radians in longitude and 2e-5 AU
// in distance.
constexpr double kCorrectionDays = 32;

// The mean anomaly of the orbit of `el` at T, as Heliocentric solves for it.
double MeanAnomalyOf(const Elements& el, double t) {
    return (el.l + el.dl * t - el.perihelion - el.dperihelion * t) * kDegree;
}

// The corrections of `k` for the orbit `el` at T, from the span of T in `span`.
Correction CorrectionFromSpan(const Elements& el, const Perturbations& k, double t,
                              ApproximateSky::CorrectionSpan& span) {
    const double days = t * 36525;
    const double n = Floor(days / kCorrectionDays);
    // The ends of a span are the same numbers whichever span they are taken for.
    auto end = [&](double m) {
        const double at = m * kCorrectionDays / 36525;
        const Correction c = CorrectionAt(k, at, MeanAnomalyOf(el, at));
        return ApproximateSky::CorrectionSpan::End{c.longitude, c.distance};
    };
    if (span.first != n) {
        span.start = span.first == n - 1 ? span.end : end(n);
        span.end = end(n + 1);
        span.first = n;
    }
    const double f = days / kCorrectionDays - n;
    return {span.start.longitude + f * (span.end.longitude - span.start.longitude),
            span.start.distance + f * (span.end.distance - span.start.distance)};
}

// The orbit `p` turned by the longitude correction and stretched by the
// distance correction; the motion turns and stretches with the place (the
// corrections' own change is far below what the light time uses of it).
Orbit Perturbed(const Orbit& p, const Correction& k) {
    const double r = std::sqrt(p.x * p.x + p.y * p.y);
    const Turn turn = TurnedBy({1, 0}, k.longitude);
    const double f = (r + k.distance) / r;
    const double c = turn.c * f, s = turn.s * f;
    return {c * p.x - s * p.y, s * p.x + c * p.y, c * p.vx - s * p.vy, s * p.vx + c * p.vy};
}

// The general precession in longitude from the J2000 ecliptic to the
// ecliptic of date.
double Precession(double t) {
    return (5029.0966 * t + 1.11113 * t * t) * kArcSecond;
}

// The largest term of the nutation in longitude.
double Nutation(double t) {
    const double moonNode = (125.04452 - 1934.136261 * t) * kDegree;
    return -17.20 * kArcSecond * TurnOf(moonNode).s;
}

// One term of the Moon's longitude: multiples of D, M, M', F and the
// amplitude in millionths of a degree.
struct MoonTerm {
    signed char d, m, mp, f;
    int amplitude;
};
constexpr MoonTerm kMoonTerms[] = {
    {0, 0, 1, 0, 6288774}, {2, 0, -1, 0, 1274027}, {2, 0, 0, 0, 658314},  {0, 0, 2, 0, 213618},
    {0, 1, 0, 0, -185116}, {0, 0, 0, 2, -114332},  {2, 0, -2, 0, 58793},  {2, -1, -1, 0, 57066},
    {2, 0, 1, 0, 53322},   {2, -1, 0, 0, 45758},   {0, 1, -1, 0, -40923}, {1, 0, 0, 0, -34720},
    {0, 1, 1, 0, -30383},  {2, 0, 0, -2, 15327},   {0, 0, 1, 2, -12528},  {0, 0, 1, -2, 10980},
    {4, 0, -1, 0, 10675},  {0, 0, 3, 0, 10034},    {4, 0, -2, 0, 8548},   {2, 1, -1, 0, -7888},
    {2, 1, 0, 0, -6766},   {1, 0, -1, 0, -5163},   {1, 1, 0, 0, 4987},    {2, -1, 1, 0, 4036},
    {2, 0, 2, 0, 3994},    {4, 0, 0, 0, 3861},     {2, 0, -3, 0, 3665},   {0, 1, -2, 0, -2689},
    {2, 0, -1, 2, -2602},  {2, -1, -2, 0, 2390},   {1, 0, 1, 0, -2348},   {2, -2, 0, 0, 2236},
    {0, 1, 2, 0, -2120},   {0, 2, 0, 0, -2069},    {2, -2, -1, 0, 2048},  {2, 0, 1, -2, -1773},
    {2, 0, 0, 2, -1595},   {4, -1, -1, 0, 1215},   {0, 0, 2, 2, -1110},   {3, 0, -1, 0, -892},
    {2, 1, 1, 0, -810},    {4, -1, -2, 0, 759},    {0, 2, -1, 0, -713},   {2, 2, -1, 0, -700},
    {2, 1, -2, 0, 691},    {2, -1, 0, -2, 596},    {4, 0, 1, 0, 549},     {0, 0, 4, 0, 537},
    {4, -1, 0, 0, 520},    {1, 0, -2, 0, -487},    {2, 1, 0, -2, -399},   {0, 0, 2, -2, -381},
    {1, 1, 1, 0, 351},     {3, 0, -2, 0, -340},    {4, 0, -3, 0, 330},    {2, -1, 2, 0, 327},
    {0, 2, 1, 0, -323},    {1, 1, -1, 0, 299},     {2, 0, 3, 0, 294},
};

// The terms gathered by their multiples of D, M and F. The sum of a group is
// the sine part of e^{i(dD + mM + fF)} times the sum of its amplitudes times
// e^{i m'M'}: one product of turns per group instead of three per term.
constexpr int kMoonTermCount = static_cast<int>(std::size(kMoonTerms));
struct MoonGroup {
    signed char d, m, f;
    int first, count;
};
struct MoonGroups {
    MoonGroup group[kMoonTermCount];
    int groups;
    signed char mp[kMoonTermCount];
    double amplitude[kMoonTermCount];
};
constexpr MoonGroups GroupMoonTerms() {
    MoonGroups g{};
    bool taken[kMoonTermCount] = {};
    int placed = 0;
    for (int i = 0; i < kMoonTermCount; ++i) {
        if (taken[i]) continue;
        const MoonTerm& k = kMoonTerms[i];
        MoonGroup& group = g.group[g.groups++];
        group = {k.d, k.m, k.f, placed, 0};
        for (int j = i; j < kMoonTermCount; ++j) {
            const MoonTerm& o = kMoonTerms[j];
            if (taken[j] || o.d != k.d || o.m != k.m || o.f != k.f) continue;
            taken[j] = true;
            g.mp[placed] = o.mp;
            g.amplitude[placed] = o.amplitude;
            ++placed;
            ++group.count;
        }
    }
    return g;
}
constexpr MoonGroups kMoonGroups = GroupMoonTerms();

// The powers of e^{iD}, e^{iM}, e^{iM'} and e^{iF} as (cosine, sine) pairs,
// from 0 to 4, −2 to 2, −4 to 4 and −2 to 2, and the factor of the
// eccentricity of the Earth's orbit for each power of M.
struct MoonPowers {
    Turn d[5], m[5], mp[9], f[5];
    double e[3];
};

// The sum of group G, in millionths of a degree. Its terms are written out
// by the compiler, as are the groups in MoonSeries: loops over the short
// groups would cost more than the terms.
template <int G>
double MoonGroupSum(const MoonPowers& p) {
    constexpr MoonGroup kGroup = kMoonGroups.group[G];
    double c = 0, s = 0;
    [&]<int... I>(std::integer_sequence<int, I...>) {
        ((c += kMoonGroups.amplitude[kGroup.first + I] * p.mp[kMoonGroups.mp[kGroup.first + I] + 4].c,
          s += kMoonGroups.amplitude[kGroup.first + I] * p.mp[kMoonGroups.mp[kGroup.first + I] + 4].s),
         ...);
    }(std::make_integer_sequence<int, kGroup.count>());
    const Turn base = Times(Times(p.d[kGroup.d], p.m[kGroup.m + 2]), p.f[kGroup.f + 2]);
    return p.e[kGroup.m < 0 ? -kGroup.m : kGroup.m] * (base.s * c + base.c * s);
}

double MoonSeries(const MoonPowers& p) {
    return [&]<int... G>(std::integer_sequence<int, G...>) {
        return (MoonGroupSum<G>(p) + ...);
    }(std::make_integer_sequence<int, kMoonGroups.groups>());
}

// The Moon's apparent longitude of date at T centuries (dynamical time),
// within a turn of [0, 2π).
double MoonLongitude(double t) {
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    double lp = 218.3164477 + 481267.88123421 * t - 0.0015786 * t2 + t3 / 538841 - t4 / 65194000;
    lp -= 360 * Floor(lp / 360);
    const double d =
        HalfTurnRadians(297.8501921 + 445267.1114034 * t - 0.0018819 * t2 + t3 / 545868 - t4 / 113065000);
    const double m = HalfTurnRadians(357.5291092 + 35999.0502909 * t - 0.0001536 * t2 + t3 / 24490000);
    const double mp =
        HalfTurnRadians(134.9633964 + 477198.8675055 * t + 0.0087414 * t2 + t3 / 69699 - t4 / 14712000);
    const double f =
        HalfTurnRadians(93.2720950 + 483202.0175233 * t - 0.0036539 * t2 - t3 / 3526000 + t4 / 863310000);
    const double e = 1 - 0.002516 * t - 0.0000074 * t2;
    MoonPowers p;
    p.e[0] = 1;
    p.e[1] = e;
    p.e[2] = e * e;
    auto powers = [](double angle, Turn* out, int lowest, int highest) {
        const Turn unit = TurnOf(angle);
        Turn* zero = out - lowest;
        for (int k = 1; k <= highest; ++k) zero[k] = Times(zero[k - 1], unit);
        for (int k = -1; k >= lowest; --k) zero[k] = Times(zero[k + 1], {unit.c, -unit.s});
    };
    powers(d, p.d, 0, 4);
    powers(m, p.m, -2, 2);
    powers(mp, p.mp, -4, 4);
    powers(f, p.f, -2, 2);
    double sum = MoonSeries(p);
    const double a1 = HalfTurnRadians(119.75 + 131.849 * t);
    const double a2 = HalfTurnRadians(53.09 + 479264.290 * t);
    sum += 3958 * TurnOf(a1).s + 1962 * TurnOf(lp * kDegree - f).s + 318 * TurnOf(a2).s;
    return (lp + sum * 1e-6) * kDegree;
}

// The apparent longitude of a planet or the Sun, less the precession and
// nutation, at T centuries (dynamical time) with the Earth's orbit then:
// geocentric, for the light's travel time, with the aberration of the
// Earth's motion.
double PlanetLongitude(Body b, double t, const Orbit& earth, double sun,
                       ApproximateSky::Orientation& o, ApproximateSky::AnomalySpan& s,
                       ApproximateSky::CorrectionSpan& span) {
    constexpr double kAberration = 20.49552 * kArcSecond;
    if (b == kSun) return sun - kAberration;
    double x = -earth.x, y = -earth.y;
    const Elements& el = *ElementsOf(b);
    Orbit p = Heliocentric(el, t, o, s);
    if (const Perturbations* k = PerturbationsOf(b)) p = Perturbed(p, CorrectionFromSpan(el, *k, t, span));
    // Where the planet was when its light left: 0.0057755 days per AU
    // back, along its motion (the orbit's bending over that time is
    // far below the bound).
    const double lightTime = 0.0057755183 * std::sqrt((p.x + x) * (p.x + x) + (p.y + y) * (p.y + y));
    const double sx = x, sy = y;  // towards the Sun
    x += p.x - p.vx * lightTime;
    y += p.y - p.vy * lightTime;
    // The aberration goes with the cosine of the planet's elongation from
    // the Sun, the cosine of the angle between the two directions.
    const double elongation = (x * sx + y * sy) / std::sqrt((x * x + y * y) * (sx * sx + sy * sy));
    return Direction(y, x) - kAberration * elongation;
}

// Bounds by century (years 1–100, 101–200, ... 2701–2800) in thousandths of
// a degree: the largest difference that tools/measure_approximate_sky.cpp
// found, with half its largest change between two samples, times 1.5, plus
// two thousandths.
constexpr int kCenturies = 28;
constexpr int kBoundMilliDegrees[kMaxBodies + 1][kCenturies] = {
    {},
    {45, 44, 40, 37, 33, 32, 31, 26, 25, 22, 20, 19, 18, 17, 18, 16, 16, 16, 16, 15, 16, 16, 16, 17, 19, 21, 22, 22},  // Sun
    {64, 63, 56, 53, 54, 48, 44, 41, 41, 39, 36, 36, 36, 34, 30, 28, 28, 25, 23, 24, 25, 24, 24, 28, 35, 35, 38, 38},  // Mercury
    {179, 171, 165, 149, 158, 131, 136, 132, 123, 126, 97, 104, 97, 86, 86, 62, 68, 48, 48, 41, 44, 40, 39, 45, 40, 42, 53, 54},  // Venus
    {613, 588, 556, 553, 532, 442, 445, 381, 293, 232, 159, 164, 187, 188, 168, 153, 139, 118, 98, 77, 89, 100, 144, 206, 272, 310, 373, 440},  // Mars
    {34, 34, 36, 26, 27, 25, 25, 25, 22, 23, 24, 31, 27, 18, 21, 18, 20, 20, 26, 25, 22, 25, 24, 23, 21, 23, 21, 23},  // Jupiter
    {53, 40, 51, 40, 55, 55, 42, 45, 53, 54, 43, 49, 46, 26, 29, 36, 44, 39, 53, 55, 50, 55, 45, 41, 31, 41, 38, 45},  // Saturn
    {14, 11, 14, 14, 14, 14, 14, 17, 13, 14, 12, 10, 10, 8, 10, 11, 10, 12, 12, 16, 13, 11, 14, 13, 14, 9, 12, 14},  // Uranus
    {16, 14, 14, 13, 12, 12, 12, 11, 10, 9, 9, 8, 8, 7, 8, 7, 6, 6, 6, 5, 5, 6, 6, 6, 7, 7, 7, 7},  // Neptune
    {},  // Pluto: none
    {19, 13, 17, 14, 13, 14, 10, 12, 12, 10, 11, 10, 10, 10, 9, 9, 9, 10, 9, 10, 9, 8, 9, 10, 10, 11, 12, 11},  // Moon
};

// An angle within a turn either side of [0, 2π) brought into it, as
// NormalizeAngle brings it.
double WithinTurn(double a) {
    if (a < 0) a += kTwoPi;
    if (a >= kTwoPi) a -= kTwoPi;
    return a;
}

}  // namespace

double ApproximateSky::DeltaT(double jd) const {
    // Taken at the start of every eighth day, so that a date's longitude
    // does not depend on the dates asked before; it changes by less than a
    // second in that time.
    const double node = Floor(jd / 8) * 8;
    if (node != deltaTAt_) {
        deltaTAt_ = node;
        const double minutes = platform::delta_t(2000 + (node - 2451544.5) / 365.2425, 1915);
        deltaT_ = minutes == platform::kNoDeltaT ? 0 : minutes / 1440;
    }
    return deltaT_;
}

double ApproximateSky::Longitude(Body body, JulianDate date) const {
    if (body == kPluto) return -1;
    const double jd = date.days;
    if (jd != instantJD_) {
        // What the bodies of one instant share.
        instantJD_ = jd;
        t_ = (jd + DeltaT(jd) - kJ2000) / 36525;
        nutation_ = Nutation(t_);
        haveEarth_ = false;
    }
    if (body == kMoon) return WithinTurn(MoonLongitude(t_) + nutation_);
    if (!haveEarth_) {
        const Orbit e = Heliocentric(kOrbitEarth, t_, orientation_.values[0], anomaly_.values[0]);
        earth_[0] = e.x;
        earth_[1] = e.y;
        haveEarth_ = true;
    }
    const Orbit earth{earth_[0], earth_[1], 0, 0};
    const double sun = body == kSun ? Direction(-earth.y, -earth.x) : 0;
    return WithinTurn(PlanetLongitude(body, t_, earth, sun, orientation_[body], anomaly_[body], corrections_[body]) +
                      Precession(t_) + nutation_);
}

double ApproximateSky::Bound(Body body, double jd) {
    // Year 1 January 1 is JD 1721425.5; centuries of 36524.25 days.
    const double c = Floor((jd - 1721425.5) / 36524.25);
    if (!(c >= 0 && c < kCenturies)) return std::numeric_limits<double>::infinity();
    const int milli = kBoundMilliDegrees[Index(body)][static_cast<int>(c)];
    if (milli <= 0) return std::numeric_limits<double>::infinity();
    return milli * 1e-3 * kDegree;
}

}  // namespace vek
