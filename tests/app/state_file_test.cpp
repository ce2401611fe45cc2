#include "app/state_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "../succeeded.h"
#include "../temp_folder.h"
#include "platform/settings_store.h"

namespace vek {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;
using testing::Succeeded;
using testing::TempFolder;
using testing::WriteRaw;

std::string Fixture(const std::string& name) {
    return std::string(VEK_TEST_DATA_DIR) + "/state/" + name;
}

// The lines of a state file text, without their ends.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find("\r\n", pos);
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return text;
}

// The state that tests/testdata/state/expected.vek records.
AppState ExpectedState() {
    AppState st;
    st.dateRows[kWorldDate] = {7, 4, "2010", 25, 14};
    st.dateRows[kBirth1] = {3, 21, "1980", 14, 26};
    st.dateRows[kBirth2] = {0, 0, "", 0, -1};
    st.mode = Mode::Personal1;
    st.steppingIntervalIndex = 2;
    ConfigControls& c = st.settings.controls;
    c.orbIndex = {12, 9, 6, 7, 4, 3, 3, 1};
    c.useColor = false;
    c.useBoldface = true;
    c.boldfaceFractionIndex = 3;
    c.boldfaceThreshold = BoldfaceThreshold::FractionOfOrb;
    c.sidereal = true;
    c.proportionIndex = {1, 4};
    c.whiteImageBackground = true;
    c.keepSelectedZodiac = false;
    c.midpointOrbIndex = 5;
    AcceptedSettings& a = st.settings.accepted;
    a.SiderealZodiac = true;
    a.OrbIndex = {8, 7, 6, 5, 4, 3, 0, 5};
    a.AspectColor = DefaultAspectColors();
    a.AspectColor[kQuincunx] = Color();
    return st;
}

// Every value a state file holds; white background and colours are
// compared separately where loading treats them specially.
void ExpectSameFileValues(const AppState& x, const AppState& y) {
    for (DateSlot r : AllDateSlots()) {
        SCOPED_TRACE("date row " + std::to_string(Index(r)));
        EXPECT_EQ(x.dateRows[r].monthIndex, y.dateRows[r].monthIndex);
        EXPECT_EQ(x.dateRows[r].dayIndex, y.dateRows[r].dayIndex);
        EXPECT_EQ(x.dateRows[r].yearText, y.dateRows[r].yearText);
        EXPECT_EQ(x.dateRows[r].timeIndex, y.dateRows[r].timeIndex);
        EXPECT_EQ(x.dateRows[r].zoneIndex, y.dateRows[r].zoneIndex);
    }
    const ConfigControls& a = x.settings.controls;
    const ConfigControls& b = y.settings.controls;
    EXPECT_EQ(x.mode, y.mode);
    EXPECT_EQ(x.steppingIntervalIndex, y.steppingIntervalIndex);
    EXPECT_EQ(a.useColor, b.useColor);
    EXPECT_EQ(a.useBoldface, b.useBoldface);
    EXPECT_EQ(a.boldfaceFractionIndex, b.boldfaceFractionIndex);
    EXPECT_EQ(a.boldfaceThreshold, b.boldfaceThreshold);
    EXPECT_EQ(a.sidereal, b.sidereal);
    EXPECT_EQ(a.proportionIndex, b.proportionIndex);
    EXPECT_EQ(a.keepSelectedZodiac, b.keepSelectedZodiac);
    EXPECT_EQ(a.midpointOrbIndex, b.midpointOrbIndex);
    EXPECT_EQ(x.settings.accepted.SiderealZodiac, y.settings.accepted.SiderealZodiac);
    EXPECT_EQ(x.settings.accepted.OrbIndex, y.settings.accepted.OrbIndex);
}

// After loading, the orb lists show the accepted orbs.
void ExpectOrbListsShowAcceptedOrbs(const AppState& st) {
    EXPECT_EQ(st.settings.controls.orbIndex, st.settings.accepted.OrbIndex);
}

TEST(StateFileSave, MatchesTheHandWrittenFileByteForByte) {
    TempFolder tmp("vek-state-test");
    AppState st = ExpectedState();
    ASSERT_TRUE(Succeeded(SaveStateFile(tmp / "s.vek", st)));
    EXPECT_EQ(ReadAll(tmp / "s.vek"), ReadAll(Fixture("expected.vek")));
}

