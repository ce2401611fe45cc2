// Writes reference instants for the tests of the exact aspect search: for 500
// random cases in world and personal transits, tropical and sidereal, 1600 to
// 2100, every instant at which the aspect comes within orb, is exact and
// leaves the orb, found without the program's search: the positions straight
// from the ephemeris layer (and the Pluto table), sampled every hour (every
// quarter hour with the Moon) and every sign change bisected to a hundredth of
// a second.
//
// Usage: make_exact_reference [--points] OUTPUT PLUTO_TABLE [EPHEMERIS_FOLDER]
//
// With --points the cases are of a moving body (SECOND 1..10) to an extra
// point (FIRST 11 mean node, 12 true node, 13 Chiron, straight from the
// ephemeris layer's point routine): a natal point in personal transits, the
// moving point in world transits. The true node moves backwards and
// forwards by turns, which the sampling follows as it follows the planets.
//
// Lines: "case,N,MODE,ZODIAC,FIRST,SECOND,ASPECT,NATAL_JD,FROM,TO,ORB_DEG"
// (MODE world or personal, ZODIAC tropical or sidereal, NATAL_JD 0 in world
// transits), then one line "event,N,JD,KIND,BRANCH" per instant in time order
// (KIND enters, exact or leaves; BRANCH +1 or -1, the sign of the aspect angle
// the difference second − first stands near).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "engine/pluto_table.h"
#include "platform/calendar.h"
#include "platform/ephemeris.h"

namespace {

constexpr int kCases = 500;
constexpr int kPointCases = 200;
constexpr double kTwoPi = 6.28318530717959;
constexpr double kFirst = 2305448.5;  // 1600 January 2
constexpr double kLast = 2488068.5;   // 2099 December 31
// Library codes of bodies 1..9 (9, Pluto, comes from the table).
constexpr int kCode[] = {0, 3, 1, 2, 4, 5, 6, 7, 8, 0, 0};
constexpr double kAngleDeg[] = {0, 0, 180, 90, 120, 60, 30, 150};
constexpr double kOrbDeg[] = {0, 10, 9, 6, 7, 4, 3, 3};

vek::PlutoTable pluto;

int Fail(const std::string& message) {
    std::fprintf(stderr, "make_exact_reference: %s\n", message.c_str());
    return 1;
}

// Longitude of body 1..10 at jd in radians, sidereal on request; NaN without.
double Longitude(int body, double jd, bool sidereal) {
    double v;
    if (body >= 11) {
        v = vek::platform::point_longitude_speed(body - 10, jd, nullptr);
    } else if (body == 9) {
        v = pluto.LongitudeAt(jd).ValueOr(NAN);
    } else if (body == 10) {
        v = vek::platform::moon_position(jd - 2451545.0);
    } else {
        v = vek::platform::planet_longitude_speed(kCode[body], jd, 0, nullptr);
    }
    if (!(v >= 0)) return NAN;
    if (sidereal) {
        const int year = vek::platform::calendar_year_of(jd);
        v -= (year - 2000) * 243.8 / 1000000.0 + 0.416314;
        v = std::fmod(v + 2 * kTwoPi, kTwoPi);
    }
    return v;
}

struct Case {
    bool personal = false;
    bool sidereal = false;
    int first = 1, second = 2, aspect = 1;
    double natalJD = 0, from = 0, to = 0, orbDeg = 0;
    double natal = 0;  // the natal longitude in personal transits
};

// Signed distance of the case's difference from branch b's angle, minus a level.
double Deviation(const Case& c, int branch, double level, double jd) {
    const double a = c.personal ? c.natal : Longitude(c.first, jd, c.sidereal);
    const double b = Longitude(c.second, jd, c.sidereal);
    const double angle = kAngleDeg[c.aspect] / 360.0 * kTwoPi;
    double d = std::fmod(b - a - branch * angle - level, kTwoPi);
    if (d > kTwoPi / 2) d -= kTwoPi;
    if (d <= -kTwoPi / 2) d += kTwoPi;
    return d;
}

struct Event {
    double jd;
    const char* kind;
    int branch;
};

}  // namespace

