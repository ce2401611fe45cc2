#include "app/state_file.h"

#include <pwd.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "platform/settings_store.h"
#include "time/date_rows.h"
#include "time/zones.h"
#include "util/files.h"
#include "util/text.h"

namespace vek {

namespace {

// Entries of the window's lists; index −1 means no entry is selected.
constexpr int kMonthListSize = 13;      // empty, January .. December
constexpr int kDayListSize = 32;        // empty, 1 .. 31
constexpr int kTimeListSize = 49;       // empty, 00:00 .. 23:30
constexpr int kZoneListSize = 48;       // empty, GMT-11:30 .. GMT+11:30
constexpr int kSteppingListSize = 5;    // half hour, day, week, month, year
constexpr int kNoNegativeDefault = -2;  // an index below −1 is an error

// The most a state file can take: 51 lines of the longest length with CR LF.
constexpr std::size_t kMaxStateFileBytes = kStateFileLines * (kMaxStateLineLength + 2);

// ---------------------------------------------------------------------------
// Writing

void PutInteger(std::string& out, int64_t v) {  // I: sign position, digits, blank
    out += v < 0 ? '-' : ' ';
    out += std::to_string(v < 0 ? -v : v);
    out += " \r\n";
}

void PutNumber(std::string& out, int64_t v) {  // W: the number alone
    out += std::to_string(v);
    out += "\r\n";
}

void PutFlag(std::string& out, bool v) {
    out += v ? "#TRUE#\r\n" : "#FALSE#\r\n";
}

void PutText(std::string& out, const std::string& v) {
    out += v;
    out += "\r\n";
}

std::string MinuteText(int minute) {
    const std::string h = std::to_string(minute / 60), m = std::to_string(minute % 60);
    return (h.size() < 2 ? "0" : "") + h + ":" + (m.size() < 2 ? "0" : "") + m;
}

// "Europe/Berlin", "+05:45", with " earlier" or " later" for a chosen
// meaning of a skipped or doubled time.
std::string ZoneFileText(const DateRowFields& row) {
    std::string text;
    if (row.zone->IsNamed()) {
        text = row.zone->name;
    } else {
        const int m = row.zone->offsetMinutes;
        text = (m < 0 ? "-" : "+") + MinuteText(m < 0 ? -m : m);
    }
    if (row.fold == Fold::Earlier) text += " earlier";
    if (row.fold == Fold::Later) text += " later";
    return text;
}

// The keys of the lines after the 51st: the place of a row, the houses and
// the extra points. They are written only for a state that has any of
// them, so other files stay as they were; earlier versions read 51 lines
// and leave the rest.
constexpr std::string_view kPlaceKey = "Place";
constexpr std::string_view kHousesKey = "Houses";
constexpr std::string_view kPointsKey = "Points";
constexpr const char* kSlotKeys[kDateSlotCount] = {"World", "Birth1", "Birth2"};

// A coordinate in degrees with six decimals and "." in every locale.
std::string DegreesText(double v) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 6);
    return std::string(buffer, r.ptr);
}

std::string PointsFileText(const ChartExtrasChoice& c) {
    std::string text;
    if (c.lunarNodes) text = "nodes";
    if (c.chiron) text += text.empty() ? "chiron" : ",chiron";
    return text.empty() ? "none" : text;
}

bool HasExtraLines(const AppState& state) {
    if (!(state.settings.accepted.Extras == ChartExtrasChoice())) return true;
    for (const DateRowFields& row : state.dateRows.values)
        if (row.place) return true;
    return false;
}

void PutExtraLines(std::string& out, const AppState& state) {
    if (!HasExtraLines(state)) return;
    for (DateSlot slot : AllDateSlots()) {
        const std::optional<RowPlace>& place = state.dateRows[slot].place;
        if (!place) continue;
        std::string line = std::string(kPlaceKey) + " " + kSlotKeys[Index(slot)] + " " +
                           DegreesText(place->point.latitude) + " " +
                           DegreesText(place->point.longitude);
        if (!place->name.empty()) line += " " + place->name;
        PutText(out, line);
    }
    const ChartExtrasChoice& c = state.settings.accepted.Extras;
    PutText(out, std::string(kHousesKey) + (c.houses ? " on " : " off ") + HouseSystemKey(c.system));
    PutText(out, std::string(kPointsKey) + " " + PointsFileText(c));
}