TEST(StateFileSave, RecordsTheZodiacInForceAndExactlyOneMode) {
    TempFolder tmp("vek-state-test");
    AppState st;
    st.settings.controls.sidereal = true;  // shown in the dialog, not accepted
    st.settings.accepted.SiderealZodiac = false;
    st.mode = Mode::None;
    ASSERT_TRUE(Succeeded(SaveStateFile(tmp / "s.vek", st)));
    const auto lines = Lines(ReadAll(tmp / "s.vek"));
    ASSERT_EQ(lines.size(), 51u);
    EXPECT_EQ(lines[29], "#FALSE#");
    EXPECT_EQ(lines[30], "#TRUE#");
    EXPECT_FALSE(st.settings.controls.sidereal);  // the dialog shows the zodiac in force
    EXPECT_EQ(lines[15], "#TRUE#");               // world transits stands in for "nothing computed"
    for (int i = 16; i < 21; ++i) EXPECT_EQ(lines[i], "#FALSE#");
}

TEST(StateFileLoad, TheHandWrittenFileGivesItsValues) {
    AppState loaded;
    ASSERT_TRUE(Succeeded(LoadStateFile(Fixture("expected.vek"), loaded)));
    AppState expected = ExpectedState();
    ExpectSameFileValues(loaded, expected);
    ExpectOrbListsShowAcceptedOrbs(loaded);
    EXPECT_FALSE(loaded.settings.controls.whiteImageBackground);  // cleared by loading
    // A colour of 0 keeps the colour the aspect had.
    EXPECT_EQ(loaded.settings.accepted.AspectColor[kQuincunx], DefaultAspectColor(kQuincunx));
    EXPECT_EQ(loaded.settings.accepted.AspectColor[kSquare], Rgb(255, 0, 0));
}

TEST(StateFileLoad, SavingAndLoadingReproducesEveryValue) {
    TempFolder tmp("vek-state-test");
    AppState st;
    st.dateRows[kWorldDate] = {12, 31, "2799", 48, 47};
    st.dateRows[kBirth1] = {1, 1, "1", 1, 1};
    st.dateRows[kBirth2] = {-1, -1, "0042", -1, 0};
    st.mode = Mode::Synastry;
    st.steppingIntervalIndex = 4;
    ConfigControls& c = st.settings.controls;
    c.orbIndex = {1, 2, 3, 4, 5, 6, 7, 15};  // as after "Use settings"
    c.useColor = true;
    c.useBoldface = false;
    c.boldfaceFractionIndex = 8;
    c.boldfaceThreshold = BoldfaceThreshold::FractionOfOrb;
    c.proportionIndex = {0, 3};
    c.keepSelectedZodiac = true;
    c.midpointOrbIndex = 7;
    c.whiteImageBackground = true;
    AcceptedSettings& a = st.settings.accepted;
    a.SiderealZodiac = true;
    a.OrbIndex = {1, 2, 3, 4, 5, 6, 7, 15};
    a.AspectColor = {Color(),    Color(1),     Rgb(0, 0, 255), Rgb(128, 64, 0),
                     Color(kMaxColor), Color(256), Color(65536),   Color(12345)};
    ASSERT_TRUE(Succeeded(SaveStateFile(tmp / "round.vek", st)));

    AppState loaded;
    ASSERT_TRUE(Succeeded(LoadStateFile(tmp / "round.vek", loaded)));
    ExpectSameFileValues(loaded, st);
    ExpectOrbListsShowAcceptedOrbs(loaded);
    EXPECT_EQ(loaded.settings.accepted.AspectColor, a.AspectColor);
    EXPECT_TRUE(loaded.settings.controls.sidereal);
    EXPECT_FALSE(loaded.settings.controls.whiteImageBackground);

    // Saving what was loaded gives the same file again, white box apart.
    ASSERT_TRUE(Succeeded(SaveStateFile(tmp / "again.vek", loaded)));
    auto first = Lines(ReadAll(tmp / "round.vek"));
    auto second = Lines(ReadAll(tmp / "again.vek"));
    first[47] = second[47] = "";
    EXPECT_EQ(first, second);
}