int main(int argc, char** argv) {
    const bool points = argc > 1 && std::string(argv[1]) == "--points";
    if (points) {
        --argc;
        ++argv;
    }
    if (argc < 3 || argc > 4)
        return Fail("usage: make_exact_reference [--points] OUTPUT PLUTO_TABLE [EPHEMERIS_FOLDER]");
    vek::platform::set_data_folder(argc > 3 ? argv[3] : "/usr/share/libswe/ephe/");
    if (!vek::platform::ephemeris_files_available())
        return Fail("no Swiss Ephemeris files: the reference must come from them");
    if (const vek::Status s = pluto.Load(argv[2]); !s) return Fail(s.message());

    std::mt19937_64 random(points ? 20261210 : 20261209);
    const int cases = points ? kPointCases : kCases;
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };

    std::string text;
    char line[256];
    size_t events = 0;
    for (int n = 1; n <= cases; ++n) {
        Case c;
        c.personal = pick(0, 1) == 1;
        c.sidereal = pick(0, 1) == 1;
        // The Moon in about a quarter of the cases as the moving body.
        c.second = pick(0, 3) == 0 ? 10 : pick(1, 9);
        if (points) {
            // The true node in half of the cases: its motion changes most.
            c.first = pick(0, 1) == 0 ? 12 : pick(0, 1) == 0 ? 11 : 13;
        } else {
            do {
                c.first = pick(1, 10);
            } while (!c.personal && c.first == c.second);
        }
        c.aspect = pick(1, 7);
        c.orbDeg = c.personal ? kOrbDeg[c.aspect] / 3 : kOrbDeg[c.aspect];
        const bool moon = c.second == 10 || (!c.personal && c.first == 10);
        // The true node's wobble is sampled every quarter hour too.
        const bool fine = moon || (points && c.first == 12 && !c.personal);
        const double length = moon ? uniform(5, 60) : uniform(30, 900);
        c.from = std::floor(uniform(kFirst, kLast - length) * 1440) / 1440;
        c.to = c.from + std::floor(length * 1440) / 1440;
        if (c.personal) {
            c.natalJD = std::floor(uniform(kFirst, kLast) * 48) / 48;
            c.natal = Longitude(c.first, c.natalJD, c.sidereal);
        }
        std::snprintf(line, sizeof line, "case,%d,%s,%s,%d,%d,%d,%.6f,%.6f,%.6f,%.6f\n", n,
                      c.personal ? "personal" : "world", c.sidereal ? "sidereal" : "tropical",
                      c.first, c.second, c.aspect, c.natalJD, c.from, c.to, c.orbDeg);
        text += line;

        const double orb = c.orbDeg / 360.0 * kTwoPi;
        const double step = fine ? 1.0 / 96 : 1.0 / 24;
        std::vector<Event> found;
        const std::vector<int> branches =
            c.aspect <= 2 ? std::vector<int>{1} : std::vector<int>{1, -1};
        for (const int branch : branches) {
            for (const double level : {0.0, orb, -orb}) {
                auto f = [&](double jd) { return Deviation(c, branch, level, jd); };
                double t0 = c.from, y0 = f(t0);
                const int steps = static_cast<int>(std::ceil((c.to - c.from) / step));
                for (int k = 1; k <= steps; ++k) {
                    const double t1 = k == steps ? c.to : c.from + k * step;
                    const double y1 = f(t1);
                    if (std::isnan(y0) || std::isnan(y1))
                        return Fail("a position is missing in case " + std::to_string(n));
                    // A sign change across half a circle is the wrap, no crossing.
                    if ((y0 >= 0) != (y1 >= 0) && std::fabs(y0 - y1) < kTwoPi / 2) {
                        double lo = t0, hi = t1, ylo = y0;
                        while (hi - lo > 1e-7) {
                            const double mid = (lo + hi) / 2, ym = f(mid);
                            if ((ym >= 0) == (ylo >= 0)) {
                                lo = mid;
                                ylo = ym;
                            } else {
                                hi = mid;
                            }
                        }
                        const bool rising = y1 >= 0;
                        const char* kind = "exact";
                        if (level > 0) kind = rising ? "leaves" : "enters";
                        if (level < 0) kind = rising ? "enters" : "leaves";
                        found.push_back({(lo + hi) / 2, kind, branch});
                    }
                    t0 = t1;
                    y0 = y1;
                }
            }
        }
        std::sort(found.begin(), found.end(),
                  [](const Event& a, const Event& b) { return a.jd < b.jd; });
        for (const Event& e : found) {
            std::snprintf(line, sizeof line, "event,%d,%.7f,%s,%+d\n", n, e.jd, e.kind, e.branch);
            text += line;
        }
        events += found.size();
    }
    vek::platform::release_thread();

    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) return Fail(std::string("cannot write ") + argv[1]);
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !ok) return Fail(std::string("cannot write ") + argv[1]);
    std::printf("%s: %d cases, %zu instants\n", argv[1], cases, events);
    return 0;
}
