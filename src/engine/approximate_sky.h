// Approximate apparent longitudes of the Sun, Moon and planets Mercury to
// Neptune, from mean orbits, the giant planets' largest mutual perturbations
// and the largest terms of the lunar theory: far cheaper than the ephemeris,
// and off from it by no more than a bound measured for every century of the
// accepted dates. An answer decided on them with a margin beyond the bound
// is the ephemeris' answer.
#pragma once

#include "engine/vek_types.h"

namespace vek {

class ApproximateSky {
  public:
    // The tropical longitude (radians, [0, 2π)) of `body` at the Julian date
    // `jd` (UT); Pluto has none (−1).
    double Longitude(Body body, JulianDate jd) const;
    // How far that may lie from the ephemeris' longitude at `jd` (radians);
    // infinite where it was not measured (Pluto, dates outside the years
    // 1 to 2799).
    static double Bound(Body body, double jd);

    // Where the plane of an orbit and the perihelion in it lie, as the four
    // numbers that turn a place in the orbit onto the ecliptic, over a span
    // of days from its start `t`: each as a quadratic in the span's fraction
    // u, c0 + c1 u + c2 u², through its values at the start, the middle and
    // the end. They turn by less than 2e-4 radians in a span, so that the
    // quadratics are off by less than 1e-13.
    struct Orientation {
        double t = -1e300;
        double c0[4] = {}, c1[4] = {}, c2[4] = {};
    };

    // The cosine and sine of an orbit's mean anomaly at the start `t` (days
    // from J2000) of a span in which it moves by 0.2 radians, so that within
    // it the anomaly is turned on from there by a series.
    struct AnomalySpan {
        double t = -1e300;
        double cosine = 1, sine = 0;
    };

    // The corrections of an orbit at the two ends of a span of days, the
    // span's number.
    struct CorrectionSpan {
        struct End {
            double longitude = 0, distance = 0;
        };
        double first = -1e300;
        End start, end;
    };

  private:
    // Delta T in days.
    double DeltaT(double jd) const;
    mutable double deltaTAt_ = -1e300;
    mutable double deltaT_ = 0;
    // What the bodies of the last instant asked share: its time in
    // centuries of dynamical time, the nutation and the Earth's place.
    mutable double instantJD_ = -1e300;
    mutable double t_ = 0;
    mutable double nutation_ = 0;
    mutable bool haveEarth_ = false;
    mutable double earth_[2] = {};
    // Each orbit's orientation and mean anomaly (the Earth's in slot 0).
    mutable BodyArray<Orientation> orientation_{};
    mutable BodyArray<AnomalySpan> anomaly_{};
    mutable BodyArray<CorrectionSpan> corrections_{};
};

}  // namespace vek
