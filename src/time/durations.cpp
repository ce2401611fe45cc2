#include "time/durations.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "engine/aspects.h"
#include "engine/chart.h"
#include "engine/modes.h"
#include "time/date_rows.h"
#include "util/text.h"

namespace vek {

namespace {

// Columns `col`..`col + width − 1` (1-based) of an entry, as far as it has them.
std::string_view Columns(std::string_view entry, int col, int width) {
    const size_t from = static_cast<size_t>(col - 1);
    if (from >= entry.size()) return {};
    return entry.substr(from, static_cast<size_t>(width));
}

bool ReadLong(std::string_view field, long& value) {
    const std::string t = TrimBlanks(field);
    if (t.empty()) return false;
    const char* end = t.data() + t.size();
    auto [p, ec] = std::from_chars(t.data(), end, value);
    return ec == std::errc() && p == end;
}

bool ReadDouble(std::string_view field, double& value) {
    const std::string t = TrimBlanks(field);
    if (t.empty()) return false;
    const char* end = t.data() + t.size();
    auto [p, ec] = std::from_chars(t.data(), end, value);
    return ec == std::errc() && p == end;
}

std::string Number(long long n) {
    return std::to_string(n);
}

// The chart column (0 chart A, 1 chart B) of the first and second body of a
// durations line.
void ChartColumns(Mode mode, int& firstColumn, int& secondColumn) {
    firstColumn = 0;
    secondColumn = 0;
    if (ModeInfoOf(mode).personal) {
        firstColumn = 1;  // the natal chart
    } else if (mode == Mode::Synastry) {
        secondColumn = 1;  // the 2nd birthdate
    }
}

bool ValidBody(int b) {
    return b >= 1 && b <= kMaxBodies;
}

}  // namespace

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
            if (ModeInfoOf(mode).personal) {
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

std::vector<std::string> GetDurations(const DurationsInput& in) {
    std::vector<std::string> lines;
    if (!in.chart) return lines;
    const Chart& chart = *in.chart;
    const bool transits = ModeInfoOf(in.mode).transits;
    const int column = ModeInfoOf(in.mode).searchColumn;
    int firstColumn = 0, secondColumn = 0;
    ChartColumns(in.mode, firstColumn, secondColumn);
    for (const ShownAspect& s : in.aspects) {
        if (!ValidBody(s.first) || !ValidBody(s.second) || s.aspect < 1 || s.aspect > kAspectCount)
            continue;
        if (!in.includeMoon && s.second == kMoon) continue;
        const double lon1 = chart.longitude[s.first][firstColumn];
        const double lon2 = chart.longitude[s.second][secondColumn];
        const double deviation = std::fabs(SeparationOf(lon1, lon2).s - AspectAngleOf(s.aspect));
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

ReportDates ReportDatesFrom(DateRows& rows, Mode mode) {
    ReportDates d;
    const bool personal = ModeInfoOf(mode).personal;
    if (ModeInfoOf(mode).transits) {
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

}  // namespace vek