TEST(StateFileLoad, LoadingFollowsTheFileNotTheDefaults) {
    const auto base = Lines(ReadAll(Fixture("expected.vek")));

    // Line 51 missing: synastry takes the personal-transit proportion.
    auto lines = base;
    lines.pop_back();
    AppState st;
    ASSERT_TRUE(Succeeded(LoadStateText(Join(lines), st)));
    EXPECT_EQ(st.settings.controls.proportionIndex[1], 1);
    // Also when the last line has no line end.
    std::string text = Join(lines);
    text.resize(text.size() - 2);
    st = AppState();
    ASSERT_TRUE(Succeeded(LoadStateText(text, st)));
    EXPECT_EQ(st.settings.controls.midpointOrbIndex, 5);
    EXPECT_EQ(st.settings.controls.proportionIndex[1], 1);

    // Out-of-range zones and negative indices take their replacements.
    lines = base;
    lines[4] = " 99 ";
    lines[9] = "-7 ";
    lines[26] = "-1 ";  // boldface fraction → "1/4"
    lines[31] = "-1 ";  // personal proportion → "1/2"
    lines[49] = "-3 ";  // midpoint orb → 1° 0'
    lines[50] = "-1 ";  // synastry proportion → "1/2"
    st = AppState();
    ASSERT_TRUE(Succeeded(LoadStateText(Join(lines), st)));
    EXPECT_EQ(st.dateRows[kWorldDate].zoneIndex, 0);
    EXPECT_EQ(st.dateRows[kBirth1].zoneIndex, 0);
    EXPECT_EQ(st.settings.controls.boldfaceFractionIndex, 2);
    EXPECT_EQ(st.settings.controls.proportionIndex[0], 1);
    EXPECT_EQ(st.settings.controls.midpointOrbIndex, 3);
    EXPECT_EQ(st.settings.controls.proportionIndex[1], 1);

    // The accepted orbs (33..40) win over lines 23 and 24.
    EXPECT_EQ(st.settings.controls.orbIndex[0], 8);
    EXPECT_EQ(st.settings.controls.orbIndex[1], 7);

    // Blanks around values, plain LF or CR line ends and "10.0" all read.
    lines = base;
    lines[0] = "\t  7";
    lines[32] = "8.00";
    text = Join(lines);
    std::string lf, cr;
    for (char ch : text) {
        if (ch == '\r') continue;
        lf += ch;
        cr += ch == '\n' ? '\r' : ch;
    }
    for (const std::string& t : {text, lf, cr}) {
        st = AppState();
        ASSERT_TRUE(Succeeded(LoadStateText(t, st)));
        EXPECT_EQ(st.dateRows[kWorldDate].monthIndex, 7);
        EXPECT_EQ(st.dateRows[kBirth2].yearText, "");
        EXPECT_EQ(st.settings.accepted.OrbIndex[0], 8);
        EXPECT_EQ(st.mode, Mode::Personal1);
    }
}

TEST(StateFileLoad, AnEmptyLastLineCountsAsMissing) {
    auto lines = Lines(ReadAll(Fixture("expected.vek")));
    ASSERT_EQ(lines.size(), 51u);
    for (const char* last : {"", "  ", "\t"}) {
        lines[50] = last;
        for (const std::string& text :
             {Join(lines), Join(lines).substr(0, Join(lines).size() - 2)}) {
            AppState st;
            const Status loaded = LoadStateText(text, st);
            ASSERT_TRUE(loaded) << "line 51 \"" << last << "\": " << loaded.message();
            EXPECT_EQ(st.settings.controls.midpointOrbIndex, 5);
            EXPECT_EQ(st.settings.controls.proportionIndex[1], 1);  // the personal one
            EXPECT_FALSE(st.settings.controls.useColor);            // not reset to the defaults
        }
    }
    // A line 51 with something else in it is still read, and checked.
    lines[50] = "x";
    AppState st;
    EXPECT_NE(LoadStateText(Join(lines), st).message().find("Line 51"), std::string::npos);
}

