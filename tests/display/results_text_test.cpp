#include "display/results_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../fake_sky.h"
#include "../program_texts.h"
#include "config/program_text.h"
#include "engine/patterns.h"
#include "engine/vocabulary.h"
#include "time/date_rows.h"

namespace vek {
namespace {

using testing::Deg;

NameTables Names(Language language) {
    NameTables t;
    BuildNameTables(t, language);
    return t;
}

TEST(PatternText, TheTextsSupplyTheDeviationWordInTheirLanguage) {
    const ProgramTextTable& table = testing::RealTextTable();
    ASSERT_GT(table.Count(), 0);
    const NameTables de = Names(kGerman);
    const Chart c = testing::PlacedChart({{kSun, 0}, {kMars, 90}, {kJupiter, 180.5}});
    PatternBlock b = RunPatternFinder(c, testing::DefaultOrbs(), kTSquare, PatternForm::Summary,
                                      PatternTextsOf(de, ProgramTexts(table, kGerman)));
    EXPECT_EQ(b.text,
              "T-Quadrat: So-Ma-Ju (" + table.Get(kTextMeanDeviation, kGerman) + " 0°20')\r\n");
}

// A small table whose texts tell the languages apart.
ProgramTextTable SmallTable(const char* content) {
    Result<ProgramTextTable> loaded = ProgramTextTable::Parse(content);
    EXPECT_TRUE(loaded) << loaded.message();
    return loaded ? std::move(loaded).value() : ProgramTextTable();
}

TEST(DateError, MessageNamesTheSlotAndTheCause) {
    const ProgramTextTable table = SmallTable(
        "4 en: World date\n4 de: Weltdatum\n"
        "5 en: First\n5 de: Erstes\n"
        "6 en: Second\n6 de: Zweites\n"
        "145 en: m1\n145 de: d1\n"
        "146 en: m2\n146 de: d2\n"
        "147 en: m3\n147 de: d3\n"
        "148 en: m4\n148 de: d4\n"
        "153 en: Title\n153 de: Titel\n");
    const ProgramTexts en(table, kEnglish);
    EXPECT_EQ(DateErrorText(en, kWorldDate, kDateIncomplete), "World date m1");
    EXPECT_EQ(DateErrorText(en, kBirth1, kDateInvalid), "First m2");
    EXPECT_EQ(DateErrorText(en, kBirth2, kDateTooEarly), "Second m3");
    EXPECT_EQ(DateErrorText(en, kWorldDate, kDateTooLate), "World date m4");
    EXPECT_EQ(DateErrorTitle(en), "Title");
    const ProgramTexts de(table, kGerman);
    EXPECT_EQ(DateErrorText(de, kBirth2, kDateTooLate), "Zweites d4");
    EXPECT_EQ(DateErrorTitle(de), "Titel");
}

TEST(SteppingControls, IntervalList) {
    const ProgramTextTable table = SmallTable(
        "170 en: half\n170 de: halb\n171 en: day\n171 de: Tag\n172 en: week\n"
        "172 de: Woche\n173 en: month\n173 de: Monat\n174 en: year\n174 de: Jahr\n");
    EXPECT_EQ(StepIntervalTexts(ProgramTexts(table, kGerman)),
              (std::vector<std::string>{"halb", "Tag", "Woche", "Monat", "Jahr"}));
    EXPECT_EQ(StepIntervalTexts(ProgramTexts(table, kEnglish))[4], "year");
}

}  // namespace
}  // namespace vek
