#include "time/durations.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "app/program_text.h"
#include "display/table_model.h"
#include "engine/angle_text.h"
#include "engine/aspects.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "time/aspect_search.h"
#include "time/date_rows.h"
#include "time/dates.h"
#include "time/natal_report.h"

namespace vek {

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return std::string(s.substr(b, e - b));
}

// Columns `col`..`col + width − 1` (1-based) of an entry, as far as it has them.
std::string_view Columns(std::string_view entry, int col, int width) {
    const size_t from = static_cast<size_t>(col - 1);
    if (from >= entry.size()) return {};
    return entry.substr(from, static_cast<size_t>(width));
}

bool ReadLong(std::string_view field, long& value) {
    const std::string t = Trim(field);
    if (t.empty()) return false;
    const char* end = t.data() + t.size();
    auto [p, ec] = std::from_chars(t.data(), end, value);
    return ec == std::errc() && p == end;
}

bool ReadDouble(std::string_view field, double& value) {
    const std::string t = Trim(field);
    if (t.empty()) return false;
    const char* end = t.data() + t.size();
    auto [p, ec] = std::from_chars(t.data(), end, value);
    return ec == std::errc() && p == end;
}

std::string Number(long long n) {
    return std::to_string(n);
}

void ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
    if (from.empty()) return;
    for (size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
        s.replace(at, from.size(), to);
}

bool IsPersonal(Mode m) {
    return m == Mode::Personal1 || m == Mode::Personal2;
}

// The chart column (0 chart A, 1 chart B) of the first and second body of a
// durations line.
void ChartColumns(Mode mode, int& firstColumn, int& secondColumn) {
    firstColumn = 0;
    secondColumn = 0;
    if (IsPersonal(mode)) {
        firstColumn = 1;  // the natal chart
    } else if (mode == Mode::Synastry) {
        secondColumn = 1;  // the 2nd birthdate
    }
}

bool ValidBody(int b) {
    return b >= 1 && b <= kMaxBodies;
}

}  // namespace

// ---------------------------------------------------------------------------

size_t TextLength(std::string_view s) {
    size_t n = 0;
    for (char c : s) n += IsContinuationByte(c) ? 0 : 1;
    return n;
}

std::string PadRight(std::string_view s, int width) {
    std::string r(s);
    const size_t len = TextLength(s);
    if (width > 0 && len < static_cast<size_t>(width))
        r.append(static_cast<size_t>(width) - len, ' ');
    return r;
}

std::string PadLeft(std::string_view s, int width) {
    const size_t len = TextLength(s);
    if (width <= 0 || len >= static_cast<size_t>(width)) return std::string(s);
    return std::string(static_cast<size_t>(width) - len, ' ') + std::string(s);
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string UpperFirst(std::string_view s) {
    std::string r(s);
    if (!r.empty() && r[0] >= 'a' && r[0] <= 'z') r[0] = static_cast<char>(r[0] - 'a' + 'A');
    return r;
}

// ---------------------------------------------------------------------------

std::vector<ShownAspect> AspectsShownInTable(Mode mode, int numCols,
                                             const std::vector<std::string>& cellTexts,
                                             const NameTables& names) {
    std::vector<ShownAspect> out;
    if (numCols < 1) return out;
    for (size_t i = 0; i < cellTexts.size(); ++i) {
        const int row = static_cast<int>(i) / numCols;
        const int col = static_cast<int>(i) % numCols;
        for (int a = 1; a <= kAspectCount; ++a) {
            const std::string& abbreviation = names.AspectAbbreviation[a];
            if (abbreviation.empty() || cellTexts[i].find(abbreviation) == std::string::npos)
                continue;
            ShownAspect s;
            s.aspect = a;
            if (IsPersonal(mode)) {
                s.first = row - 1;
                s.second = col - 1;
            } else if (mode == Mode::Synastry) {
                s.first = col - 1;
                s.second = row - 1;
            } else {
                s.first = row - 1;
                s.second = col + 1;
            }
            if (ValidBody(s.first) && ValidBody(s.second)) out.push_back(s);
        }
    }
    return out;
}

std::vector<ShownAspect> AspectsOfChart(const Chart& chart) {
    std::vector<ShownAspect> out;
    for (const PairResult& p : chart.Pairs()) {
        if (p.aspect == 0) continue;
        if (chart.mode == Mode::Synastry) {
            // The pair lists the 2nd birthdate's body (chart B) first.
            out.push_back({p.second, p.first, p.aspect});
        } else {
            out.push_back({p.first, p.second, p.aspect});
        }
    }
    return out;
}

std::string DurationEntryHead(int first, int second, int aspect, double deviation) {
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, deviation, std::chars_format::fixed, 6);
    std::string dev = ec == std::errc() ? std::string(buf, p) : std::string("0.000000");
    std::string e = PadLeft(Number(first), 2) + PadLeft(Number(second), 2) +
                    PadLeft(Number(first), 2) + " " + Number(aspect) + " " + dev;
    // A decimal comma of some locale never reaches the list.
    std::replace(e.begin(), e.end(), ',', '.');
    return e;
}