TEST(StateFileLoad, AnErrorResetsTheSettingsAndKeepsWhatWasRead) {
    auto lines = Lines(ReadAll(Fixture("expected.vek")));
    lines.resize(45);  // ends inside the colours
    AppState st;
    st.settings.controls.midpointOrbIndex = 6;
    st.settings.controls.includeMoon = false;
    const std::string error = LoadStateText(Join(lines), st).message();
    EXPECT_NE(error.find("end of file"), std::string::npos) << error;
    EXPECT_NE(error.find("46"), std::string::npos) << error;
    // The date rows and mode keep what was read...
    EXPECT_EQ(st.dateRows[kWorldDate].yearText, "2010");
    EXPECT_EQ(st.dateRows[kBirth1].zoneIndex, 26);
    EXPECT_EQ(st.mode, Mode::Personal1);
    // ...the settings are back at their defaults and applied.
    EXPECT_EQ(st.settings.controls.midpointOrbIndex, kDefaultMidpointOrbIndex);
    EXPECT_EQ(st.settings.controls.orbIndex, kDefaultOrbIndex);
    EXPECT_EQ(st.settings.accepted.OrbIndex, kDefaultOrbIndex);
    EXPECT_TRUE(st.settings.controls.includeMoon);
    EXPECT_TRUE(st.settings.accepted.IncludeMoon);
    EXPECT_EQ(st.settings.controls.boldfaceThreshold, BoldfaceThreshold::OneDegree);
    // "Keep selected zodiac" (ticked by default) kept the sidereal zodiac read
    // from line 30.
    EXPECT_TRUE(st.settings.controls.sidereal);
    EXPECT_TRUE(st.settings.accepted.SiderealZodiac);

    // The day is applied only after the time: an error on the time keeps the old day.
    lines = Lines(ReadAll(Fixture("expected.vek")));
    lines[3] = "twelve";
    st = AppState();
    st.dateRows[kWorldDate].dayIndex = 9;
    EXPECT_NE(LoadStateText(Join(lines), st).message().find("Line 4"), std::string::npos);
    EXPECT_EQ(st.dateRows[kWorldDate].monthIndex, 7);
    EXPECT_EQ(st.dateRows[kWorldDate].yearText, "2010");
    EXPECT_EQ(st.dateRows[kWorldDate].dayIndex, 9);

    // Declining the reset keeps the settings as read; during start-up the
    // defaults are not applied to the engine.
    lines = Lines(ReadAll(Fixture("expected.vek")));
    lines[49] = "8";  // midpoint list has entries 0..7
    st = AppState();
    StateLoadOptions no;
    no.confirmReset = [] { return false; };
    EXPECT_NE(LoadStateText(Join(lines), st, no).message().find("outside its list"),
              std::string::npos);
    EXPECT_FALSE(st.settings.controls.keepSelectedZodiac);
    EXPECT_EQ(st.settings.accepted.OrbIndex[0], 8);

    st = AppState();
    StateLoadOptions startup;
    startup.startupComplete = false;
    EXPECT_FALSE(LoadStateText(Join(lines), st, startup));
    EXPECT_TRUE(st.settings.accepted.SiderealZodiac);  // read, not reset
    EXPECT_EQ(st.settings.accepted.OrbIndex, kDefaultOrbIndex);
}

