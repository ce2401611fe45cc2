#include "display/durations_report.h"

#include <algorithm>
#include <cmath>

#include "config/settings.h"
#include "display/chart_points_text.h"
#include "display/results_text.h"
#include "display/table_model.h"
#include "engine/angle_text.h"
#include "engine/bounded_sky.h"
#include "engine/chart.h"
#include "engine/engine.h"
#include "engine/modes.h"
#include "time/dates.h"
#include "time/zones.h"
#include "util/rounding.h"
#include "util/text.h"

namespace vek {

namespace {

std::string Number(long long n) {
    return std::to_string(n);
}

}  // namespace

std::vector<std::string> SortChoiceTexts(Mode mode, const ProgramTexts& texts) {
    std::vector<std::string> r;
    auto text = [&texts](TextId n) { return texts.ProgramText(n); };
    if (mode == Mode::World) {
        for (int i = 0; i < kSortChoiceCount; ++i)
            r.push_back(text(TextIdAt(kTextSortFirstPlanet, i)));
    } else if (ModeInfoOf(mode).personal) {
        auto lowered = [&](TextId n) {
            return texts.language() == kGerman ? text(n) : LowerCase(text(n));
        };
        r = {lowered(kTextSortNatalPlanet), text(kTextSortAspect),    text(kTextSortExactness),
             lowered(kTextTransits),        text(kTextSortBeginning), text(kTextSortEnd),
             text(kTextSortDuration)};
    }
    return r;
}

// ---------------------------------------------------------------------------

DurationsWidths ComputeDurationsWidths(const NameTables& names) {
    DurationsWidths w;
    for (Body b : Bodies(Index(kPluto)))
        w.W1 = std::max(w.W1, static_cast<int>(TextLength(names.BodyName[b])));
    int noun = 0;
    for (Aspect a : AllAspects())
        noun = std::max(noun, static_cast<int>(TextLength(names.AspectNoun[a])));
    w.W2 = noun + 10;
    w.WD = 19;
    return w;
}

std::string DurationText(const ProgramTexts& texts, long d) {
    const std::string& oneDay = texts.ProgramText(kTextOneDay);
    const std::string& oneYear = texts.ProgramText(kTextOneYear);
    const std::string& days = texts.ProgramText(kTextDays);
    if (d == 1) return oneDay;
    if (d == 365) return oneYear;
    const long y = static_cast<long>(std::floor(d / 365.2425));
    const long r = static_cast<long>(
        RoundHalfToEven(static_cast<double>(d) - std::floor(static_cast<double>(y) * 365.2425)));
    std::string t;
    if (y == 1) {
        t = oneYear;
    } else if (y > 1) {
        t = Number(y) + " " + texts.ProgramText(kTextYears);
    }
    if (y >= 1) {
        if (r == 1) {
            t += ", " + oneDay;
        } else if (r > 1) {
            t += ", " + Number(r) + " " + days;
        }
    } else {
        t = r == 1 ? oneDay : Number(r) + " " + days;
    }
    return t;
}

std::string DurationDisplayLine(const DurationEntry& e, Mode mode, bool showDuration,
                                const DisplayTexts& t) {
    const NameTables& names = t.names;
    const ProgramTexts& texts = t.programTexts;
    const Language language = texts.language();
    const int w1 = t.widths.W1;
    auto bodyName = [&](Body b) -> const std::string& { return names.BodyName[b]; };
    const std::string firstName =
        e.firstPoint ? ExtraPointName(texts, *e.firstPoint) : bodyName(e.first);
    const std::string secondName =
        e.secondPoint ? ExtraPointName(texts, *e.secondPoint) : bodyName(e.second);
    const Aspect a = e.aspect;

    const std::string aspectPart =
        PadRight(names.AspectNoun[a] + " (" + AngleText(Radians(e.deviation)) + ")", t.widths.W2);
    std::string line;
    if (ModeInfoOf(mode).personal) {
        line = "tr." + PadRight(secondName, w1 + 3) + " " + aspectPart + " " +
               texts.ProgramText(kTextNatalMark) + PadRight(firstName, w1 + 2);
    } else {
        line = PadRight(firstName, w1) + " " + aspectPart + " " + PadRight(secondName, w1);
    }
    if (!showDuration) return line;

    if (e.OfMovingMoon()) {
        std::string estimate = texts.ProgramText(kTextMoonEstimate);
        ReplaceAll(estimate, "12", Number(4LL * t.orbDegrees[a]));
        return line + " " + estimate;
    }
    const std::string& unknown = texts.ProgramText(kTextUnknown);
    const bool beginningKnown = e.HasDates() && e.beginning >= 0;
    const bool endKnown = e.HasDates() && e.end >= 0;
    std::string b = unknown;
    if (beginningKnown) {
        b = DateText(static_cast<int32_t>(e.beginning), false, language);
        if (language != kGerman) b += ",";
    }
    const std::string f =
        endKnown ? DateText(static_cast<int32_t>(e.end), false, language) : unknown;
    line += " " + texts.ProgramText(kTextDatesFrom) + " " + PadRight(b, t.widths.WD) + " " +
            texts.ProgramText(kTextDatesTo) + " " + PadRight(f, t.widths.WD);
    if (e.HasDuration()) {
        line += '(';
        line += DurationText(texts, e.duration);
        line += ')';
    }
    return line;
}

std::string ExactInstantText(double jd, const TimeZone& zone, const ProgramTexts& texts) {
    const std::string t = IsoInstantText(jd, zone);
    return t.empty() ? texts.ProgramText(kTextUnknown) : t;
}

std::string ExactColumnText(const DurationEntry& e, const TimeZone& zone,
                            const ProgramTexts& texts) {
    if (!e.exactTimes) return texts.ProgramText(kTextUnknown);
    const std::vector<double>& passes = e.exactTimes->exact;
    if (passes.empty()) return texts.ProgramText(kTextNotExactInPass);
    std::string t = texts.ProgramText(kTextExactPass);
    for (size_t i = 0; i < passes.size(); ++i)
        t += (i == 0 ? " " : ", ") + ExactInstantText(passes[i], zone, texts);
    return t;
}

std::string ExactTimesLine(const DurationEntry& e, const TimeZone& zone,
                           const ProgramTexts& texts) {
    if (!e.exactTimes) return "";
    const ExactTimes& x = *e.exactTimes;
    std::string line = texts.ProgramText(kTextEntersOrb) + " " + ExactInstantText(x.enters, zone, texts);
    for (const double jd : x.exact)
        line += ", " + texts.ProgramText(kTextExactPass) + " " + ExactInstantText(jd, zone, texts);
    line += ", " + texts.ProgramText(kTextLeavesOrb) + " " + ExactInstantText(x.leaves, zone, texts);
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
    exactBuilt_ = IsTransitMode() && setup.durations.exact.engine != nullptr;
    showExact_ = false;
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
            n.texts = setup.texts.programTexts;
            n.W1 = setup.texts.widths.W1;
            n.midpointOrbIndex = setup.midpointOrbIndex;
            natalReport_ = NatalReport(n);
        }
    }
    // Only the texts are kept; the chart, orbs and searches belong to the
    // caller.
    setup_.durations.chart = nullptr;
    setup_.durations.search = nullptr;
    setup_.durations.progress = nullptr;
    setup_.durations.exact.engine = nullptr;
    setup_.durations.exact.positions = nullptr;
    setup_.orbTable = nullptr;
}

