#include "time/aspect_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "../fake_sky.h"
#include "engine/aspects.h"
#include "engine/engine.h"

namespace vek {
namespace {
using testing::kBeforeData;
using testing::kAfterData;

constexpr double kDeg = kTwoPi / 360.0;

// The World date of these tests: day number D (1 January 2000) at local
// noon, as a local day value. At GMT its noon is Julian date kDay and the
// midnight that starts it kDay − 0.5.
constexpr double kDay = 2451545;
constexpr double kNoon = kDay + 0.5;

// Bodies moving at constant speed: longitude = start + speed × (jd − epoch),
// with positions only from `firstJd` to `lastJd`.
struct LinearSky {
    BodyArray<double> start{};  // degrees at the epoch
    BodyArray<double> speed{};  // degrees per day
    double epoch = kDay - 0.5;  // 0 h UT of the World date
    double firstJd = -1e9;
    double lastJd = 1e9;
    mutable int calls = 0;

    SkyLongitude operator()(Body body, double jd) const {
        ++calls;
        if (jd < firstJd) return kBeforeData;
        if (jd > lastJd) return kAfterData;
        return SkyLongitude(NormalizeAngle((start[body] + speed[body] * (jd - epoch)) * kDeg));
    }
    LongitudeFn Source() const {
        return [this](Body body, JulianDate jd) { return (*this)(body, jd.days); };
    }
};

OrbTable Orbs(double degrees) {
    OrbTable e;
    for (Aspect a : AllAspects())
        for (double& orb : e.orb[a].values) orb = degrees * kDeg;
    return e;
}

// The Sun moving 1° a day, exact conjunction with a fixed Mars at `exactAt`
// (a Julian date).
LinearSky SunPassingMars(double exactAt) {
    LinearSky sky;
    sky.speed[kSun] = 1;
    sky.start[kMars] = 100;
    sky.start[kSun] = 100 - (exactAt - sky.epoch);
    return sky;
}

TEST(AspectSearch, AnAspectWithinTheWorldDateBeginsAndEndsOnIt) {
    // Exact at local noon (zone GMT); 0.4° orb holds for 0.8 days, so at
    // neither midnight of the World date.
    LinearSky sky = SunPassingMars(kDay);
    OrbTable e = Orbs(0.4);
    AspectSearch s(sky.Source(), e, kNoon, 0);
    EXPECT_EQ(s.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase), kDay);
    EXPECT_EQ(s.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kDay);
}

TEST(AspectSearch, FindsTheDatesDuringWhichTheAspectBeginsAndEnds) {
    // Exact at noon of the World date (GMT) with a 10° orb: the aspect holds
    // from noon ten days before to noon ten days after.
    LinearSky sky = SunPassingMars(kDay);
    OrbTable e = Orbs(10);
    AspectSearch s(sky.Source(), e, kNoon, 0);
    EXPECT_EQ(s.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase), kDay - 10);
    EXPECT_EQ(s.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kDay + 10);

    // Only the date counts, not the time of day.
    AspectSearch early(sky.Source(), e, kDay + 0.01, 0);
    AspectSearch late(sky.Source(), e, kDay + 0.99, 0);
    EXPECT_EQ(early.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase), kDay - 10);
    EXPECT_EQ(late.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kDay + 10);

    // The result is a whole day number, also where the zone is not a whole
    // number of hours in days.
    AspectSearch india(sky.Source(), e, kNoon, 330);
    double b = india.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase);
    EXPECT_EQ(b, std::floor(b));
}

TEST(AspectSearch, TheZoneMovesTheMidnights) {
    // Exact at 06:00 UT of the World date, 10° orb: holds from 06:00 UT ten
    // days before until 06:00 UT ten days after. At GMT-8:00 those instants
    // are 22:00 local of the day before, so both dates fall one day earlier.
    LinearSky sky = SunPassingMars(kDay - 0.25);
    OrbTable e = Orbs(10);
    AspectSearch gmt(sky.Source(), e, kNoon, 0);
    AspectSearch west(sky.Source(), e, kNoon, -480);
    EXPECT_EQ(gmt.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase), kDay - 10);
    EXPECT_EQ(gmt.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kDay + 10);
    EXPECT_EQ(west.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase), kDay - 11);
    EXPECT_EQ(west.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kDay + 9);
}