std::string DurationEntryDates(double beginning, double end) {
    const long long b = static_cast<long long>(std::floor(beginning));
    const long long e = static_cast<long long>(std::floor(end));
    std::string r = PadLeft(Number(b), 8) + PadLeft(Number(e), 8);
    if (b >= 0 && e >= 0) {
        r += PadLeft(Number(e - b + 1), 6);
    } else {
        r += std::string(6, ' ');
    }
    return r;
}

DurationEntry ReadDurationEntry(std::string_view entry) {
    DurationEntry d;
    long v = 0;
    if (ReadLong(Columns(entry, 1, 2), v)) d.first = static_cast<int>(v);
    if (ReadLong(Columns(entry, 3, 2), v)) d.second = static_cast<int>(v);
    if (ReadLong(Columns(entry, 7, 2), v)) d.aspect = static_cast<int>(v);
    ReadDouble(Columns(entry, 9, 9), d.deviation);
    const bool hasBeginning = ReadLong(Columns(entry, 18, 8), d.beginning);
    const bool hasEnd = ReadLong(Columns(entry, 26, 8), d.end);
    d.hasDates = hasBeginning && hasEnd;
    if (!d.hasDates) d.beginning = d.end = -1;
    d.hasDuration = ReadLong(Columns(entry, 34, 6), d.duration);
    return d;
}

int SearchColumnOfMode(Mode mode) {
    return (mode == Mode::World || mode == Mode::Natal1 || mode == Mode::Natal2) ? 0 : 1;
}

std::vector<std::string> GetDurations(const DurationsInput& in) {
    std::vector<std::string> lines;
    if (!in.arrays) return lines;
    const EngineArrays& e = *in.arrays;
    const bool transits = in.mode == Mode::World || IsPersonal(in.mode);
    const int column = SearchColumnOfMode(in.mode);
    int firstColumn = 0, secondColumn = 0;
    ChartColumns(in.mode, firstColumn, secondColumn);
    for (const ShownAspect& s : in.aspects) {
        if (!ValidBody(s.first) || !ValidBody(s.second) || s.aspect < 1 || s.aspect > kAspectCount)
            continue;
        if (!in.includeMoon && s.second == kMoon) continue;
        const double lon1 = e.BodyLongitude[s.first][firstColumn];
        const double lon2 = e.BodyLongitude[s.second][secondColumn];
        const double deviation = std::fabs(SeparationOf(lon1, lon2).s - e.AspectAngle[s.aspect]);
        std::string entry = DurationEntryHead(s.first, s.second, s.aspect, deviation);
        if (!transits) {
            entry += std::string(kEntryDatesWidth, '-');
        } else if (s.second == kMoon) {
            entry += std::string(kEntryDatesWidth, ' ');
        } else if (in.search) {
            const double b =
                std::floor(in.search->BeginningOfAspect(s.first, s.second, s.aspect, column));
            const double f =
                std::floor(in.search->EndOfAspect(s.first, s.second, s.aspect, column));
            entry += DurationEntryDates(b, f);
        } else {
            entry += DurationEntryDates(kUnknownDate, kUnknownDate);
        }
        std::replace(entry.begin(), entry.end(), ',', '.');
        lines.push_back(std::move(entry));
    }
    return lines;
}

// ---------------------------------------------------------------------------

