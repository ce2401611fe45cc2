#include "app/program_state.h"

#include <gtest/gtest.h>

#include "../fake_sky.h"
#include "../program_texts.h"

namespace vek {
namespace {

using testing::Deg;

class State : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(state.LoadTexts(VEK_SOURCE_DATA_DIR).ok());
        state.engine = testing::FakeEngine();
        for (Body b : AllBodies()) testing::Sky().base[b] = Deg(30 * Index(b) + 7);
        state.rows.FillDateLists(kEnglish);
        state.rows.Row(kWorldDate) = {1, 1, "2000", 25, 24};
    }
    ProgramState state;
};

TEST_F(State, LoadingTextsFromAFolderWithoutThemKeepsTheTextsThatWereThere) {
    const int count = state.textTable.Count();
    ASSERT_GT(count, 200);
    const Status failed = state.LoadTexts(VEK_TEST_DATA_DIR);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().code, -1);
    EXPECT_EQ(failed.message(), "Cannot open file containing program text.\r\n" +
                                    std::string(VEK_TEST_DATA_DIR) + "/vek.dat");
    EXPECT_EQ(state.textTable.Count(), count);
    EXPECT_EQ(state.Texts().ProgramText(kTextCompute), "Compute");
}

TEST_F(State, TheLanguageSwitchReachesTextsSettingsNamesAndMonths) {
    state.SetLanguage(kGerman);
    EXPECT_EQ(state.language, kGerman);
    EXPECT_EQ(state.Texts().language(), kGerman);
    EXPECT_EQ(state.settings.accepted.CurrentLanguage, kGerman);
    EXPECT_EQ(state.engine.Language(), kGerman);
    EXPECT_EQ(state.rows.MonthList()[3], "März");
    EXPECT_EQ(state.Texts().ProgramText(kTextCompute),
              testing::RealTextTable().Get(kTextCompute, kGerman));
    EXPECT_NE(state.Texts().ProgramText(kTextCompute), "Compute");

    // Any other code is English.
    state.SetLanguage(LanguageFromCode(7));
    EXPECT_EQ(state.language, kEnglish);
    EXPECT_EQ(state.settings.accepted.CurrentLanguage, kEnglish);
    EXPECT_EQ(state.engine.Language(), kEnglish);
    EXPECT_EQ(state.rows.MonthList()[3], "March");
}

TEST_F(State, AComputeWritesItsTextsInTheStatesLanguage) {
    state.SetLanguage(kGerman);
    ASSERT_TRUE(state.Compute({Mode::World, false, false}));
    const ProgramTextTable& real = testing::RealTextTable();
    EXPECT_EQ(state.results.zodiacLabel, real.Get(kTextTropicalZodiac, kGerman));
    EXPECT_EQ(state.results.title.rfind(real.Get(kTextWorldTransitsTitle, kGerman), 0), 0u)
        << state.results.title;

    // Settings read from a state file bring their own language; the texts
    // stay in the language of the state until it is switched.
    state.settings.accepted.CurrentLanguage = kEnglish;
    ASSERT_TRUE(state.Compute({Mode::World, false, false}));
    EXPECT_EQ(state.results.zodiacLabel, real.Get(kTextTropicalZodiac, kGerman));

    // A bad date row is reported in the state's language too.
    state.rows.Row(kWorldDate).yearText = "";
    DateRowFailure failed;
    const Status error = state.Compute({Mode::World, false, false}, &failed);
    ASSERT_FALSE(error);
    EXPECT_EQ(failed.title, real.Get(kTextInputErrorTitle, kGerman));
    EXPECT_EQ(error.message(),
              real.Get(kTextWorldDate, kGerman) + " " + real.Get(kTextDateIncomplete, kGerman));
}

}  // namespace
}  // namespace vek
