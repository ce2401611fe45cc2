#include "app/pattern_run.h"

#include <gtest/gtest.h>

#include "app/pattern_search.h"

namespace vek {
namespace {

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
    EXPECT_DOUBLE_EQ(state.results.DateJD[kWorldDate], expected->stretches[0].firstJD);
    EXPECT_NE(message.find("T-square"), std::string::npos) << message;

    // Started again, the next step moves on first: the stretch's later days
    // are finds again, so a new find lies at most one day after the last.
    run.Start(run.Choice());
    ASSERT_EQ(RunUntilDone(5000, ticks), PatternRun::Outcome::Found);
    const PatternStretch& s = expected->stretches[0];
    const double next = s.steps > 1 ? s.firstJD + 1 : expected->stretches[1].firstJD;
    EXPECT_DOUBLE_EQ(state.results.DateJD[kWorldDate], next);
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
