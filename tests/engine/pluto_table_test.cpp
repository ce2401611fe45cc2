#include "engine/pluto_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "../fake_sky.h"
#include "../succeeded.h"
#include "engine/vek_types.h"

namespace vek {
namespace {

using testing::Succeeded;

constexpr double kFirstInstant = 2305447.5;  // 1600 January 1, 0 h UT
constexpr double kEndInstant = 2488069.5;    // 2100 January 1, 0 h UT

double InDegrees(double radians) {
    return radians / kTwoPi * 360.0;
}

std::string ShippedTablePath() {
    return std::string(VEK_BIN_DIR) + "/pluto.slx";
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// One table line: the longitude in arc minutes written as the table does for
// line k.
std::string EncodeLine(int k, int arcMinutes) {
    const int whole = arcMinutes / 60;
    std::string line;
    line += static_cast<char>(whole / 60 + 58 + k % 55);
    line += static_cast<char>(whole % 60 + 59);
    line += static_cast<char>(arcMinutes % 60 + 60);
    return line;
}

// A complete table whose line k holds minutesOfLine(k).
std::string MakeTable(const std::function<int(int)>& minutesOfLine,
                      int lines = PlutoTable::kRequiredLines) {
    std::string text;
    for (int k = 0; k < lines; ++k) text += EncodeLine(k, minutesOfLine(k)) + "\n";
    return text;
}

// Pluto moving one arc minute a day, starting at 100°.
int SlowMotion(int k) {
    return (100 * 60 + k) % (360 * 60);
}

TEST(PlutoTable, ShippedTableCoversItsRangeAndNoMore) {
    PlutoTable table;
    ASSERT_TRUE(Succeeded(table.Load(ShippedTablePath())));
    ASSERT_TRUE(table.IsLoaded());
    // First instant: Pluto at 21°17' on 1600 January 1.
    EXPECT_NEAR(InDegrees(*table.LongitudeAt(kFirstInstant)), 21 + 17 / 60.0, 1e-9);
    EXPECT_EQ(table.LongitudeAt(kFirstInstant - 1e-6), testing::kBeforeData);
    EXPECT_EQ(table.LongitudeAt(kEndInstant), testing::kAfterData);
    const double last = *table.LongitudeAt(kEndInstant - 1e-6);
    EXPECT_GE(last, 0.0);
    EXPECT_LT(last, kTwoPi);
    EXPECT_EQ(table.LongitudeAt(-1e300), testing::kBeforeData);
    EXPECT_EQ(table.LongitudeAt(1e300), testing::kAfterData);
    EXPECT_EQ(table.LongitudeAt(std::numeric_limits<double>::quiet_NaN()), SkyLongitude());
    EXPECT_EQ(table.LongitudeAt(std::numeric_limits<double>::infinity()), SkyLongitude());
    // Pluto at 2000 January 1.5: 251°27'17".
    EXPECT_NEAR(InDegrees(*table.LongitudeAt(2451545.0)), 251.45478, 31.0 / 3600);
}

TEST(PlutoTable, AcceptsCrLfLineEndsBlanksAndEmptyLines) {
    const std::string lf = ReadFile(ShippedTablePath());
    std::string messy = "\xEF\xBB\xBF\r\n";
    for (std::size_t i = 0; i < lf.size(); ++i) {
        if (lf[i] == '\n') {
            messy += (i % 7 == 0) ? " \t\r\n  \r\n" : "\r\n";
        } else {
            if (i % 4 == 0 && (i == 0 || lf[i - 1] == '\n')) messy += "  ";
            messy += lf[i];
        }
    }
    PlutoTable plain, crlf;
    ASSERT_TRUE(Succeeded(plain.LoadFromString(lf)));
    ASSERT_TRUE(Succeeded(crlf.LoadFromString(messy)));
    for (double jd = kFirstInstant; jd < kEndInstant; jd += 997.3) {
        EXPECT_EQ(plain.LongitudeAt(jd), crlf.LongitudeAt(jd)) << jd;
    }
    EXPECT_EQ(crlf.LongitudeAt(kEndInstant - 0.25), plain.LongitudeAt(kEndInstant - 0.25));
}

TEST(PlutoTable, InterpolatesAcrossZeroAries) {
    const int k = 1000;  // 359°30' on day k, 0°30' on day k + 1
    auto crossing = [k](int line) { return line <= k ? 359 * 60 + 30 : 30; };
    PlutoTable table;
    ASSERT_TRUE(Succeeded(table.LoadFromString(MakeTable(crossing))));
    const double midnight = PlutoTable::kFirstDay + k - 0.5;
    EXPECT_NEAR(InDegrees(*table.LongitudeAt(midnight)), 359.5, 1e-9);
    EXPECT_NEAR(InDegrees(*table.LongitudeAt(midnight + 0.25)), 359.75, 1e-9);
    EXPECT_EQ(table.LongitudeAt(midnight + 0.5), SkyLongitude(0.0));  // never 180°, never 2π
    EXPECT_NEAR(InDegrees(*table.LongitudeAt(midnight + 0.75)), 0.25, 1e-9);
    EXPECT_NEAR(InDegrees(*table.LongitudeAt(midnight + 1)), 0.5, 1e-9);

    // Retrograde, the other way across.
    auto back = [k](int line) { return line <= k ? 30 : 359 * 60 + 30; };
    ASSERT_TRUE(Succeeded(table.LoadFromString(MakeTable(back))));
    EXPECT_EQ(table.LongitudeAt(midnight + 0.5), SkyLongitude(0.0));
    EXPECT_NEAR(InDegrees(*table.LongitudeAt(midnight + 0.25)), 0.25, 1e-9);
    EXPECT_NEAR(InDegrees(*table.LongitudeAt(midnight + 0.75)), 359.75, 1e-9);

    // The last day interpolates towards the extra line after it.
    ASSERT_TRUE(Succeeded(table.LoadFromString(MakeTable(SlowMotion))));
    const int lastLine = PlutoTable::kLastDay - PlutoTable::kFirstDay;
    EXPECT_NEAR(InDegrees(*table.LongitudeAt(kEndInstant - 0.5)) * 60, SlowMotion(lastLine) + 0.5,
                1e-6);
}

// Every broken table gives a one-line message and leaves no table behind.
TEST(PlutoTable, RejectsBrokenTables) {
    const std::string good = MakeTable(SlowMotion);
    auto replaceLine = [&good](int k, const std::string& text) {
        std::string t = good;
        t.replace(static_cast<std::size_t>(k) * 4, 3, text);
        return t;
    };
    auto withoutLine = [&good](int k) {
        std::string t = good;
        t.erase(static_cast<std::size_t>(k) * 4, 4);
        return t;
    };
    const int k = 5000;
    const int value = SlowMotion(k);
    const std::string enc = EncodeLine(k, value);
    struct Case {
        const char* name;
        std::string content;
        const char* expected;
    };
    const Case cases[] = {
        {"empty", "", "empty"},
        {"only blank lines", " \n\r\n\t\n", "empty"},
        {"too few lines", MakeTable(SlowMotion, PlutoTable::kRequiredLines - 1), "are needed"},
        {"short line", replaceLine(k, "ab "), "line 5001: too short"},
        {"minutes of 60", replaceLine(k, enc.substr(0, 2) + static_cast<char>(120)),
         "minutes out of range"},
        {"minutes below 0", replaceLine(k, enc.substr(0, 2) + static_cast<char>(59)),
         "minutes out of range"},
        {"degrees of 60", replaceLine(k, enc.substr(0, 1) + static_cast<char>(119) + enc[2]),
         "degrees out of range"},
        {"360 degrees and more", replaceLine(k, static_cast<char>(6 + 58 + k % 55) + enc.substr(1)),
         "first character out of range"},
        {"negative", replaceLine(k, static_cast<char>(57 + k % 55) + enc.substr(1)),
         "first character out of range"},
        {"byte above 127", replaceLine(k, "\xC3\xA4" + enc.substr(2)), "out of range"},
        {"a lost line", withoutLine(k), "line 5001: jumps"},
        {"a damaged value", replaceLine(k, EncodeLine(k, value + 10 * 60)), "line 5001: jumps"},
    };
    for (const Case& c : cases) {
        PlutoTable table;
        ASSERT_TRUE(Succeeded(table.LoadFromString(good)));
        const Status loaded = table.LoadFromString(c.content);
        EXPECT_FALSE(loaded) << c.name;
        const std::string& error = loaded.message();
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.name;
        EXPECT_FALSE(table.IsLoaded()) << c.name;
        EXPECT_EQ(table.LongitudeAt(2451545.0), SkyLongitude()) << c.name;
    }

    PlutoTable table;
    const Status missing = table.Load("/nonexistent/vek/pluto.slx");
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.message(),
              "Pluto table /nonexistent/vek/pluto.slx does not exist or is not a file");
    EXPECT_FALSE(table.IsLoaded());
    EXPECT_FALSE(table.Load("/"));  // a folder is not a table
}

// Against Pluto from the Swiss Ephemeris files at the reference instants: the
// table rounds to the arc minute (30") and interpolates linearly between
// days, which adds well under an arc second for Pluto's slow motion.
TEST(PlutoTable, ShippedTableMatchesTheReference) {
    PlutoTable table;
    ASSERT_TRUE(Succeeded(table.Load(ShippedTablePath())));
    std::ifstream f(std::string(VEK_TEST_DATA_DIR) + "/ephemeris_reference.csv");
    std::string line;
    std::getline(f, line);  // column names
    int instants = 0;
    double worst = 0;
    while (std::getline(f, line)) {
        std::stringstream cells(line);
        std::string cell;
        std::vector<double> row;
        while (std::getline(cells, cell, ',')) row.push_back(std::stod(cell));
        ASSERT_EQ(row.size(), 11u) << line;
        const double jd = row[0];
        const double pluto = row[9];
        const double lon = *table.LongitudeAt(jd);
        ASSERT_GE(lon, 0.0) << jd;
        const double error = std::fabs(std::remainder(InDegrees(lon) - pluto, 360.0)) * 3600;
        EXPECT_LE(error, 31.0) << "at " << jd;
        worst = std::max(worst, error);
        ++instants;
    }
    EXPECT_GE(instants, 200);
    EXPECT_GT(worst, 10.0);  // the values really are rounded to the arc minute
}

}  // namespace
}  // namespace vek
