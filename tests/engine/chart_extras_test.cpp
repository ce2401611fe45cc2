// The houses and extra points a chart shows: which chart carries the houses
// in each mode, and that they are those of its date and place.
#include "engine/chart_extras.h"

#include <gtest/gtest.h>

#include "../succeeded.h"
#include "engine/modes.h"

namespace vek {
namespace {

const Engine& TestEngine() {
    static const Engine* e = [] {
        auto* engine = new Engine;
        engine->Initialize(VEK_BIN_DIR);
        return engine;
    }();
    return *e;
}

constexpr GeoPoint kBerlin{52.52437, 13.41053};
constexpr GeoPoint kSydney{-33.86785, 151.20732};
// World date 2024-03-20 12:00 UT, 1st birthdate 1985-03-15 13:47 UT, 2nd
// birthdate 1990-07-04 06:00 UT.
constexpr double kDates[3] = {2460390.0, 2446140.074306, 2448076.75};

TEST(ChartExtras, TheHousesAreThoseOfTheBirthChartTheModeReads) {
    const Engine& engine = TestEngine();
    ChartExtrasRequest request;
    request.houses = true;
    request.system = HouseSystem::Koch;
    request.places[kWorldDate] = kSydney;
    request.places[kBirth1] = kBerlin;
    request.places[kBirth2] = kSydney;
    const struct {
        Mode mode;
        int chart;
        DateSlot slot;
        GeoPoint place;
    } cases[] = {
        {Mode::World, kChartA, kWorldDate, kSydney},   {Mode::Natal1, kChartA, kBirth1, kBerlin},
        {Mode::Natal2, kChartA, kBirth2, kSydney},     {Mode::Personal1, kChartB, kBirth1, kBerlin},
        {Mode::Personal2, kChartB, kBirth2, kSydney},  {Mode::Synastry, kChartA, kBirth1, kBerlin},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        EXPECT_EQ(HouseChartOf(c.mode), c.chart);
        Chart chart;
        chart.mode = c.mode;
        SlotDates dates;
        for (DateSlot s : AllDateSlots()) dates[s] = JulianDate(kDates[Index(s)]);
        chart.jd[0] = ChartDate(c.mode, kChartA, dates);
        chart.jd[1] = ChartDate(c.mode, kChartB, dates);
        const ChartExtras extras = ComputeChartExtras(engine, chart, request);
        ASSERT_TRUE(extras.houses);
        EXPECT_EQ(extras.housesChart, c.chart);
        EXPECT_EQ(extras.housesLatitude, c.place.latitude);
        const Result<HouseCusps> direct =
            ComputeHouses(engine, kDates[Index(c.slot)], c.place, HouseSystem::Koch);
        ASSERT_TRUE(testing::Succeeded(direct));
        EXPECT_EQ(extras.houses->cusp, direct->cusp);
        EXPECT_EQ(extras.houses->ascendant, direct->ascendant);
        EXPECT_TRUE(extras.points[0].empty() && extras.points[1].empty());
    }
}

TEST(ChartExtras, NoPlaceNoHousesAndPointsForEachChartOfTheMode) {
    const Engine& engine = TestEngine();
    Chart chart;
    chart.mode = Mode::Personal1;
    chart.jd[0] = JulianDate(kDates[0]);
    chart.jd[1] = JulianDate(kDates[1]);
    ChartExtrasRequest request;
    request.houses = true;
    request.places[kWorldDate] = kBerlin;  // not the chart that carries the houses
    request.points = {ExtraPoint::MeanNode, ExtraPoint::Chiron};
    ChartExtras extras = ComputeChartExtras(engine, chart, request);
    EXPECT_FALSE(extras.houses);
    for (int k : {0, 1}) {
        ASSERT_EQ(extras.points[k].size(), 2u);
        EXPECT_EQ(extras.points[k][1].point, ExtraPoint::Chiron);
        const PointPosition direct = ComputeExtraPoint(engine, ExtraPoint::MeanNode, kDates[k]);
        EXPECT_EQ(extras.points[k][0].longitude, direct.longitude);
    }
    chart.mode = Mode::Natal1;
    chart.jd[0] = JulianDate(kDates[1]);
    extras = ComputeChartExtras(engine, chart, request);
    EXPECT_EQ(extras.points[0].size(), 2u);
    EXPECT_TRUE(extras.points[1].empty());
    EXPECT_FALSE(ComputeChartExtras(engine, chart, ChartExtrasRequest()).houses);
    EXPECT_TRUE(ComputeChartExtras(engine, chart, ChartExtrasRequest()).Empty());
}

}  // namespace
}  // namespace vek
