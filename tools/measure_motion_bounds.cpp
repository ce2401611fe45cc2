// Measures what the motion bounds of the bounded sky rest on, from Swiss
// Ephemeris as the program asks it (apparent longitudes of date, from the
// files): for each body the largest daily motion, the largest change of that
// motion per day and the largest change of that per day, sampled every day
// (the Moon every half day); the least daily motion (the fastest backward
// where a body moves backward, the slowest forward where it never does); and
// for every planet the same changes of its path without the bending of light near the
// Sun, with the largest bending itself (the difference between the two).
//
// With --near-sun it measures instead, as each planet passes within 2° of
// the Sun in longitude, the bending and the change of motion by elongation:
// every minute within 0.35°, where the bending turns over within minutes,
// and every quarter hour beyond: what the crossing search may assume there.
//
// With --elongations it measures the largest separations in longitude of
// Mercury and Venus from the Sun and from each other.
//
// Usage: measure_motion_bounds [--near-sun | --elongations] [FIRST_YEAR LAST_YEAR
// [EPHEMERIS_FOLDER]]
// (years 1 to 2799 by default, with 20 years on either side, the reach of
// a search from the first and last accepted dates).
//
// The differences are taken the short way round. A largest value is given
// with the Julian date of the middle of its samples, so that a spike can be
// looked at; a seam between two data files shows as one.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ephemeris_folder.h"

namespace {

struct Body {
    const char* name;
    int swe;
};
constexpr Body kBodies[] = {{"Sun", SE_SUN},         {"Mercury", SE_MERCURY}, {"Venus", SE_VENUS},
                            {"Mars", SE_MARS},       {"Jupiter", SE_JUPITER}, {"Saturn", SE_SATURN},
                            {"Uranus", SE_URANUS},   {"Neptune", SE_NEPTUNE}, {"Moon", SE_MOON}};

// The largest value seen and where.
struct Largest {
    double value = 0;
    double jd = 0;
    void Offer(double v, double at) {
        if (std::fabs(v) > value) {
            value = std::fabs(v);
            jd = at;
        }
    }
};

// The last four samples of one longitude, unwrapped, and the differences
// they give.
class Differences {
  public:
    explicit Differences(double step) : h_(step) {}

    void Add(double jd, double longitude) {
        if (count_ > 0) longitude = lon_[3] + std::remainder(longitude - lon_[3], 360.0);
        for (int i = 0; i < 3; ++i) {
            lon_[i] = lon_[i + 1];
            jd_[i] = jd_[i + 1];
        }
        lon_[3] = longitude;
        jd_[3] = jd;
        ++count_;
        if (count_ >= 2) {
            const double d1 = (lon_[3] - lon_[2]) / h_;
            perDay.Offer(d1, (jd_[3] + jd_[2]) / 2);
            least = std::min(least, d1);
        }
        if (count_ >= 3) perDay2.Offer((lon_[3] - 2 * lon_[2] + lon_[1]) / (h_ * h_), jd_[2]);
        if (count_ >= 4)
            perDay3.Offer((lon_[3] - 3 * lon_[2] + 3 * lon_[1] - lon_[0]) / (h_ * h_ * h_),
                          (jd_[2] + jd_[1]) / 2);
    }

    Largest perDay, perDay2, perDay3;
    double least = 1e9;

