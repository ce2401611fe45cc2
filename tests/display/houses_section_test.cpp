#include "display/houses_section.h"

#include <gtest/gtest.h>

#include <string>

#include "../program_texts.h"

namespace vek {
namespace {

constexpr double kDegree = kTwoPi / 360.0;

// Equal houses from 10° Aries, a chart of three bodies and two points.
struct Fixture {
    HouseCusps houses;
    Chart chart;
    NameTables names;
    std::vector<PointPosition> points;
    Fixture() {
        houses.asked = houses.used = HouseSystem::Equal;
        houses.ascendant = 10 * kDegree;
        houses.midheaven = 280 * kDegree;
        for (int i = 1; i <= 12; ++i)
            houses.cusp[static_cast<size_t>(i)] = (10 + 30 * (i - 1)) * kDegree;
        chart.bodyCount = 3;
        chart.longitude[kSun][0] = SkyLongitude(15 * kDegree);   // house 1
        chart.longitude[kMercury][0] = SkyLongitude(5 * kDegree);  // house 12, just before the Ascendant
        chart.longitude[kVenus][0] =
            SkyLongitude::Missing(NoPosition::BeforeData);  // no position: left out
        chart.longitude[kSun][1] = SkyLongitude(200 * kDegree);  // chart B: house 7
        points.push_back({ExtraPoint::MeanNode, 100.5 * kDegree});  // house 4
        points.push_back({ExtraPoint::Chiron, -98});                 // left out
    }
};

TEST(HousesSection, NamesTheSystemAnglesAndTheHouseOfEachBody) {
    const ProgramTextTable& table = testing::RealTextTable();
    ASSERT_GT(table.Count(), 0);
    Fixture f;
    BuildNameTables(f.names, kEnglish);
    const std::string text = HousesSectionText(ProgramTexts(table, kEnglish), f.names, f.chart, 0,
                                               f.houses, 52.5, f.points);
    EXPECT_EQ(text,
              "Houses (Equal)\n"
              "Ascendant: 10° in Aries\n"
              "Midheaven: 10° in Capricorn\n"
              "Sun in house 1\n"
              "Mercury in house 12\n"
              "Mean Node in house 4\n");
    const std::string b = HousesSectionText(ProgramTexts(table, kEnglish), f.names, f.chart, 1,
                                            f.houses, 52.5, {});
    EXPECT_NE(b.find("Sun in house 7\n"), std::string::npos) << b;
}

TEST(HousesSection, GermanAndThePolarNote) {
    const ProgramTextTable& table = testing::RealTextTable();
    ASSERT_GT(table.Count(), 0);
    Fixture f;
    BuildNameTables(f.names, kGerman);
    f.houses.asked = HouseSystem::Placidus;
    f.houses.used = HouseSystem::Porphyry;
    const std::string text = HousesSectionText(ProgramTexts(table, kGerman), f.names, f.chart, 0,
                                               f.houses, -70.25, {});
    EXPECT_EQ(text.substr(0, text.find('\n')), "Häuser (Porphyrius)");
    EXPECT_NE(text.find("Placidus-Häuser sind auf der Breite 70°15'S nicht definiert"), std::string::npos)
        << text;
    EXPECT_NE(text.find("Sonne in Haus 1\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace vek
