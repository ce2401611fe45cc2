#include "app/pattern_run.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/pattern_search.h"
#include "../date_answers.h"
#include "remembered_sky.h"

namespace vek {
namespace {

using testing::DaysOf;

class Run : public ::testing::Test {
  protected:
    void SetUp() override {
        const Status loaded = state.LoadTexts(VEK_BIN_DIR);
        ASSERT_TRUE(loaded) << loaded.message();
        state.engine.Initialize(std::string(VEK_BIN_DIR) + "/");
        ASSERT_TRUE(state.engine.LoadPlutoTable());
        state.SetLanguage(kEnglish);
        state.rows.Row(kWorldDate) = {1, 1, "2000", 25, kGreenwichZoneIndex};
        ASSERT_TRUE(state.Compute(request));
    }
    // Ticks until the run leaves the Stepped state, at most `limit` times.
    PatternRun::Outcome RunUntilDone(int limit, int& ticks) {
        PatternRun::Outcome o = PatternRun::Outcome::Stepped;
        for (ticks = 0; ticks < limit && o == PatternRun::Outcome::Stepped; ++ticks)
            o = run.Step(state, request, message);
        return o;
    }
    ProgramState state;
    PatternRun run;
    ComputeRequest request{Mode::World, false, true};
    std::string message;
};

TEST_F(Run, WithoutAPatternRunsUntilStopped) {
    run.Start({Mode::World, {std::nullopt, false, 0}, kStepDay, false});
    int ticks = 0;
    EXPECT_EQ(RunUntilDone(60, ticks), PatternRun::Outcome::Stepped);
    EXPECT_EQ(ticks, 60);
    EXPECT_TRUE(run.InProgress());
    EXPECT_EQ(state.rows.Row(kWorldDate).monthIndex, 3);  // 1 January + 60 days
    EXPECT_EQ(state.rows.Row(kWorldDate).dayIndex, 1);
    run.Stop();
    EXPECT_FALSE(run.InProgress());
    EXPECT_EQ(run.Step(state, request, message), PatternRun::Outcome::Idle);
    EXPECT_EQ(state.rows.Row(kWorldDate).dayIndex, 1);
}

// "Find at least 3" stops at the date vek-cli find reports first, with three
// coexisting instances, and the run continues from there when started again.
TEST_F(Run, FindsWhereTheSearchFindsAndContinuesFromThere) {
    const RunTarget target{kTSquare, true, 1};
    PatternSearchRequest search{target, kStepDay, 2451545.0 + 3650, false};
    DateRows copy = state.rows;
    ApplySettingsToEngine(state.settings, state.engine);
    const Result<PatternSearchResult> expected =
        SearchPattern(state.engine, copy, state.settings, search);
    ASSERT_TRUE(expected) << expected.message();
    ASSERT_GE(expected->stretches.size(), 2u);

    run.Start({Mode::World, target, kStepDay, true});
    int ticks = 0;
    ASSERT_EQ(RunUntilDone(5000, ticks), PatternRun::Outcome::Found);
    EXPECT_FALSE(run.InProgress());
    EXPECT_GE(state.results.PatternCount[kTSquare], 3);
    EXPECT_DOUBLE_EQ(state.results.DateJD[kWorldDate].days, expected->stretches[0].firstJD);
    EXPECT_NE(message.find("T-square"), std::string::npos) << message;

    // Started again, the next step moves on first: the stretch's later days
    // are finds again, so a new find lies at most one day after the last.
    run.Start(run.Choice());
    ASSERT_EQ(RunUntilDone(5000, ticks), PatternRun::Outcome::Found);
    const PatternStretch& s = expected->stretches[0];
    const double next = s.steps > 1 ? s.firstJD + 1 : expected->stretches[1].firstJD;
    EXPECT_DOUBLE_EQ(state.results.DateJD[kWorldDate].days, next);
}

TEST_F(Run, AStepOutOfTheDatesEndsSteppingButNotTheRun) {
    state.rows.Row(kWorldDate) = {12, 31, "2799", 25, kGreenwichZoneIndex};
    run.Start({Mode::World, {kTSquare, false, 0}, kStepDay, false});
    EXPECT_EQ(run.Step(state, request, message), PatternRun::Outcome::Refused);
    EXPECT_FALSE(message.empty());
    EXPECT_TRUE(run.InProgress());
    EXPECT_FALSE(run.Stepping());
    EXPECT_EQ(state.rows.Row(kWorldDate).yearText, "2799");
    EXPECT_EQ(state.rows.Row(kWorldDate).dayIndex, 31);
    EXPECT_EQ(run.Step(state, request, message), PatternRun::Outcome::Idle);
    run.Stop();
    EXPECT_FALSE(run.InProgress());
}

TEST_F(Run, PersonalTransitsNeverStopOnAPatternAndTickSlowly) {
    state.rows.Row(kBirth1) = {7, 4, "1960", 25, kGreenwichZoneIndex};
    request.mode = Mode::Personal1;
    run.Start({Mode::Personal1, {kTSquare, false, 0}, kStepDay, true});
    EXPECT_EQ(run.Choice().target.pattern, std::nullopt);
    EXPECT_EQ(run.TickMilliseconds(), kRunTickSlow);
    int ticks = 0;
    EXPECT_EQ(RunUntilDone(30, ticks), PatternRun::Outcome::Stepped);

    run.Start({Mode::World, {kTSquare, false, 0}, kStepDay, true});
    EXPECT_EQ(run.TickMilliseconds(), kRunTickQuick);
    run.Start({Mode::World, {kTSquare, false, 0}, kStepDay, false});
    EXPECT_EQ(run.TickMilliseconds(), kRunTickSlow);
}

std::string RowText(const DateRowFields& r) {
    return r.yearText + "-" + std::to_string(r.monthIndex) + "-" + std::to_string(r.dayIndex) +
           " t" + std::to_string(r.timeIndex);
}

// What a run showed: every find with the row, date, all counts and message,
// the dates of the other ticks, and how it ended.
struct RunTrace {
    std::vector<std::string> finds;
    std::vector<double> shown;
    std::string end;
    int64_t skipped = 0;
};

// Runs from `from` until the date shown passes `untilJD` or the dates end,
// starting again after every find as the run dialog's "Run" does.
RunTrace Trace(ProgramState& state, PatternRun& run, RunChoice choice, const DateRowFields& from,
               double untilJD) {
    RunTrace t;
    state.rows.Row(kWorldDate) = from;
    const ComputeRequest request{Mode::World, false, true};
    EXPECT_TRUE(state.Compute(request));
    std::string message;
    run.Start(choice);
    for (int ticks = 0; ticks < 100000; ++ticks) {
        const PatternRun::Outcome o = run.Step(state, request, message);
        const double jd = state.results.DateJD[kWorldDate].days;
        if (o == PatternRun::Outcome::Found) {
            if (jd > untilJD) break;
            t.shown.push_back(jd);
            std::string find = RowText(state.rows.Row(kWorldDate)) + " " + std::to_string(jd);
            for (Pattern p : AllPatterns())
                find += " " + std::to_string(state.results.PatternCount[p]);
            t.finds.push_back(find + " " + message);
            t.skipped += run.StepsSkipped();
            run.Start(run.Choice());
            continue;
        }
        if (o != PatternRun::Outcome::Stepped) {
            t.end = RowText(state.rows.Row(kWorldDate)) + " " + std::to_string(jd) + " " +
                    message + (run.InProgress() ? " in progress" : "");
            break;
        }
        if (jd > untilJD) break;
        t.shown.push_back(jd);
    }
    t.skipped += run.StepsSkipped();
    return t;
}

// A run that passes over the steps without the pattern finds what a run that
// computes every step finds: the same dates, counts and messages, and the
// same end at the last date; every date it shows is one the other shows too,
// later at every tick.
// Returns the steps the second run passed over.
int64_t ExpectRunsAgree(ProgramState& state, PatternRun& run, RunChoice choice,
                        const DateRowFields& from, double untilJD, const std::string& what) {
    choice.method = SearchMethod::StepByStep;
    const RunTrace plain = Trace(state, run, choice, from, untilJD);
    choice.method = SearchMethod::Skipping;
    const RunTrace skip = Trace(state, run, choice, from, untilJD);
    EXPECT_EQ(plain.skipped, 0) << what;
    EXPECT_EQ(skip.finds, plain.finds) << what;
    EXPECT_EQ(skip.end, plain.end) << what;
    const std::set<double> plainShown(plain.shown.begin(), plain.shown.end());
    for (size_t i = 0; i < skip.shown.size(); ++i) {
        EXPECT_TRUE(plainShown.count(skip.shown[i])) << what << ": " << skip.shown[i];
        if (i > 0) {
            EXPECT_GT(skip.shown[i], skip.shown[i - 1]) << what;
        }
    }
    return skip.skipped;
}

// On remembered positions, so that the runs compute each position once.
class RunSkipping : public Run {
  protected:
    void Configure(bool moon) {
        test::UseRememberedSky(state.engine);
        state.settings.accepted.IncludeMoon = state.settings.controls.includeMoon = moon;
        ApplySettingsToEngine(state.settings, state.engine);
    }
};

// Every pattern, once and "at least 3", with and without the Moon, in daily
// steps: the finds, their counts and the dates shown agree, and passing over
// steps is what makes the run shorter.
TEST_F(RunSkipping, DailyRunsFindTheSame) {
    const DateRowFields from{1, 1, "1990", 25, kGreenwichZoneIndex};
    const double until = 2447892.5 + 4 * 365.25;
    int64_t skipped = 0;
    for (const bool moon : {true, false}) {
        Configure(moon);
        for (Pattern p : AllPatterns())
            for (const bool atLeast : {false, true}) {
                const std::string what = std::string(moon ? "Moon" : "no Moon") + ", pattern " +
                                         std::to_string(Index(p)) + (atLeast ? ", at least 3" : "");
                const RunChoice choice{Mode::World, {p, atLeast, 1}, kStepDay, true};
                skipped += ExpectRunsAgree(state, run, choice, from, until, what);
                if (HasFailure()) return;
            }
    }
    // Passing over steps is the point: most of the days are without the
    // rarer patterns.
    EXPECT_GT(skipped, 14 * 2 * 3 * 365);
}

// Other intervals: half hours with the Moon, weeks, months and years, and the
// run that meets the end of the dates: it shows the last accepted day, then
// refuses the step after it and stays in progress, as the plain run does.
TEST_F(RunSkipping, OtherIntervalsAndTheEndOfTheDatesAgree) {
    Configure(true);
    struct Case {
        int interval;
        DateRowFields from;
        double days;
        std::vector<Pattern> patterns;
    };
    const std::vector<Case> cases = {
        {kStepHalfHour, {3, 1, "2001", 25, kGreenwichZoneIndex}, 40, {kStellium3, kTSquare, kYod}},
        {kStepWeek, {1, 1, "1900", 25, kGreenwichZoneIndex}, 40 * 365.25,
         {kGrandTrine, kKite, kRectangle, kStellium4}},
        {kStepMonth, {1, 31, "1700", 25, kGreenwichZoneIndex}, 200 * 365.25,
         {kGrandTrine, kTrapezium, kMidpoint}},
        {kStepYear, {2, 29, "1604", 25, kGreenwichZoneIndex}, 500 * 365.25,
         {kGrandTrine, kGrandCross}},
        {kStepDay, {6, 1, "2799", 25, kGreenwichZoneIndex}, 400, {kGrandSextile, kGrandTrine}},
    };
    for (const Case& c : cases)
        for (const Pattern p : c.patterns) {
            state.rows.Row(kWorldDate) = c.from;
            const double start = DaysOf(state.rows.InputDateToAJDate(kWorldDate));
            const RunChoice choice{Mode::World, {p, false, 0}, c.interval, true};
            ExpectRunsAgree(state, run, choice, c.from, start + c.days,
                            "interval " + std::to_string(c.interval) + ", pattern " +
                                std::to_string(Index(p)));
            if (HasFailure()) return;
        }
    // The last case ended at the dates' end, not at its span.
    const RunTrace end = Trace(state, run, {Mode::World, {kGrandSextile, false, 0}, kStepDay, true},
                               {6, 1, "2799", 25, kGreenwichZoneIndex}, 1e9);
    EXPECT_NE(end.end.find("2799-12-31"), std::string::npos) << end.end;
    EXPECT_NE(end.end.find("in progress"), std::string::npos) << end.end;
}

// With a limit on the steps one tick may pass over, the date shown moves on
// by at most that many steps more than one, and the finds stay the same.
TEST_F(RunSkipping, ALimitedTickStillAdvancesAndFindsTheSame) {
    Configure(false);
    const DateRowFields from{1, 1, "1980", 25, kGreenwichZoneIndex};
    const double until = 2444239.5 + 3 * 365.25;
    const RunChoice choice{Mode::World, {kGrandTrine, false, 0}, kStepDay, false,
                           SearchMethod::Skipping};
    RunChoice plainChoice = choice;
    plainChoice.method = SearchMethod::StepByStep;
    const RunTrace plain = Trace(state, run, plainChoice, from, until);
    run.SetSkipLimit(9, std::chrono::milliseconds(1000));
    const RunTrace limited = Trace(state, run, choice, from, until);
    EXPECT_EQ(limited.finds, plain.finds);
    ASSERT_GT(limited.shown.size(), 10u);
    for (size_t i = 1; i < limited.shown.size(); ++i) {
        EXPECT_GT(limited.shown[i], limited.shown[i - 1]);
        EXPECT_LE(limited.shown[i] - limited.shown[i - 1], 10.0);
    }
    // Unlimited steps, the time left to the tick: far fewer ticks.
    run.SetSkipLimit(INT32_MAX, std::chrono::milliseconds(1000));
    const RunTrace unlimited = Trace(state, run, choice, from, until);
    EXPECT_EQ(unlimited.finds, plain.finds);
    EXPECT_LT(unlimited.shown.size() * 4, limited.shown.size());
}

TEST(RunButton, OfferedWithTheChartForSteppingModes) {
    EXPECT_TRUE(RunButtonOffered(true, false, true, Mode::World, kStepDay, false));
    EXPECT_TRUE(RunButtonOffered(true, false, true, Mode::Personal2, kStepHalfHour, true));
    EXPECT_FALSE(RunButtonOffered(true, false, true, Mode::World, kStepHalfHour, false));
    EXPECT_FALSE(RunButtonOffered(false, false, true, Mode::World, kStepDay, true));
    EXPECT_FALSE(RunButtonOffered(true, true, true, Mode::World, kStepDay, true));
    EXPECT_FALSE(RunButtonOffered(true, false, false, Mode::World, kStepDay, true));
    EXPECT_FALSE(RunButtonOffered(true, false, true, Mode::Natal1, kStepDay, true));
    EXPECT_FALSE(RunButtonOffered(true, false, true, Mode::Synastry, kStepDay, true));
}

}  // namespace
}  // namespace vek
