#include "engine/approximate_sky.h"

#include <cmath>
#include <limits>

#include "engine/aspects.h"
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

// A heliocentric ecliptic position (J2000, AU; the height above the
// ecliptic does not change a longitude) and its change per day.
struct Orbit {
    double x, y, vx, vy;
};

// The cosine and sine of an angle.
struct Turn {
    double c = 1, s = 0;
};

// The turn by a further `delta` radians, for |delta| below 1e-4: the series
// of its cosine and sine to the terms that still count in a double (up to
// 0.05 they are off by less than 1e-11).
Turn TurnedBy(const Turn& t, double delta) {
    const double d2 = delta * delta;
    const double cd = 1 - d2 / 2 + d2 * d2 / 24, sd = delta * (1 - d2 / 6 + d2 * d2 / 120);
    return {t.c * cd - t.s * sd, t.s * cd + t.c * sd};
}

Turn TurnOf(double angle) {
    return {std::cos(angle), std::sin(angle)};
}

// The turn by the sum of two angles.
Turn Times(const Turn& a, const Turn& b) {
    return {a.c * b.c - a.s * b.s, a.s * b.c + a.c * b.s};
}

// The orientations turn by less than half a degree a century, so by less than
// 2e-6 radians in this span.
constexpr double kOrientationDays = 8;

// The Kepler orbit at T Julian centuries from J2000 (dynamical time), with
// the orbit's orientation at the start of T's span in `o`.
Orbit Heliocentric(const Elements& el, double t, ApproximateSky::Orientation& o) {
    const double a = el.a + el.da * t;
    const double e = el.e + el.de * t;
    const double l = (el.l + el.dl * t) * kDegree;
    const double perihelion = (el.perihelion + el.dperihelion * t) * kDegree;
    const double m = std::remainder(l - perihelion, kTwoPi);
    // Started at the series to e², Newton's steps take one step fewer.
    const double sm = std::sin(m), cm = std::cos(m);
    double ea = m + e * sm * (1 + e * cm);
    double se = 0, ce = 0;
    bool converged = false;
    for (int k = 0; k < 8 && !converged; ++k) {
        se = std::sin(ea);
        ce = std::cos(ea);
        const double d = (ea - e * se - m) / (1 - e * ce);
        ea -= d;
        // The sine and cosine of the last step's anomaly carried over the
        // step, off by d²/2 (below 1e-20).
        const double carriedSine = se - ce * d;
        ce += se * d;
        se = carriedSine;
        converged = std::fabs(d) < 1e-10;
    }
    if (!converged) {
        se = std::sin(ea);
        ce = std::cos(ea);
    }
    const double b = a * std::sqrt(1 - e * e);
    const double xo = a * (ce - e), yo = b * se;
    // The mean motion per day, and with it the eccentric anomaly's.
    const double rate = el.dl * kDegree / 36525 / (1 - e * ce);
    const double vxo = -a * se * rate, vyo = b * ce * rate;
    const double start = std::floor(t * 36525 / kOrientationDays) * kOrientationDays / 36525;
    const double angle[3] = {el.perihelion - el.node, el.node, el.i};
    const double change[3] = {el.dperihelion - el.dnode, el.dnode, el.di};
    if (o.t != start) {
        o.t = start;
        for (int k = 0; k < 3; ++k) {
            const Turn at = TurnOf((angle[k] + change[k] * start) * kDegree);
            o.cosine[k] = at.c;
            o.sine[k] = at.s;
        }
    }
    Turn now[3];
    for (int k = 0; k < 3; ++k)
        now[k] = TurnedBy({o.cosine[k], o.sine[k]}, change[k] * (t - start) * kDegree);
    const double cw = now[0].c, sw = now[0].s, cn = now[1].c, sn = now[1].s, ci = now[2].c;
    const double pxx = cw * cn - sw * sn * ci, pxy = -sw * cn - cw * sn * ci;
    const double pyx = cw * sn + sw * cn * ci, pyy = -sw * sn + cw * cn * ci;
    return {pxx * xo + pxy * yo, pyx * xo + pyy * yo, pxx * vxo + pxy * vyo,
            pyx * vxo + pyy * vyo};
}