TEST(AspectSearch, ANamedZoneWalksTheLocalDaysOfTheOffsetInForce) {
    // World date 20 March 2026 in Berlin (CET, +1:00); the clocks go to CEST
    // (+2:00) on 29 March. The Sun passes a fixed Mars, holding a 10° orb
    // from 11 March 22:30 UT (23:30 CET) to 31 March 22:30 UT (00:30 CEST on
    // 1 April). The beginning lies in winter time, the end in summer time: a
    // fixed offset gets one of them wrong, the named zone both right.
    constexpr double kMarch20 = 2461120, kMarch11 = 2461111, kMarch12 = 2461112;
    constexpr double kMarch31 = 2461131, kApril1 = 2461132;
    const double endsAt = kMarch31 - 0.5 + 22.5 / 24;
    LinearSky sky = SunPassingMars(endsAt - 10);
    OrbTable e = Orbs(10);
    const double worldDay = kMarch20 + 0.5;  // local noon

    AspectSearch berlin(sky.Source(), e, worldDay, 60);
    berlin.UseNamedZone(TimeZone::Named("Europe/Berlin"));
    EXPECT_EQ(berlin.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase), kMarch11);
    EXPECT_EQ(berlin.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kApril1);
    // Every step also walks the local days: day by day the same dates.
    berlin.SetStepping(SearchStepping::EveryMidnight);
    EXPECT_EQ(berlin.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase), kMarch11);
    EXPECT_EQ(berlin.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kApril1);

    AspectSearch winter(sky.Source(), e, worldDay, 60);
    EXPECT_EQ(winter.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase), kMarch11);
    EXPECT_EQ(winter.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kMarch31);
    AspectSearch summer(sky.Source(), e, worldDay, 120);
    EXPECT_EQ(summer.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase), kMarch12);
    EXPECT_EQ(summer.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kApril1);

    // A fixed zone given as one changes nothing; a zone the database does
    // not know gives unknown dates, not those of some other offset.
    AspectSearch fixed(sky.Source(), e, worldDay, 60);
    fixed.UseNamedZone(TimeZone::Fixed(120));
    EXPECT_EQ(fixed.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kMarch31);
    AspectSearch unknown(sky.Source(), e, worldDay, 60);
    unknown.UseNamedZone(TimeZone::Named("Europe/Atlantis"));
    EXPECT_EQ(unknown.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase), kUnknownDate);
    EXPECT_EQ(unknown.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kUnknownDate);
}

TEST(AspectSearch, UsesTheOrbColumnItIsGiven) {
    LinearSky sky = SunPassingMars(kDay);
    OrbTable e = Orbs(10);
    for (Aspect a : AllAspects()) e.orb[a][kOrbPersonal] = 3 * kDeg;
    AspectSearch s(sky.Source(), e, kNoon, 0);
    EXPECT_EQ(s.BeginningOfAspect(kSun, kMars, kConjunction, kOrbPersonal), kDay - 3);
    EXPECT_EQ(s.EndOfAspect(kSun, kMars, kConjunction, kOrbPersonal), kDay + 3);
}

TEST(AspectSearch, AWalkIntoADateWithoutPositionsGivesAnUnknownDate) {
    LinearSky sky = SunPassingMars(kDay);
    sky.lastJd = kDay + 5;
    OrbTable e = Orbs(10);
    AspectSearch s(sky.Source(), e, kNoon, 0);
    EXPECT_EQ(s.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase), kDay - 10);
    EXPECT_EQ(s.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kUnknownDate);

    // An invalid World date finds nothing; an aspect number outside 1..7 is
    // no Aspect and cannot be asked for.
    AspectSearch invalid(sky.Source(), e, -2, 0);
    EXPECT_EQ(invalid.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase), kUnknownDate);
    static_assert(!std::is_invocable_v<decltype(&AspectSearch::EndOfAspect), const AspectSearch&,
                                       Body, Body, int, OrbColumn>);
}