  private:
    double h_;
    double lon_[4] = {};
    double jd_[4] = {};
    long count_ = 0;
};

// Gregorian years to Julian dates at 0 h UT of their first day.
double StartOfYear(int year) {
    return swe_julday(year, 1, 1, 0.0, SE_GREG_CAL);
}

bool Longitude(int body, double jd, int32 flags, double& longitude) {
    double xx[6] = {};
    char serr[AS_MAXCH] = "";
    const int32 ret = swe_calc_ut(jd, body, flags, xx, serr);
    if (ret < 0 || !(ret & SEFLG_SWIEPH)) {
        std::fprintf(stderr, "measure_motion_bounds: no position from the files at %.1f: %s\n", jd,
                     serr);
        return false;
    }
    longitude = xx[0];
    return true;
}

// Samples the day on either side of `around` every quarter hour: the
// largest bending, and the largest second difference of the apparent
// longitude at steps of a quarter day.
bool FinePass(int body, double around, Largest& bending, Largest& change) {
    constexpr int kPerDay = 96, kQuarterDay = kPerDay / 4;
    constexpr int kCount = 2 * kPerDay + 1;
    double apparent[kCount];
    for (int i = 0; i < kCount; ++i) {
        const double jd = around - 1 + static_cast<double>(i) / kPerDay;
        double l = 0, s = 0;
        if (!Longitude(body, jd, SEFLG_SWIEPH, l) ||
            !Longitude(body, jd, SEFLG_SWIEPH | SEFLG_NOGDEFL, s))
            return false;
        bending.Offer(std::remainder(l - s, 360.0), jd);
        apparent[i] = i > 0 ? apparent[i - 1] + std::remainder(l - apparent[i - 1], 360.0) : l;
    }
    const double h = 0.25;
    for (int i = kQuarterDay; i + kQuarterDay < kCount; ++i)
        change.Offer((apparent[i + kQuarterDay] - 2 * apparent[i] + apparent[i - kQuarterDay]) / (h * h),
                     around - 1 + static_cast<double>(i) / kPerDay);
    return true;
}

// Elongations in longitude from the Sun (degrees) that part the bands of
// the near-Sun measure: within the Sun's disk and its edge, then whole
// degrees out to kNearSun.
constexpr double kBandEdges[] = {0, 0.5, 1, 2};
constexpr int kBands = 3;
constexpr double kNearSun = 2;
// Within the Sun's disk (a radius of 0.27°) the bending changes within
// minutes and is sampled every minute; beyond it, it changes over hours.
constexpr double kFine = 0.35;

int BandOf(double elongation) {
    for (int band = 0; band < kBands; ++band)
        if (elongation < kBandEdges[band + 1]) return band;
    return kBands;
}

// The bending of a body's longitude as it passes the Sun, by band of its
// elongation in longitude: the largest bending, the largest second
// difference of the bending and of the apparent longitude, in degrees and
// degrees per day², at steps of two minutes within kFine (sampled every
// minute) and of an hour beyond (sampled every quarter hour).
struct NearSun {
    Largest bending[kBands], bendingChange[kBands], change[kBands], motion[kBands];
};

// Every passage of `body` within kNearSun degrees of the Sun in [from, to].
bool MeasureNearSun(int body, double most, double from, double to, NearSun& out) {
    struct Sample {
        double jd, apparent, bent, elongation;
    };
    std::vector<Sample> coarse, fine;
    // The second differences of the samples at `step` samples apart, where
    // the middle one lies in a band `use` accepts.
    auto measure = [&](const std::vector<Sample>& v, size_t step, double h, auto use) {
        for (size_t i = step; i + step < v.size(); ++i) {
            const int band = BandOf(v[i].elongation);
            if (band >= kBands || !use(v[i].elongation)) continue;
            out.bending[band].Offer(v[i].bent, v[i].jd);
            out.bendingChange[band].Offer(
                (v[i + step].bent - 2 * v[i].bent + v[i - step].bent) / (h * h), v[i].jd);
            out.change[band].Offer(
                (v[i + step].apparent - 2 * v[i].apparent + v[i - step].apparent) / (h * h),
                v[i].jd);
            out.motion[band].Offer((v[i + 1].apparent - v[i].apparent) / (v[i + 1].jd - v[i].jd),
                                   v[i].jd);
        }
    };
    auto sample = [&](double t, Sample& s) {
        double sun = 0, l = 0, smooth = 0;
        if (!Longitude(SE_SUN, t, SEFLG_SWIEPH, sun) || !Longitude(body, t, SEFLG_SWIEPH, l) ||
            !Longitude(body, t, SEFLG_SWIEPH | SEFLG_NOGDEFL, smooth))
            return false;
        s = {t, l, std::remainder(l - smooth, 360.0), std::fabs(std::remainder(l - sun, 360.0))};
        return true;
    };
    auto add = [](std::vector<Sample>& v, Sample s) {
        if (!v.empty())
            s.apparent = v.back().apparent + std::remainder(s.apparent - v.back().apparent, 360.0);
        v.push_back(s);
    };
    constexpr double kQuarterHour = 1.0 / 96, kMinute = 1.0 / 1440;
    double t = from;
    while (t <= to) {
        double sun = 0, l = 0;
        if (!Longitude(SE_SUN, t, SEFLG_SWIEPH, sun) || !Longitude(body, t, SEFLG_SWIEPH, l))
            return false;
        const double d = std::fabs(std::remainder(l - sun, 360.0));
        if (d > kNearSun + 0.3) {
            t += std::max((d - kNearSun - 0.2) / most, kQuarterHour);
            continue;
        }
        // One passage, from beyond the outer edge to beyond it on the other
        // side; every minute within the disk.
        coarse.clear();
        Sample s{};
        double last = 1e9;
        for (;; t += kQuarterHour) {
            if (!sample(t, s)) return false;
            add(coarse, s);
            if (s.elongation < kFine) {
                fine.clear();
                for (double u = t - 2 * kMinute; u <= t + kQuarterHour + 2 * kMinute;
                     u += kMinute) {
                    Sample f{};
                    if (!sample(u, f)) return false;
                    add(fine, f);
                }
                measure(fine, 2, 2 * kMinute, [](double e) { return e < kFine; });
            }
            if (s.elongation > kNearSun + 0.3 && s.elongation > last) break;
            last = s.elongation;
        }
        measure(coarse, 4, 4 * kQuarterHour, [](double e) { return e >= kFine; });
    }
    return true;
}

// The near-Sun measure of every planet (and of the Moon, whose longitude
// the ephemeris does not bend).
int MeasureAllNearSun(double from, double to) {
    // Largest change of elongation per day: the Sun's motion and the body's.
    constexpr double kMost[] = {0, 3.7, 2.4, 1.9, 1.3, 1.2, 1.1, 1.1, 17.0};
    std::printf(
        "near the Sun, by elongation in longitude: the bending in \"; its change and the "
        "apparent longitude's in degrees per day² (at steps of two minutes within 0.35°, "
        "of an hour beyond); the largest motion between samples in degrees per day\n");
    for (size_t k = 1; k < std::size(kBodies); ++k) {
        NearSun n;
        if (!MeasureNearSun(kBodies[k].swe, kMost[k], from, to, n)) return 1;
        for (int band = 0; band < kBands; ++band)
            std::printf(
                "%-8s %.1f-%.1f°  bending %.2f\" (%.3f)  its change %.6f (%.3f)  "
                "change of motion %.6f (%.3f)  motion %.5f\n",
                kBodies[k].name, kBandEdges[band], kBandEdges[band + 1],
                n.bending[band].value * 3600, n.bending[band].jd, n.bendingChange[band].value,
                n.bendingChange[band].jd, n.change[band].value, n.change[band].jd,
                n.motion[band].value);
        std::fflush(stdout);
    }
    return 0;
}

// The largest separations in longitude of Mercury and Venus from the Sun
// and from each other, sampled every day: near a greatest elongation the
// separation changes by less than 0.03° in half a day.
int MeasureElongations(double from, double to) {
    Largest mercury, venus, between;
    for (double jd = from; jd <= to; jd += 1) {
        double sun = 0, m = 0, v = 0;
        if (!Longitude(SE_SUN, jd, SEFLG_SWIEPH, sun) || !Longitude(SE_MERCURY, jd, SEFLG_SWIEPH, m) ||
            !Longitude(SE_VENUS, jd, SEFLG_SWIEPH, v))
            return 1;
        mercury.Offer(std::remainder(m - sun, 360.0), jd);
        venus.Offer(std::remainder(v - sun, 360.0), jd);
        between.Offer(std::remainder(m - v, 360.0), jd);
    }
    std::printf("largest separation in degrees (the Julian date)\n");
    std::printf("Mercury from the Sun %.4f (%.1f)\n", mercury.value, mercury.jd);
    std::printf("Venus from the Sun   %.4f (%.1f)\n", venus.value, venus.jd);
    std::printf("Mercury from Venus   %.4f (%.1f)\n", between.value, between.jd);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int firstYear = 1 - 20, lastYear = 2799 + 20;
    // --near-sun: only the bending near the Sun, by elongation;
    // --elongations: only the largest separations of the inner planets.
    const std::string mode = argc > 1 && argv[1][0] == '-' ? argv[1] : "";
    const bool nearSun = mode == "--near-sun", elongations = mode == "--elongations";
    if (!mode.empty()) {
        --argc;
        ++argv;
    }
    if (argc >= 3) {
        firstYear = std::atoi(argv[1]);
        lastYear = std::atoi(argv[2]);
    }
    if (argc == 2 || argc > 4 || lastYear <= firstYear || (!mode.empty() && !nearSun && !elongations)) {
        std::fprintf(stderr,
                     "usage: measure_motion_bounds [--near-sun | --elongations] [FIRST_YEAR "
                     "LAST_YEAR [EPHEMERIS_FOLDER]]\n");
        return 2;
    }
    const std::string folder = UseEphemerisFolder(argc == 4 ? argv[3] : nullptr);
    const double from = StartOfYear(firstYear), to = StartOfYear(lastYear + 1);
    std::printf("Swiss Ephemeris files in %s, years %d to %d (JD %.1f to %.1f)\n", folder.c_str(),
                firstYear, lastYear, from, to);
    if (nearSun || elongations) {
        const int status = nearSun ? MeasureAllNearSun(from, to) : MeasureElongations(from, to);
        swe_close();
        return status;
    }
    std::printf("degrees per day, per day², per day³; the Julian date of the largest in ()\n");
    for (const Body& b : kBodies) {
        const bool moon = b.swe == SE_MOON;
        const double h = moon ? 0.5 : 1.0;
        Differences apparent(h), smooth(h);
        Largest bending, fineBending, fineChange;
        double last[2] = {0, 0};  // the bending of the two days before
        for (double jd = from; jd <= to; jd += h) {
            double l = 0, s = 0;
            if (!Longitude(b.swe, jd, SEFLG_SWIEPH, l)) return 1;
            apparent.Add(jd, l);
            if (moon) continue;
            if (!Longitude(b.swe, jd, SEFLG_SWIEPH | SEFLG_NOGDEFL, s)) return 1;
            smooth.Add(jd, s);
            const double bent = std::fabs(std::remainder(l - s, 360.0));
            bending.Offer(bent, jd);
            // The bending peaks for a day or two as the planet passes the
            // Sun's limb: around the day before, where it peaked, every
            // quarter of an hour, to find its largest value and the change
            // of motion it brings at steps of a quarter day.
            if (last[1] > 1.0 / 3600 && last[1] >= last[0] && last[1] >= bent &&
                !FinePass(b.swe, jd - h, fineBending, fineChange))
                return 1;
            last[0] = last[1];
            last[1] = bent;
        }
        std::printf("%-8s motion %.5f (%.1f)  change %.6f (%.1f)  change of that %.7f (%.1f)", b.name,
                    apparent.perDay.value, apparent.perDay.jd, apparent.perDay2.value,
                    apparent.perDay2.jd, apparent.perDay3.value, apparent.perDay3.jd);
        std::printf("  least motion %.5f", apparent.least);
        std::printf("\n");
        if (moon) continue;
        std::printf("%-8s without the bending: change %.6f (%.1f)  change of that %.7f (%.1f)\n", "",
                    smooth.perDay2.value, smooth.perDay2.jd, smooth.perDay3.value,
                    smooth.perDay3.jd);
        std::printf("%-8s largest bending %.2f\" (%.1f), every quarter hour near its peaks %.2f\" "
                    "(%.3f); change of motion there at quarter-day steps %.6f (%.3f)\n",
                    "", bending.value * 3600, bending.jd, fineBending.value * 3600, fineBending.jd,
                    fineChange.value, fineChange.jd);
        std::fflush(stdout);
    }
    swe_close();
    return 0;
}