bool IndexFits(int index, int size) {
    return index >= -1 && index < size;
}

// ---------------------------------------------------------------------------
// Reading

// A value quoted in an error message: printable ASCII only, at most 40 characters.
std::string Quote(std::string_view v) {
    std::string q = "\"";
    for (std::size_t i = 0; i < v.size() && i < 40; ++i) {
        const auto c = static_cast<unsigned char>(v[i]);
        q += c >= 32 && c < 127 ? static_cast<char>(c) : '?';
    }
    if (v.size() > 40) q += "...";
    return q + "\"";
}

class StateReader {
  public:
    StateReader(std::string_view text, bool truncated) : text_(text), truncated_(truncated) {}

    const std::string& error() const { return error_; }
    int lineNumber() const { return line_; }
    bool AtEnd() const { return pos_ >= text_.size(); }
    // True when no line is left or the next one holds only blanks.
    bool NextIsBlank() const {
        for (std::size_t i = pos_; i < text_.size() && text_[i] != '\r' && text_[i] != '\n'; ++i)
            if (text_[i] != ' ' && text_[i] != '\t') return false;
        return true;
    }

    // The next line without its end (CR LF, LF or CR).
    bool Next(std::string_view& line) {
        ++line_;
        if (AtEnd())
            return Fail("Input past end of file: the state file ends before line " +
                        std::to_string(line_) + ".");
        std::size_t end = pos_;
        while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
        if (end - pos_ > kMaxStateLineLength || (end == text_.size() && truncated_))
            return Fail("Line " + std::to_string(line_) + " of the state file is longer than " +
                        std::to_string(kMaxStateLineLength) + " characters.");
        line = text_.substr(pos_, end - pos_);
        pos_ = end;
        if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        return true;
    }

    // The next line after the 51st, when there is one that a state file
    // could hold; false (and no error) at the end, or at a line too long,
    // which earlier versions never read either.
    bool NextExtra(std::string_view& line) {
        std::size_t end = pos_;
        while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
        if (AtEnd() || end - pos_ > kMaxStateLineLength || (end == text_.size() && truncated_))
            return false;
        return Next(line);
    }

    // A whole number: optional sign, digits, and optionally "." with zeros
    // only; blanks around it are ignored.
    bool Integer(int64_t& v) {
        std::string_view raw;
        if (!Next(raw)) return false;
        return IntegerOf(raw, v);
    }

    // Whether a line holds a whole number at all (a time or zone line may
    // hold a text instead).
    static bool LooksLikeNumber(std::string_view raw) {
        std::string_view s = TrimSpacesAndTabs(raw);
        if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
        if (s.empty()) return false;
        for (char c : s)
            if ((c < '0' || c > '9') && c != '.') return false;
        return true;
    }

    // A time line: a list index, or a time to the minute ("14:47"), which
    // earlier versions refuse as not a number.
    bool TimeLine(DateRowFields& row, int size) {
        std::string_view raw;
        if (!Next(raw)) return false;
        row.exactMinute = -1;
        if (LooksLikeNumber(raw)) {
            int64_t n;
            return IntegerOf(raw, n) && InRange(n, -1, size, row.timeIndex);
        }
        const Result<int> minute = ParseMinuteTime(TrimSpacesAndTabs(raw));
        if (!minute) return Fail(LinePrefix() + Quote(raw) + " is neither a list index nor a time HH:MM.");
        row.timeIndex = *minute / 30 + 1;
        row.exactMinute = *minute;
        return true;
    }