std::vector<std::string> DurationsReport::SortEntries() const {
    std::vector<std::string> r = SortChoiceTexts(mode(), setup_.texts.programTexts);
    if (showExact_ && !r.empty()) r.push_back(setup_.texts.programTexts.ProgramText(kTextSortPerfection));
    return r;
}

void DurationsReport::SetShowExact(bool on) {
    showExact_ = on && exactBuilt_;
    if (!showExact_ && sortIndex_ == kSortByPerfection) ChooseSort(kSortByDeviation);
}

bool DurationsReport::SortListVisible() const {
    return IsTransitMode() && entries_.size() > 1;
}

void DurationsReport::ChooseSort(int index) {
    const bool perfection = index == kSortByPerfection && showExact_;
    if (!perfection && (index < 0 || index >= kSortChoiceCount)) return;
    sortIndex_ = index;
    SortDurations(entries_, index);
    if (index >= kSortByBeginning) showDuration_ = true;
}

std::vector<DurationsReport::ShownLine> DurationsReport::ShownLines() const {
    std::vector<ShownLine> shown;
    if (!IsTransitMode()) return shown;
    const bool byDate = sortIndex_ == kSortByBeginning || sortIndex_ == kSortByEnd;
    for (const DurationEntry& entry : entries_) {
        if (byDate && entry.OfMovingMoon()) continue;
        ShownLine l;
        l.entry = entry;
        l.text = DurationDisplayLine(l.entry, mode(), showDuration_, setup_.texts);
        shown.push_back(std::move(l));
    }
    if (showExact_) {
        size_t width = 0;
        for (const ShownLine& l : shown) width = std::max(width, TextLength(l.text));
        for (ShownLine& l : shown)
            l.text = PadRight(l.text, static_cast<int>(width)) + "  " +
                     ExactColumnText(l.entry, ExactZone(), setup_.texts.programTexts);
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
    const ProgramTexts& texts = setup_.texts.programTexts;
    switch (mode()) {
        case Mode::World:
            return texts.ProgramText(kTextDurationsCaption) + " " +
                   texts.ProgramText(kTextWorldTransitsLower);
        case Mode::Personal1:
        case Mode::Personal2:
            return texts.ProgramText(kTextDurationsCaption) + " " +
                   texts.ProgramText(kTextPersonalTransitsLower);
        case Mode::Natal1:
        case Mode::Natal2:
            return texts.ProgramText(kTextNatalReportCaption);
        case Mode::Synastry:
            return texts.ProgramText(kTextSynastryReportCaption);
        default:
            return "";
    }
}

std::string DurationsReport::Title() const {
    const Mode m = mode();
    const ProgramTexts& texts = setup_.texts.programTexts;
    auto text = [&texts](TextId n) -> const std::string& { return texts.ProgramText(n); };
    if (ModeInfoOf(m).transits) {
        const bool personal = ModeInfoOf(m).personal;
        std::string t =
            UpperFirst(text(personal ? kTextPersonalTransitsLower : kTextWorldTransitsLower));
        if (personal) t += " " + text(kTextToNatalChartOf) + " " + setup_.birthDateText[0];
        t += " " + text(kTextOn) + " " + setup_.worldDateText + ".  ";
        t = AddOrbToTitle(texts, t, personal ? kOrbPersonal : kOrbBase, true, setup_.orbs) + "   ";
        t += personal ? ZodiacLabel(texts, setup_.sidereal, true) : text(kTextLocalDatesNote);
        return t;
    }
    if (m == Mode::Natal1 || m == Mode::Natal2) {
        // "Natal aspects report for 1st birthdate July 4, 2010, 12:00 (GMT)"
        return text(kTextNatalReportCaption) + " " + text(kTextFor) + " " +
               text(m == Mode::Natal1 ? kTextFirstBirthdate : kTextSecondBirthdate) + " " +
               setup_.birthDateText[0] + ".   " + ZodiacLabel(texts, setup_.sidereal, true);
    }
    if (m == Mode::Synastry) {
        // "Synastry report between 1st birthdate ... and 2nd birthdate ..."
        return text(kTextSynastryReportCaption) + " " + text(kTextBetween) + " " +
               text(kTextFirstBirthdate) + " " + setup_.birthDateText[0] + " " + text(kTextAnd) +
               " " + text(kTextSecondBirthdate) + " " + setup_.birthDateText[1] + ".   " +
               ZodiacLabel(texts, setup_.sidereal, true);
    }
    return "";
}

std::string DurationsReport::ClipboardText() const {
    return Title() + std::string(kReportLineBreak) + std::string(kReportLineBreak) + Output();
}

ReportSettings ReportSettingsOf(const Settings& settings) {
    ReportSettings rs;
    for (Aspect a : AllAspects()) rs.orbDegrees[a] = settings.accepted.OrbIndex[Index(a) - 1];
    rs.midpointOrbIndex = settings.controls.midpointOrbIndex;
    return rs;
}

void OpenDurationsReport(DurationsReport& report, const Engine& engine, const Chart& chart,
                         const ReportDates& dates, const ReportSettings& settings,
                         const ProgramTexts& texts) {
    LongitudeFn wrapper = [&engine](Body body, JulianDate jd) { return engine.Longitude(body, jd); };
    LongitudeCache cache(wrapper);
    AspectSearch search(settings.sharePositions ? cache.AsSource() : wrapper, engine.orbs,
                        dates.worldLocalDayValue, dates.worldZoneMinutes);
    search.SetStepping(settings.stepping);
    if (settings.boundedWalks && PositionsFromEphemeris(engine))
        search.UseMotionBounds(SkyMotionBounds(engine),
                               [&engine](JulianDate jd) { return engine.ZodiacOffset(jd); });
    search.UseNamedZone(dates.worldNamedZone);
    if (ModeInfoOf(chart.mode).personal) search.FixFirstBodyAt(dates.birthJulianDate);
    search.SetPointSource([&engine](ExtraPoint point, JulianDate jd) {
        return ComputeExtraPoint(engine, point, jd.days, false).longitude;
    });

    DurationsReport::Setup setup;
    setup.durations.mode = chart.mode;
    setup.durations.aspects = AspectsOfChart(chart);
    setup.durations.chart = &chart;
    setup.durations.includeMoon = engine.IncludeMoon;
    setup.durations.search = &search;
    setup.durations.progress = settings.progress;
    if (settings.exactTimes) {
        setup.durations.exact.engine = &engine;
        // The searches begin and end at the midnights their walks stopped at.
        if (settings.sharePositions) setup.durations.exact.positions = cache.AsSource();
        setup.durations.exact.zone = dates.worldNamedZone.IsNamed()
                                         ? dates.worldNamedZone
                                         : TimeZone::Fixed(dates.worldZoneMinutes);
    }
    setup.texts.names = engine.names;
    setup.texts.programTexts = texts;
    setup.texts.widths = ComputeDurationsWidths(engine.names);
    if (!settings.points.empty()) {
        setup.durations.pointAspects = PointAspectsOfChart(engine, chart, settings.points);
        // The name column takes the points' names too.
        for (const ExtraPoint p : settings.points)
            setup.texts.widths.W1 = std::max(setup.texts.widths.W1,
                                             static_cast<int>(TextLength(ExtraPointName(texts, p))));
    }
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
