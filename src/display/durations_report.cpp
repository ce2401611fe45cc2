#include "display/durations_report.h"

#include <algorithm>
#include <cmath>

#include "display/natal_report.h"
#include "display/program_text.h"
#include "display/results_text.h"
#include "display/table_model.h"
#include "engine/angle_text.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "engine/modes.h"
#include "time/dates.h"
#include "util/rounding.h"
#include "util/text.h"

namespace vek {

namespace {

std::string Number(long long n) {
    return std::to_string(n);
}

bool ValidBody(int b) {
    return b >= 1 && b <= kMaxBodies;
}

}  // namespace

std::vector<std::string> SortChoiceTexts(Mode mode, int language) {
    std::vector<std::string> r;
    if (mode == Mode::World) {
        for (int n = 60; n <= 66; ++n) r.push_back(ProgramText(n));
    } else if (ModeInfoOf(mode).personal) {
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
    if (ModeInfoOf(mode).personal) {
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
    const bool beginningKnown = e.HasDates() && e.beginning >= 0;
    const bool endKnown = e.HasDates() && e.end >= 0;
    std::string b = unknown;
    if (beginningKnown) {
        b = DateText(static_cast<int32_t>(e.beginning), false, t.language);
        if (t.language != kGerman) b += ",";
    }
    const std::string f =
        endKnown ? DateText(static_cast<int32_t>(e.end), false, t.language) : unknown;
    line += " " + ProgramText(165) + " " + PadRight(b, t.widths.WD) + " " + ProgramText(166) + " " +
            PadRight(f, t.widths.WD);
    if (e.HasDuration()) {
        line += '(';
        line += DurationText(e.duration);
        line += ')';
    }
    return line;
}

// ---------------------------------------------------------------------------

bool DurationsReport::IsTransitMode() const {
    const Mode m = mode();
    return ModeInfoOf(m).transits;
}

void DurationsReport::Open(const Setup& setup) {
    setup_ = setup;
    entries_ = GetDurations(setup.durations);
    natalReport_.clear();
    sortIndex_ = -1;
    if (IsTransitMode()) {
        showDuration_ = true;
        ChooseSort(kSortByDeviation);
    } else {
        showDuration_ = false;
        SortDurations(entries_, kSortByDeviation);
        if (setup.durations.chart && setup.orbTable && !entries_.empty()) {
            NatalReportInput n;
            n.entries = &entries_;
            n.chart = setup.durations.chart;
            n.orbs = setup.orbTable;
            n.synastry = mode() == Mode::Synastry;
            n.names = &setup_.texts.names;
            n.language = setup.texts.language;
            n.W1 = setup.texts.widths.W1;
            n.midpointOrbIndex = setup.midpointOrbIndex;
            natalReport_ = NatalReport(n);
        }
    }
    // Only the texts are kept; the chart, orbs and searches belong to the
    // caller.
    setup_.durations.chart = nullptr;
    setup_.durations.search = nullptr;
    setup_.orbTable = nullptr;
}

std::vector<std::string> DurationsReport::SortEntries() const {
    return SortChoiceTexts(mode(), setup_.texts.language);
}

bool DurationsReport::SortListVisible() const {
    return IsTransitMode() && entries_.size() > 1;
}

void DurationsReport::ChooseSort(int index) {
    if (index < 0 || index >= kSortChoiceCount) return;
    sortIndex_ = index;
    SortDurations(entries_, index);
    if (index >= kSortByBeginning) showDuration_ = true;
}

std::vector<DurationsReport::ShownLine> DurationsReport::ShownLines() const {
    std::vector<ShownLine> shown;
    if (!IsTransitMode()) return shown;
    const bool byDate = sortIndex_ == kSortByBeginning || sortIndex_ == kSortByEnd;
    for (const DurationEntry& entry : entries_) {
        if (byDate && entry.second == kMoon) continue;
        ShownLine l;
        l.entry = entry;
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
    if (ModeInfoOf(m).transits) {
        const bool personal = ModeInfoOf(m).personal;
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

void OpenDurationsReport(DurationsReport& report, const Engine& engine, const Chart& chart,
                         const ReportDates& dates, const ReportSettings& settings) {
    LongitudeFn wrapper = [&engine](int body, double jd) { return engine.Longitude(body, jd); };
    LongitudeCache cache(wrapper);
    AspectSearch search(settings.sharePositions ? cache.AsSource() : wrapper, engine.orbs,
                        dates.worldLocalDayValue, dates.worldZoneMinutes);
    search.SetStepping(settings.stepping);
    if (ModeInfoOf(chart.mode).personal) search.FixFirstBodyAt(dates.birthJulianDate);

    DurationsReport::Setup setup;
    setup.durations.mode = chart.mode;
    setup.durations.aspects = AspectsOfChart(chart);
    setup.durations.chart = &chart;
    setup.durations.includeMoon = engine.IncludeMoon;
    setup.durations.search = &search;
    setup.texts.names = engine.names;
    setup.texts.language = engine.Language();
    setup.texts.widths = ComputeDurationsWidths(engine.names);
    setup.texts.orbDegrees = settings.orbDegrees;
    setup.worldDateText = dates.worldDateText;
    setup.birthDateText[0] = dates.birthDateText[0];
    setup.birthDateText[1] = dates.birthDateText[1];
    setup.orbs = engine.orbs.summary;
    setup.sidereal = engine.SiderealZodiac;
    setup.orbTable = &engine.orbs;
    setup.midpointOrbIndex = settings.midpointOrbIndex;
    report.Open(setup);
}

}  // namespace vek