    // A zone line: a list index, or a zone of the database or an offset the
    // list lacks, followed by "earlier" or "later" when the row's time is one
    // the zone's clocks skipped or showed twice. Earlier versions refuse the
    // text as not a number.
    bool ZoneLine(DateRowFields& row, int size) {
        std::string_view raw;
        if (!Next(raw)) return false;
        row.zone.reset();
        row.fold = Fold::Ask;
        if (LooksLikeNumber(raw)) {
            int64_t z;
            if (!IntegerOf(raw, z)) return false;
            // A zone the list does not have (an older, longer list) becomes empty.
            row.zoneIndex = z >= -1 && z < size ? static_cast<int>(z) : 0;
            return true;
        }
        std::string_view text = TrimSpacesAndTabs(raw);
        const std::size_t blank = text.find(' ');
        if (blank != std::string_view::npos) {
            const std::string_view fold = TrimSpacesAndTabs(text.substr(blank + 1));
            if (fold == "earlier")
                row.fold = Fold::Earlier;
            else if (fold == "later")
                row.fold = Fold::Later;
            else
                return Fail(LinePrefix() + Quote(raw) + " is not a zone followed by earlier or later.");
            text = text.substr(0, blank);
        }
        const Result<TimeZone> zone = ParseTimeZone(text);
        if (!zone) return Fail(LinePrefix() + zone.message() + ".");
        row.zone = *zone;
        row.zoneIndex = zone->IsNamed() ? 0 : ZoneIndexOfOffset(zone->offsetMinutes * 60);
        return true;
    }

    bool IntegerOf(std::string_view raw, int64_t& v) {
        std::string_view s = TrimSpacesAndTabs(raw);
        std::size_t i = 0;
        bool negative = false;
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
        const std::size_t digitsFrom = i;
        int64_t n = 0;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
            if (n > (INT64_C(1) << 40)) return Fail(LinePrefix() + Quote(raw) + " is too large.");
            n = n * 10 + (s[i] - '0');
        }
        if (i == digitsFrom) return Fail(LinePrefix() + Quote(raw) + " is not a number.");
        if (i < s.size() && s[i] == '.') {
            for (++i; i < s.size() && s[i] == '0'; ++i) {
            }
        }
        if (i != s.size()) return Fail(LinePrefix() + Quote(raw) + " is not a whole number.");
        v = negative ? -n : n;
        return true;
    }

    // A list index: −1 (no entry) up to size − 1. A negative value becomes
    // negativeDefault when one is given.
    bool Index(int& v, int size, int negativeDefault = kNoNegativeDefault) {
        int64_t n;
        if (!Integer(n)) return false;
        if (n < 0 && negativeDefault != kNoNegativeDefault) n = negativeDefault;
        return InRange(n, -1, size, v);
    }

    // An entry that must be selected: 0 up to size − 1.
    bool Entry(int& v, int size) {
        int64_t n;
        return Integer(n) && InRange(n, 0, size, v);
    }

    bool CheckBox(bool& v) {
        int64_t n;
        if (!Integer(n)) return false;
        if (n != 0 && n != 1)
            return Fail(LinePrefix() + std::to_string(n) + " is not a check box value (0 or 1).");
        v = n == 1;
        return true;
    }

    bool Color(vek::Color& v) {
        int64_t n;
        if (!Integer(n)) return false;
        if (n < 0 || n > kMaxColor)
            return Fail(LinePrefix() + std::to_string(n) + " is not a colour value.");
        v = vek::Color(static_cast<int32_t>(n));
        return true;
    }

    bool Flag(bool& v) {
        std::string_view raw;
        if (!Next(raw)) return false;
        const std::string_view s = TrimSpacesAndTabs(raw);
        if (s == "#TRUE#") {
            v = true;
        } else if (s == "#FALSE#") {
            v = false;
        } else {
            return Fail(LinePrefix() + Quote(raw) + " is neither #TRUE# nor #FALSE#.");
        }
        return true;
    }

    bool Text(std::string& v) {
        std::string_view raw;
        if (!Next(raw)) return false;
        v = std::string(TrimSpacesAndTabs(raw));
        return true;
    }

    // A line after the 51st that is not what its key promises.
    bool BadLine(std::string_view raw, const char* expected) {
        return Fail(LinePrefix() + Quote(raw) + " is not " + expected + ".");
    }

  private:
    bool InRange(int64_t n, int lowest, int size, int& v) {
        if (n < lowest || n >= size)
            return Fail(LinePrefix() + std::to_string(n) + " is outside its list (" +
                        std::to_string(lowest) + " to " + std::to_string(size - 1) + ").");
        v = static_cast<int>(n);
        return true;
    }

    std::string LinePrefix() const {
        return "Line " + std::to_string(line_) + " of the state file: ";
    }
    bool Fail(std::string message) {
        if (error_.empty()) error_ = std::move(message);
        return false;
    }

    std::string_view text_;
    bool truncated_;
    std::size_t pos_ = 0;
    int line_ = 0;
    std::string error_;
};

