#include "engine/aspect_instants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "../succeeded.h"
#include "engine/crossings.h"
#include "engine/engine.h"
#include "platform/ephemeris.h"

namespace vek {
namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr double kDegree = kTwoPi / 360;

std::vector<double> Instants(const Result<std::vector<Crossing>>& r) {
    std::vector<double> out;
    if (r)
        for (const Crossing& c : *r) out.push_back(c.jd);
    return out;
}

// Known functions: every root of a sine found to the second with its
// direction; two roots of a parabola a minute apart both found, a parabola
// that stays a hair above zero none; the wrap of an angle is no crossing; a
// jump across zero is one at the jump; a missing value fails the search.
TEST(Crossings, FindsEveryRootOfKnownFunctions) {
    const double w = kTwoPi / 10;  // period 10 days
    const TimeFunction sine = [&](double t) { return std::sin(w * t); };
    const Result<std::vector<Crossing>> s = FindCrossings(sine, {w, w * w}, {0.5, 40.5, {}});
    ASSERT_TRUE(s);
    ASSERT_EQ(s->size(), 8u);
    for (size_t i = 0; i < s->size(); ++i) {
        EXPECT_NEAR((*s)[i].jd, 5.0 * static_cast<double>(i + 1), kSecond);
        EXPECT_EQ((*s)[i].direction, i % 2 == 0 ? -1 : 1);
    }
    // Levels are searched together on the same values.
    const Result<std::vector<Crossing>> levels =
        FindCrossings(sine, {w, w * w}, {0.5, 10.5, {}}, {0.0, 0.5});
    ASSERT_TRUE(levels);
    ASSERT_EQ(levels->size(), 4u);  // sin = 0.5 at 5/6 and 25/6, sin = 0 at 5 and 10
    EXPECT_NEAR((*levels)[0].jd, 5.0 / 6, kSecond);
    EXPECT_EQ((*levels)[0].level, 1);
    EXPECT_EQ((*levels)[1].direction, -1);
    EXPECT_NEAR((*levels)[1].jd, 25.0 / 6, kSecond);
    EXPECT_NEAR((*levels)[2].jd, 5, kSecond);
    EXPECT_EQ((*levels)[3].level, 0);

    // A station: f = a (t − 20)² − c with the roots a minute apart.
    const double a = 0.3 * kDegree, minute = 1.0 / 1440;
    const double c = a * (minute / 2) * (minute / 2);
    const TimeFunction station = [&](double t) { return a * (t - 20) * (t - 20) - c; };
    const std::vector<double> two = Instants(FindCrossings(station, {1, 2 * a}, {0, 40, {}}));
    ASSERT_EQ(two.size(), 2u);
    EXPECT_NEAR(two[0], 20 - minute / 2, kSecond);
    EXPECT_NEAR(two[1], 20 + minute / 2, kSecond);
    const TimeFunction above = [&](double t) { return a * (t - 20) * (t - 20) + 1e-9; };
    EXPECT_TRUE(Instants(FindCrossings(above, {1, 2 * a}, {0, 40, {}})).empty());

    // An angle running round the circle: one crossing of 0 per turn, none at
    // the wrap from π to −π.
    const TimeFunction angle = [](double t) { return std::remainder(0.5 * t, kTwoPi); };
    const std::vector<double> turns = Instants(FindCrossings(angle, {0.6, 0.01}, {1, 30, {}}));
    ASSERT_EQ(turns.size(), 2u);
    EXPECT_NEAR(turns[0], 2 * kTwoPi, kSecond);
    EXPECT_NEAR(turns[1], 4 * kTwoPi, kSecond);

    // A yearly step of the sidereal correction carries a slow body across.
    const TimeFunction stepped = [](double t) { return 1e-6 * t - (t >= 100 ? 3e-4 : 0) + 1e-4; };
    const Result<std::vector<Crossing>> jump =
        FindCrossings(stepped, {1e-5, 1e-9}, {0, 300, {100}});
    ASSERT_TRUE(jump);
    ASSERT_EQ(jump->size(), 2u);
    EXPECT_EQ((*jump)[0], (Crossing{100, -1, 0}));
    EXPECT_NEAR((*jump)[1].jd, 200, kSecond);
    EXPECT_EQ((*jump)[1].direction, 1);

    // A path with corners, which no bound on the bend describes: in a rough
    // span, where only the rate and the distance from a straight path hold,
    // the three crossings twenty minutes apart are all found.
    const double rate = 1e-4, corner = 0.007;
    const TimeFunction cornered = [&](double t) {
        return rate * (t - 20) - 2 * rate * std::clamp(t - 20, -corner, corner);
    };
    ChangeBounds roughBounds{2 * rate, 1e-9};
    roughBounds.rough = {{18, 19}, {19.9, 20.1}};
    roughBounds.roughNoise = 2 * rate * corner;
    const std::vector<double> three = Instants(FindCrossings(cornered, roughBounds, {0, 40, {}}));
    ASSERT_EQ(three.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(three[i], 20 + 2 * corner * (static_cast<double>(i) - 1), kSecond);

    const TimeFunction gap = [](double t) { return t > 5 ? NAN : std::sin(t); };
    EXPECT_FALSE(FindCrossings(gap, {1, 1}, {0, 10, {}}));
    EXPECT_FALSE(FindCrossings(sine, {0, 1}, {0, 10, {}}));
    EXPECT_FALSE(FindCrossings(sine, {1, 1}, {10, 0, {}}));
}

Engine& RealEngine() {
    static Engine* e = [] {
        auto* engine = new Engine;
        engine->Initialize(VEK_BIN_DIR);
        EXPECT_TRUE(testing::Succeeded(engine->LoadPlutoTable()));
        return engine;
    }();
    return *e;
}

std::vector<AspectInstant> Exact(const std::vector<AspectInstant>& all) {
    std::vector<AspectInstant> out;
    for (const AspectInstant& i : all)
        if (i.event == AspectEvent::Exact) out.push_back(i);
    return out;
}

// A planet that turns inside the orb passes the exact aspect three times:
// forward, back while retrograde, forward again, between one entry and one
// exit. Mercury turned at 12° Pisces on 17 February 2020 and at 28° Aquarius
// on 10 March; Pluto at 24° Capricorn on 25 April 2020 and at 22° Capricorn
// on 4 October. A natal point where the planet stood in the middle of the
// loop sees three conjunctions, the loop well inside the orb of 10°.
TEST(AspectInstants, AStationInsideTheOrbGivesThreeExactPassesInOrder) {
    Engine& e = RealEngine();
    e.SiderealZodiac = false;
    const MotionBounds m = SkyMotionBounds(e);
    struct Loop {
        Body body;
        double middle, from, to;
        bool edges;  // Mercury enters and leaves the orb within the span
    };
    for (const Loop& l : {Loop{kMercury, 2458907.5, 2458870.5, 2458960.5, true},
                          Loop{kPluto, 2459045.5, 2458850.5, 2459250.5, false}}) {
        SCOPED_TRACE(Index(l.body));
        const double natal = *e.Longitude(l.body, JulianDate(l.middle));
        const AspectPair pair{kSun, l.body, kConjunction, natal};
        const Result<std::vector<AspectInstant>> r =
            FindAspectInstants(e, m, pair, 10 * kDegree, l.from, l.to);
        ASSERT_TRUE(r) << r.message();
        const std::vector<AspectInstant> exact = Exact(*r);
        ASSERT_EQ(exact.size(), 3u);
        if (l.edges) {
            ASSERT_EQ(r->size(), 5u);
            EXPECT_EQ(r->front().event, AspectEvent::Enters);
            EXPECT_EQ(r->back().event, AspectEvent::Leaves);
        } else {
            EXPECT_EQ(r->size(), 3u);
        }
        for (size_t i = 0; i < 3; ++i) {
            const AspectInstant& x = exact[i];
            EXPECT_EQ(x.branch, 1);
            // Exact to a second of arc, and retrograde on the middle pass only.
            const SkyLongitude lon = e.Longitude(l.body, JulianDate(x.jd));
            EXPECT_LT(std::fabs(BranchDeviation(natal, *lon, kConjunction, 1)),
                      1.0 / 3600 * kDegree);
            EXPECT_EQ(e.Retrograde(l.body, lon, JulianDate{x.jd}), i == 1) << i;
            if (i > 0) {
                EXPECT_GT(x.jd, exact[i - 1].jd + 1);
            }
        }
        // Without an orb the same three passes.
        const Result<std::vector<AspectInstant>> bare =
            FindAspectInstants(e, m, pair, 0, l.from, l.to);
        ASSERT_TRUE(bare);
        ASSERT_EQ(bare->size(), 3u);
        for (size_t i = 0; i < 3; ++i) EXPECT_NEAR((*bare)[i].jd, exact[i].jd, 2 * kSecond);
    }
}

// The searches of many levels at once find what the searches of one aspect
// at a time find: every exact transit of two months to a birth chart, and
// among the bodies, the same instants with the same bodies, aspect and
// branch, in time order.
TEST(AspectInstants, AllTransitsAtOnceAreTheSingleSearchesTogether) {
    Engine& e = RealEngine();
    e.SiderealZodiac = true;  // with the yearly steps against the natal points
    const MotionBounds m = SkyMotionBounds(e);
    const double birth = 2437120.208333, from = 2461000.5, to = from + 60;
    BodyArray<SkyLongitude> natal{};
    for (const Body b : AllBodies()) natal[b] = e.Longitude(b, JulianDate(birth));
    struct Found {
        double jd;
        Body moving, other;
        Aspect aspect;
        int branch;
    };
    for (const bool among : {false, true}) {
        SCOPED_TRACE(among ? "among the bodies" : "to the chart");
        const Result<std::vector<ExactAspect>> all =
            among ? FindExactAspectsAmong(e, m, 10, from, to)
                  : FindExactTransits(e, m, natal, 10, from, to);
        ASSERT_TRUE(all) << all.message();
        std::vector<Found> single;
        for (const Body mv : AllBodies())
            for (const Body o : among ? BodiesAfter(mv, 10) : AllBodies())
                for (const Aspect a : AllAspects()) {
                    AspectPair pair{o, mv, a, std::nullopt};
                    if (!among) pair.fixedFirst = natal[o].AsOptional();
                    const Result<std::vector<AspectInstant>> r =
                        FindAspectInstants(e, m, pair, 0, from, to);
                    ASSERT_TRUE(r) << r.message();
                    for (const AspectInstant& i : *r) single.push_back({i.jd, mv, o, a, i.branch});
                }
        std::sort(single.begin(), single.end(),
                  [](const Found& x, const Found& y) { return x.jd < y.jd; });
        ASSERT_EQ(all->size(), single.size());
        EXPECT_GT(single.size(), among ? 150u : 300u);
        for (size_t i = 0; i < single.size(); ++i) {
            const ExactAspect& x = (*all)[i];
            // Two instants within seconds of each other may come in either order.
            const Found* s = &single[i];
            for (size_t j = i > 0 ? i - 1 : 0; j < std::min(single.size(), i + 2); ++j)
                if (single[j].moving == x.moving && single[j].other == x.other &&
                    single[j].aspect == x.aspect && std::fabs(single[j].jd - x.jd) < 5 * kSecond)
                    s = &single[j];
            EXPECT_NEAR(x.jd, s->jd, 2 * kSecond) << i;
            EXPECT_EQ(x.moving, s->moving) << i;
            EXPECT_EQ(x.other, s->other) << i;
            EXPECT_EQ(x.aspect, s->aspect) << i;
            EXPECT_EQ(x.branch, s->branch) << i;
            if (i > 0) {
                EXPECT_GE(x.jd, (*all)[i - 1].jd);
            }
        }
    }
    e.SiderealZodiac = false;
}

struct ReferenceCase {
    int number = 0;
    bool personal = false, sidereal = false;
    int first = 0, second = 0, aspect = 0;
    double natalJD = 0, from = 0, to = 0, orbDeg = 0;
    std::vector<AspectInstant> events;
};

std::vector<ReferenceCase> LoadReference(const char* name = "exact_reference.csv") {
    std::ifstream f(std::string(VEK_TEST_DATA_DIR) + "/" + name);
    std::vector<ReferenceCase> cases;
    std::string line;
    while (std::getline(f, line)) {
        std::vector<std::string> v;
        std::stringstream ss(line);
        for (std::string field; std::getline(ss, field, ',');) v.push_back(field);
        if (v.size() == 11 && v[0] == "case") {
            ReferenceCase c;
            c.number = std::stoi(v[1]);
            c.personal = v[2] == "personal";
            c.sidereal = v[3] == "sidereal";
            c.first = std::stoi(v[4]);
            c.second = std::stoi(v[5]);
            c.aspect = std::stoi(v[6]);
            c.natalJD = std::stod(v[7]);
            c.from = std::stod(v[8]);
            c.to = std::stod(v[9]);
            c.orbDeg = std::stod(v[10]);
            cases.push_back(c);
        } else if (v.size() == 5 && v[0] == "event" && !cases.empty()) {
            AspectEvent kind = AspectEvent::Exact;
            if (v[3] == "enters") kind = AspectEvent::Enters;
            if (v[3] == "leaves") kind = AspectEvent::Leaves;
            cases.back().events.push_back({std::stod(v[2]), kind, std::stoi(v[4])});
        }
    }
    return cases;
}

// The search of one reference case against its instants: every instant, in
// order, of the same kind and branch, within 60 seconds; the largest
// difference goes into `worst`.
void ExpectReferenceInstants(const Engine& e, const MotionBounds& m, const AspectPair& pair,
                             const ReferenceCase& c, double& worst) {
    const Result<std::vector<AspectInstant>> r =
        FindAspectInstants(e, m, pair, c.orbDeg * kDegree, c.from, c.to);
    ASSERT_TRUE(r) << r.message();
    ASSERT_EQ(r->size(), c.events.size());
    for (size_t i = 0; i < r->size(); ++i) {
        EXPECT_EQ((*r)[i].event, c.events[i].event) << i;
        EXPECT_EQ((*r)[i].branch, c.events[i].branch) << i;
        const double off = std::fabs((*r)[i].jd - c.events[i].jd);
        EXPECT_LE(off, 60 * kSecond) << i << " at " << c.events[i].jd;
        worst = std::max(worst, off);
    }
}

// Against the reference of an independent dense sampling and bisection on
// the ephemeris layer (tools/make_exact_reference.cpp): 500 random cases in
// world and personal transits, tropical and sidereal, 1600–2100, the Moon
// among them. Every instant found, none added, each within 60 seconds.
TEST(AspectInstants, MatchTheDenseReferenceWithin60Seconds) {
    for (const char* file : {"sepl_12.se1", "sepl_18.se1", "semo_12.se1", "semo_18.se1"})
        if (!std::filesystem::exists(std::string("/usr/share/libswe/ephe/") + file))
            GTEST_SKIP() << "the reference comes from the Swiss Ephemeris files, " << file
                         << " is missing";
    const std::vector<ReferenceCase> cases = LoadReference();
    ASSERT_EQ(cases.size(), 500u);
    Engine& e = RealEngine();
    const MotionBounds m = SkyMotionBounds(e);
    double worst = 0;
    size_t instants = 0, moon = 0, sidereal = 0, personal = 0;
    for (const ReferenceCase& c : cases) {
        SCOPED_TRACE("case " + std::to_string(c.number));
        e.SiderealZodiac = c.sidereal;
        AspectPair pair{*BodyFromIndex(c.first), *BodyFromIndex(c.second),
                        *AspectFromIndex(c.aspect), std::nullopt};
        if (c.personal) pair.fixedFirst = *e.Longitude(pair.first, JulianDate(c.natalJD));
        ExpectReferenceInstants(e, m, pair, c, worst);
        instants += c.events.size();
        moon += c.first == 10 || c.second == 10;
        sidereal += c.sidereal;
        personal += c.personal;
    }
    e.SiderealZodiac = false;
    // The cases cover what they should.
    EXPECT_GT(instants, 1000u);
    EXPECT_GT(moon, 100u);
    EXPECT_GT(sidereal, 200u);
    EXPECT_GT(personal, 200u);
    std::printf("%zu instants, the largest difference %.2f s\n", instants, worst / kSecond);
}

// The extra points against the same kind of reference (make_exact_reference
// --points): 200 cases of a moving body to a natal point or to the moving
// mean node, true node or Chiron, the true node in half of them with its
// backward and forward motion. Every instant, none added, within 60 seconds.
TEST(AspectInstants, PointsMatchTheDenseReferenceWithin60Seconds) {
    for (const char* file : {"sepl_12.se1", "sepl_18.se1", "semo_12.se1", "semo_18.se1",
                             "seas_12.se1", "seas_18.se1"})
        if (!std::filesystem::exists(std::string("/usr/share/libswe/ephe/") + file))
            GTEST_SKIP() << "the reference comes from the Swiss Ephemeris files, " << file
                         << " is missing";
    const std::vector<ReferenceCase> cases = LoadReference("exact_reference_points.csv");
    ASSERT_EQ(cases.size(), 200u);
    Engine& e = RealEngine();
    const MotionBounds m = SkyMotionBounds(e);
    double worst = 0;
    size_t instants = 0, movingTrueNode = 0;
    for (const ReferenceCase& c : cases) {
        SCOPED_TRACE("case " + std::to_string(c.number));
        ASSERT_GE(c.first, 11);
        e.SiderealZodiac = c.sidereal;
        const auto point = static_cast<ExtraPoint>(c.first - 10);
        AspectPair pair{kSun, *BodyFromIndex(c.second), *AspectFromIndex(c.aspect), std::nullopt,
                        point};
        if (c.personal) pair.fixedFirst = ComputeExtraPoint(e, point, c.natalJD, false).longitude;
        ExpectReferenceInstants(e, m, pair, c, worst);
        instants += c.events.size();
        movingTrueNode += !c.personal && point == ExtraPoint::TrueNode ? c.events.size() : 0;
    }
    e.SiderealZodiac = false;
    EXPECT_GT(instants, 400u);
    EXPECT_GT(movingTrueNode, 100u);
    std::printf("%zu instants, the largest difference %.2f s\n", instants, worst / kSecond);
}

// Every crossing of a function of the engine's positions in [from, to], by
// sampling every two minutes and bisecting each sign change.
std::vector<double> DenseCrossings(const std::function<double(double)>& f, double from, double to) {
    std::vector<double> out;
    const double step = 2.0 / 1440;
    double t0 = from, y0 = f(from);
    for (int k = 1; from + k * step <= to; ++k) {
        const double t1 = from + k * step, y1 = f(t1);
        if ((y0 >= 0) != (y1 >= 0) && std::fabs(y1 - y0) < kPi) {
            double lo = t0, hi = t1;
            const bool rising = y1 >= 0;
            while (hi - lo > 1e-8) {
                const double mid = (lo + hi) / 2;
                ((f(mid) >= 0) == rising ? hi : lo) = mid;
            }
            out.push_back((lo + hi) / 2);
        }
        t0 = t1;
        y0 = y1;
    }
    return out;
}

// The search's instants of a function against a dense bisection of it: each
// crossing the bisection finds is one of them to the second, and each of
// them is a crossing, the function on either side of it a second and a half
// away on either side of zero (the dense sampling misses dips shorter than
// its step, which the search finds).
void ExpectTheCrossingsOf(const std::function<double(double)>& f,
                          const std::vector<AspectInstant>& found, double from, double to,
                          size_t& most) {
    const std::vector<double> dense = DenseCrossings(f, from, to);
    for (const double d : dense)
        EXPECT_TRUE(
            std::any_of(found.begin(), found.end(),
                        [&](const AspectInstant& x) { return std::fabs(x.jd - d) < 2 * kSecond; }))
            << "missed " << d;
    for (const AspectInstant& x : found)
        EXPECT_NE(f(x.jd - 1.5 * kSecond) >= 0, f(x.jd + 1.5 * kSecond) >= 0) << "added " << x.jd;
    EXPECT_GE(found.size(), dense.size());
    most = std::max(most, found.size());
}

// A planet passing behind the Sun: inside the Sun's disk the ephemeris' bending
// of light turns its motion within minutes. Neptune passed the Sun's centre
// on 24 January 1838 and went back by 0.15" for twenty minutes, so the natal
// point where it stood then saw three conjunctions; the points it passed
// around then saw one each, or three where a corner of its path dips back
// for seconds. All found to the second, also the Sun-Neptune conjunction.
TEST(AspectInstants, PassagesBehindTheSunMatchADenseBisection) {
    Engine& e = RealEngine();
    e.SiderealZodiac = false;
    const MotionBounds m = SkyMotionBounds(e);
    const double centre = 2392770.1158, from = centre - 1, to = centre + 1;
    auto at = [&](Body b, double jd) { return *e.Longitude(b, JulianDate(jd)); };
    std::vector<double> offsets;
    for (int k = -8; k <= 8; ++k) offsets.push_back(0.05 * k);
    for (int k = -4; k <= 4; ++k) offsets.push_back(0.0025 * k);
    size_t most = 0;
    for (const double offset : offsets) {
        SCOPED_TRACE("natal point of Neptune at " + std::to_string(offset) + " days");
        const double natal = at(kNeptune, centre + offset);
        const AspectPair pair{kSun, kNeptune, kConjunction, natal};
        const Result<std::vector<AspectInstant>> r = FindAspectInstants(e, m, pair, 0, from, to);
        ASSERT_TRUE(r) << r.message();
        ExpectTheCrossingsOf(
            [&](double jd) { return std::remainder(at(kNeptune, jd) - natal, kTwoPi); }, *r, from,
            to, most);
    }
    EXPECT_GE(most, 3u);
    const AspectPair sunNeptune{kSun, kNeptune, kConjunction, std::nullopt};
    const Result<std::vector<AspectInstant>> conjunction =
        FindAspectInstants(e, m, sunNeptune, 0, from, to);
    ASSERT_TRUE(conjunction);
    EXPECT_EQ(conjunction->size(), 1u);
    ExpectTheCrossingsOf(
        [&](double jd) { return std::remainder(at(kNeptune, jd) - at(kSun, jd), kTwoPi); },
        *conjunction, from, to, most);
}

// The search takes no bound on the change of motion where a planet may stand
// within kSunPassageElongation of the Sun: the spans found from the
// approximate longitudes hold every instant at which the ephemeris puts it
// there, sampled every quarter hour near each passage over 24 years, and
// are not much more than those instants.
TEST(AspectInstants, SunPassagesHoldEveryInstantNearTheSun) {
    Engine& e = RealEngine();
    e.SiderealZodiac = false;
    const MotionBounds m = SkyMotionBounds(e);
    const double from = 2389000.5, to = from + 24 * 365.25;  // 1828 to 1852
    for (const Body b : {kMercury, kJupiter, kNeptune}) {
        SCOPED_TRACE(std::string("body ") + std::to_string(Index(b)));
        const std::vector<std::pair<double, double>> spans = SunPassages(m, b, from, to);
        auto inside = [&](double t) {
            return std::any_of(spans.begin(), spans.end(),
                               [&](const auto& s) { return s.first <= t && t <= s.second; });
        };
        auto elongation = [&](double t) {
            const JulianDate jd(t);
            return std::fabs(std::remainder(*e.Longitude(b, jd) - *e.Longitude(kSun, jd), kTwoPi));
        };
        const double rate = m.perDay[b] + m.perDay[kSun];
        size_t near = 0;
        for (double t = from; t < to;) {
            const double d = elongation(t);
            if (d > 2 * kDegree) {
                t += (d - kDegree) / rate;
                continue;
            }
            if (d < kSunPassageElongation) {
                ++near;
                ASSERT_TRUE(inside(t)) << "at " << t;
            }
            t += 1.0 / 96;
        }
        double length = 0;
        for (const auto& s : spans) length += s.second - s.first;
        EXPECT_GT(near, 200u);
        EXPECT_LT(length,
                  3 * (static_cast<double>(near) / 96 + 0.2 * static_cast<double>(spans.size())));
    }
    EXPECT_TRUE(SunPassages(m, kSun, from, to).empty());
    EXPECT_TRUE(SunPassages(m, kMoon, from, to).empty());
    EXPECT_TRUE(SunPassages(m, kPluto, from, to).empty());
}

// A planet's elongation from the Sun keeps its sign through the bending of
// light, so a passage behind the Sun is halved without asking the position at
// every midpoint: over two years of every planet's passages, with orbs
// inside, about the edges of and beyond the rough spans, the same crossings
// to the last bit as the full halving, from far fewer positions.
TEST(AspectInstants, ElongationsHalveTheirPassagesAsTheFullHalvingWithFewerPositions) {
    Engine& e = RealEngine();
    e.SiderealZodiac = false;
    const MotionBounds m = SkyMotionBounds(e);
    const double from = 2447892.5, to = from + 2 * 365.25;  // 1990 and 1991
    for (const Body b : {kMercury, kVenus, kMars, kJupiter, kSaturn, kUranus, kNeptune}) {
        SCOPED_TRACE(std::string("body ") + std::to_string(Index(b)));
        ChangeBounds bounds = PairBounds(m, {kSun, b, kConjunction, std::nullopt});
        bounds.angle = true;
        bounds.rough = SunPassages(m, b, from, to);
        bounds.roughNoise = m.deflection;
        ASSERT_FALSE(bounds.rough.empty());
        size_t asked = 0;
        const TimeFunction f = [&](double jd) {
            ++asked;
            return *e.Longitude(b, JulianDate(jd)) - *e.Longitude(kSun, JulianDate(jd));
        };
        std::vector<double> levels = {0, 8 * kDegree};
        for (const double orb : {0.3, 0.9, 1.0, 1.1, 1.2, 1.4, 1.7})
            for (const int side : {1, -1}) levels.push_back(side * orb * kDegree);
        const Result<std::vector<Crossing>> full = FindCrossings(f, bounds, {from, to, {}}, levels);
        const size_t fullAsked = asked;
        asked = 0;
        bounds.roughKeepsSign = true;
        const Result<std::vector<Crossing>> kept = FindCrossings(f, bounds, {from, to, {}}, levels);
        ASSERT_TRUE(full && kept);
        EXPECT_EQ(*kept, *full);
        EXPECT_GE(full->size(), 4u);
        EXPECT_LT(asked + 15 * bounds.rough.size(), fullAsked) << asked << " of " << fullAsked;
    }
}

// The lists of vek-cli transits with points are the single searches of each
// body and point together: to natal points and to the moving points, two
// months, the same instants, bodies, points and aspects in time order.
TEST(AspectInstants, TransitsToPointsAreTheSingleSearchesTogether) {
    Engine& e = RealEngine();
    const MotionBounds m = SkyMotionBounds(e);
    const double birth = 2437120.208333, from = 2461000.5, to = from + 60;
    std::vector<PointPosition> natal;
    for (const ExtraPoint p : kAllExtraPoints) natal.push_back(ComputeExtraPoint(e, p, birth, false));
    for (const bool isNatal : {true, false}) {
        SCOPED_TRACE(isNatal ? "natal points" : "moving points");
        const Result<std::vector<ExactAspect>> all =
            FindExactAspectsToPoints(e, m, natal, isNatal, 10, from, to);
        ASSERT_TRUE(all) << all.message();
        std::vector<ExactAspect> single;
        for (const PointPosition& p : natal)
            for (const Body mv : AllBodies())
                for (const Aspect a : AllAspects()) {
                    AspectPair pair{kSun, mv, a, std::nullopt, p.point};
                    if (isNatal) pair.fixedFirst = p.longitude;
                    const Result<std::vector<AspectInstant>> r =
                        FindAspectInstants(e, m, pair, 0, from, to);
                    ASSERT_TRUE(r) << r.message();
                    for (const AspectInstant& i : *r)
                        single.push_back({i.jd, mv, kSun, a, i.branch, 0, p.point});
                }
        SortExactAspects(single);
        ASSERT_EQ(all->size(), single.size());
        EXPECT_GT(single.size(), 90u);
        for (size_t i = 0; i < single.size(); ++i) {
            const ExactAspect& x = (*all)[i];
            const ExactAspect* s = &single[i];
            for (size_t j = i > 0 ? i - 1 : 0; j < std::min(single.size(), i + 2); ++j)
                if (single[j].moving == x.moving && single[j].otherPoint == x.otherPoint &&
                    single[j].aspect == x.aspect && std::fabs(single[j].jd - x.jd) < 5 * kSecond)
                    s = &single[j];
            EXPECT_NEAR(x.jd, s->jd, 2 * kSecond) << i;
            EXPECT_EQ(x.moving, s->moving) << i;
            EXPECT_EQ(x.otherPoint, s->otherPoint) << i;
            EXPECT_EQ(OtherNumber(x), PointNumber(*s->otherPoint)) << i;
            EXPECT_EQ(x.aspect, s->aspect) << i;
            EXPECT_EQ(x.branch, s->branch) << i;
            if (i > 0) {
                EXPECT_GE(x.jd, (*all)[i - 1].jd);
            }
        }
    }
    // A natal point without a position takes no part.
    std::vector<PointPosition> none{{ExtraPoint::Chiron, platform::kNotCovered}};
    const Result<std::vector<ExactAspect>> empty = FindExactAspectsToPoints(e, m, none, true, 10, from, to);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

}  // namespace
}  // namespace vek
