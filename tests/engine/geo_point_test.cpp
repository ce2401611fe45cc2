#include "engine/geo_point.h"

#include <gtest/gtest.h>

#include <string>

#include "../succeeded.h"

namespace vek {
namespace {

using testing::Succeeded;

TEST(GeoPoint, ReadsDecimalAndSexagesimalForms) {
    struct Case {
        const char* text;
        double latitude;
    };
    const Case latitudes[] = {
        {"52.52", 52.52},          {"-33.87", -33.87},      {"+10", 10},
        {"52°31'N", 52 + 31 / 60.0}, {"52°31′12″N", 52 + 31 / 60.0 + 12 / 3600.0},
        {"33 52 S", -(33 + 52 / 60.0)}, {"s 33.5", -33.5},  {" 0.5n ", 0.5},
        {"90", 90},                {"52°31.5'N", 52 + 31.5 / 60},
    };
    for (const Case& c : latitudes) {
        const Result<double> r = ParseLatitude(c.text);
        ASSERT_TRUE(Succeeded(r)) << c.text;
        EXPECT_NEAR(*r, c.latitude, 1e-12) << c.text;
    }
    const Result<double> west = ParseLongitude("46°38'W");
    ASSERT_TRUE(west.ok());
    EXPECT_NEAR(*west, -(46 + 38 / 60.0), 1e-12);
    const Result<double> east = ParseLongitude("172.63E");
    ASSERT_TRUE(east.ok());
    EXPECT_NEAR(*east, 172.63, 1e-12);

    const Result<GeoPoint> pair = ParseGeoPoint("52°31'N 13°24'E");
    ASSERT_TRUE(Succeeded(pair));
    EXPECT_NEAR(pair->latitude, 52 + 31 / 60.0, 1e-12);
    EXPECT_NEAR(pair->longitude, 13.4, 1e-12);
    const Result<GeoPoint> decimal = ParseGeoPoint("-43.53, 172.63");
    ASSERT_TRUE(decimal.ok());
    EXPECT_EQ(*decimal, (GeoPoint{-43.53, 172.63}));
    const Result<GeoPoint> blanks = ParseGeoPoint("-23.5 -46.6");
    ASSERT_TRUE(blanks.ok());
    EXPECT_EQ(*blanks, (GeoPoint{-23.5, -46.6}));
}

TEST(GeoPoint, RefusesBadCoordinatesInOneLine) {
    const char* badLatitudes[] = {"", "abc", "91", "52°61'N", "52°30'70\"N", "52.5°30'",
                                  "13°E", "-52 S", "N52S", "1 2 3 4", "52..1", "5-2"};
    for (const char* text : badLatitudes) {
        const Result<double> r = ParseLatitude(text);
        EXPECT_FALSE(r.ok()) << text;
        EXPECT_EQ(r.message().find('\n'), std::string::npos) << text;
        EXPECT_NE(r.message().find("latitude"), std::string::npos) << r.message();
    }
    EXPECT_FALSE(ParseLongitude("181"));
    EXPECT_FALSE(ParseLongitude("52N"));
    EXPECT_TRUE(ParseLongitude("-180"));
    EXPECT_FALSE(ParseGeoPoint("52.52"));
    EXPECT_FALSE(ParseGeoPoint("13°E 52°N"));
    const Result<GeoPoint> r = ParseGeoPoint("52.52, 200");
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.message().find("\"200\""), std::string::npos) << r.message();
}

TEST(GeoPoint, TextRoundsToWholeMinutes) {
    EXPECT_EQ(GeoPointText({52.52437, 13.41053}), "52°31'N 13°25'E");
    EXPECT_EQ(GeoPointText({-23.5475, -46.63611}), "23°33'S 46°38'W");
    EXPECT_EQ(GeoPointText({-0.001, 0.0}), "0°00'N 0°00'E");
}

}  // namespace
}  // namespace vek
