#include "display/natal_report.h"

#include <algorithm>

#include "display/results_text.h"
#include "engine/angle_text.h"
#include "engine/chart.h"
#include "engine/pattern_findings.h"
#include "engine/patterns.h"
#include "time/durations.h"
#include "util/text.h"

namespace vek {

namespace {

constexpr std::string_view kBreak = kReportLineBreak;

// Writes the pieces of the report from the given program texts.
class Writer {
  public:
    explicit Writer(const NatalReportInput& in) : in_(in), names_(*in.names) {}

    std::string Run() {
        const std::vector<DurationEntry>& entries = *in_.entries;
        const int n = static_cast<int>(entries.size());
        std::string out = Heading(n);
        out += kBreak;
        out += kBreak;

        const DurationEntry& first = entries[0];
        out += Text(kTextReportClosest) + " " + Sentence(first);
        out += IsExact(first) ? ", " + Text(kTextExactToArcMinute) : ", " + Distance(first);
        out += kBreak;

        if (n >= 2) {
            const DurationEntry& second = entries[1];
            if (IsExact(second)) {
                out += Text(kTextReportAlsoExact) + " " + Sentence(second) + ".";
            } else {
                out +=
                    Text(kTextReportNextClosest) + " " + Sentence(second) + ", " + Distance(second);
            }
            if (n > 2) {
                out += kBreak;
                out += kBreak;
                out += Text(kTextReportRemaining);
            }
            out += kBreak;
        }

        const int width = AlignedWidth() + (in_.synastry ? 6 : 0);
        for (int i = 2; i < n; ++i) {
            const DurationEntry& e = entries[static_cast<size_t>(i)];
            out += PadRight(Sentence(e) + ", ", width) + Distance(e);
            out += kBreak;
        }

        if (n > 2) {
            out += Counts();
            if (!in_.synastry) out += Patterns();
        } else {
            out += kBreak;
        }
        return out;
    }

  private:
    bool German() const { return in_.texts.language() == kGerman; }

    const std::string& Text(TextId n) const { return in_.texts.ProgramText(n); }

    std::string Words(int n) const { return LowerCase(CountInWords(n, in_.texts.language())); }

    std::string Heading(int n) const {
        std::string subject =
            in_.synastry ? (German() ? Text(kTextSynastry) : LowerCase(Text(kTextSynastry)))
                         : Text(kTextNatalChart);
        std::string h = Text(n == 1 ? kTextReportOneAspect : kTextReportAspectCount);
        ReplaceAll(h, "[natal chart]", subject);
        if (n > 1) ReplaceAll(h, "20", Words(n));
        if (in_.synastry && German()) ReplaceAll(h, "diesem", "dieser");
        return h;
    }

    // The bodies of a shown aspect both have a position.
    double Longitude(Body body, int chart) const {
        return *in_.chart->longitude[body][static_cast<size_t>(chart)];
    }

    const std::string& BodyName(Body b) const { return names_.BodyName[b]; }

    // "Sun (12° in Aries) square Mars (5° in Cancer)", with "(1)" and "(2)"
    // after the names in synastry.
    std::string Sentence(const DurationEntry& e) const {
        const std::string m1 = in_.synastry ? "(1)" : "";
        const std::string m2 = in_.synastry ? "(2)" : "";
        const Aspect a = e.aspect;
        return BodyName(e.first) + m1 + " (" + PositionTextLong(Radians(Longitude(e.first, 0)), names_) +
               ") " + names_.AspectNoun[a] + " " + BodyName(e.second) + m2 + " (" +
               PositionTextLong(Radians(Longitude(e.second, in_.synastry ? 1 : 0)), names_) + ")";
    }

    std::string Distance(const DurationEntry& e) const {
        std::string t = Text(kTextReportFromExact);
        ReplaceAll(t, "[5 degrees]", AngleText(Radians(e.deviation)));
        return t;
    }

    static bool IsExact(const DurationEntry& e) { return AngleText(Radians(e.deviation)) == "0°0'"; }

    int AlignedWidth() const {
        int noun = 0;
        for (Aspect a : AllAspects())
            noun = std::max(noun, static_cast<int>(TextLength(names_.AspectNoun[a])));
        return 2 * in_.W1 + noun + 4;
    }

    // "There are two conjunctions, no oppositions, ... and one quincunx."
    std::string Counts() const {
        const AspectArray<int16_t>& count = in_.chart->aspectCount;
        std::string t(kBreak);
        t += Text(count[kConjunction] == 1 ? kTextThereIs : kTextThereAre) + " ";
        for (Aspect a : AllAspects()) {
            if (a == kQuincunx) t += " " + Text(kTextAnd) + " ";
            t += Words(count[a]) + " ";
            if (German()) {
                t += names_.AspectName[a];
            } else {
                t += LowerCase(names_.AspectName[a]);
                if (count[a] != 1) t += a == kQuincunx ? "es" : "s";
            }
            if (a <= kSextile) t += ", ";
        }
        t += ".";
        t += kBreak;
        return t;
    }

    std::string Patterns() const {
        const PatternFindings f =
            FindAllPatterns(*in_.chart, *in_.orbs, in_.midpointOrbIndex, PatternForm::Report,
                            PatternTextsOf(names_, in_.texts));
        std::string t;
        int total = 0;
        for (Pattern p : AllPatterns()) {
            if (p >= kStellium6 && p <= kStellium3 && p != f.stelliumSlot) continue;
            const PatternBlock& block = f.blocks[p];
            if (block.text.empty()) continue;
            const int k = block.count;
            std::string name = names_.PatternName[p];
            if (!German() && p != kTSquare) name = LowerCase(name);
            t += kBreak;
            if (k == 1) {
                t += Text(kTextThereIsOne) + " " + name + ": " + block.text;
            } else {
                t += Text(kTextThereAre) + " " + Words(k) + " " + name;
                if (!German()) t += p == kGrandCross ? "es" : "s";
                t += ":";
                t += kBreak;
                t += block.text;
            }
            total += k;
        }
        t += kBreak;
        if (total == 0) {
            t += "There are no aspect patterns.";
        } else {
            t += Text(kTextAllPatterns);
        }
        t += kBreak;
        return t;
    }

    const NatalReportInput& in_;
    const NameTables& names_;
};

}  // namespace

std::string NatalReport(const NatalReportInput& in) {
    if (!in.entries || in.entries->empty() || !in.chart || !in.orbs || !in.names) return "";
    return Writer(in).Run();
}

}  // namespace vek
