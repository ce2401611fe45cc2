#include "display/aspect_explanation.h"

#include <cmath>
#include <optional>

#include "display/durations_report.h"
#include "engine/angle_text.h"
#include "engine/modes.h"
#include "time/dates.h"
#include "util/text.h"

namespace vek {

namespace {

bool German(const ProgramTexts& texts) {
    return texts.language() == kGerman;
}

// "natal Sun" / "Radixsonne": the natal body after program text 156.
std::string NatalBody(const ProgramTexts& texts, const NameTables& names, Body p) {
    const std::string& natal = texts.ProgramText(kTextNatalExplanation);
    if (German(texts)) return natal + LowerCase(names.BodyName[p]);
    return natal + " " + names.BodyName[p];
}

// A known day number as the date of the interface's language.
std::string DayText(double day, Language language) {
    return DateText(static_cast<int32_t>(std::floor(day)), false, language);
}

}  // namespace

namespace {

void AddExactInstants(const CellExplanationInput& in, CellExplanation& r) {
    if (!in.exact.engine || !in.exact.chart) return;
    const auto floorDay = [](double d) { return d >= 0 ? static_cast<long>(std::floor(d)) : -1L; };
    r.exact = ExactTimesForDays(*in.exact.engine, *in.exact.chart, r.p, r.q, r.aspect,
                                floorDay(r.beginning), floorDay(r.end), in.exact.zone);
    if (r.exact) r.text += ExactInstantsText(in.texts, *r.exact, in.exact.zone);
}

}  // namespace

std::optional<Aspect> AspectInCellText(const std::string& text, const NameTables& names) {
    for (const Aspect a : AllAspects()) {
        const std::string& abbreviation = names.AspectAbbreviation[a];
        if (!abbreviation.empty() && text.find(abbreviation) != std::string::npos) return a;
    }
    return std::nullopt;
}

bool BodiesOfCell(Mode mode, int cellIndex, int numCols, Body& p, Body& q) {
    if (numCols < 1 || cellIndex < 0) return false;
    const int row = cellIndex / numCols;
    const int col = cellIndex % numCols;
    const std::optional<Body> first = BodyFromIndex(row - 1);
    const std::optional<Body> second =
        BodyFromIndex(ModeInfoOf(mode).personal ? col - 1 : col + 1);
    if (!first || !second) return false;
    p = *first;
    q = *second;
    return true;
}

std::string ExplanationTitle(Mode mode, Body p, Body q, Aspect aspect, const NameTables& names,
                             const ProgramTexts& texts) {
    if (!ModeInfoOf(mode).personal)
        return names.BodyName[p] + " " + names.AspectPhrase[aspect] + " " + names.BodyName[q];
    return texts.ProgramText(kTextTransiting) + " " + names.BodyName[q] + " " +
           names.AspectPhrase[aspect] + " " + NatalBody(texts, names, p);
}

std::string MoonExplanationText(const ProgramTexts& texts, int orbDegrees) {
    return ReplaceAllCopy(texts.ProgramText(kTextMoonExplanation), "12",
                          std::to_string(4 * orbDegrees));
}

std::string ExplanationText(const ProgramTexts& texts, const NameTables& names, Aspect aspect,
                            Radians orb, double beginning, double end) {
    const std::string o = AngleText(orb);
    const Language language = texts.language();
    if (German(texts)) {
        const std::string& unknown = texts.ProgramText(kTextUnknownDateExplanation);
        std::string t = texts.ProgramText(kTextExplanationGerman);
        ReplaceAll(t, "[8 degrees]", o);
        ReplaceAll(t, "[start date]", beginning >= 0 ? DayText(beginning, language) : unknown);
        ReplaceAll(t, "[end date]", end >= 0 ? DayText(end, language) : unknown);
        return t;
    }
    const std::string name = LowerCase(names.AspectName[aspect]);
    return "With an orb of " + o + " this " + name + "\nbegins on " +
           (beginning >= 0 ? DayText(beginning, language) : "an unknown date") + "\nand ends on " +
           (end >= 0 ? DayText(end, language) + "." : "an unknown date.");
}

std::string ExactInstantsText(const ProgramTexts& texts, const ExactTimes& x, const TimeZone& zone) {
    auto instant = [&](double jd) { return ExactInstantText(jd, zone, texts); };
    std::string t = "\n" + UpperFirst(texts.ProgramText(kTextEntersOrb)) + " " + instant(x.enters);
    if (x.exact.empty()) {
        t += "\n" + UpperFirst(texts.ProgramText(kTextNotExactInPass));
    } else {
        t += "\n" + UpperFirst(texts.ProgramText(kTextExactPass));
        for (size_t i = 0; i < x.exact.size(); ++i) t += (i ? ", " : " ") + instant(x.exact[i]);
    }
    t += "\n" + UpperFirst(texts.ProgramText(kTextLeavesOrb)) + " " + instant(x.leaves);
    if (zone.IsNamed())
        t += "\n" + texts.ProgramTextWithValues(kTextTimesInZone, {zone.name});
    return t;
}

std::string DurationsQuestion(const ProgramTexts& texts, Mode mode,
                              const std::string& explanation) {
    std::string t = explanation + "\n\n" + texts.ProgramText(kTextDurationsOfAllCurrent) + " " +
                    texts.ProgramText(ModeInfoOf(mode).personal ? kTextPersonalTransitsLower
                                                                : kTextWorldTransitsLower);
    if (German(texts)) t += " sehen";
    return t + "?";
}

CellExplanation ExplainCell(const CellExplanationInput& in) {
    CellExplanation r;
    const ModeInfo& info = ModeInfoOf(in.mode);
    if (!info.transits) {
        r.action = in.mode == Mode::None ? CellExplanation::Action::Nothing
                                         : CellExplanation::Action::FocusOnly;
        return r;
    }
    if (!in.names || !in.orbs) return r;
    const std::optional<Aspect> found = AspectInCellText(in.cellText, *in.names);
    if (!found) return r;
    const Aspect a = *found;
    if (in.colors[a] == Color()) {
        r.action = CellExplanation::Action::ClearSelection;
        return r;
    }
    Body p = kSun, q = kSun;
    if (!BodiesOfCell(in.mode, in.cellIndex, in.numCols, p, q)) return r;
    r.p = p;
    r.q = q;
    r.aspect = a;
    r.title = ExplanationTitle(in.mode, p, q, a, *in.names, in.texts);
    if (q == kMoon) {
        r.action = CellExplanation::Action::MoonMessage;
        r.text = MoonExplanationText(in.texts, in.orbIndex[static_cast<size_t>(Index(a) - 1)]);
        AddExactInstants(in, r);
        return r;
    }
    const OrbColumn column = info.personal ? kOrbPersonal : kOrbBase;
    if (in.search) {
        r.beginning = in.search->BeginningOfAspect(p, q, a, column);
        r.end = in.search->EndOfAspect(p, q, a, column);
    }
    r.text = ExplanationText(in.texts, *in.names, a, Radians(in.orbs->orb[a][column]), r.beginning,
                             r.end);
    AddExactInstants(in, r);
    if (info.personal && r.beginning >= 0 && r.end >= 0) {
        r.action = CellExplanation::Action::Graph;
        return r;
    }
    r.action = CellExplanation::Action::Question;
    r.question = DurationsQuestion(in.texts, in.mode, r.text);
    return r;
}

std::string WheelLineText(Color pixel, const AspectColors& colors, const NameTables& names) {
    if (pixel == Color() || pixel == Rgb(224, 224, 224) || pixel == Rgb(32, 32, 255) ||
        pixel == Rgb(255, 255, 255))
        return {};
    std::string t;
    for (const Aspect a : AllAspects()) {
        if (colors[a] != pixel) continue;
        if (!t.empty()) t += " or ";
        t += AspectLabel(names, a);
    }
    return UpperFirst(LowerCase(t));
}

}  // namespace vek
