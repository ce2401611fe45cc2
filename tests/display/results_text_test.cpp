#include "display/results_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../fake_sky.h"
#include "display/program_text.h"
#include "engine/patterns.h"
#include "engine/vocabulary.h"
#include "time/date_rows.h"
#include "util/paths.h"

namespace vek {
namespace {

using testing::Deg;

NameTables Names(int language) {
    NameTables t;
    BuildNameTables(t, language);
    return t;
}

TEST(PatternText, CurrentLanguageSuppliesNamesAndDeviationWord) {
    ProgramTextTable& table = GlobalProgramText();
    ASSERT_GE(table.Load(JoinPath(VEK_SOURCE_DATA_DIR, "vek.dat")), 1);
    const NameTables de = Names(kGerman);
    SetCurrentLanguage(kGerman);
    const Chart c = testing::PlacedChart({{kSun, 0}, {kMars, 90}, {kJupiter, 180.5}});
    PatternBlock b = RunPatternFinder(c, testing::DefaultOrbs(), kTSquare, PatternForm::Summary,
                                      CurrentPatternTexts(de));
    SetCurrentLanguage(kEnglish);
    EXPECT_EQ(b.text, "T-Quadrat: So-Ma-Ju (" + table.Get(154, kGerman) + " 0°20')\r\n");
}

TEST(DateError, MessageNamesTheSlotAndTheCause) {
    ASSERT_GE(GlobalProgramText().LoadFromString("4 en: World date\n4 de: Weltdatum\n"
                                                 "5 en: First\n5 de: Erstes\n"
                                                 "6 en: Second\n6 de: Zweites\n"
                                                 "145 en: m1\n145 de: d1\n"
                                                 "146 en: m2\n146 de: d2\n"
                                                 "147 en: m3\n147 de: d3\n"
                                                 "148 en: m4\n148 de: d4\n"
                                                 "153 en: Title\n153 de: Titel\n"),
              1);
    SetCurrentLanguage(0);
    EXPECT_EQ(DateErrorText(0, kDateIncomplete), "World date m1");
    EXPECT_EQ(DateErrorText(1, kDateInvalid), "First m2");
    EXPECT_EQ(DateErrorText(2, kDateTooEarly), "Second m3");
    EXPECT_EQ(DateErrorText(0, kDateTooLate), "World date m4");
    EXPECT_EQ(DateErrorTitle(), "Title");
    SetCurrentLanguage(1);
    EXPECT_EQ(DateErrorText(2, kDateTooLate), "Zweites d4");
    EXPECT_EQ(DateErrorTitle(), "Titel");
    SetCurrentLanguage(0);
}

TEST(SteppingControls, IntervalList) {
    ASSERT_GE(GlobalProgramText().LoadFromString(
                  "170 en: half\n170 de: halb\n171 en: day\n171 de: Tag\n172 en: week\n"
                  "172 de: Woche\n173 en: month\n173 de: Monat\n174 en: year\n174 de: Jahr\n"),
              1);
    SetCurrentLanguage(1);
    EXPECT_EQ(StepIntervalTexts(),
              (std::vector<std::string>{"halb", "Tag", "Woche", "Monat", "Jahr"}));
    SetCurrentLanguage(0);
    EXPECT_EQ(StepIntervalTexts()[4], "year");
}

}  // namespace
}  // namespace vek