TEST(StateFileLoad, MalformedValuesAreErrors) {
    const auto base = Lines(ReadAll(Fixture("expected.vek")));
    struct Case {
        int line;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {1, "13", "outside its list"},  // month list ends at December
        {2, "-2", "outside its list"},
        {16, "#YES#", "neither #TRUE# nor #FALSE#"},
        {23, "", "not a number"},
        {25, "2", "check box"},
        {33, "-1", "outside its list"},  // an accepted orb must be an entry
        {34, "16", "outside its list"},
        {41, "16777216", "colour"},
        {42, "-5", "colour"},
        {22, "1.5", "not a whole number"},
        {22, "1e3", "not a whole number"},
        {22, "99999999999999999999999999", "too large"},
        {22, "-99999999999999999999999999", "too large"},
        {48, "x", "not a number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("line ") + std::to_string(c.line) + ": " + c.text);
        auto lines = base;
        lines[c.line - 1] = c.text;
        AppState st;
        const std::string error = LoadStateText(Join(lines), st).message();
        EXPECT_NE(error.find("Line " + std::to_string(c.line)), std::string::npos) << error;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST(StateFileLoad, HostileFilesGiveErrorsQuickly) {
    TempFolder tmp("vek-state-test");
    AppState st;
    EXPECT_FALSE(LoadStateFile(tmp / "missing.vek", st));
    EXPECT_FALSE(LoadStateFile(tmp.path(), st));
    EXPECT_FALSE(LoadStateFile("", st));
    // Only regular files are opened: a pipe without a writer would block.
    ASSERT_EQ(::mkfifo((tmp / "pipe.vek").c_str(), 0600), 0);
    EXPECT_NE(LoadStateFile(tmp / "pipe.vek", st).message().find("Not a regular file"),
              std::string::npos);

    std::string garbage;
    for (int i = 0; i < 100000; ++i) garbage += static_cast<char>((i * 2654435761u) >> 24);
    WriteRaw(tmp / "garbage.vek", garbage);
    EXPECT_FALSE(LoadStateFile(tmp / "garbage.vek", st));

    // A line of a million characters.
    WriteRaw(tmp / "long.vek", std::string(1000000, '7') + "\r\n");
    std::string error = LoadStateFile(tmp / "long.vek", st).message();
    EXPECT_NE(error.find("longer than"), std::string::npos) << error;

    // Gigabytes: a sparse file of 4 GB of zero bytes, and a good file
    // followed by gigabytes. Only the head is read.
    const auto start = std::chrono::steady_clock::now();
    {
        const int fd = ::open((tmp / "huge.vek").c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, int64_t{4} << 30), 0);
        ::close(fd);
    }
    error = LoadStateFile(tmp / "huge.vek", st).message();
    EXPECT_NE(error.find("longer than"), std::string::npos) << error;

    fs::copy_file(Fixture("expected.vek"), tmp / "tail.vek");
    fs::resize_file(tmp / "tail.vek", int64_t{3} << 30);
    st = AppState();
    EXPECT_TRUE(Succeeded(LoadStateFile(tmp / "tail.vek", st)));
    EXPECT_EQ(st.settings.controls.proportionIndex[1], 4);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    // Binary garbage in the year line stays a text and loads.
    auto lines = Lines(ReadAll(Fixture("expected.vek")));
    lines[2] = std::string("\x01\xff\x00z", 4);
    st = AppState();
    EXPECT_TRUE(Succeeded(LoadStateText(Join(lines), st)));
    EXPECT_EQ(st.dateRows[kWorldDate].yearText, std::string("\x01\xff\x00z", 4));

    // A line of exactly the longest length loads, one character more does
    // not, from a text and from a file; every line may be that long.
    for (std::size_t length : {kMaxStateLineLength, kMaxStateLineLength + 1}) {
        const bool fits = length == kMaxStateLineLength;
        lines[2] = std::string(length, '7');
        st = AppState();
        const Status loaded = LoadStateText(Join(lines), st);
        const std::string error = loaded.message();
        EXPECT_EQ(loaded.ok(), fits) << length << ": " << error;
        if (fits) {
            EXPECT_EQ(st.dateRows[kWorldDate].yearText.size(), length);
        } else {
            EXPECT_NE(error.find("Line 3 of the state file is longer than 1024"), std::string::npos)
                << error;
        }
        auto padded = lines;
        padded[3].insert(0, length - padded[3].size(), ' ');
        WriteRaw(tmp / "edge.vek", Join(padded));
        st = AppState();
        EXPECT_EQ(LoadStateFile(tmp / "edge.vek", st).ok(), fits) << length;
    }
}

TEST(StateFileZones, MinutesAndZonesOfTheirOwnRoundTripInTheirListsLines) {
    TempFolder tmp("vek-state-test");
    AppState st = ExpectedState();
    const std::string plain = *StateFileText(st);
    DateRowFields& world = st.dateRows[kWorldDate];
    world.exactMinute = 14 * 60 + 47;
    world.timeIndex = 30;
    world.zone = TimeZone::Named("Europe/Berlin");
    world.zoneIndex = 28;
    DateRowFields& birth = st.dateRows[kBirth1];
    birth.zone = TimeZone::Fixed(-(9 * 60 + 30) - 15);  // −9:45, which the list lacks
    st.dateRows[kBirth2] = {9, 28, "1980", 6, 0};
    st.dateRows[kBirth2].zone = TimeZone::Named("Europe/Berlin");
    st.dateRows[kBirth2].fold = Fold::Later;
    ASSERT_TRUE(Succeeded(SaveStateFile(tmp / "zones.vek", st)));
    const std::string text = ReadAll(tmp / "zones.vek");
    const auto lines = Lines(text);
    // Still 51 lines; only the time and zone lines of the rows with extras
    // differ, and they hold texts, which earlier versions refuse as not a
    // number instead of reading another time.
    ASSERT_EQ(lines.size(), 51u);
    EXPECT_EQ(lines[3], "14:47");
    EXPECT_EQ(lines[4], "Europe/Berlin");
    EXPECT_EQ(lines[9], "-09:45");
    EXPECT_EQ(lines[14], "Europe/Berlin later");
    auto plainLines = Lines(plain);
    for (std::size_t i : {3u, 4u, 9u}) plainLines[i] = lines[i];
    for (std::size_t i = 10; i < 15; ++i) plainLines[i] = lines[i];
    EXPECT_EQ(plainLines, lines);

    AppState loaded;
    ASSERT_TRUE(Succeeded(LoadStateFile(tmp / "zones.vek", loaded)));
    for (DateSlot r : AllDateSlots()) {
        SCOPED_TRACE("date row " + std::to_string(Index(r)));
        const DateRowFields& a = loaded.dateRows[r];
        const DateRowFields& b = st.dateRows[r];
        EXPECT_EQ(a.exactMinute, b.exactMinute);
        EXPECT_EQ(a.timeIndex, b.timeIndex);
        EXPECT_EQ(a.zone, b.zone);
        EXPECT_EQ(a.fold, b.fold);
    }
    // The rows are written again as they were read.
    ASSERT_TRUE(Succeeded(SaveStateFile(tmp / "again.vek", loaded)));
    const auto again = Lines(ReadAll(tmp / "again.vek"));
    ASSERT_EQ(again.size(), 51u);
    EXPECT_EQ(std::vector<std::string>(again.begin(), again.begin() + 15),
              std::vector<std::string>(lines.begin(), lines.begin() + 15));

    // A state without extras is written as it always was.
    AppState none = ExpectedState();
    ASSERT_TRUE(Succeeded(SaveStateFile(tmp / "s.vek", none)));
    EXPECT_EQ(ReadAll(tmp / "s.vek"), ReadAll(Fixture("expected.vek")));
}

TEST(StateFileZones, AZoneOrTimeThatCannotBeReadIsAnError) {
    auto lines = Lines(ReadAll(Fixture("expected.vek")));
    struct Case {
        std::size_t line;
        const char* value;
        const char* says;
    };
    for (const Case& c : {Case{3, "25:00", "Line 4"}, Case{3, "14:7", "Line 4"},
                          Case{4, "Mars/Olympus", "unknown time zone"},
                          Case{4, "+14:30", "outside -14:00..+14:00"},
                          Case{4, "Europe/Berlin sooner", "earlier or later"}}) {
        auto broken = lines;
        broken[c.line] = c.value;
        AppState st;
        const Status s = LoadStateText(Join(broken), st);
        ASSERT_FALSE(s) << c.value;
        EXPECT_NE(s.message().find(c.says), std::string::npos) << s.message();
    }
    // A zone name with blanks around it, as an editor may leave it, is read.
    lines[4] = " Asia/Kathmandu ";
    AppState st;
    ASSERT_TRUE(Succeeded(LoadStateText(Join(lines), st)));
    EXPECT_EQ(st.dateRows[kWorldDate].zone, TimeZone::Named("Asia/Kathmandu"));
}

TEST(StateFileSave, AFailedSaveKeepsTheOldFile) {
    TempFolder tmp("vek-state-test");
    AppState st = ExpectedState();
    ASSERT_TRUE(Succeeded(SaveStateFile(tmp / "keep.vek", st)));
    const std::string before = ReadAll(tmp / "keep.vek");

    // The year would break the file's lines: nothing is written.
    AppState bad = ExpectedState();
    bad.dateRows[kBirth1].yearText = "19\r\n80";
    EXPECT_EQ(
        SaveStateFile(tmp / "keep.vek", bad).message(),
        "The state cannot be saved: the year of date row 2 holds a line break or is too long.");
    bad = ExpectedState();
    bad.settings.accepted.OrbIndex[3] = 16;
    EXPECT_FALSE(SaveStateFile(tmp / "keep.vek", bad));
    EXPECT_EQ(ReadAll(tmp / "keep.vek"), before);

    // The target is a folder, or the folder does not exist.
    fs::create_directory(tmp / "folder.vek");
    EXPECT_FALSE(SaveStateFile(tmp / "folder.vek", st));
    EXPECT_TRUE(fs::is_directory(tmp / "folder.vek"));
    EXPECT_FALSE(SaveStateFile(tmp / "no/such/folder.vek", st));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(tmp.path())) ++entries;
    EXPECT_EQ(entries, 2);  // keep.vek and folder.vek, no temporary files
    EXPECT_EQ(ReadAll(tmp / "keep.vek"), before);
}

TEST(StateFileSave, ALinkStaysALinkAndStaleTemporaryFilesGo) {
    TempFolder tmp("vek-state-test");
    fs::create_directory(tmp / "charts");
    AppState st = ExpectedState();
    ASSERT_TRUE(SaveStateFile(tmp / "charts/real.vek", st));
    fs::create_symlink("charts/real.vek", tmp / "mine.vek");
    // What a save killed before its rename leaves behind, two minutes ago.
    const std::string stale = tmp / "charts/.vek-tmp-k1ll3d";
    WriteRaw(stale, "half a file");
    const timeval old[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
    ASSERT_EQ(::utimes(stale.c_str(), old), 0);

    st.dateRows[kWorldDate].yearText = "1999";
    ASSERT_TRUE(SaveStateFile(tmp / "mine.vek", st));
    EXPECT_TRUE(fs::is_symlink(tmp / "mine.vek"));
    AppState loaded;
    ASSERT_TRUE(LoadStateFile(tmp / "charts/real.vek", loaded));
    EXPECT_EQ(loaded.dateRows[kWorldDate].yearText, "1999");
    EXPECT_FALSE(fs::exists(stale));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(tmp / "charts")) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(StateFileStore, LanguageIsWrittenOnSuccessfulSave) {
    TempFolder tmp("vek-state-test");
    platform::SettingsStore store(tmp / "cfg");
    AppState st = ExpectedState();
    st.settings.accepted.CurrentLanguage = kGerman;
    ASSERT_TRUE(Succeeded(SaveStateFile(tmp / "s.vek", st, &store)));
    EXPECT_EQ(platform::ReadLanguageSetting(store), Index(kGerman));

    // A failed save leaves the store alone.
    st.settings.accepted.CurrentLanguage = kEnglish;
    EXPECT_FALSE(SaveStateFile(tmp / "none/s.vek", st, &store));
    EXPECT_EQ(platform::ReadLanguageSetting(store), Index(kGerman));
}

TEST(StateFilePath, AutoStatePathCreatesItsFolder) {
    TempFolder tmp("vek-state-test");
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_DATA_HOME", (tmp / "data").c_str(), 1);
    const std::string path = AutoStatePath();
    if (old)
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(path, tmp / "data/Vantrel/vek.usr");
    EXPECT_TRUE(fs::is_directory(tmp / "data/Vantrel"));
}

}  // namespace
}  // namespace vek

