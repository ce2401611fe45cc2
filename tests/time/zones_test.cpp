#include "time/zones.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "../day_numbers.h"
#include "../succeeded.h"
#include "time/dates.h"

namespace vek {
namespace {

using vek::testing::Succeeded;

using testing::Day;

LocalMinute At(int year, int month, int day, int hour, int minute) {
    return LocalMinute{Day(year, month, day), hour * 60 + minute};
}

// The Julian date of a UT date and time.
double Ut(int year, int month, int day, int hour, int minute) {
    return Day(year, month, day) - 0.5 + (hour * 60 + minute) / 1440.0;
}

constexpr double kSecond = 1.0 / 86400;

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

TimeZone Zone(const char* name) {
    return TimeZone::Named(name);
}

int32_t OffsetAt(LocalMinute local, const char* zone) {
    const Result<ZonedInstant> r = LocalToUniversal(local, Zone(zone));
    EXPECT_TRUE(Succeeded(r)) << zone;
    return r ? r->offsetSeconds : -1;
}

TEST(ZoneInput, OffsetsAndNames) {
    EXPECT_EQ(*ParseZoneOffset("Z"), 0);
    EXPECT_EQ(*ParseZoneOffset("+05:45"), 345);
    EXPECT_EQ(*ParseZoneOffset("-09:30"), -570);
    EXPECT_EQ(*ParseZoneOffset("+14:00"), 840);
    EXPECT_EQ(*ParseZoneOffset("-14:00"), -840);
    const Result<TimeZone> berlin = ParseTimeZone("Europe/Berlin");
    ASSERT_TRUE(Succeeded(berlin));
    EXPECT_EQ(*berlin, Zone("Europe/Berlin"));
    EXPECT_EQ(*ParseTimeZone("+12:45"), TimeZone::Fixed(765));
    // Old names stay in the database as links.
    EXPECT_TRUE(ParseTimeZone("Asia/Calcutta").ok());
}

// Every refusal is one line that says what is wrong; nothing outside the
// zone folder is ever taken for a zone.
TEST(ZoneInput, BadInputGivesOneClearLine) {
    struct Case {
        const char* text;
        const char* says;
    } cases[] = {
        {"Europe/Berlin]", "unknown time zone \"Europe/Berlin]\""},
        {"Europe/Berln", "unknown time zone"},
        {"Mars/Olympus_Mons", "unknown time zone"},
        {"../../etc/passwd", "unknown time zone"},
        {"/usr/share/zoneinfo/Europe/Berlin", "unknown time zone"},
        {"Europe/Berlin\n", "unknown time zone \"Europe/Berlin?\""},
        {"+14:30", "zone offset +14:30 is outside -14:00..+14:00"},
        {"-14:01", "outside -14:00..+14:00"},
        {"+05:60", "outside"},
        {"+5:45", "is not Z, +HH:MM or -HH:MM"},
        {"", "no time zone given"},
    };
    for (const Case& c : cases) {
        const Result<TimeZone> r = ParseTimeZone(c.text);
        ASSERT_FALSE(r.ok()) << c.text;
        EXPECT_NE(r.message().find(c.says), std::string::npos) << r.message();
        EXPECT_EQ(r.message().find('\n'), std::string::npos) << r.message();
    }
    EXPECT_EQ(ParseTimeZone("Europe/Berln").error().code, kErrorUnknownZone);
    // A zone that slipped past the parser fails the conversion the same way.
    const Result<ZonedInstant> r = LocalToUniversal(At(2000, 1, 1, 12, 0), Zone("Nowhere/Else"));
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().code, kErrorUnknownZone);
    // Minutes and days outside their ranges, fixed offsets beyond 14 hours.
    EXPECT_EQ(LocalToUniversal({Day(2000, 1, 1), 25 * 60}, TimeZone::Fixed(0)).error().code,
              kErrorOutOfRange);
    EXPECT_EQ(LocalToUniversal({Day(2000, 1, 1), -1}, Zone("Europe/Berlin")).error().code,
              kErrorOutOfRange);
    EXPECT_EQ(LocalToUniversal({kLastDayNumber + 1, 0}, TimeZone::Fixed(0)).error().code,
              kErrorOutOfRange);
    EXPECT_FALSE(LocalToUniversal(At(2000, 1, 1, 0, 0), TimeZone::Fixed(14 * 60 + 30)).ok());
}

TEST(ZoneText, Offsets) {
    EXPECT_EQ(OffsetText(0), "GMT");
    EXPECT_EQ(OffsetText(7200), "GMT+2:00");
    EXPECT_EQ(OffsetText(-34200), "GMT-9:30");
    EXPECT_EQ(OffsetText(20700), "GMT+5:45");
    EXPECT_EQ(OffsetText(50400), "GMT+14:00");
    EXPECT_EQ(OffsetText(-1800), "GMT-0:30");
    EXPECT_EQ(OffsetText(3208), "GMT+0:53:28");  // Berlin's local mean time
    EXPECT_EQ(ZoneLabel(Zone("Europe/Berlin"), 7200), "Europe/Berlin, GMT+2:00");
    EXPECT_EQ(ZoneLabel(TimeZone::Fixed(-300), -18000), "GMT-5:00");
}

// A fixed offset gives exactly the Julian date of the minute arithmetic the
// date rows and vek-cli have always used, so their outputs stay the same.
TEST(ZoneConversion, FixedOffsetsKeepTheMinuteArithmetic) {
    for (int offset : {-840, -690, -345, -1, 0, 1, 330, 345, 765, 840}) {
        for (LocalMinute local : {At(1, 1, 1, 0, 0), At(1985, 3, 15, 14, 47), At(2799, 12, 31, 23, 59)}) {
            const Result<ZonedInstant> r = LocalToUniversal(local, TimeZone::Fixed(offset));
            ASSERT_TRUE(Succeeded(r));
            const int64_t minutes = int64_t(local.dayNumber) * 1440 - 720 + local.minute - offset;
            EXPECT_EQ(r->julianDate, double(minutes) / 1440.0) << offset;
            EXPECT_EQ(r->offsetSeconds, offset * 60);
        }
    }
}

TEST(ZoneConversion, BerlinGapAndOverlapOf1980) {
    const TimeZone berlin = Zone("Europe/Berlin");
    // 6 April 1980: the clocks went from 02:00 CET to 03:00 CEST.
    const LocalMinute gap = At(1980, 4, 6, 2, 30);
    const Result<ZonedInstant> asked = LocalToUniversal(gap, berlin);
    ASSERT_FALSE(asked.ok());
    EXPECT_EQ(asked.error().code, kErrorLocalTimeSkipped);
    EXPECT_EQ(asked.message(),
              "1980-04-06 02:30 does not exist in Europe/Berlin (clocks went from GMT+1:00 to "
              "GMT+2:00): earlier GMT+2:00 or later GMT+1:00");
    const Result<ZonedInstant> earlier = LocalToUniversal(gap, berlin, Fold::Earlier);
    const Result<ZonedInstant> later = LocalToUniversal(gap, berlin, Fold::Later);
    ASSERT_TRUE(earlier.ok() && later.ok());
    EXPECT_EQ(earlier->offsetSeconds, 7200);
    EXPECT_EQ(earlier->abbreviation, "CEST");
    EXPECT_NEAR(earlier->julianDate, Ut(1980, 4, 6, 0, 30), kSecond);
    EXPECT_EQ(later->offsetSeconds, 3600);
    EXPECT_NEAR(later->julianDate, Ut(1980, 4, 6, 1, 30), kSecond);
    // The minutes on either side of the gap are ordinary.
    EXPECT_EQ(OffsetAt(At(1980, 4, 6, 1, 59), "Europe/Berlin"), 3600);
    EXPECT_EQ(OffsetAt(At(1980, 4, 6, 3, 0), "Europe/Berlin"), 7200);

    // 28 September 1980: 03:00 CEST went back to 02:00 CET.
    const LocalMinute twice = At(1980, 9, 28, 2, 30);
    const Result<ZonedInstant> asked2 = LocalToUniversal(twice, berlin);
    ASSERT_FALSE(asked2.ok());
    EXPECT_EQ(asked2.error().code, kErrorLocalTimeTwice);
    EXPECT_EQ(asked2.message(),
              "1980-09-28 02:30 occurs twice in Europe/Berlin (clocks went from GMT+2:00 to "
              "GMT+1:00): earlier GMT+2:00 or later GMT+1:00");
    const Result<ZonedInstant> first = LocalToUniversal(twice, berlin, Fold::Earlier);
    const Result<ZonedInstant> second = LocalToUniversal(twice, berlin, Fold::Later);
    ASSERT_TRUE(first.ok() && second.ok());
    EXPECT_NEAR(first->julianDate, Ut(1980, 9, 28, 0, 30), kSecond);
    EXPECT_NEAR(second->julianDate, Ut(1980, 9, 28, 1, 30), kSecond);
    EXPECT_EQ(second->abbreviation, "CET");
    EXPECT_EQ(OffsetAt(At(1980, 9, 28, 1, 59), "Europe/Berlin"), 7200);
    EXPECT_EQ(OffsetAt(At(1980, 9, 28, 3, 0), "Europe/Berlin"), 3600);
    // A unique time takes no notice of the fold.
    EXPECT_EQ(LocalToUniversal(At(1980, 7, 1, 12, 0), berlin, Fold::Later)->offsetSeconds, 7200);
}

TEST(ZoneConversion, SouthernHemisphereSeasonsRunTheOtherWay) {
    // Sydney: summer time ends on 4 April 2021 (03:00 AEDT → 02:00 AEST) and
    // begins on 3 October 2021 (02:00 AEST → 03:00 AEDT).
    const Result<LocalTimeMeaning> autumn = MeaningOfLocalTime(At(2021, 4, 4, 2, 30), Zone("Australia/Sydney"));
    ASSERT_TRUE(Succeeded(autumn));
    EXPECT_EQ(autumn->kind, LocalTimeMeaning::Overlap);
    EXPECT_EQ(autumn->earlierOffset, 39600);
    EXPECT_EQ(autumn->laterOffset, 36000);
    const Result<LocalTimeMeaning> spring = MeaningOfLocalTime(At(2021, 10, 3, 2, 30), Zone("Australia/Sydney"));
    ASSERT_TRUE(Succeeded(spring));
    EXPECT_EQ(spring->kind, LocalTimeMeaning::Gap);
    EXPECT_EQ(spring->earlierOffset, 39600);
    EXPECT_EQ(spring->laterOffset, 36000);
    EXPECT_EQ(OffsetAt(At(2021, 1, 15, 12, 0), "Australia/Sydney"), 39600);
    EXPECT_EQ(OffsetAt(At(2021, 7, 15, 12, 0), "Australia/Sydney"), 36000);
    // New Zealand: +13 in January, +12 in July.
    EXPECT_EQ(OffsetAt(At(2010, 1, 15, 12, 0), "Pacific/Auckland"), 13 * 3600);
    EXPECT_EQ(OffsetAt(At(2010, 7, 15, 12, 0), "Pacific/Auckland"), 12 * 3600);
}

TEST(ZoneConversion, UnusualOffsetsAndChangesOfStandardTime) {
    // Asia/Kolkata: +5:30, but +6:30 war time from 1 September 1942.
    EXPECT_EQ(OffsetAt(At(1942, 7, 1, 12, 0), "Asia/Kolkata"), 19800);
    EXPECT_EQ(OffsetAt(At(1942, 10, 1, 12, 0), "Asia/Kolkata"), 23400);
    EXPECT_EQ(OffsetAt(At(1950, 1, 1, 12, 0), "Asia/Kolkata"), 19800);
    // Asia/Kathmandu: +5:30 until 1985, +5:45 from 1986; the first quarter
    // hour of 1 January 1986 never happened there.
    EXPECT_EQ(OffsetAt(At(1985, 6, 1, 12, 0), "Asia/Kathmandu"), 19800);
    EXPECT_EQ(OffsetAt(At(1986, 6, 1, 12, 0), "Asia/Kathmandu"), 20700);
    EXPECT_EQ(MeaningOfLocalTime(At(1986, 1, 1, 0, 10), Zone("Asia/Kathmandu"))->kind,
              LocalTimeMeaning::Gap);
    // Pacific/Chatham: +12:45 in winter, +13:45 in summer.
    EXPECT_EQ(OffsetAt(At(2021, 7, 1, 12, 0), "Pacific/Chatham"), 45900);
    EXPECT_EQ(OffsetAt(At(2021, 1, 1, 12, 0), "Pacific/Chatham"), 49500);
    // Pacific/Kiritimati: −10:40, −10, and from 1995 +14; 31 December 1994
    // was skipped altogether.
    EXPECT_EQ(OffsetAt(At(1970, 1, 1, 12, 0), "Pacific/Kiritimati"), -38400);
    EXPECT_EQ(OffsetAt(At(1994, 12, 30, 12, 0), "Pacific/Kiritimati"), -36000);
    EXPECT_EQ(OffsetAt(At(1995, 6, 1, 12, 0), "Pacific/Kiritimati"), 50400);
    const Result<LocalTimeMeaning> skipped = MeaningOfLocalTime(At(1994, 12, 31, 12, 0), Zone("Pacific/Kiritimati"));
    ASSERT_TRUE(Succeeded(skipped));
    EXPECT_EQ(skipped->kind, LocalTimeMeaning::Gap);
    EXPECT_EQ(skipped->earlierOffset, 50400);
    EXPECT_EQ(skipped->laterOffset, -36000);
    // Before its first rule a zone keeps local mean time, to the second.
    EXPECT_EQ(OffsetAt(At(1890, 1, 1, 12, 0), "Europe/Berlin"), 3208);
}

// The database lists the changes through 2037; later years go on with the
// same yearly daylight saving, and zones without it keep their offset.
TEST(ZoneConversion, DaylightSavingGoesOnAfter2037) {
    EXPECT_EQ(OffsetAt(At(2050, 7, 1, 12, 0), "Europe/Berlin"), 7200);
    EXPECT_EQ(OffsetAt(At(2050, 1, 15, 12, 0), "Europe/Berlin"), 3600);
    // The last Sunday of March 2050 is the 27th.
    EXPECT_EQ(MeaningOfLocalTime(At(2050, 3, 27, 2, 30), Zone("Europe/Berlin"))->kind,
              LocalTimeMeaning::Gap);
    EXPECT_EQ(OffsetAt(At(2050, 3, 26, 12, 0), "Europe/Berlin"), 3600);
    EXPECT_EQ(OffsetAt(At(2100, 7, 1, 12, 0), "America/New_York"), -4 * 3600);
    EXPECT_EQ(OffsetAt(At(2100, 12, 1, 12, 0), "America/New_York"), -5 * 3600);
    EXPECT_EQ(OffsetAt(At(2799, 7, 1, 12, 0), "Australia/Sydney"), 36000);
    EXPECT_EQ(OffsetAt(At(2100, 7, 1, 12, 0), "Asia/Kolkata"), 19800);
    EXPECT_EQ(OffsetAt(At(2500, 7, 1, 12, 0), "Asia/Tokyo"), 9 * 3600);
    const Result<int32_t> ut = OffsetAtInstant(Ut(2050, 7, 1, 12, 0), Zone("Europe/Berlin"));
    ASSERT_TRUE(Succeeded(ut));
    EXPECT_EQ(*ut, 7200);
}

TEST(ZoneConversion, UniversalToLocalAndStartOfDay) {
    const Result<LocalDateTime> l = UniversalToLocal(Ut(1985, 3, 15, 13, 47), Zone("Europe/Berlin"));
    ASSERT_TRUE(Succeeded(l));
    EXPECT_EQ(l->dayNumber, Day(1985, 3, 15));
    EXPECT_EQ(l->secondOfDay, (14 * 60 + 47) * 60);
    EXPECT_EQ(l->offsetSeconds, 3600);
    EXPECT_EQ(l->abbreviation, "CET");
    // Across midnight to the day before, with a negative offset.
    const Result<LocalDateTime> ny = UniversalToLocal(Ut(2010, 7, 5, 2, 0), TimeZone::Fixed(-300));
    ASSERT_TRUE(Succeeded(ny));
    EXPECT_EQ(ny->dayNumber, Day(2010, 7, 4));
    EXPECT_EQ(ny->secondOfDay, 21 * 3600);

    // A Berlin day begins at its midnight; in São Paulo on 4 November 2018
    // the clocks jumped from 00:00 to 01:00, so the day began at that jump.
    EXPECT_NEAR(*StartOfLocalDay(Day(1980, 7, 1), Zone("Europe/Berlin")), Ut(1980, 6, 30, 22, 0), kSecond);
    EXPECT_NEAR(*StartOfLocalDay(Day(2018, 11, 4), Zone("America/Sao_Paulo")), Ut(2018, 11, 4, 3, 0), kSecond);
    EXPECT_NEAR(*StartOfLocalDay(Day(2018, 11, 5), Zone("America/Sao_Paulo")), Ut(2018, 11, 5, 2, 0), kSecond);
    EXPECT_EQ(*StartOfLocalDay(Day(2000, 1, 1), TimeZone::Fixed(60)), Day(2000, 1, 1) - 0.5 - 1.0 / 24);
}

// Instants as ISO text to the minute: the offset in force then, half a minute
// before midnight rounded up into the next day and month,
// negative offsets, and local mean time with its seconds.
TEST(ZoneText, IsoInstantsToTheMinute) {
    EXPECT_EQ(IsoInstantText(Ut(2026, 3, 29, 0, 59), Zone("Europe/Berlin")), "2026-03-29T01:59+01:00");
    EXPECT_EQ(IsoInstantText(Ut(2026, 3, 29, 1, 0), Zone("Europe/Berlin")), "2026-03-29T03:00+02:00");
    EXPECT_EQ(IsoInstantText(Ut(2026, 1, 31, 23, 59) + 30.4 * kSecond, TimeZone::Fixed(0)),
              "2026-02-01T00:00+00:00");
    EXPECT_EQ(IsoInstantText(Ut(2010, 7, 5, 2, 0), TimeZone::Fixed(-570)), "2010-07-04T16:30-09:30");
    // Berlin kept local mean time, +0:53:28, until April 1893.
    EXPECT_EQ(IsoInstantText(Ut(1890, 1, 1, 12, 0), Zone("Europe/Berlin")),
              "1890-01-01T12:53:28+00:53:28");
    EXPECT_EQ(IsoInstantText(NAN, Zone("Europe/Berlin")), "");
}

TEST(ZoneNames, MatchingAnyCase) {
    const std::vector<std::string> berl = MatchingZoneNames("Berl");
    EXPECT_NE(std::find(berl.begin(), berl.end(), "Europe/Berlin"), berl.end());
    const std::vector<std::string> kath = MatchingZoneNames("kathm");
    EXPECT_NE(std::find(kath.begin(), kath.end(), "Asia/Kathmandu"), kath.end());
    for (const std::string& name : kath) EXPECT_NE(name.find("Kathm"), std::string::npos);
    EXPECT_TRUE(MatchingZoneNames("no zone has this").empty());
    EXPECT_GT(MatchingZoneNames("").size(), 300u);
}

// The offsets on each side of every transition of the table written by
// tools/make_zone_transitions.sh from the database's own `zdump`: the sample
// kept with the tests, or the table VEK_ZONE_TABLE names (the ctest
// zones_against_zdump writes a full one from this machine's database).
TEST(ZoneTable, OffsetsOnEachSideOfEveryTransitionMatchTheDatabase) {
    const char* env = std::getenv("VEK_ZONE_TABLE");
    const std::string path = env && *env ? env : VEK_TEST_DATA_DIR "/zone_transitions.csv";
    std::ifstream in(path);
    ASSERT_TRUE(in) << path;
    std::string line;
    int rows = 0, gaps = 0, overlaps = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string zone, instant, utc, before, after;
        std::getline(fields, zone, ',');
        std::getline(fields, instant, ',');
        std::getline(fields, utc, ',');
        std::getline(fields, before, ',');
        std::getline(fields, after, ',');
        const int64_t s = std::stoll(instant);
        const int32_t off0 = std::stoi(before), off1 = std::stoi(after);
        const TimeZone z = Zone(zone.c_str());
        const std::string where = zone + " " + utc;
        auto jd = [](int64_t seconds) { return 2440587.5 + double(seconds) / 86400; };
        ++rows;

        // The instant side: the second before the change and the change itself.
        const Result<int32_t> u0 = OffsetAtInstant(jd(s - 1), z), u1 = OffsetAtInstant(jd(s), z);
        ASSERT_TRUE(u0.ok() && u1.ok()) << where << ": " << u0.message() << u1.message();
        EXPECT_EQ(*u0, off0) << where;
        EXPECT_EQ(*u1, off1) << where;

        // The clock side: the last whole minute on the old clock and the first
        // on the new one each have their offset among their meanings.
        auto minuteOf = [](int64_t localSeconds) {
            const int64_t minutes = FloorDiv(localSeconds, 60), days = FloorDiv(minutes, 1440);
            return LocalMinute{int32_t(2440588 + days), int(minutes - days * 1440)};
        };
        auto offers = [&](LocalMinute m, int32_t offset) {
            const Result<LocalTimeMeaning> r = MeaningOfLocalTime(m, z);
            return r.ok() && (r->earlierOffset == offset || r->laterOffset == offset);
        };
        EXPECT_TRUE(offers(minuteOf(s - 1 + off0), off0)) << where;
        EXPECT_TRUE(offers(minuteOf(s + off1 + 59), off1)) << where;

        // A minute the change skipped or doubled is reported as such, with
        // both offsets, and each choice converts back to that minute.
        const int64_t low = std::min<int64_t>(s + off0, s + off1), high = std::max<int64_t>(s + off0, s + off1);
        const LocalMinute inside = minuteOf(low + 59);
        const int64_t insideSeconds = (int64_t(inside.dayNumber) - 2440588) * 86400 + inside.minute * 60;
        if (insideSeconds < high) {
            const Result<LocalTimeMeaning> m = MeaningOfLocalTime(inside, z);
            ASSERT_TRUE(m.ok()) << where;
            EXPECT_EQ(m->kind, off1 > off0 ? LocalTimeMeaning::Gap : LocalTimeMeaning::Overlap) << where;
            EXPECT_EQ(m->earlierOffset, std::max(off0, off1)) << where;
            EXPECT_EQ(m->laterOffset, std::min(off0, off1)) << where;
            (off1 > off0 ? gaps : overlaps)++;
            if (off1 < off0) {
                for (Fold f : {Fold::Earlier, Fold::Later}) {
                    const Result<ZonedInstant> i = LocalToUniversal(inside, z, f);
                    ASSERT_TRUE(i.ok()) << where;
                    const Result<LocalDateTime> back = UniversalToLocal(i->julianDate, z);
                    ASSERT_TRUE(back.ok()) << where;
                    EXPECT_EQ(back->dayNumber, inside.dayNumber) << where;
                    EXPECT_EQ(back->secondOfDay, inside.minute * 60) << where;
                    EXPECT_EQ(back->offsetSeconds, i->offsetSeconds) << where;
                }
            }
        }
    }
    // The table holds at least 30 zones' worth of changes of both kinds.
    EXPECT_GT(rows, 1000);
    EXPECT_GT(gaps, 300);
    EXPECT_GT(overlaps, 300);
}