void QuickSort(bool reverse, std::vector<std::string>& list, int first, int last, int keyColumn) {
    const int size = static_cast<int>(list.size());
    first = std::max(first, 0);
    last = std::min(last, size - 1);
    if (first >= last) return;
    const size_t from = static_cast<size_t>(std::max(keyColumn, 1) - 1);
    auto key = [from](const std::string& s) {
        return from < s.size() ? std::string_view(s).substr(from) : std::string_view();
    };
    auto begin = list.begin() + first;
    auto end = list.begin() + last + 1;
    if (reverse) {
        std::stable_sort(begin, end, [&](const std::string& a, const std::string& b) {
            return key(a) < key(b);
        });
    } else {
        std::stable_sort(begin, end, [&](const std::string& a, const std::string& b) {
            return key(a) > key(b);
        });
    }
}

std::vector<std::string> SortChoiceTexts(Mode mode, int language) {
    std::vector<std::string> r;
    if (mode == Mode::World) {
        for (int n = 60; n <= 66; ++n) r.push_back(ProgramText(n));
    } else if (IsPersonal(mode)) {
        auto lowered = [language](int n) {
            return language == kGerman ? ProgramText(n) : LowerCase(ProgramText(n));
        };
        r = {lowered(67),     ProgramText(61), ProgramText(62), lowered(68),
             ProgramText(64), ProgramText(65), ProgramText(66)};
    }
    return r;
}

// ---------------------------------------------------------------------------

DurationsWidths ComputeDurationsWidths(const NameTables& names) {
    DurationsWidths w;
    for (int b = 1; b <= kPluto; ++b)
        w.W1 = std::max(w.W1, static_cast<int>(TextLength(names.BodyName[b])));
    int noun = 0;
    for (int a = 1; a <= kAspectCount; ++a)
        noun = std::max(noun, static_cast<int>(TextLength(names.AspectNoun[a])));
    w.W2 = noun + 10;
    w.WD = 19;
    return w;
}

std::string DurationText(long d) {
    if (d == 1) return ProgramText(171);
    if (d == 365) return ProgramText(174);
    const long y = static_cast<long>(std::floor(d / 365.2425));
    const long r = static_cast<long>(
        RoundHalfToEven(static_cast<double>(d) - std::floor(static_cast<double>(y) * 365.2425)));
    std::string t;
    if (y == 1) {
        t = ProgramText(174);
    } else if (y > 1) {
        t = Number(y) + " " + ProgramText(176);
    }
    if (y >= 1) {
        if (r == 1) {
            t += ", " + ProgramText(171);
        } else if (r > 1) {
            t += ", " + Number(r) + " " + ProgramText(175);
        }
    } else {
        t = r == 1 ? ProgramText(171) : Number(r) + " " + ProgramText(175);
    }
    return t;
}

std::string DurationDisplayLine(const DurationEntry& e, Mode mode, bool showDuration,
                                const DisplayTexts& t) {
    const NameTables& names = t.names;
    const int w1 = t.widths.W1;
    auto bodyName = [&](int b) -> std::string { return ValidBody(b) ? names.BodyName[b] : ""; };
    const int a = (e.aspect >= 1 && e.aspect <= kAspectCount) ? e.aspect : 0;

    const std::string aspectPart =
        PadRight(names.AspectNoun[a] + " (" + AngleText(e.deviation) + ")", t.widths.W2);
    std::string line;
    if (IsPersonal(mode)) {
        line = "tr." + PadRight(bodyName(e.second), w1 + 3) + " " + aspectPart + " " +
               ProgramText(56) + PadRight(bodyName(e.first), w1 + 2);
    } else {
        line = PadRight(bodyName(e.first), w1) + " " + aspectPart + " " +
               PadRight(bodyName(e.second), w1);
    }
    if (!showDuration) return line;

    if (e.second == kMoon) {
        std::string estimate = ProgramText(53);
        ReplaceAll(estimate, "12", Number(4LL * t.orbDegrees[a]));
        return line + " " + estimate;
    }
    const std::string& unknown = ProgramText(168);
    const bool beginningKnown = e.hasDates && e.beginning >= 0;
    const bool endKnown = e.hasDates && e.end >= 0;
    std::string b = unknown;
    if (beginningKnown) {
        b = DateText(static_cast<int32_t>(e.beginning), false, t.language);
        if (t.language != kGerman) b += ",";
    }
    const std::string f =
        endKnown ? DateText(static_cast<int32_t>(e.end), false, t.language) : unknown;
    line += " " + ProgramText(165) + " " + PadRight(b, t.widths.WD) + " " + ProgramText(166) + " " +
            PadRight(f, t.widths.WD);
    if (beginningKnown && endKnown && e.hasDuration) {
        line += '(';
        line += DurationText(e.duration);
        line += ')';
    }
    return line;
}