// What the Kepler orbits of Jupiter and Saturn leave out: the planets'
// pull on each other (above all the great inequality, 2 Jupiter − 5 Saturn,
// of about 0.3° and 0.8°), the slow drift of their elements over the
// accepted years away from the years the elements were fitted to, and
// Uranus' pull. Each is a correction of the heliocentric longitude (radians)
// and distance (AU) of the orbit above: a cubic in the time τ (−1 in the
// year −399, +1 in 3199) plus terms in multiples of the orbit's own mean
// anomaly and of the mean longitudes of Jupiter, Saturn and Uranus, each
// times a power of τ. They were fitted by least squares to the ephemeris'
// heliocentric positions every 11.3 days over those years, keeping the terms
// above 0.002°.
struct PerturbationTerm {
    signed char anomaly, jupiter, saturn, uranus, power;
    double sinL, cosL, sinR, cosR;
};
struct Perturbations {
    double longitude[4], distance[4];
    const PerturbationTerm* terms;
    size_t count;
};
constexpr PerturbationTerm kJupiterTerms[] = {
    {1, 0, 0, 0, 0, -3.3660e-03, -9.8829e-04, -2.5813e-03, 8.7941e-03},
    {1, 0, 0, 0, 1, 8.3581e-03, 3.7525e-03, 9.7502e-03, -2.1779e-02},
    {1, 0, 0, 0, 2, -1.8711e-04, -1.9873e-04, -5.1439e-04, 4.9848e-04},
    {1, 0, 0, 0, 3, 2.4551e-04, 1.4297e-04, 3.7630e-04, -6.3605e-04},
    {2, 0, 0, 0, 0, -2.1001e-04, -6.2598e-05, -1.4795e-04, 4.3557e-04},
    {2, 0, 0, 0, 1, 4.9696e-04, 2.1583e-04, 4.8583e-04, -1.0282e-03},
    {2, 0, 0, 0, 3, 3.1503e-05, 4.4647e-05, 1.0024e-04, -6.1327e-05},
    {0, 0, 1, 0, 0, 4.1522e-05, 4.6878e-05, 4.1557e-05, -7.7815e-05},
    {0, 1, -5, 0, 0, -2.5905e-04, -3.9472e-05, 1.0025e-04, -6.6713e-04},
    {0, 1, -3, 0, 0, -2.8413e-05, 4.1144e-05, -9.2730e-07, 1.1008e-05},
    {0, 1, -2, 0, 0, 6.0956e-04, -1.2311e-04, -1.0254e-04, -2.6331e-04},
    {0, 1, -2, 0, 1, 5.9095e-05, 6.2733e-05, 2.9450e-05, -3.1140e-05},
    {0, 1, -1, 0, 0, -3.8833e-04, 9.4545e-06, 1.7791e-05, 6.5455e-04},
    {0, 2, -5, 0, 0, -5.8999e-03, 4.4767e-04, -1.1274e-04, -2.2361e-04},
    {0, 2, -5, 0, 1, 1.6646e-04, -3.2536e-03, 1.2633e-04, -2.9694e-05},
    {0, 2, -5, 0, 2, 9.6082e-04, 3.0067e-04, -9.6726e-07, 3.8493e-05},
    {0, 2, -4, 0, 0, 4.5283e-05, 6.8924e-05, 7.5616e-05, -6.3161e-05},
    {0, 2, -3, 0, 0, 1.8837e-04, -3.5289e-04, -7.7730e-04, -4.0096e-04},
    {0, 2, -2, 0, 0, 9.7011e-04, -2.1516e-05, -5.5527e-05, -2.8155e-03},
    {0, 3, -5, 0, 0, 1.8541e-04, 7.4360e-04, 1.9179e-03, -4.6636e-04},
    {0, 3, -5, 0, 1, -3.0922e-04, 1.3225e-06, -1.8884e-06, 7.9382e-04},
    {0, 3, -5, 0, 2, -2.1311e-05, -1.0097e-04, -2.6494e-04, 5.3480e-05},
    {0, 3, -4, 0, 0, -2.9066e-05, 6.7429e-05, 2.1195e-04, 9.9962e-05},
    {0, 3, -3, 0, 0, 8.3123e-05, -2.3104e-05, -4.8118e-05, -2.9460e-04},
    {0, 3, -2, 0, 0, 5.7928e-05, -1.3600e-05, -2.6995e-05, -1.2450e-04},
    {0, 4, -5, 0, 0, 1.2006e-05, 4.7902e-05, 1.2073e-04, -1.1904e-05},
};
constexpr Perturbations kJupiterPerturbations = {
    {-0.0175256073, 0.0391997135, -0.000267427305, 9.84496076e-05},
    {-0.00125087102, 0.00269529888, -2.89643224e-05, 1.00820933e-06},
    kJupiterTerms, std::size(kJupiterTerms)};
