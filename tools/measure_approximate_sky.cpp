// Measures how far the approximate longitudes (engine/approximate_sky.h) lie
// from the ephemeris, for every century of the accepted years 1 to 2799:
// every sixth of a day for the Moon, every half day for the others. Prints,
// per body, the largest difference per century and the largest change of the
// difference from one sample to the next (both in thousandths of a degree),
// and the bound to use: the largest difference with half the largest change
// (what the difference may add between two samples), times 1.5, plus two
// thousandths of a degree.
//
//   measure_approximate_sky [ephemeris folder [body number ...]]
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/approximate_sky.h"
#include "engine/aspects.h"
#include "engine/vocabulary.h"
#include "platform/ephemeris.h"
#include "util/angle.h"

int main(int argc, char** argv) {
    using namespace vek;
    platform::set_data_folder(argc > 1 ? argv[1] : "/usr/share/libswe/ephe/");
    const double first = 1721425.5;  // year 1 January 1
    const double century = 36524.25;
    const double toMilli = 360.0 / kTwoPi * 1000;
    for (const Body b : {kSun, kMercury, kVenus, kMars, kJupiter, kSaturn, kUranus, kNeptune,
                         kMoon}) {
        // Only the bodies named, where some are.
        bool named = argc <= 2;
        for (int i = 2; i < argc; ++i) named = named || std::atoi(argv[i]) == Index(b);
        if (!named) continue;
        const ApproximateSky sky;
        const double step = b == kMoon ? 1.0 / 6 : 0.5;
        std::printf("body %d\n", Index(b));
        for (int c = 0; c < 28; ++c) {
            double largest = 0, change = 0, previous = NAN;
            const double from = first + c * century, to = from + century;
            for (double jd = from; jd < to + step; jd += step) {
                const double exact = b == kMoon
                                         ? platform::moon_position(jd - 2451545.0)
                                         : platform::planet_longitude_speed(
                                               kBodies[b].libraryCode, jd, 0, nullptr);
                if (exact < 0) continue;
                const double d = std::remainder(sky.Longitude(b, vek::JulianDate(jd)) - exact, kTwoPi) * toMilli;
                largest = std::fmax(largest, std::fabs(d));
                if (!std::isnan(previous)) change = std::fmax(change, std::fabs(d - previous));
                previous = d;
            }
            const double bound = (largest + change / 2) * 1.5 + 2;
            std::printf("  century %2d: largest %8.1f change %7.2f bound %6d\n", c + 1, largest,
                        change, static_cast<int>(std::ceil(bound)));
        }
        std::fflush(stdout);
    }
    return 0;
}