// ---------------------------------------------------------------------------

bool DurationsReport::IsTransitMode() const {
    const Mode m = mode();
    return m == Mode::World || IsPersonal(m);
}

void DurationsReport::Open(const Setup& setup) {
    setup_ = setup;
    lines_ = GetDurations(setup.durations);
    natalReport_.clear();
    sortIndex_ = -1;
    if (IsTransitMode()) {
        showDuration_ = true;
        ChooseSort(kSortByDeviation);
    } else {
        showDuration_ = false;
        QuickSort(true, lines_, 0, static_cast<int>(lines_.size()) - 1,
                  kSortKeyColumn[kSortByDeviation]);
        if (setup.natalArrays && !lines_.empty()) {
            NatalReportInput n;
            n.lines = &lines_;
            n.arrays = setup.natalArrays;
            n.synastry = mode() == Mode::Synastry;
            n.names = &setup_.texts.names;
            n.language = setup.texts.language;
            n.W1 = setup.texts.widths.W1;
            n.midpointOrbIndex = setup.midpointOrbIndex;
            natalReport_ = NatalReport(n);
        }
    }
    // Only the texts are kept; the arrays and searches belong to the caller.
    setup_.durations.arrays = nullptr;
    setup_.durations.search = nullptr;
    setup_.natalArrays = nullptr;
}

std::vector<std::string> DurationsReport::SortEntries() const {
    return SortChoiceTexts(mode(), setup_.texts.language);
}

bool DurationsReport::SortListVisible() const {
    return IsTransitMode() && lines_.size() > 1;
}

void DurationsReport::ChooseSort(int index) {
    if (index < 0 || index >= kSortChoiceCount) return;
    sortIndex_ = index;
    QuickSort(true, lines_, 0, static_cast<int>(lines_.size()) - 1, kSortKeyColumn[index]);
    if (index >= kSortByBeginning) showDuration_ = true;
}

std::vector<DurationsReport::ShownLine> DurationsReport::ShownLines() const {
    std::vector<ShownLine> shown;
    if (!IsTransitMode()) return shown;
    const bool byDate = sortIndex_ == kSortByBeginning || sortIndex_ == kSortByEnd;
    for (const std::string& entry : lines_) {
        ShownLine l;
        l.entry = ReadDurationEntry(entry);
        if (byDate && l.entry.second == kMoon) continue;
        l.text = DurationDisplayLine(l.entry, mode(), showDuration_, setup_.texts);
        shown.push_back(std::move(l));
    }
    return shown;
}

std::string DurationsReport::Output() const {
    if (!IsTransitMode()) return natalReport_;
    std::string out;
    for (const ShownLine& l : ShownLines()) {
        out += l.text;
        out += kReportLineBreak;
    }
    return out;
}

std::string DurationsReport::Caption() const {
    switch (mode()) {
        case Mode::World:
            return ProgramText(159) + " " + ProgramText(160);
        case Mode::Personal1:
        case Mode::Personal2:
            return ProgramText(159) + " " + ProgramText(161);
        case Mode::Natal1:
        case Mode::Natal2:
            return ProgramText(177);
        case Mode::Synastry:
            return ProgramText(178);
        default:
            return "";
    }
}

std::string DurationsReport::Title() const {
    const Mode m = mode();
    if (m == Mode::World || IsPersonal(m)) {
        const bool personal = IsPersonal(m);
        std::string t = UpperFirst(ProgramText(personal ? 161 : 160));
        if (personal) t += " " + ProgramText(85) + " " + setup_.birthDateText[0];
        t += " " + ProgramText(58) + " " + setup_.worldDateText + ".  ";
        t = AddOrbToTitle(t, personal ? kOrbPersonal : kOrbBase, true, setup_.orbs) + "   ";
        t += personal ? ZodiacLabel(setup_.sidereal, true) : ProgramText(51);
        return t;
    }
    if (m == Mode::Natal1 || m == Mode::Natal2) {
        // "Natal aspects report for 1st birthdate July 4, 2010, 12:00 (GMT)"
        return ProgramText(177) + " " + ProgramText(179) + " " +
               ProgramText(m == Mode::Natal1 ? 5 : 6) + " " + setup_.birthDateText[0] + ".   " +
               ZodiacLabel(setup_.sidereal, true);
    }
    if (m == Mode::Synastry) {
        // "Synastry report between 1st birthdate ... and 2nd birthdate ..."
        return ProgramText(178) + " " + ProgramText(169) + " " + ProgramText(5) + " " +
               setup_.birthDateText[0] + " " + ProgramText(57) + " " + ProgramText(6) + " " +
               setup_.birthDateText[1] + ".   " + ZodiacLabel(setup_.sidereal, true);
    }
    return "";
}

