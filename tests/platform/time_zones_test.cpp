#include "platform/time_zones.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>

namespace vek::platform {
namespace {

// Sets TZ for one test and puts the old value back.
class ScopedTz {
  public:
    explicit ScopedTz(const char* value) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        if (value) setenv("TZ", value, 1); else unsetenv("TZ");
    }
    ~ScopedTz() {
        if (old_) setenv("TZ", old_->c_str(), 1); else unsetenv("TZ");
    }

  private:
    std::optional<std::string> old_;
};

TEST(SystemZoneName, FromTheTzVariable) {
    {
        ScopedTz tz("Europe/Berlin");
        EXPECT_EQ(SystemZoneName(), "Europe/Berlin");
    }
    {
        ScopedTz tz(":Asia/Kathmandu");
        EXPECT_EQ(SystemZoneName(), "Asia/Kathmandu");
    }
    {
        ScopedTz tz("/usr/share/zoneinfo/Pacific/Chatham");
        EXPECT_EQ(SystemZoneName(), "Pacific/Chatham");
    }
    {
        // A path elsewhere is no zone name.
        ScopedTz tz("/etc/../etc/passwd");
        EXPECT_EQ(SystemZoneName(), "");
    }
}

TEST(ZoneDatabase, NamesAndVersion) {
    const std::vector<std::string> names = ZoneNames();
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), "Europe/Berlin"));
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), "Pacific/Kiritimati"));
    EXPECT_FALSE(std::binary_search(names.begin(), names.end(), "posix/Europe/Berlin"));
    EXPECT_TRUE(IsZoneName("UTC"));
    EXPECT_FALSE(IsZoneName("europe/berlin"));
    EXPECT_FALSE(IsZoneName("Europe/../Europe/Berlin"));
    // tzdata.zi names the release, "2025b" and the like.
    const std::string version = ZoneDatabaseVersion();
    ASSERT_GE(version.size(), 5u);
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(version[0])));
}

TEST(ZoneDatabase, OffsetsAtInstantAndLocalTime) {
    // 1980-04-06 01:00 UT: Berlin went to summer time.
    const int64_t change = 323830800;
    EXPECT_EQ(ZoneOffsetAtInstant("Europe/Berlin", change - 1)->seconds, 3600);
    const Result<ZoneOffset> after = ZoneOffsetAtInstant("Europe/Berlin", change);
    ASSERT_TRUE(after.ok());
    EXPECT_EQ(after->seconds, 7200);
    EXPECT_EQ(after->abbreviation, "CEST");
    const Result<LocalTimeOffsets> gap = ZoneOffsetsAtLocalTime("Europe/Berlin", change + 5400);
    ASSERT_TRUE(gap.ok());
    EXPECT_EQ(gap->kind, LocalTimeKind::Gap);
    EXPECT_EQ(gap->before.seconds, 3600);
    EXPECT_EQ(gap->after.seconds, 7200);
    EXPECT_FALSE(ZoneOffsetAtInstant("Europe/Berln", 0).ok());
    EXPECT_EQ(ZoneOffsetsAtLocalTime("", 0).message(), "unknown time zone \"\"");
}

}  // namespace
}  // namespace vek::platform
