#include "engine/midpoints.h"

#include <algorithm>

#include "engine/aspects.h"
#include "engine/chart.h"
#include "engine/vocabulary.h"

namespace vek {

namespace {
// The last body that can stand in a midpoint: Pluto. The Moon never does.
constexpr int kLastMidpointBody = kPluto;

const double kMidpointOrbDegrees[kMidpointOrbChoices] = {5.0 / 60, 0.25, 0.5, 1, 1.5, 2, 2.5, 3};

bool AtMidpointOf(double centre, double y, double z, double orb) {
    const double m = (y + z) / 2;
    if (SeparationOf(m, centre).s < orb) return true;
    return SeparationOf(NormalizeAngle(m + kPi), centre).s < orb;
}

bool Conjunct(const Chart& chart, const OrbTable& orbs, int x, int y) {
    return AspectTestByBodies(chart, orbs, x, y, kConjunction).holds;
}
}  // namespace

double MidpointOrbOfIndex(int index) {
    if (index < 0 || index >= kMidpointOrbChoices) return 0;
    return kMidpointOrbDegrees[index] / 360.0 * kTwoPi;
}

bool TestMidpointTriple(const Chart& chart, int b1, int b2, int b3, double orb, Midpoint& out) {
    const int body[3] = {b1, b2, b3};
    double lon[3];
    for (int m = 0; m < 3; ++m) {
        if (body[m] < 1 || body[m] > kMaxBodies) return false;
        lon[m] = chart.longitude[body[m]][kChartA];
        if (lon[m] < 0) return false;
    }
    if (lon[0] == lon[1] || lon[0] == lon[2] || lon[1] == lon[2]) return false;
    for (int c = 0; c < 3; ++c) {
        const int y = (c + 1) % 3, z = (c + 2) % 3;
        if (!AtMidpointOf(lon[c], lon[y], lon[z], orb)) continue;
        out.centre = body[c];
        out.lower = std::min(body[y], body[z]);
        out.upper = std::max(body[y], body[z]);
        return true;
    }
    return false;
}

std::vector<Midpoint> FindMidpoints(const Chart& chart, const OrbTable& orbs, int orbIndex) {
    std::vector<Midpoint> found;
    const double orb = MidpointOrbOfIndex(orbIndex);
    for (int b = 1; b < kLastMidpointBody; ++b)
        for (int c = b + 1; c <= kLastMidpointBody; ++c) {
            if (Conjunct(chart, orbs, b, c)) continue;
            for (int k = 1; k <= kLastMidpointBody; ++k) {
                if (k == b || k == c || Conjunct(chart, orbs, k, b) || Conjunct(chart, orbs, k, c))
                    continue;
                Midpoint m;
                if (!TestMidpointTriple(chart, b, k, c, orb, m)) continue;
                // The same line is met from several loop orders; list it once.
                if (std::find(found.begin(), found.end(), m) == found.end()) found.push_back(m);
            }
        }
    return found;
}

std::string MidpointLine(const Midpoint& m, PatternForm form, const NameTables& names) {
    const bool summary = form == PatternForm::Summary;
    const std::string(&body)[kMaxBodies + 1] = summary ? names.BodyAbbreviation : names.BodyName;
    std::string line;
    if (summary) {
        line += names.PatternName[kMidpoint];
        line += ": ";
    }
    const int listed[3] = {m.lower, m.centre, m.upper};
    for (int n = 0; n < 3; ++n) {
        if (n > 0) line += '-';
        if (listed[n] >= 1 && listed[n] <= kMaxBodies) line += body[listed[n]];
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
