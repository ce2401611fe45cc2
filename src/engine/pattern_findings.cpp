#include "engine/pattern_findings.h"

#include "engine/midpoints.h"

namespace vek {

PatternFindings FindAllPatterns(const Chart& chart, const OrbTable& orbs, int midpointOrbIndex,
                                PatternForm form, const PatternTexts& texts) {
    PatternFindings f;
    for (const Pattern p : AllPatterns()) {
        const PatternFinder& row = PatternFinderOf(p);
        if (!row.find) continue;
        // Only the largest stellium size with any instance is reported.
        if (row.stelliumSize > 0 && f.stelliumSlot) continue;
        f.blocks[p] = RunPatternFinder(chart, orbs, p, form, texts);
        if (row.stelliumSize > 0 && !f.blocks[p].text.empty()) f.stelliumSlot = p;
    }
    f.blocks[kMidpoint] = CheckForMidpoint(chart, orbs, midpointOrbIndex, form, texts.names);
    return f;
}

std::string PatternSection(const PatternFindings& f) {
    std::string text;
    for (const PatternBlock& b : f.blocks.values) {
        if (b.text.empty()) continue;
        text += b.text;
        text += kPatternLineBreak;
    }
    return text;
}

void StorePatternCounts(const PatternFindings& f, PatternArray<int16_t>& patternCount) {
    for (const Pattern p : AllPatterns())
        if (!f.blocks[p].text.empty()) patternCount[p] = f.blocks[p].count;
    if (f.stelliumSlot)
        for (const Pattern p : EnumRange<Pattern>(Index(*f.stelliumSlot) + 1, Index(kStellium3)))
            patternCount[p] = 0;
}

}  // namespace vek