namespace vek {
namespace {

TEST(StateFilePlaces, PlacesHousesAndPointsRoundTripInLinesAfterThe51st) {
    AppState st = ExpectedState();
    const std::string plain = *StateFileText(st);
    st.dateRows[kBirth1].place = RowPlace{"München, Bayern, Deutschland (DE)", {48.13743, 11.57549}};
    st.dateRows[kBirth2].place = RowPlace{"", {-43.53333, 172.63333}};
    st.settings.accepted.Extras = {true, HouseSystem::WholeSign, true, true};
    const std::string text = *StateFileText(st);
    // The 51 lines stay as they were; what the earlier versions do not know
    // follows them, and they leave it.
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 55u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 51), Lines(plain));
    EXPECT_EQ(lines[51], "Place Birth1 48.137430 11.575490 München, Bayern, Deutschland (DE)");
    EXPECT_EQ(lines[52], "Place Birth2 -43.533330 172.633330");
    EXPECT_EQ(lines[53], "Houses on whole-sign");
    EXPECT_EQ(lines[54], "Points nodes,chiron");

    AppState loaded;
    loaded.dateRows[kWorldDate].place = RowPlace{"stale", {1, 2}};
    ASSERT_TRUE(Succeeded(LoadStateText(text, loaded)));
    EXPECT_FALSE(loaded.dateRows[kWorldDate].place);
    EXPECT_EQ(loaded.dateRows[kBirth1].place, st.dateRows[kBirth1].place);
    EXPECT_EQ(loaded.dateRows[kBirth2].place, st.dateRows[kBirth2].place);
    EXPECT_EQ(loaded.settings.accepted.Extras, st.settings.accepted.Extras);
    EXPECT_EQ(loaded.settings.controls.extras, st.settings.accepted.Extras);
    const auto again = Lines(*StateFileText(loaded));
    ASSERT_EQ(again.size(), 55u);
    EXPECT_EQ(std::vector<std::string>(again.begin() + 51, again.end()),
              std::vector<std::string>(lines.begin() + 51, lines.end()));

