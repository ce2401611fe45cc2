#include <gtest/gtest.h>

#include "app/program_text.h"
#include "engine/results_text.h"

namespace vek {
namespace {

const char kTexts[] =
    "7 en: found\n7 de: gefunden\n"
    "122 en: Run\n122 de: Suchlauf\n"
    "126 en: No aspects.\n126 de: Keine Aspekte.\n"
    "127 en: N aspects in total.\n127 de: Insgesamt N Aspekte.\n"
    "389 en: retrograde\n389 de: rückläufig\n";

class ResultsText : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_GT(GlobalProgramText().LoadFromString(kTexts), 0);
        SetCurrentLanguage(kEnglish);
        BuildNameTables(en, kEnglish);
        BuildNameTables(de, kGerman);
    }
    void TearDown() override { SetCurrentLanguage(kEnglish); }
    NameTables en;
    NameTables de;
};

TEST_F(ResultsText, CountsInWords) {
    EXPECT_EQ(CountInWords(0, kEnglish), "No");
    EXPECT_EQ(CountInWords(1, kEnglish), "One");
    EXPECT_EQ(CountInWords(13, kEnglish), "Thirteen");
    EXPECT_EQ(CountInWords(20, kEnglish), "Twenty");
    EXPECT_EQ(CountInWords(21, kEnglish), "Twenty One");
    EXPECT_EQ(CountInWords(40, kEnglish), "Forty");
    EXPECT_EQ(CountInWords(99, kEnglish), "Ninety Nine");
    EXPECT_EQ(CountInWords(100, kEnglish), "100");
    EXPECT_EQ(CountInWords(0, kGerman), "Keine");
    EXPECT_EQ(CountInWords(12, kGerman), "Zwölf");
    EXPECT_EQ(CountInWords(23, kGerman), "Drei und Zwanzig");
    EXPECT_EQ(CountInWords(30, kGerman), "Dreißig");
    EXPECT_EQ(CountInWords(71, kGerman), "Eine und Siebzig");
    EXPECT_EQ(CountInWords(250, kGerman), "250");
    EXPECT_EQ(CountInWords(5, 2), "Five");  // any other language reads English
}

TEST_F(ResultsText, RadiansWithFourDecimalsAndAPoint) {
    EXPECT_EQ(RadiansText(1.23456), "1.2346");
    EXPECT_EQ(RadiansText(0), "0.0000");
    EXPECT_EQ(RadiansText(6.2831853), "6.2832");
    EXPECT_EQ(RadiansText(0.00004), "0.0000");
}

TEST_F(ResultsText, SingleChartSummaryLinesTotalsAndRetrogradeLine) {
    int16_t counts[kAspectCount + 1] = {};
    counts[kTrine] = 1;
    // Exactly one aspect: its line and no total.
    EXPECT_EQ(SingleChartSummary(counts, en, kEnglish, "", 0, ""), "1 trine\r\n\r\n");

    // None: text 126, then the pattern section and the retrograde line.
    int16_t none[kAspectCount + 1] = {};
    EXPECT_EQ(SingleChartSummary(none, en, kEnglish, "Midpoint: Su-Ma-Ju\r\n\r\n", 2, "Ma Ju "),
              "No aspects.\r\n\r\nMidpoint: Su-Ma-Ju\r\n\r\n2 retrograde: Ma Ju ");

    int16_t many[kAspectCount + 1] = {};
    many[kConjunction] = 2;
    many[kSquare] = 3;
    many[kQuincunx] = 2;
    many[kSemisextile] = 1;
    EXPECT_EQ(SingleChartSummary(many, en, kEnglish, "", 0, ""),
              "2 conjunctions\r\n3 squares\r\n1 semisextile\r\n2 quincunxes\r\n"
              "8 aspects in total.\r\n\r\n");
    SetCurrentLanguage(kGerman);
    EXPECT_EQ(SingleChartSummary(many, de, kGerman, "", 1, "Me "),
              "2 Konjunktion\r\n3 Quadrat\r\n1 Semisextil\r\n2 Quinkunx\r\n"
              "Insgesamt 8 Aspekte.\r\n\r\n1 rückläufig: Me ");
}

TEST_F(ResultsText, TwoChartSummaryOnOneLine) {
    int16_t counts[kAspectCount + 1] = {};
    EXPECT_EQ(TwoChartSummary(counts, en, kEnglish), "No aspects.");
    counts[kOpposition] = 1;
    EXPECT_EQ(TwoChartSummary(counts, en, kEnglish), "1 opposition");
    counts[kSextile] = 4;
    EXPECT_EQ(TwoChartSummary(counts, en, kEnglish),
              "1 opposition, 4 sextiles. 5 aspects in total.");
    SetCurrentLanguage(kGerman);
    EXPECT_EQ(TwoChartSummary(counts, de, kGerman), "1 Opposition, 4 Sextil. Insgesamt 5 Aspekte.");
}

TEST_F(ResultsText, RunStopsOnlyWhenTheTargetIsMet) {
    int16_t counts[kPatternCount] = {};
    RunTarget target;
    target.pattern = kGrandTrine;
    target.twoOrMore = true;
    target.numToFindIndex = 0;  // at least 2
    counts[kGrandTrine] = 1;
    EXPECT_FALSE(RunTargetFound(target, counts));
    counts[kGrandTrine] = 2;
    EXPECT_TRUE(RunTargetFound(target, counts));
    target.numToFindIndex = 1;  // at least 3
    EXPECT_FALSE(RunTargetFound(target, counts));
    target.twoOrMore = false;
    counts[kGrandTrine] = 1;
    EXPECT_TRUE(RunTargetFound(target, counts));
    counts[kGrandTrine] = 0;
    EXPECT_FALSE(RunTargetFound(target, counts));
    target.pattern = -1;  // run until stopped
    counts[kGrandTrine] = 5;
    EXPECT_FALSE(RunTargetFound(target, counts));
}

TEST_F(ResultsText, RunFoundMessages) {
    int16_t counts[kPatternCount] = {};
    counts[kGrandTrine] = 2;
    counts[kTSquare] = 3;
    counts[kGrandCross] = 21;
    RunTarget t{kGrandTrine, true, 0};
    EXPECT_EQ(RunFoundMessage(t, counts, "Grand trine", kEnglish), "Two grand trines found.");
    t.pattern = kTSquare;
    EXPECT_EQ(RunFoundMessage(t, counts, "T-square", kEnglish), "Three T-squares found.");
    t.pattern = kGrandCross;
    EXPECT_EQ(RunFoundMessage(t, counts, "Grand cross", kEnglish),
              "Twenty One grand crosses found.");
    EXPECT_EQ(RunFoundMessage(t, counts, "Großes Kreuz", kGerman),
              "Eine und Zwanzig Große Kreuz gefunden.");
    t.pattern = kGrandTrine;
    EXPECT_EQ(RunFoundMessage(t, counts, "Großes Trigon", kGerman), "Zwei Große Trigon gefunden.");
    t.twoOrMore = false;
    EXPECT_EQ(RunFoundMessage(t, counts, "Grand trine", kEnglish), "Grand trine found.");
    EXPECT_EQ(RunFoundTitle(), "Run");
}

}  // namespace
}  // namespace vek