TEST(AspectSearch, AnAspectThatNeverEndsIsCutOff) {
    // Two bodies that keep their distance forever.
    LinearSky sky;
    sky.start[kSun] = 10;
    sky.start[kMars] = 12;
    sky.speed[kSun] = sky.speed[kMars] = 1;
    OrbTable e = Orbs(10);
    AspectSearch s(sky.Source(), e, kNoon, 0);
    EXPECT_EQ(s.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kUnknownDate);
}

TEST(AspectSearch, PersonalTransitsKeepTheNatalBodyAtItsBirthPosition) {
    // The natal Moon (body 10) at 100° at birth; the sky's Moon has moved on
    // since, but only its birth position counts. Transiting Mars moves 0.5° a
    // day and is exact at the World date's noon.
    LinearSky sky;
    const double birth = kDay - 10000;
    sky.speed[kMoon] = 13;
    sky.start[kMoon] = 100 - 13 * (birth - sky.epoch);
    sky.speed[kMars] = 0.5;
    sky.start[kMars] = 100 - 0.5 * 0.5;
    OrbTable e = Orbs(3);
    AspectSearch s(sky.Source(), e, kNoon, 0);
    s.FixFirstBodyAt(JulianDate(birth));
    // 3° at 0.5° a day: six days either side of noon.
    EXPECT_EQ(s.BeginningOfAspect(kMoon, kMars, kConjunction, kOrbBase), kDay - 6);
    EXPECT_EQ(s.EndOfAspect(kMoon, kMars, kConjunction, kOrbBase), kDay + 6);

    // A natal body without a position at birth finds nothing.
    sky.firstJd = birth + 1;
    EXPECT_EQ(s.BeginningOfAspect(kMoon, kMars, kConjunction, kOrbBase), kUnknownDate);
    EXPECT_EQ(s.EndOfAspect(kMoon, kMars, kConjunction, kOrbBase), kUnknownDate);
}

TEST(AspectSearch, TwoSlowBodiesTakeLargeStepsThatFindTheSameDates) {
    // Uranus and Pluto closing in at 0.05° a day, exact at the World date:
    // a 10° conjunction lasts 400 days.
    LinearSky sky;
    sky.speed[kUranus] = 0.06;
    sky.speed[kPluto] = 0.01;
    sky.start[kPluto] = 200;
    sky.start[kUranus] = 200 - 0.05 * 0.5;
    OrbTable e = Orbs(10);
    AspectSearch large(sky.Source(), e, kNoon, 0);
    AspectSearch daily(sky.Source(), e, kNoon, 0);
    daily.SetStepping(SearchStepping::DayByDay);

    sky.calls = 0;
    const double b1 = large.BeginningOfAspect(kUranus, kPluto, kConjunction, kOrbBase);
    const double e1 = large.EndOfAspect(kUranus, kPluto, kConjunction, kOrbBase);
    const int largeCalls = sky.calls;
    sky.calls = 0;
    const double b2 = daily.BeginningOfAspect(kUranus, kPluto, kConjunction, kOrbBase);
    const double e2 = daily.EndOfAspect(kUranus, kPluto, kConjunction, kOrbBase);
    const int dailyCalls = sky.calls;

    EXPECT_EQ(b2, kDay - 200);
    EXPECT_EQ(e2, kDay + 200);
    EXPECT_EQ(b1, b2);
    EXPECT_EQ(e1, e2);
    EXPECT_LT(largeCalls * 3, dailyCalls);
}

