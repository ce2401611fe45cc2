#include "app/pattern_search.h"

#include <gtest/gtest.h>

#include "app/compute.h"
#include "app/program_state.h"
#include "../date_answers.h"

namespace vek {
namespace {

using testing::DaysOf;

std::string RowText(const DateRowFields& r) {
    return r.yearText + "-" + std::to_string(r.monthIndex) + "-" + std::to_string(r.dayIndex) +
           " t" + std::to_string(r.timeIndex) + " z" + std::to_string(r.zoneIndex);
}

// A program state on the real ephemeris and texts next to the programs.
class PatternSearch : public ::testing::Test {
  protected:
    void SetUp() override {
        const Status loaded = state.LoadTexts(VEK_BIN_DIR);
        ASSERT_TRUE(loaded) << loaded.message();
        state.engine.Initialize(std::string(VEK_BIN_DIR) + "/");
        const Status pluto = state.engine.LoadPlutoTable();
        ASSERT_TRUE(pluto) << pluto.message();
        state.SetLanguage(kEnglish);
        ApplySettingsToEngine(state.settings, state.engine);
        SetWorld(1, 1, "2000");
    }
    void SetWorld(int month, int day, const char* year) {
        state.rows.Row(kWorldDate) = {month, day, year, 25, kGreenwichZoneIndex};
    }
    // The counts a run sees after one step: cleared, then the full compute.
    void FullCounts(PatternArray<int16_t>& counts) {
        for (int16_t& c : state.results.PatternCount.values) c = 0;
        ASSERT_TRUE(state.Compute({Mode::World, false, false}));
        for (Pattern p : AllPatterns()) counts[p] = state.results.PatternCount[p];
    }
    ProgramState state;
};

// The positions-only test gives the counts of the full compute in every
// slot, stellia and midpoints included, over a sample of weekly steps.
TEST_F(PatternSearch, CountsEqualTheFullComputeOnASample) {
    for (int include = 0; include < 2; ++include) {
        state.settings.accepted.IncludeMoon = state.settings.controls.includeMoon = include == 1;
        ApplySettingsToEngine(state.settings, state.engine);
        SetWorld(3, 1, "1987");
        PatternArray<int> nonzero{};
        for (int i = 0; i < 400; ++i) {
            ASSERT_TRUE(StepWorldDate(state.rows, kStepWeek, kStepForward).accepted());
            PatternArray<int16_t> full{};
            FullCounts(full);
            const double jd = state.results.DateJD[kWorldDate].days;
            const Chart chart = PatternChart(state.engine, jd);
            for (Pattern p : AllPatterns()) {
                const PatternHits hits = PatternHitsAt(chart, state.engine.orbs,
                                                       state.settings.controls.midpointOrbIndex, p);
                ASSERT_EQ(hits.count, full[p]) << "pattern " << Index(p) << " at " << jd;
                if (hits.count) ++nonzero[p];
            }
        }
        // The sample must exercise the common patterns, or it proves little.
        EXPECT_GT(nonzero[kGrandTrine], 0);
        EXPECT_GT(nonzero[kTSquare], 0);
        EXPECT_GT(nonzero[kStellium3], 0);
        EXPECT_GT(nonzero[kMidpoint], 0);
    }
}

// The search stops where a run of full computes with the stop test stops,
// for one instance and for "at least 3".
TEST_F(PatternSearch, FirstFindIsWhereAStepByStepRunStops) {
    for (const RunTarget target : {RunTarget{kTSquare, false, 0}, RunTarget{kTSquare, true, 1},
                                   RunTarget{kGrandTrine, false, 0}}) {
        SetWorld(6, 15, "1995");
        PatternArray<int16_t> counts{};
        int runSteps = 0;
        do {
            ASSERT_TRUE(StepWorldDate(state.rows, kStepDay, kStepForward).accepted());
            ++runSteps;
            ASSERT_LT(runSteps, 5000);
            FullCounts(counts);
        } while (!RunTargetFound(target, counts));
        const DateRowFields runStop = state.rows.Row(kWorldDate);
        if (target.twoOrMore) {
            EXPECT_GE(counts[*target.pattern], 3);
        }

        SetWorld(6, 15, "1995");
        PatternSearchRequest request{target, kStepDay, 2488070.0, true};
        const Result<PatternSearchResult> r =
            SearchPattern(state.engine, state.rows, state.settings, request);
        ASSERT_TRUE(r) << r.message();
        ASSERT_EQ(r->stretches.size(), 1u);
        EXPECT_EQ(RowText(r->stretches[0].first), RowText(runStop));
        EXPECT_EQ(r->steps, runSteps);
        EXPECT_EQ(RowText(state.rows.Row(kWorldDate)), RowText(runStop));
        EXPECT_GE(static_cast<int>(r->stretches[0].instances.size()),
                  target.twoOrMore ? target.numToFindIndex + 2 : 1);
    }
}

// Stretches are maximal runs of consecutive finds, in time order, within
// the range; the row is left at the last step inside it.
TEST_F(PatternSearch, StretchesCoverExactlyTheStepsWithAFind) {
    SetWorld(1, 1, "2000");
    const double until = 2451545.0 + 365;
    PatternSearchRequest request{{kGrandTrine, false, 0}, kStepDay, until, false};
    const Result<PatternSearchResult> r =
        SearchPattern(state.engine, state.rows, state.settings, request);
    ASSERT_TRUE(r) << r.message();
    ASSERT_GT(r->stretches.size(), 1u);
    EXPECT_EQ(r->steps, 365);
    EXPECT_LE(DaysOf(state.rows.InputDateToAJDate(kWorldDate)), until);
    int found = 0;
    double lastEnd = 0;
    for (const PatternStretch& s : r->stretches) {
        EXPECT_GT(s.firstJD, lastEnd + 1.5);  // a gap of at least one step without a find
        EXPECT_NEAR(s.lastJD - s.firstJD, s.steps - 1, 1e-9);
        lastEnd = s.lastJD;
        found += s.steps;
    }
    // Count the finds one day at a time with the full compute.
    SetWorld(1, 1, "2000");
    int expected = 0;
    for (int i = 0; i < 365; ++i) {
        ASSERT_TRUE(StepWorldDate(state.rows, kStepDay, kStepForward).accepted());
        PatternArray<int16_t> counts{};
        FullCounts(counts);
        if (counts[kGrandTrine] > 0) ++expected;
    }
    EXPECT_EQ(found, expected);
}

TEST_F(PatternSearch, EndsAtTheDateRangeAndRefusesBadRequests) {
    SetWorld(12, 20, "2799");
    PatternSearchRequest request{{kTSquare, false, 0}, kStepDay, 1e9, false};
    Result<PatternSearchResult> r =
        SearchPattern(state.engine, state.rows, state.settings, request);
    ASSERT_TRUE(r) << r.message();
    EXPECT_EQ(r->steps, 11);
    ASSERT_TRUE(r->refusedCode.has_value());
    EXPECT_LT(*r->refusedCode, 0);
    EXPECT_EQ(state.rows.Row(kWorldDate).dayIndex, 31);

    request.target.pattern = std::nullopt;
    EXPECT_FALSE(SearchPattern(state.engine, state.rows, state.settings, request));
    request.target.pattern = kTSquare;
    request.interval = 7;
    EXPECT_FALSE(SearchPattern(state.engine, state.rows, state.settings, request));
    request.interval = kStepDay;
    state.rows.Row(kWorldDate).yearText = "";
    EXPECT_FALSE(SearchPattern(state.engine, state.rows, state.settings, request));
}

}  // namespace
}  // namespace vek
