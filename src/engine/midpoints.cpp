#include "engine/midpoints.h"

#include <algorithm>

#include "engine/aspects.h"
#include "engine/chart.h"
#include "engine/vocabulary.h"

namespace vek {

namespace {
// The last body that can stand in a midpoint: Pluto. The Moon never does.
constexpr Body kLastMidpointBody = kPluto;

const double kMidpointOrbDegrees[kMidpointOrbChoices] = {5.0 / 60, 0.25, 0.5, 1, 1.5, 2, 2.5, 3};

bool Conjunct(const SkyTests& sky, Body x, Body y) {
    return sky.Aspect(x, y, kConjunction).holds;
}
}  // namespace

double MidpointOrbOfIndex(int index) {
    if (index < 0 || index >= kMidpointOrbChoices) return 0;
    return ToRadians(Degrees(kMidpointOrbDegrees[index])).value;
}

bool TestMidpointTriple(const SkyTests& sky, Body b1, Body b2, Body b3, Midpoint& out) {
    const Body body[3] = {b1, b2, b3};
    if (!sky.Distinct(b1, b2) || !sky.Distinct(b1, b3) || !sky.Distinct(b2, b3)) return false;
    for (int c = 0; c < 3; ++c) {
        const int y = (c + 1) % 3, z = (c + 2) % 3;
        if (!sky.AtMidpoint(body[c], body[y], body[z])) continue;
        out.centre = body[c];
        out.lower = std::min(body[y], body[z]);
        out.upper = std::max(body[y], body[z]);
        return true;
    }
    return false;
}

bool TestMidpointTriple(const Chart& chart, Body b1, Body b2, Body b3, double orb, Midpoint& out) {
    static const OrbTable kNoOrbs{};
    return TestMidpointTriple(ChartTests(chart, kNoOrbs, orb), b1, b2, b3, out);
}

std::vector<Midpoint> FindMidpoints(const SkyTests& sky) {
    std::vector<Midpoint> found;
    const int last = Index(kLastMidpointBody);
    for (const Body b : Bodies(last - 1))
        for (const Body c : BodiesAfter(b, last)) {
            if (Conjunct(sky, b, c)) continue;
            for (const Body k : Bodies(last)) {
                if (k == b || k == c || Conjunct(sky, k, b) || Conjunct(sky, k, c)) continue;
                Midpoint m;
                if (!TestMidpointTriple(sky, b, k, c, m)) continue;
                // The same line is met from several loop orders; list it once.
                if (std::find(found.begin(), found.end(), m) == found.end()) found.push_back(m);
            }
        }
    return found;
}

std::vector<Midpoint> FindMidpoints(const Chart& chart, const OrbTable& orbs, int orbIndex) {
    return FindMidpoints(ChartTests(chart, orbs, MidpointOrbOfIndex(orbIndex)));
}

std::string MidpointLine(const Midpoint& m, PatternForm form, const NameTables& names) {
    const bool summary = form == PatternForm::Summary;
    const BodyArray<std::string>& body = summary ? names.BodyAbbreviation : names.BodyName;
    std::string line;
    if (summary) {
        line += names.PatternName[kMidpoint];
        line += ": ";
    }
    const Body listed[3] = {m.lower, m.centre, m.upper};
    for (int n = 0; n < 3; ++n) {
        if (n > 0) line += '-';
        line += body[listed[n]];
    }
    line += kPatternLineBreak;
    return line;
}

PatternBlock CheckForMidpoint(const Chart& chart, const OrbTable& orbs, int orbIndex,
                              PatternForm form, const NameTables& names) {
    PatternBlock block;
    for (const Midpoint& m : FindMidpoints(chart, orbs, orbIndex)) {
        block.text += MidpointLine(m, form, names);
        ++block.count;
    }
    return block;
}

}  // namespace vek