constexpr PerturbationTerm kSaturnTerms[] = {
    {1, 0, 0, 0, 0, 3.0666e-04, 1.5636e-02, 7.4827e-02, -1.1314e-03},
    {1, 0, 0, 0, 1, 1.0425e-02, -3.9084e-02, -1.8616e-01, -5.0770e-02},
    {1, 0, 0, 0, 2, -7.1673e-03, 2.5158e-03, 1.1947e-02, 3.4201e-02},
    {1, 0, 0, 0, 3, -2.0070e-04, 4.7102e-04, 2.3507e-03, 9.2712e-04},
    {2, 0, 0, 0, 0, -9.1376e-05, 1.0895e-03, 4.0009e-03, 5.1741e-04},
    {2, 0, 0, 0, 1, 1.1230e-03, -2.7477e-03, -1.0102e-02, -4.6213e-03},
    {2, 0, 0, 0, 2, -1.0396e-03, 1.9929e-04, 6.7734e-04, 3.8753e-03},
    {2, 0, 0, 0, 3, 1.7683e-04, 2.2279e-04, 1.0980e-03, -6.1178e-04},
    {3, 0, 0, 0, 0, -1.9872e-05, 7.7584e-05, 2.3544e-04, 1.0707e-04},
    {3, 0, 0, 0, 1, 1.2404e-04, -1.7898e-04, -4.8141e-04, -4.5908e-04},
    {3, 0, 0, 0, 2, -1.0663e-04, -1.1267e-05, -7.2962e-05, 2.8606e-04},
    {3, 0, 0, 0, 3, 1.1225e-05, 3.5741e-05, 1.2859e-04, -5.1743e-05},
    {0, -3, 3, 0, 0, 3.2508e-05, -8.2186e-07, 1.9215e-06, 3.2362e-04},
    {0, -3, 5, 0, 0, 3.4376e-05, -4.6314e-05, 3.6980e-04, 2.2473e-04},
    {0, -3, 5, 0, 1, -6.2457e-05, -4.6274e-05, 2.9971e-04, -4.8403e-04},
    {0, -3, 5, 0, 2, -3.7376e-05, 4.1766e-05, -3.3061e-04, -2.0485e-04},
    {0, -2, 2, 0, 0, 1.5692e-04, 1.5281e-05, -4.0993e-05, 1.4183e-03},
    {0, -2, 3, 0, 0, 1.7374e-04, -2.3270e-05, 5.9004e-04, 3.7224e-04},
    {0, -2, 4, 0, 0, 1.9223e-03, -3.6238e-03, 1.7058e-02, 9.0042e-03},
    {0, -2, 4, 0, 1, -1.4651e-03, -4.8231e-04, 2.2441e-03, -6.8927e-03},
    {0, -2, 4, 0, 2, -1.3628e-04, 2.4823e-04, -1.1477e-03, -5.9612e-04},
    {0, -2, 5, 0, 0, -1.4548e-02, -1.0807e-03, -7.3203e-04, 3.6915e-03},
    {0, -2, 5, 0, 1, 4.5612e-04, 8.0523e-03, 2.0451e-03, 9.4155e-05},
    {0, -2, 5, 0, 2, 2.4049e-03, -8.6010e-04, -2.1319e-04, -7.5019e-04},
    {0, -2, 6, 0, 0, -9.8372e-05, 7.7867e-04, 3.6349e-03, 4.7638e-04},
    {0, -2, 7, 0, 0, 5.4405e-05, 1.0726e-05, 7.8403e-05, -1.8599e-04},
    {0, -1, 1, 0, 0, -3.3482e-05, 1.4461e-04, -6.0695e-04, 8.2008e-03},
    {0, -1, 2, 0, 0, 1.9521e-03, 4.4460e-04, -8.5898e-04, 5.2420e-03},
    {0, -1, 2, 0, 1, 1.9566e-04, -2.1612e-04, 5.6824e-04, 4.8341e-04},
    {0, -1, 3, 0, 0, -9.2026e-05, -2.2208e-04, -1.0638e-03, 2.0581e-04},
    {0, 1, 0, 0, 0, 1.7460e-05, 5.9331e-05, -8.0441e-05, -1.1374e-04},
    {0, 0, 0, 3, 0, -4.9271e-05, -4.4922e-05, -2.1238e-04, 2.2339e-04},
    {0, 0, 0, 7, 0, -1.3749e-05, -7.4270e-05, -5.4721e-04, 6.4152e-05},
    {0, 0, 1, -3, 0, 1.6003e-05, -8.4285e-05, -1.2950e-05, -4.4474e-07},
    {0, 0, 1, -2, 0, 1.4882e-05, 4.1139e-05, 5.1502e-05, -3.2472e-05},
    {0, 0, 1, -1, 0, -3.8494e-05, -2.6511e-06, -1.0381e-05, 1.2986e-04},
    {0, 0, 2, -3, 0, 7.9851e-05, 5.5209e-05, 2.5459e-04, -3.6590e-04},
    {0, 0, 2, -2, 0, 6.2064e-05, 4.3021e-06, 1.9976e-05, -3.4169e-04},
};
constexpr Perturbations kSaturnPerturbations = {
    {0.0420265161, -0.0933187149, 0.000611386498, -0.000332012856},
    {-0.000925135847, 0.01868671, -0.000154908856, 0.000132981208},
    kSaturnTerms, std::size(kSaturnTerms)};

