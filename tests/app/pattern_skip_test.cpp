// The skipping pattern search finds exactly what the step-by-step loop finds:
// the same stretches with the same first and last rows, dates, step counts
// and instances, the same number of steps and the same end, for every pattern,
// in both zodiacs, with and without the Moon, with and without "at least".
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "app/compute.h"
#include "app/pattern_search.h"
#include "app/program_state.h"
#include "engine/bounded_sky.h"
#include "platform/ephemeris.h"
#include "remembered_sky.h"

namespace vek {
namespace {

// The sanitizer build runs the same comparisons over shorter spans.
#ifdef VEK_SANITIZED_BUILD
constexpr int kYears = 8;
constexpr double kShorter = 4;
#else
constexpr int kYears = 50;
constexpr double kShorter = 1;
#endif

std::string RowText(const DateRowFields& r) {
    return r.yearText + "-" + std::to_string(r.monthIndex) + "-" + std::to_string(r.dayIndex) +
           " t" + std::to_string(r.timeIndex);
}

class PatternSkip : public ::testing::Test {
  public:
    void SetUp() override {
        const Status loaded = state.LoadTexts(VEK_BIN_DIR);
        ASSERT_TRUE(loaded) << loaded.message();
        state.engine.Initialize(std::string(VEK_BIN_DIR) + "/");
        const Status pluto = state.engine.LoadPlutoTable();
        ASSERT_TRUE(pluto) << pluto.message();
        state.SetLanguage(kEnglish);
    }
    void Configure(bool sidereal, bool moon) {
        state.settings.accepted.SiderealZodiac = state.settings.controls.sidereal = sidereal;
        state.settings.accepted.IncludeMoon = state.settings.controls.includeMoon = moon;
        ApplySettingsToEngine(state.settings, state.engine);
    }
    Result<PatternSearchResult> Search(const DateRowFields& from, PatternSearchRequest request,
                                       SearchMethod method, DateRowFields& end) {
        state.rows.Row(kWorldDate) = from;
        request.method = method;
        Result<PatternSearchResult> r =
            SearchPattern(state.engine, state.rows, state.settings, request);
        end = state.rows.Row(kWorldDate);
        return r;
    }
    // Runs both searches and compares everything they report; returns the
    // number of stretches found.
    size_t ExpectSame(const DateRowFields& from, const PatternSearchRequest& request,
                      const std::string& what, SearchMethod method = SearchMethod::Skipping,
                      Result<PatternSearchResult>* plainOut = nullptr) {
        DateRowFields plainEnd, skipEnd;
        const Result<PatternSearchResult> plain =
            Search(from, request, SearchMethod::StepByStep, plainEnd);
        const Result<PatternSearchResult> skip = Search(from, request, method, skipEnd);
        if (plainOut) *plainOut = plain;
        EXPECT_TRUE(plain && skip) << what;
        if (!plain || !skip) return 0;
        EXPECT_EQ(skip->steps, plain->steps) << what;
        EXPECT_EQ(skip->refusedCode, plain->refusedCode) << what;
        EXPECT_EQ(RowText(skipEnd), RowText(plainEnd)) << what;
        EXPECT_EQ(skip->stretches.size(), plain->stretches.size()) << what;
        const size_t n = std::min(skip->stretches.size(), plain->stretches.size());
        for (size_t i = 0; i < n; ++i) {
            const PatternStretch& a = skip->stretches[i];
            const PatternStretch& b = plain->stretches[i];
            const std::string where = what + ", stretch " + std::to_string(i) + " from " +
                                      RowText(b.first) + " (" + std::to_string(b.firstJD) + ")";
            EXPECT_EQ(RowText(a.first), RowText(b.first)) << where;
            EXPECT_EQ(RowText(a.last), RowText(b.last)) << where;
            EXPECT_EQ(a.firstJD, b.firstJD) << where;
            EXPECT_EQ(a.lastJD, b.lastJD) << where;
            EXPECT_EQ(a.steps, b.steps) << where;
            EXPECT_TRUE(a.instances == b.instances) << where;
            if (::testing::Test::HasFailure()) break;  // one stretch tells enough
        }
        // Skipping is the point: with steps of a day or less it must compute
        // far fewer positions.
        if (request.interval <= kStepDay && plain->steps > 1000) {
            EXPECT_LT(skip->positions * 2, plain->positions) << what;
        }
        return plain->stretches.size();
    }
    void SetUpSky() { test::UseRememberedSky(state.engine); }
    ProgramState state;
};

// Daily steps over kYears years from 1950, every pattern, one instance and
// "at least 2", in one zodiac with or without the Moon.
void DailyStepsAgree(PatternSkip& t, bool sidereal, bool moon) {
    t.SetUpSky();
    t.Configure(sidereal, moon);
    const DateRowFields from{1, 1, "1950", 25, kGreenwichZoneIndex};
    const double until = 2433282.5 + kYears * 365.25;  // 1950 January 1 + kYears
    int patternsFound = 0;
    for (Pattern p : AllPatterns()) {
        size_t stretches = 0;
        for (const bool twoOrMore : {false, true}) {
            const PatternSearchRequest request{{p, twoOrMore, 0}, kStepDay, until, false};
            const std::string what = std::string(sidereal ? "sidereal" : "tropical") +
                                     (moon ? ", Moon" : ", no Moon") + ", pattern " +
                                     std::to_string(Index(p)) + (twoOrMore ? ", at least 2" : "");
            stretches += t.ExpectSame(from, request, what);
            if (::testing::Test::HasFailure()) return;
        }
        if (stretches > 0) ++patternsFound;
    }
    // The comparison means something only where patterns are found: all but
    // the rarest (6-stellium, grand sextile, yod-kite ...).
    EXPECT_GE(patternsFound, 8);
}

TEST_F(PatternSkip, DailyStepsAgreeTropicalWithTheMoon) {
    DailyStepsAgree(*this, false, true);
}
TEST_F(PatternSkip, DailyStepsAgreeTropicalWithoutTheMoon) {
    DailyStepsAgree(*this, false, false);
}
TEST_F(PatternSkip, DailyStepsAgreeSiderealWithTheMoon) {
    DailyStepsAgree(*this, true, true);
}
TEST_F(PatternSkip, DailyStepsAgreeSiderealWithoutTheMoon) {
    DailyStepsAgree(*this, true, false);
}

// The other intervals: half hours over a few weeks, weeks, months and years
// over longer spans, for every pattern with and without the Moon (tropical
// with, sidereal without), and the first find only.
TEST_F(PatternSkip, OtherIntervalsAndTheFirstFindAgree) {
    SetUpSky();
    struct Case {
        int interval;
        double days;
    };
    const Case cases[] = {{kStepHalfHour, 40},
                          {kStepWeek, 100 * 365.25 / kShorter},
                          {kStepMonth, 200 * 365.25 / kShorter},
                          {kStepYear, 499 * 365.25 / kShorter}};
    const DateRowFields from{1, 1, "1600", 25, kGreenwichZoneIndex};
    for (const bool moon : {true, false}) {
        Configure(!moon, moon);
        for (const Case& c : cases)
            for (const Pattern p : AllPatterns()) {
                const PatternSearchRequest request{
                    {p, false, 0}, c.interval, 2305447.5 + c.days, false};
                ExpectSame(from, request,
                           "interval " + std::to_string(c.interval) + ", pattern " +
                               std::to_string(Index(p)) + (moon ? ", Moon" : ", sidereal"));
                if (HasFailure()) return;
            }
    }
    Configure(false, true);
    for (const Pattern p : {kGrandTrine, kKite, kGrandCross, kStellium4}) {
        const PatternSearchRequest request{{p, false, 0}, kStepDay, 2488069.5, true};
        ExpectSame(from, request, "first find, pattern " + std::to_string(Index(p)));
    }
}

// The searches end where the dates end, and where the Moon's and Pluto's
// positions begin the skipping search still agrees (the first steps have no
// Moon and no Pluto).
TEST_F(PatternSkip, AgreesAtTheEdgesOfTheDates) {
    SetUpSky();
    Configure(false, true);
    for (const Pattern p : {kGrandTrine, kTSquare, kStellium3, kMidpoint}) {
        ExpectSame({12, 1, "1599", 25, kGreenwichZoneIndex},
                   {{p, false, 0}, kStepDay, 2305447.5 + 400, false},
                   "into 1600, pattern " + std::to_string(Index(p)));
        ExpectSame({6, 1, "2799", 25, kGreenwichZoneIndex}, {{p, false, 0}, kStepDay, 1e9, false},
                   "to the end of 2799, pattern " + std::to_string(Index(p)));
    }
}

// With the ephemeris itself (nothing remembered) the automatic search skips,
// splits the span over two threads, and finds what the step-by-step loop
// finds, also where a stretch runs on from one half into the other.
TEST_F(PatternSkip, TheEphemerisItselfGivesTheSameAnswers) {
    Configure(false, true);
    ASSERT_TRUE(PositionsFromEphemeris(state.engine));
    const DateRowFields from{1, 1, "2000", 25, kGreenwichZoneIndex};
    const double start = 2451545.0, until = 2451544.5 + 1500;
    // The halves meet between the steps around the middle of the span.
    const double middle = start + (until - start) / 2;
    bool joined = false;
    for (const Pattern p : {kGrandTrine, kTSquare, kStellium3, kMidpoint})
        for (const bool twoOrMore : {false, true}) {
            Result<PatternSearchResult> plain = Fail("not run");
            ExpectSame(from, {{p, twoOrMore, 0}, kStepDay, until, false},
                       "pattern " + std::to_string(Index(p)) + (twoOrMore ? ", at least 2" : ""),
                       SearchMethod::Automatic, &plain);
            if (HasFailure()) return;
            for (const PatternStretch& s : plain->stretches)
                joined = joined || (s.firstJD < middle && s.lastJD > middle);
        }
    EXPECT_TRUE(joined) << "no stretch across the middle: the join went untested";
}

// The halves' stretches join only where the first half's last stretch holds
// at the first half's last step. Here the middle lies just before a stretch's
// first step, so the second half begins with that stretch while the first
// half's last stretch ended days before: the two stay apart.
TEST_F(PatternSkip, TheHalvesJoinOnlyAStretchThatReachesTheMiddle) {
    Configure(false, true);
    ASSERT_TRUE(PositionsFromEphemeris(state.engine));
    const DateRowFields from{1, 1, "2000", 25, kGreenwichZoneIndex};
    const double start = 2451545.0;
    DateRowFields end;
    const Result<PatternSearchResult> plain = Search(
        from, {{kGrandTrine, false, 0}, kStepDay, start + 400, false}, SearchMethod::StepByStep,
        end);
    ASSERT_TRUE(plain);
    const PatternStretch* later = nullptr;
    for (size_t i = 1; i < plain->stretches.size() && !later; ++i)
        if (plain->stretches[i].firstJD - start > 40) later = &plain->stretches[i];
    ASSERT_NE(later, nullptr) << "no grand trine to put the middle before";
    const double middle = later->firstJD - 0.5;
    ExpectSame(from, {{kGrandTrine, false, 0}, kStepDay, 2 * middle - start, false},
               "middle before a stretch", SearchMethod::Automatic);
}

}  // namespace
}  // namespace vek