// The month, day, year, time and zone of each date row.
bool ReadDateRows(StateReader& r, AppState& state) {
    for (DateRowFields& row : state.dateRows.values) {
        int day;
        if (!r.Index(row.monthIndex, kMonthListSize)) return false;
        if (!r.Index(day, kDayListSize)) return false;
        if (!r.Text(row.yearText)) return false;
        if (!r.TimeLine(row, kTimeListSize)) return false;
        row.dayIndex = day;  // after month and year: the day list depends on them
        if (!r.ZoneLine(row, kZoneListSize)) return false;
        row.place.reset();  // places come after the 51st line
    }
    return true;
}

// The six mode buttons; the last one selected wins.
bool ReadModeButtons(StateReader& r, AppState& state) {
    for (int m = 0; m < 6; ++m) {
        bool on;
        if (!r.Flag(on)) return false;
        if (on) state.mode = static_cast<Mode>(static_cast<int>(Mode::World) + m);
    }
    return true;
}

// The stepping interval, the first two orb lists, colour and boldface, the
// zodiac buttons and the personal-transit proportion.
bool ReadListsAndOptions(StateReader& r, AppState& state) {
    Settings& s = state.settings;
    ConfigControls& c = s.controls;
    if (!r.Index(state.steppingIntervalIndex, kSteppingListSize)) return false;
    if (!r.Index(c.orbIndex[0], kOrbListSize)) return false;
    if (!r.Index(c.orbIndex[1], kOrbListSize)) return false;

    bool flag;
    if (!r.CheckBox(c.useColor)) return false;
    if (!r.CheckBox(c.useBoldface)) return false;
    if (!r.Index(c.boldfaceFractionIndex, kBoldfaceFractionListSize, 2)) return false;
    if (!r.Flag(flag)) return false;
    if (flag) c.boldfaceThreshold = BoldfaceThreshold::OneDegree;
    if (!r.Flag(flag)) return false;
    if (flag) c.boldfaceThreshold = BoldfaceThreshold::FractionOfOrb;
    if (!r.Flag(flag)) return false;
    if (flag) c.sidereal = true;
    s.accepted.SiderealZodiac = flag;
    if (!r.Flag(flag)) return false;
    if (flag) c.sidereal = false;
    return r.Index(c.proportionIndex[0], kProportionListSize, 1);
}

// The accepted orbs and colours of the aspects.
bool ReadAcceptedOrbsAndColors(StateReader& r, Settings& s) {
    ConfigControls& c = s.controls;
    // The accepted orbs come after the selections of the first two lists,
    // so they win.
    for (int i = 0; i < kOrbListCount; ++i) {
        int orb;
        if (!r.Entry(orb, kOrbListSize)) return false;
        c.orbIndex[i] = orb;
        s.accepted.OrbIndex[i] = orb;
    }
    for (Aspect a : AllAspects()) {
        Color color;
        if (!r.Color(color)) return false;
        if (color != Color()) s.accepted.AspectColor[a] = color;
    }
    return true;
}