TEST(AspectSearch, ALargeStepMayOvershootAFastCrossing) {
    // A pair above Saturn moving 2° a day relative to each other (faster
    // than any real pair), exact just before the World date began: one-day
    // steps find the end four days later, while the first large step
    // (exactness 0.78, 8 days) already lands beyond the orb.
    LinearSky sky;
    sky.speed[kUranus] = 2;
    sky.start[kPluto] = 50;
    sky.start[kUranus] = 50.2;
    OrbTable e = Orbs(10);
    AspectSearch large(sky.Source(), e, kNoon, 0);
    AspectSearch daily(sky.Source(), e, kNoon, 0);
    daily.SetStepping(SearchStepping::DayByDay);
    EXPECT_EQ(daily.EndOfAspect(kUranus, kPluto, kConjunction, kOrbBase), kDay + 4);
    EXPECT_EQ(large.EndOfAspect(kUranus, kPluto, kConjunction, kOrbBase), kDay + 8);

    // A Sun–Mars pair never takes large steps: the Sun at 1° a day, exact
    // 0.2 days before the World date began, leaves the orb after 9.8 days.
    LinearSky inner;
    inner.speed[kSun] = 1;
    inner.start[kMars] = 50;
    inner.start[kSun] = 50.2;
    AspectSearch sunMars(inner.Source(), e, kNoon, 0);
    EXPECT_EQ(sunMars.EndOfAspect(kSun, kMars, kConjunction, kOrbBase), kDay + 9);
}

TEST(AspectSearch, SkippingMidnightsThatMustHoldFindsTheSameDates) {
    // Mars and Jupiter at their real top speeds, in every aspect, orbs from
    // tight to wide, exact at various times of day: the walk that skips
    // finds what the walk testing every midnight finds, with fewer positions.
    for (Aspect aspect : AllAspects()) {
        for (double orb : {1.0, 4.5, 10.0, 15.0}) {
            for (double hours : {0.0, 5.5, 13.0, 23.9}) {
                LinearSky sky;
                sky.speed[kMars] = 0.79;
                sky.speed[kJupiter] = -0.24;
                sky.start[kJupiter] = 10;
                const double exactAt = sky.epoch + hours / 24;
                sky.start[kMars] = 10 + AspectAngleOf(aspect) / kDeg - 1.03 * (exactAt - sky.epoch);
                OrbTable e = Orbs(orb);
                AspectSearch fast(sky.Source(), e, kNoon, 60);
                AspectSearch every(sky.Source(), e, kNoon, 60);
                every.SetStepping(SearchStepping::EveryMidnight);
                sky.calls = 0;
                const double b1 = fast.BeginningOfAspect(kMars, kJupiter, aspect, kOrbBase);
                const double e1 = fast.EndOfAspect(kMars, kJupiter, aspect, kOrbBase);
                const int fastCalls = sky.calls;
                sky.calls = 0;
                const double b2 = every.BeginningOfAspect(kMars, kJupiter, aspect, kOrbBase);
                const double e2 = every.EndOfAspect(kMars, kJupiter, aspect, kOrbBase);
                SCOPED_TRACE(::testing::Message() << Index(aspect) << " " << orb << " " << hours);
                EXPECT_GE(b1, 0);
                EXPECT_EQ(b1, b2);
                EXPECT_EQ(e1, e2);
                EXPECT_LE(fastCalls, sky.calls);
                if (orb >= 10) {
                    EXPECT_LT(fastCalls * 2, sky.calls);
                }
            }
        }
    }
}

