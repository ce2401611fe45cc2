#include "engine/vocabulary.h"

#include <gtest/gtest.h>

namespace vek {
namespace {

TEST(NameTables, SwitchingLanguageAndBackRestoresEveryTable) {
    NameTables english, t;
    BuildNameTables(english, kEnglish);
    BuildNameTables(t, kEnglish);
    BuildNameTables(t, kGerman);
    EXPECT_NE(t, english);
    BuildNameTables(t, kEnglish);
    EXPECT_EQ(t, english);
}

TEST(NameTables, LanguageSpecificEntries) {
    NameTables t;
    BuildNameTables(t, kGerman);
    EXPECT_EQ(t.BodyAbbreviation[kSun], "So");
    EXPECT_EQ(t.BodyName[kNeptune], "Neptun");
    EXPECT_EQ(t.AspectAbbreviation[kConjunction], "Kon");
    EXPECT_EQ(t.AspectAbbreviation[kSquare], "Qua");
    EXPECT_EQ(t.SignName[8], "Schütze");
    EXPECT_EQ(t.PatternName[kGrandCross], "Großes Kreuz");
    EXPECT_EQ(AspectLabel(t, kSquare), "Quadrat (90°)");
    BuildNameTables(t, 7);  // unknown codes read as English
    EXPECT_EQ(t.BodyAbbreviation[kSun], "Su");
    EXPECT_EQ(t.AspectNoun[kOpposition], "opposite");
    EXPECT_EQ(t.PatternName[kMidpoint], "Midpoint");
    EXPECT_EQ(AspectLabel(t, kQuincunx), "quincunx (150°)");
    EXPECT_EQ(AspectLabel(t, 0), "");
}

TEST(Vocabulary, AspectAbbreviationsAreDistinctWithinALanguage) {
    // Cell texts are searched for these abbreviations, so none may contain
    // another.
    for (int l = 0; l < 2; ++l) {
        for (int a = 1; a <= kAspectCount; ++a) {
            for (int b = 1; b <= kAspectCount; ++b) {
                if (a == b) continue;
                std::string text = kAspects[a].abbreviation[l];
                EXPECT_EQ(text.find(kAspects[b].abbreviation[l]), std::string::npos);
            }
        }
    }
}

TEST(Vocabulary, ColoursHaveRedInTheLowByte) {
    EXPECT_EQ(kDefaultAspectColor[kSquare], 255);
    EXPECT_EQ(kDefaultAspectColor[kSemisextile], 128 + 256 * 128 + 65536 * 255);
    EXPECT_EQ(kPalette[11], 128 + 256 * 64);
    GlyphTables g;
    FillGlyphTables(g);
    EXPECT_EQ(g.PlanetGlyph[kMoon], "a");
    EXPECT_EQ(g.SignGlyph[11], "M");
}

}  // namespace
}  // namespace vek