// The image background (read and dropped), "Keep selected zodiac", the
// midpoint orb and the synastry proportion.
bool ReadLastOptions(StateReader& r, ConfigControls& c) {
    int64_t discarded;
    if (!r.Integer(discarded)) return false;
    c.whiteImageBackground = false;

    if (!r.CheckBox(c.keepSelectedZodiac)) return false;
    if (!r.Index(c.midpointOrbIndex, kMidpointOrbListSize, 3)) return false;

    // The last line came later; files without it, or with it left empty,
    // give synastry the personal-transit proportion.
    if (r.NextIsBlank()) {
        c.proportionIndex[1] = c.proportionIndex[0];
        return true;
    }
    return r.Index(c.proportionIndex[1], kProportionListSize, 1);
}

// The first word of a text and the rest after the blanks that follow it.
std::pair<std::string_view, std::string_view> FirstWord(std::string_view text) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos) return {text, {}};
    return {text.substr(0, blank), TrimSpacesAndTabs(text.substr(blank + 1))};
}

std::optional<double> DegreesOf(std::string_view text, double limit) {
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(v) ||
        std::fabs(v) > limit)
        return std::nullopt;
    return v;
}

// "Place Birth1 52.520000 13.405000 Berlin, Germany": the row, latitude,
// longitude and the name (none for typed coordinates).
bool ReadPlaceLine(StateReader& r, std::string_view raw, std::string_view rest, AppState& state) {
    const char* expected = "a place: the row (World, Birth1, Birth2), latitude, longitude, name";
    const auto [slotKey, afterSlot] = FirstWord(rest);
    const auto [latText, afterLat] = FirstWord(afterSlot);
    const auto [lonText, name] = FirstWord(afterLat);
    const std::optional<double> lat = DegreesOf(latText, 90), lon = DegreesOf(lonText, 180);
    int slot = -1;
    for (int k = 0; k < kDateSlotCount; ++k)
        if (slotKey == kSlotKeys[k]) slot = k;
    if (slot < 0 || !lat || !lon) return r.BadLine(raw, expected);
    state.dateRows[*DateSlotFromIndex(slot)].place = RowPlace{std::string(name), {*lat, *lon}};
    return true;
}

// "Houses on placidus", "Houses off koch".
bool ReadHousesLine(StateReader& r, std::string_view raw, std::string_view rest, Settings& s) {
    const auto [onOff, key] = FirstWord(rest);
    const std::optional<HouseSystem> system = HouseSystemOfKey(key);
    if ((onOff != "on" && onOff != "off") || !system)
        return r.BadLine(raw, "the houses: on or off and a house system");
    s.accepted.Extras.houses = s.controls.extras.houses = onOff == "on";
    s.accepted.Extras.system = s.controls.extras.system = *system;
    return true;
}

// "Points nodes,chiron", "Points none".
bool ReadPointsLine(StateReader& r, std::string_view raw, std::string_view rest, Settings& s) {
    ChartExtrasChoice& c = s.accepted.Extras;
    c.lunarNodes = c.chiron = false;
    if (rest != "none") {
        const Result<std::vector<ExtraPoint>> points = ParseExtraPoints(rest);
        if (!points) return r.BadLine(raw, "a list of points (nodes, chiron) or none");
        for (ExtraPoint p : *points) {
            if (p == ExtraPoint::Chiron) c.chiron = true;
            else c.lunarNodes = true;
        }
    }
    s.controls.extras.lunarNodes = c.lunarNodes;
    s.controls.extras.chiron = c.chiron;
    return true;
}

// The lines after the 51st. A file without them has no places and the
// default houses and points; lines of another kind are left, as earlier
// versions leave every line after the 51st.
bool ReadExtraLines(StateReader& r, AppState& state) {
    Settings& s = state.settings;
    s.accepted.Extras = s.controls.extras = ChartExtrasChoice();
    std::string_view raw;
    while (r.NextExtra(raw)) {
        const auto [key, rest] = FirstWord(TrimSpacesAndTabs(raw));
        if (key == kPlaceKey && !ReadPlaceLine(r, raw, rest, state)) return false;
        if (key == kHousesKey && !ReadHousesLine(r, raw, rest, s)) return false;
        if (key == kPointsKey && !ReadPointsLine(r, raw, rest, s)) return false;
    }
    return true;
}

