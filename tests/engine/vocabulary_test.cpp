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
    BuildNameTables(t, LanguageFromCode(7));  // unknown codes read as English
    EXPECT_EQ(AspectLabel(t, kQuincunx), "quincunx (150°)");
    // No aspect is numbered 0, so none reaches AspectLabel without a label.
    EXPECT_EQ(AspectFromIndex(0), std::nullopt);
}

TEST(Vocabulary, AspectAbbreviationsAreDistinctWithinALanguage) {
    // Cell texts are searched for these abbreviations, so none may contain
    // another.
    for (int l = 0; l < 2; ++l) {
        for (Aspect a : AllAspects()) {
            for (Aspect b : AllAspects()) {
                if (a == b) continue;
                std::string text = kAspects[a].abbreviation[l];
                EXPECT_EQ(text.find(kAspects[b].abbreviation[l]), std::string::npos);
            }
        }
    }
}

}  // namespace
}  // namespace vek