// The remembered answers are the functions' own, local times and instants
// alike, in every kind of stretch: through changes of the clocks both ways,
// a half hour on Lord Howe Island, a day skipped (2011) and a day shown
// twice (1892) on Samoa, out of local mean time, and in the years after the
// zone files' last, which take the offsets of a listed year. Steps of a
// quarter hour and of 7h 5min come into a stretch from either side.
TEST(ZoneAnswers, AnswerAsTheFunctionsDo) {
    struct Span {
        const char* zone;
        int fromYear;
        int toYear;
    };
    const Span spans[] = {{"Europe/Berlin", 1892, 1894}, {"Europe/Berlin", 1979, 1982},
                          {"Europe/Berlin", 2036, 2041}, {"America/New_York", 2399, 2401},
                          {"Australia/Lord_Howe", 1985, 1987}, {"Pacific/Apia", 2011, 2012}, {"Pacific/Apia", 1892, 1893},
                          {"Europe/London", 1, 2}};
    int lookedAt = 0;
    for (const Span& span : spans) {
        for (const int step : {15, 7 * 60 + 5}) {
            ZoneAnswers answers(Zone(span.zone));
            const int32_t last = Day(span.toYear, 1, 1);
            for (int64_t m = int64_t(Day(span.fromYear, 1, 1)) * 1440; m < int64_t(last) * 1440;
                 m += step) {
                const LocalMinute local{int32_t(m / 1440), int(m % 1440)};
                const Result<LocalTimeMeaning> a = answers.MeaningOf(local);
                const Result<LocalTimeMeaning> b = MeaningOfLocalTime(local, Zone(span.zone));
                ASSERT_TRUE(a && b) << span.zone << " " << m;
                ASSERT_TRUE(a->kind == b->kind && a->earlierOffset == b->earlierOffset &&
                            a->laterOffset == b->laterOffset &&
                            a->earlierAbbreviation == b->earlierAbbreviation &&
                            a->laterAbbreviation == b->laterAbbreviation)
                    << span.zone << " local minute " << m << ": " << a->earlierOffset << " "
                    << a->kind << " instead of " << b->earlierOffset << " " << b->kind;
                const double jd = (m - 720) / 1440.0;
                const Result<LocalDateTime> c = answers.LocalOf(jd);
                const Result<LocalDateTime> d = UniversalToLocal(jd, Zone(span.zone));
                ASSERT_TRUE(c && d) << span.zone << " " << m;
                ASSERT_TRUE(c->dayNumber == d->dayNumber && c->secondOfDay == d->secondOfDay &&
                            c->offsetSeconds == d->offsetSeconds &&
                            c->abbreviation == d->abbreviation)
                    << span.zone << " UT minute " << m << ": " << c->offsetSeconds
                    << " instead of " << d->offsetSeconds;
                ++lookedAt;
            }
        }
    }
    EXPECT_GT(lookedAt, 500000);
    // Outside the accepted dates both fail alike.
    ZoneAnswers answers(Zone("Europe/Berlin"));
    EXPECT_EQ(answers.MeaningOf(LocalMinute{kLastDayNumber + 1, 0}).error().code,
              MeaningOfLocalTime(LocalMinute{kLastDayNumber + 1, 0}, Zone("Europe/Berlin"))
                  .error()
                  .code);
    EXPECT_FALSE(answers.LocalOf(kLastDayNumber + 3.0));
    ZoneAnswers unknown(Zone("Europe/Berln"));
    EXPECT_EQ(unknown.MeaningOf(At(2000, 1, 1, 0, 0)).error().code, kErrorUnknownZone);
    EXPECT_EQ(unknown.LocalOf(Ut(2000, 1, 1, 0, 0)).error().code, kErrorUnknownZone);
}

}  // namespace
}  // namespace vek
