// Measures what the motion bounds of the bounded sky rest on, from Swiss
// Ephemeris as the program asks it (apparent longitudes of date, from the
// files): for each body the largest daily motion, the largest change of that
// motion per day and the largest change of that per day, sampled every day
// (the Moon every half day); the least daily motion (the fastest backward
// where a body moves backward, the slowest forward where it never does); and
// for every planet the same changes of its path without the bending of light near the
// Sun, with the largest bending itself (the difference between the two).
//
// Usage: measure_motion_bounds [FIRST_YEAR LAST_YEAR [EPHEMERIS_FOLDER]]
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

}  // namespace

int main(int argc, char** argv) {
    int firstYear = 1 - 20, lastYear = 2799 + 20;
    if (argc >= 3) {
        firstYear = std::atoi(argv[1]);
        lastYear = std::atoi(argv[2]);
    }
    if (argc == 2 || argc > 4 || lastYear <= firstYear) {
        std::fprintf(stderr, "usage: measure_motion_bounds [FIRST_YEAR LAST_YEAR [EPHEMERIS_FOLDER]]\n");
        return 2;
    }
    const std::string folder = UseEphemerisFolder(argc == 4 ? argv[3] : nullptr);
    const double from = StartOfYear(firstYear), to = StartOfYear(lastYear + 1);
    std::printf("Swiss Ephemeris files in %s, years %d to %d (JD %.1f to %.1f)\n", folder.c_str(),
                firstYear, lastYear, from, to);
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
