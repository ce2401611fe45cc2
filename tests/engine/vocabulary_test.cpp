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

TEST(NameTables, LabelsAndUnknownLanguageCodes) {
    NameTables t;
    BuildNameTables(t, kGerman);
    EXPECT_EQ(AspectLabel(t, kSquare), "Quadrat (90°)");
    BuildNameTables(t, 7);  // unknown codes read as English
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

}  // namespace
}  // namespace vek