// The real sky around each body's fastest dates: the walk that skips
// midnights finds what testing every midnight finds, so no body moves faster
// than the daily motions the skipping assumes. The transit body starts at
// various distances inside a wide conjunction with a natal point, so that the
// orb's edge is crossed at every time of day; the Sun's dates run across a
// new year in the sidereal zodiac too, where the correction steps.
TEST(AspectSearch, SkippingHoldsAtEachBodysFastestDates) {
    Engine engine;
    engine.Initialize(VEK_BIN_DIR);
    ASSERT_TRUE(engine.LoadPlutoTable());
    struct Window {
        Body body;
        double first;  // Julian dates of the World dates tried, every `step` days
        double last;
        double step;
    };
    const Window windows[] = {
        {kSun, 2451535.5, 2451552.5, 1},       // perihelion, 2000 January 3
        {kMoon, 2451545.5, 2451575.5, 1},      // a whole anomalistic month
        {kMercury, 2451545.5, 2451665.5, 2},   // a whole synodic period
        {kVenus, 2451680.5, 2451740.5, 3},     // superior conjunction 2000 June 11
        {kMars, 2452440.5, 2452560.5, 4},      // conjunction 2002 August 10
        {kJupiter, 2455620.5, 2455700.5, 4},   // conjunction near perihelion, 2011
        {kSaturn, 2452780.5, 2452850.5, 5},    // conjunction near perihelion, 2003
        {kUranus, 2469808.5, 2470173.5, 15},   // near perihelion, 2050
        {kNeptune, 2466885.5, 2467250.5, 15},  // near perihelion, 2042
        {kPluto, 2447700.5, 2447960.5, 10},    // perihelion, 1989
    };
    constexpr double kNatalJd = 1;  // stands for the birth instant below
    for (bool sidereal : {false, true}) {
        engine.SiderealZodiac = sidereal;
        for (const Window& w : windows) {
            if (sidereal && w.body != kSun) continue;
            const double motion = MaxDailyMotion(w.body) / kDeg;
            const double orb = std::min(30 * motion, 90.0);
            const OrbTable e = Orbs(orb);
            for (double jd = w.first; jd <= w.last; jd += w.step) {
                for (double offset : {0.0, 0.3, 0.55, 0.8}) {
                    const double natal = *engine.Longitude(w.body, JulianDate(jd)) + offset * motion * kDeg;
                    LongitudeFn source = [&](Body body, JulianDate at) {
                        if (at.days == kNatalJd) return SkyLongitude(NormalizeAngle(natal));
                        return engine.Longitude(body, at);
                    };
                    AspectSearch fast(source, e, jd + 0.5, 0);
                    AspectSearch every(source, e, jd + 0.5, 0);
                    every.SetStepping(SearchStepping::EveryMidnight);
                    fast.FixFirstBodyAt(JulianDate(kNatalJd));
                    every.FixFirstBodyAt(JulianDate(kNatalJd));
                    const Body natalBody = w.body == kSun ? kMars : kSun;
                    SCOPED_TRACE(::testing::Message()
                                 << Index(w.body) << " " << jd << " " << offset << " " << sidereal);
                    const double begins = every.BeginningOfAspect(natalBody, w.body, kConjunction, kOrbPersonal);
                    const double ends = every.EndOfAspect(natalBody, w.body, kConjunction, kOrbPersonal);
                    ASSERT_GT(begins, 0);
                    ASSERT_GT(ends, 0);
                    EXPECT_EQ(fast.BeginningOfAspect(natalBody, w.body, kConjunction, kOrbPersonal), begins);
                    EXPECT_EQ(fast.EndOfAspect(natalBody, w.body, kConjunction, kOrbPersonal), ends);
                }
            }
        }
    }
}

TEST(LongitudeCache, AnswersRepeatedQuestionsWithoutTheSource) {
    LinearSky sky = SunPassingMars(kDay);
    LongitudeCache cache(sky.Source());
    OrbTable e = Orbs(10);
    AspectSearch direct(sky.Source(), e, kNoon, 0);
    AspectSearch cached(cache.AsSource(), e, kNoon, 0);

    const double b = cached.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase);
    const size_t first = cache.Computed();
    EXPECT_EQ(cached.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase), b);
    EXPECT_EQ(cache.Computed(), first);
    EXPECT_EQ(cache.Reused(), first);
    EXPECT_EQ(b, direct.BeginningOfAspect(kSun, kMars, kConjunction, kOrbBase));

    // Different bodies or instants are different questions.
    EXPECT_NE(cache.Longitude(kSun, JulianDate(kDay + 3)), cache.Longitude(kSun, JulianDate(kDay + 4)));
    EXPECT_NE(cache.Longitude(kSun, JulianDate(kDay + 3)), cache.Longitude(kMars, JulianDate(kDay + 3)));
}

}  // namespace
}  // namespace vek
