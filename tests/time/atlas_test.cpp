#include "time/atlas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../succeeded.h"

namespace vek {
namespace {

using testing::Succeeded;

constexpr const char* kSmallAtlas =
    "# comment\n"
    "Christchurch\t\tEngland\tGB\tUnited Kingdom\tVereinigtes Königreich\tEurope/London\t50.73583\t-1.78129\t42396\n"
    "Munich\tMünchen\tBavaria\tDE\tGermany\tDeutschland\tEurope/Berlin\t48.13743\t11.57549\t1260391\n"
    "Christchurch\t\tCanterbury\tNZ\tNew Zealand\tNeuseeland\tPacific/Auckland\t-43.53333\t172.63333\t363926\n"
    "São Paulo\t\tSão Paulo\tBR\tBrazil\tBrasilien\tAmerica/Sao_Paulo\t-23.5475\t-46.63611\t10021295\n"
    "Munchberg\t\tBavaria\tDE\tGermany\tDeutschland\tEurope/Berlin\t50.19\t11.79\t10000\n"
    "Saint-Étienne\t\tAuvergne\tFR\tFrance\tFrankreich\tEurope/Paris\t45.43\t4.39\t171483\n";

TEST(Atlas, FindsByFoldedPrefixMostPopulousAndWholeNamesFirst) {
    const Result<Atlas> atlas = Atlas::Parse(kSmallAtlas);
    ASSERT_TRUE(Succeeded(atlas));
    EXPECT_EQ(atlas->size(), 6u);

    // Whole-name match first even though less populous than none here;
    // "munch" finds Munich by its German name and Münchberg by its own.
    std::vector<const AtlasPlace*> m = atlas->Find("münch", 10);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0]->name, "Munich");
    EXPECT_EQ(m[1]->name, "Munchberg");
    m = atlas->Find("MUNCHBERG", 10);
    ASSERT_EQ(m.size(), 1u);
    m = atlas->Find("Munich", 10);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0]->zone, "Europe/Berlin");

    m = atlas->Find("sao p", 10);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0]->countryCode, "BR");
    EXPECT_EQ(atlas->Find("saint etienne", 10).size(), 1u);

    // Two of one name: the more populous first, a qualifier chooses.
    m = atlas->Find("christchurch", 10);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0]->countryCode, "NZ");
    EXPECT_EQ(m[1]->countryCode, "GB");
    for (const char* q : {"Christchurch, GB", "christchurch,england", "Christchurch, united",
                          "Christchurch, Vereinigtes"}) {
        m = atlas->Find(q, 10);
        ASSERT_EQ(m.size(), 1u) << q;
        EXPECT_EQ(m[0]->countryCode, "GB") << q;
    }
    EXPECT_TRUE(atlas->Find("Christchurch, FR", 10).empty());
    EXPECT_EQ(atlas->Find("c", 1).size(), 1u);
    EXPECT_TRUE(atlas->Find("", 10).empty());
    EXPECT_TRUE(atlas->Find("  ", 10).empty());
    EXPECT_TRUE(atlas->Find("xyzzy", 10).empty());
}

TEST(Atlas, RefusesBrokenLinesWithTheirNumber) {
    const char* broken[] = {
        "Berlin\t\tBerlin\tDE\tGermany\t\tEurope/Berlin\t52.5\t13.4\n",  // nine fields
        "Berlin\t\tBerlin\tDE\tGermany\t\tEurope/Berlin\t95\t13.4\t1\n",
        "Berlin\t\tBerlin\tDE\tGermany\t\tEurope/Berlin\t52.5\teast\t1\n",
        "Berlin\t\tBerlin\tDE\tGermany\t\t\t52.5\t13.4\t1\n",  // no zone
    };
    for (const char* text : broken) {
        const Result<Atlas> a = Atlas::Parse(std::string("# head\n") + text);
        ASSERT_FALSE(a.ok()) << text;
        EXPECT_NE(a.message().find("line 2"), std::string::npos) << a.message();
    }
    EXPECT_EQ(Atlas::Parse("").value().size(), 0u);
}

TEST(Atlas, FoldingIgnoresCaseAccentsAndHyphens) {
    EXPECT_EQ(FoldForSearch("São Paulo"), "sao paulo");
    EXPECT_EQ(FoldForSearch("MÜNCHEN"), "munchen");
    EXPECT_EQ(FoldForSearch("Straße"), "strasse");
    EXPECT_EQ(FoldForSearch("Łódź"), "lodz");
    EXPECT_EQ(FoldForSearch("Saint-Étienne"), "saint etienne");
    // Æ and ø count as their first letter.
    EXPECT_EQ(FoldForSearch("Ærø"), "aro");
    // Other scripts stay as they are.
    EXPECT_EQ(FoldForSearch("東京"), "東京");
}

// The atlas the build made from libgeonames, as the programs read it.
TEST(Atlas, ProgramAtlasHoldsTheCitiesWithCoordinatesAndZones) {
    const Result<const Atlas*> atlas = ProgramAtlas(VEK_BIN_DIR);
    ASSERT_TRUE(Succeeded(atlas));
    EXPECT_GT((*atlas)->size(), 20000u);
    struct Expected {
        const char* query;
        double latitude, longitude;
        const char* zone;
    };
    // Coordinates of the city centres as commonly published.
    const Expected cities[] = {
        {"Berlin", 52.520, 13.405, "Europe/Berlin"},
        {"München", 48.137, 11.575, "Europe/Berlin"},
        {"Munich", 48.137, 11.575, "Europe/Berlin"},
        {"São Paulo", -23.550, -46.633, "America/Sao_Paulo"},
        {"Kathmandu", 27.717, 85.324, "Asia/Kathmandu"},
        {"Christchurch", -43.531, 172.637, "Pacific/Auckland"},
    };
    for (const Expected& c : cities) {
        const std::vector<const AtlasPlace*> found = (*atlas)->Find(c.query, 1);
        ASSERT_EQ(found.size(), 1u) << c.query;
        EXPECT_NEAR(found[0]->point.latitude, c.latitude, 0.05) << c.query;
        EXPECT_NEAR(found[0]->point.longitude, c.longitude, 0.05) << c.query;
        EXPECT_EQ(found[0]->zone, c.zone) << c.query;
    }
    EXPECT_TRUE((*atlas)->Find("Xyzzyqv", 5).empty());
    // Loaded once: a second call gives the same atlas.
    EXPECT_EQ(*ProgramAtlas(VEK_BIN_DIR), *atlas);
    const Result<const Atlas*> missing = ProgramAtlas("/nonexistent-folder");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find("vek_atlas.tsv"), std::string::npos);
}

}  // namespace
}  // namespace vek