    // Houses off with another system still records the system; points alone
    // too.
    st.settings.accepted.Extras = {false, HouseSystem::Koch, false, true};
    st.dateRows[kBirth1].place.reset();
    st.dateRows[kBirth2].place.reset();
    const auto only = Lines(*StateFileText(st));
    ASSERT_EQ(only.size(), 53u);
    EXPECT_EQ(only[51], "Houses off koch");
    EXPECT_EQ(only[52], "Points chiron");
    ASSERT_TRUE(Succeeded(LoadStateText(Join(only), loaded)));
    EXPECT_EQ(loaded.settings.accepted.Extras, st.settings.accepted.Extras);
}

TEST(StateFilePlaces, OlderFilesLoadWithoutPlacesAndAreWrittenAgainByteForByte) {
    // A state read from a file of an earlier version has no places and the
    // default houses, whatever was there before, and is written as a state
    // that never had any.
    const std::string old = ReadAll(Fixture("expected.vek"));
    AppState fresh;
    ASSERT_TRUE(Succeeded(LoadStateText(old, fresh)));
    AppState st;
    st.dateRows[kBirth1].place = RowPlace{"Berlin", {52.5, 13.4}};
    st.settings.accepted.Extras.houses = true;
    st.settings.controls.extras.chiron = true;
    ASSERT_TRUE(Succeeded(LoadStateText(old, st)));
    for (DateSlot r : AllDateSlots()) EXPECT_FALSE(st.dateRows[r].place);
    EXPECT_EQ(st.settings.accepted.Extras, ChartExtrasChoice());
    EXPECT_EQ(st.settings.controls.extras, ChartExtrasChoice());
    EXPECT_EQ(*StateFileText(st), *StateFileText(fresh));
    EXPECT_EQ(Lines(*StateFileText(st)).size(), 51u);

    // Lines after the 51st of a kind this version does not know are left,
    // as earlier versions left every one of them.
    ASSERT_TRUE(Succeeded(LoadStateText(old + "Comment by hand\r\n\r\nPoints nodes\r\n", st)));
    EXPECT_TRUE(st.settings.accepted.Extras.lunarNodes);
}