// Reads the lines in order, applying each value as soon as it is read.
bool ReadState(StateReader& r, AppState& state) {
    return ReadDateRows(r, state) && ReadModeButtons(r, state) && ReadListsAndOptions(r, state) &&
           ReadAcceptedOrbsAndColors(r, state.settings) &&
           ReadLastOptions(r, state.settings.controls) && ReadExtraLines(r, state);
}

// What makes a date row unfit for a state file, if anything.
std::optional<std::string> DateRowFault(const DateRowFields& row, DateSlot r) {
    const std::string number = std::to_string(Index(r) + 1);
    if (!IndexFits(row.monthIndex, kMonthListSize) || !IndexFits(row.dayIndex, kDayListSize) ||
        !IndexFits(row.timeIndex, kTimeListSize) || !IndexFits(row.zoneIndex, kZoneListSize))
        return "a list index of date row " + number + " is out of range.";
    if (row.exactMinute >= 1440 ||
        (row.zone && !row.zone->IsNamed() &&
         std::abs(row.zone->offsetMinutes) > kMaxZoneOffsetMinutes) ||
        (row.zone && row.zone->name.find_first_of(" \r\n") != std::string::npos))
        return "the time or zone of date row " + number + " is out of range.";
    if (row.place && (row.place->name.find_first_of("\r\n") != std::string::npos ||
                      row.place->name.size() > kMaxStateLineLength / 2 ||
                      !(std::fabs(row.place->point.latitude) <= 90) ||
                      !(std::fabs(row.place->point.longitude) <= 180)))
        return "the place of date row " + number + " holds a line break or is out of range.";
    if (row.yearText.find_first_of("\r\n") != std::string::npos ||
        row.yearText.size() > kMaxStateLineLength)
        return "the year of date row " + number + " holds a line break or is too long.";
    return std::nullopt;
}

// What makes the state unfit for a state file, if anything: a value the
// file could not hold or that a load would refuse.
std::optional<std::string> StateFault(const AppState& state) {
    const Settings& s = state.settings;
    const ConfigControls& c = s.controls;
    for (DateSlot r : AllDateSlots())
        if (std::optional<std::string> fault = DateRowFault(state.dateRows[r], r)) return fault;
    const int mode = static_cast<int>(state.mode);
    if (mode < 0 || mode > static_cast<int>(Mode::Synastry)) return "unknown mode.";
    bool ok = IndexFits(state.steppingIntervalIndex, kSteppingListSize) &&
              IndexFits(c.orbIndex[0], kOrbListSize) && IndexFits(c.orbIndex[1], kOrbListSize) &&
              IndexFits(c.boldfaceFractionIndex, kBoldfaceFractionListSize) &&
              IndexFits(c.proportionIndex[0], kProportionListSize) &&
              IndexFits(c.proportionIndex[1], kProportionListSize) &&
              IndexFits(c.midpointOrbIndex, kMidpointOrbListSize);
    for (int orb : s.accepted.OrbIndex) ok = ok && orb >= 0 && orb < kOrbListSize;
    for (Aspect a : AllAspects())
        ok = ok && s.accepted.AspectColor[a].value() >= 0 &&
             s.accepted.AspectColor[a].value() <= kMaxColor;
    if (!ok) return "a setting is out of range.";
    return std::nullopt;
}

void PutDateRows(std::string& out, const AppState& state) {
    for (const DateRowFields& row : state.dateRows.values) {
        PutInteger(out, row.monthIndex);
        PutInteger(out, row.dayIndex);
        PutText(out, row.yearText);
        // A minute or a zone the lists lack is written as text in the line of
        // its list, which earlier versions refuse rather than read as
        // another time.
        if (row.exactMinute >= 0)
            PutText(out, MinuteText(row.exactMinute));
        else
            PutInteger(out, row.timeIndex);
        if (row.zone)
            PutText(out, ZoneFileText(row));
        else
            PutInteger(out, row.zoneIndex);
    }
}