std::string DurationsReport::ClipboardText() const {
    return Title() + std::string(kReportLineBreak) + std::string(kReportLineBreak) + Output();
}

}  // namespace vek

namespace vek {

ReportDates ReportDatesFrom(DateRows& rows, Mode mode) {
    ReportDates d;
    const bool personal = IsPersonal(mode);
    if (mode == Mode::World || personal) {
        d.worldLocalDayValue = rows.LocalDayValue(kWorldDate);
        rows.InputDateToAJDate(kWorldDate);  // an empty zone becomes the default zone
        const int zone = rows.Row(kWorldDate).zoneIndex;
        const auto& zones = rows.ZoneList();
        if (zone > 0 && zone < static_cast<int>(zones.size()))
            d.worldZoneMinutes = zones[static_cast<size_t>(zone)].minutesEast;
        d.worldDateText = rows.InputDateToString(kWorldDate, personal);
    }
    switch (mode) {
        case Mode::Natal1:
            d.birthDateText[0] = rows.InputDateToString(kBirth1, false);
            break;
        case Mode::Natal2:
            d.birthDateText[0] = rows.InputDateToString(kBirth2, false);
            break;
        case Mode::Personal1:
        case Mode::Personal2: {
            const int slot = mode == Mode::Personal1 ? kBirth1 : kBirth2;
            d.birthJulianDate = rows.InputDateToAJDate(slot);
            d.birthDateText[0] = rows.InputDateToString(slot, true);
            break;
        }
        case Mode::Synastry:
            d.birthDateText[0] = rows.InputDateToString(kBirth1, false);
            d.birthDateText[1] = rows.InputDateToString(kBirth2, false);
            break;
        default:
            break;
    }
    return d;
}

void OpenDurationsReport(DurationsReport& report, const Engine& engine, const Chart& chart,
                         const ReportDates& dates, const ReportSettings& settings) {
    // The chart's positions and counts over the engine's orb table.
    EngineArrays arrays = engine.arrays;
    arrays.BodyCount = chart.bodyCount;
    for (int b = 1; b <= kMaxBodies; ++b) {
        for (int slot = 0; slot < 2; ++slot) {
            arrays.BodyLongitude[b][slot] = chart.longitude[b][slot];
            arrays.BodyRetrograde[b][slot] = chart.retrograde[b][slot];
        }
    }
    for (int a = 0; a <= kAspectCount; ++a) arrays.AspectCount[a] = chart.aspectCount[a];

    LongitudeFn wrapper = [&engine](int body, double jd) { return engine.Longitude(body, jd); };
    LongitudeCache cache(wrapper);
    AspectSearch search(settings.sharePositions ? cache.AsSource() : wrapper, arrays,
                        dates.worldLocalDayValue, dates.worldZoneMinutes);
    search.SetStepping(settings.stepping);
    if (IsPersonal(chart.mode)) search.FixFirstBodyAt(dates.birthJulianDate);

    DurationsReport::Setup setup;
    setup.durations.mode = chart.mode;
    setup.durations.aspects = AspectsOfChart(chart);
    setup.durations.arrays = &arrays;
    setup.durations.includeMoon = engine.IncludeMoon;
    setup.durations.search = &search;
    setup.texts.names = engine.names;
    setup.texts.language = engine.Language();
    setup.texts.widths = ComputeDurationsWidths(engine.names);
    setup.texts.orbDegrees = settings.orbDegrees;
    setup.worldDateText = dates.worldDateText;
    setup.birthDateText[0] = dates.birthDateText[0];
    setup.birthDateText[1] = dates.birthDateText[1];
    setup.orbs = arrays.Orbs;
    setup.sidereal = engine.SiderealZodiac;
    setup.natalArrays = &arrays;
    setup.midpointOrbIndex = settings.midpointOrbIndex;
    report.Open(setup);
}

}  // namespace vek