TEST(StateFilePlaces, AMalformedPlaceHousesOrPointsLineIsAnErrorNamingIt) {
    const std::string old = ReadAll(Fixture("expected.vek"));
    const struct {
        const char* line;
        const char* says;
    } cases[] = {
        {"Place Birth3 52.5 13.4 Berlin", "Line 52 of the state file: \"Place Birth3"},
        {"Place World 95 13.4", "is not a place"},
        {"Place World 52,5 13,4", "is not a place"},
        {"Place World 52.5", "is not a place"},
        {"Place World 52.5 nan", "is not a place"},
        {"Houses yes placidus", "is not the houses"},
        {"Houses on topocentric", "is not the houses"},
        {"Points moon", "is not a list of points"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        AppState st;
        const Status s = LoadStateText(old + c.line + "\r\n", st);
        ASSERT_FALSE(s);
        EXPECT_NE(s.message().find(c.says), std::string::npos) << s.message();
        EXPECT_EQ(s.message().find('\n'), std::string::npos);
    }
    // A place that a file could not hold is refused before anything is
    // written.
    AppState st = ExpectedState();
    st.dateRows[kWorldDate].place = RowPlace{"two\nlines", {0, 0}};
    EXPECT_FALSE(StateFileText(st));
    st.dateRows[kWorldDate].place = RowPlace{"", {91, 0}};
    EXPECT_FALSE(StateFileText(st));
}

}  // namespace
}  // namespace vek