// The mode buttons and every setting, in the order ReadState reads them.
void PutModeAndSettings(std::string& out, const AppState& state) {
    const Settings& s = state.settings;
    const ConfigControls& c = s.controls;
    // Exactly one mode button is selected; with nothing computed yet that is
    // world transits.
    const int mode = static_cast<int>(state.mode);
    const int selected = mode == 0 ? 1 : mode;
    for (int m = 1; m <= 6; ++m) PutFlag(out, selected == m);
    PutInteger(out, state.steppingIntervalIndex);
    PutInteger(out, c.orbIndex[0]);
    PutInteger(out, c.orbIndex[1]);
    PutInteger(out, c.useColor ? 1 : 0);
    PutInteger(out, c.useBoldface ? 1 : 0);
    PutInteger(out, c.boldfaceFractionIndex);
    PutFlag(out, c.boldfaceThreshold == BoldfaceThreshold::OneDegree);
    PutFlag(out, c.boldfaceThreshold == BoldfaceThreshold::FractionOfOrb);
    PutFlag(out, c.sidereal);
    PutFlag(out, !c.sidereal);
    PutInteger(out, c.proportionIndex[0]);
    for (int orb : s.accepted.OrbIndex) PutNumber(out, orb);
    for (Aspect a : AllAspects()) PutNumber(out, s.accepted.AspectColor[a].value());
    PutInteger(out, c.whiteImageBackground ? 1 : 0);
    PutInteger(out, c.keepSelectedZodiac ? 1 : 0);
    PutInteger(out, c.midpointOrbIndex);
    PutInteger(out, c.proportionIndex[1]);
}

}  // namespace

Result<std::string> StateFileText(const AppState& state) {
    if (std::optional<std::string> fault = StateFault(state))
        return Fail("The state cannot be saved: " + std::move(*fault));
    std::string out;
    out.reserve(512);
    PutDateRows(out, state);
    PutModeAndSettings(out, state);
    PutExtraLines(out, state);
    return out;
}

Status SaveStateFile(const std::string& path, AppState& state, platform::SettingsStore* store) {
    AppState toSave = state;
    toSave.settings.controls.sidereal = toSave.settings.accepted.SiderealZodiac;
    const Result<std::string> text = StateFileText(toSave);
    if (!text) return text.error();
    if (Status written = WriteFileAtomically(path, *text); !written) return written;
    state.settings.controls.sidereal = state.settings.accepted.SiderealZodiac;
    if (store) platform::WriteLanguageSetting(*store, Index(state.settings.accepted.CurrentLanguage));
    return Ok();
}

namespace {

Status LoadFailed(std::string error, AppState& state, const StateLoadOptions& options) {
    if (!options.confirmReset || options.confirmReset())
        state.settings.ResetToDefault(options.startupComplete);
    return Fail(std::move(error));
}

Status LoadStateTextImpl(std::string_view text, bool truncated, AppState& state,
                         const StateLoadOptions& options) {
    StateReader reader(text, truncated);
    if (!ReadState(reader, state)) return LoadFailed(reader.error(), state, options);
    return Ok();
}

}  // namespace

Status LoadStateText(std::string_view text, AppState& state, const StateLoadOptions& options) {
    return LoadStateTextImpl(text, /*truncated=*/false, state, options);
}

Status LoadStateFile(const std::string& path, AppState& state, const StateLoadOptions& options) {
    Result<FileHead> head = ReadFileHead(path, kMaxStateFileBytes);
    if (!head) return LoadFailed(head.message(), state, options);
    return LoadStateTextImpl(head->bytes, head->truncated, state, options);
}

std::string AutoStatePath() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.local/share";
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        base = std::string(pw->pw_dir) + "/.local/share";
    } else {
        base = ".";
    }
    const std::string folder = base + "/Vantrel";
    // A folder that cannot be made fails the save later, with its message.
    (void)MakeFolders(folder);
    return folder + "/vek.usr";
}

}  // namespace vek