// The mean longitudes of Jupiter, Saturn and Uranus (degrees, J2000) that
// the terms' arguments are made of.
constexpr double kMeanLongitude[3][2] = {
    {34.351484, 3034.9056746}, {50.077444, 1222.1137943}, {314.055005, 428.4669983}};
constexpr double kFitFirstT = (1721425.5 - 400 - kJ2000) / 36525;
constexpr double kFitLastT = (2743738.5 + 400 - kJ2000) / 36525;

// The corrections of `k` at T: of the longitude (radians) and the distance
// (AU). `anomaly` is the mean anomaly the orbit is solved for.
struct Correction {
    double longitude, distance;
};
Correction CorrectionAt(const Perturbations& k, double t, double anomaly) {
    // The terms' sines and cosines from the powers of e^{iλ} and e^{iM}, as
    // (cosine, sine) pairs.
    constexpr int kMost = 9;
    Turn pw[3][2 * kMost + 1], own[4];
    for (int b = 0; b < 3; ++b) {
        Turn* zero = pw[b] + kMost;
        const Turn unit = TurnOf((kMeanLongitude[b][0] + kMeanLongitude[b][1] * t) * kDegree);
        for (int n = 1; n <= kMost; ++n) {
            zero[n] = Times(zero[n - 1], unit);
            zero[-n] = {zero[n].c, -zero[n].s};
        }
    }
    own[1] = TurnOf(anomaly);
    for (int n = 2; n < 4; ++n) own[n] = Times(own[n - 1], own[1]);
    const double tau = (2 * t - kFitFirstT - kFitLastT) / (kFitLastT - kFitFirstT);
    const double powers[4] = {1, tau, tau * tau, tau * tau * tau};
    Correction out{0, 0};
    for (int n = 0; n < 4; ++n) {
        out.longitude += k.longitude[n] * powers[n];
        out.distance += k.distance[n] * powers[n];
    }
    for (size_t i = 0; i < k.count; ++i) {
        const PerturbationTerm& term = k.terms[i];
        const Turn z = Times(Times(own[term.anomaly], pw[0][term.jupiter + kMost]),
                             Times(pw[1][term.saturn + kMost], pw[2][term.uranus + kMost]));
        const double w = powers[term.power];
        out.longitude += w * (term.sinL * z.s + term.cosL * z.c);
        out.distance += w * (term.sinR * z.s + term.cosR * z.c);
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
    const double n = std::floor(days / kCorrectionDays);
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
    const double r = std::hypot(p.x, p.y);
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
    return -17.20 * kArcSecond * std::sin(moonNode);
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

// The Moon's apparent longitude of date at T centuries (dynamical time).
double MoonLongitude(double t) {
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    const double lp = 218.3164477 + 481267.88123421 * t - 0.0015786 * t2 + t3 / 538841 -
                      t4 / 65194000;
    const double d =
        (297.8501921 + 445267.1114034 * t - 0.0018819 * t2 + t3 / 545868 - t4 / 113065000) *
        kDegree;
    const double m = (357.5291092 + 35999.0502909 * t - 0.0001536 * t2 + t3 / 24490000) * kDegree;
    const double mp =
        (134.9633964 + 477198.8675055 * t + 0.0087414 * t2 + t3 / 69699 - t4 / 14712000) *
        kDegree;
    const double f =
        (93.2720950 + 483202.0175233 * t - 0.0036539 * t2 - t3 / 3526000 + t4 / 863310000) *
        kDegree;
    const double e = 1 - 0.002516 * t - 0.0000074 * t2;
    // The terms' sines from the powers of e^{iD}, e^{iM}, e^{iM'} and e^{iF}
    // as (cosine, sine) pairs: four sines and cosines instead of one per term.
    Turn pd[5], pm[5], pmp[9], pf[5];
    auto powers = [](double angle, Turn* out, int lowest, int highest) {
        const Turn unit = TurnOf(angle);
        Turn* zero = out - lowest;
        for (int k = 1; k <= highest; ++k) zero[k] = Times(zero[k - 1], unit);
        for (int k = -1; k >= lowest; --k) zero[k] = Times(zero[k + 1], {unit.c, -unit.s});
    };
    powers(d, pd, 0, 4);
    powers(m, pm, -2, 2);
    powers(mp, pmp, -4, 4);
    powers(f, pf, -2, 2);
    double sum = 0;
    for (const MoonTerm& k : kMoonTerms) {
        double amplitude = k.amplitude;
        if (k.m == 1 || k.m == -1) amplitude *= e;
        if (k.m == 2 || k.m == -2) amplitude *= e * e;
        const Turn z = Times(Times(Times(pd[k.d], pm[k.m + 2]), pmp[k.mp + 4]), pf[k.f + 2]);
        sum += amplitude * z.s;
    }
    const double a1 = (119.75 + 131.849 * t) * kDegree;
    const double a2 = (53.09 + 479264.290 * t) * kDegree;
    sum += 3958 * std::sin(a1) + 1962 * std::sin(lp * kDegree - f) + 318 * std::sin(a2);
    return (lp + sum * 1e-6) * kDegree;
}

// The apparent longitude of a planet or the Sun, less the precession and
// nutation, at T centuries (dynamical time) with the Earth's orbit then:
// geocentric, for the light's travel time, with the aberration of the
// Earth's motion.
double PlanetLongitude(Body b, double t, const Orbit& earth, double sun,
                       ApproximateSky::Orientation& o, ApproximateSky::CorrectionSpan& span) {
    double x = -earth.x, y = -earth.y;
    if (b != kSun) {
        const Elements& el = *ElementsOf(b);
        Orbit p = Heliocentric(el, t, o);
        if (b == kJupiter || b == kSaturn)
            p = Perturbed(p, CorrectionFromSpan(el, b == kJupiter ? kJupiterPerturbations
                                                                  : kSaturnPerturbations,
                                                t, span));
        // Where the planet was when its light left: 0.0057755 days per AU
        // back, along its motion (the orbit's bending over that time is
        // far below the bound).
        const double lightTime = 0.0057755183 * std::hypot(p.x + x, p.y + y);
        x += p.x - p.vx * lightTime;
        y += p.y - p.vy * lightTime;
    }
    const double longitude = b == kSun ? sun : std::atan2(y, x);
    return longitude - 20.49552 * kArcSecond * std::cos(sun - longitude);
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
    {33, 35, 36, 33, 31, 30, 32, 32, 26, 27, 25, 35, 31, 22, 22, 22, 27, 27, 29, 29, 23, 23, 23, 25, 18, 25, 27, 29},  // Jupiter
    {54, 45, 54, 40, 53, 62, 45, 48, 51, 56, 42, 54, 48, 27, 31, 35, 44, 41, 53, 57, 50, 56, 46, 42, 39, 41, 37, 45},  // Saturn
    {3934, 3647, 3444, 3188, 3001, 2782, 2324, 2121, 1875, 1676, 1434, 1254, 861, 663, 553, 403, 333, 166, 57, 48, 91, 316, 585, 863, 956, 985, 1175, 1362},  // Uranus
    {2514, 2253, 2232, 1966, 1740, 1666, 1386, 1358, 1088, 916, 828, 586, 565, 371, 295, 205, 95, 74, 29, 30, 42, 85, 163, 206, 339, 380, 577, 578},  // Neptune
    {},  // Pluto: none
    {19, 13, 17, 14, 13, 14, 10, 12, 12, 10, 11, 10, 10, 10, 9, 9, 9, 10, 9, 10, 9, 8, 9, 10, 10, 11, 12, 11},  // Moon
};

}  // namespace

double ApproximateSky::DeltaT(double jd) const {
    // Taken at the start of every eighth day, so that a date's longitude
    // does not depend on the dates asked before; it changes by less than a
    // second in that time.
    const double node = std::floor(jd / 8) * 8;
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
    if (body == kMoon) return NormalizeAngle(MoonLongitude(t_) + nutation_);
    if (!haveEarth_) {
        const Orbit e = Heliocentric(kOrbitEarth, t_, orientation_.values[0]);
        earth_[0] = e.x;
        earth_[1] = e.y;
        sun_ = std::atan2(-e.y, -e.x);
        haveEarth_ = true;
    }
    const Orbit earth{earth_[0], earth_[1], 0, 0};
    return NormalizeAngle(PlanetLongitude(body, t_, earth, sun_, orientation_[body], corrections_[body]) +
                          Precession(t_) + nutation_);
}

double ApproximateSky::Bound(Body body, double jd) {
    // Year 1 January 1 is JD 1721425.5; centuries of 36524.25 days.
    const double c = std::floor((jd - 1721425.5) / 36524.25);
    if (!(c >= 0 && c < kCenturies)) return std::numeric_limits<double>::infinity();
    const int milli = kBoundMilliDegrees[Index(body)][static_cast<int>(c)];
    if (milli <= 0) return std::numeric_limits<double>::infinity();
    return milli * 1e-3 * kDegree;
}

}  // namespace vek
