// Every pattern of one chart at once, as the compute and the natal report
// use them: the finders of the pattern table and the midpoint search, their
// blocks in slot order and the counts they leave.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/patterns.h"
#include "engine/vek_types.h"

namespace vek {

// Every pattern of a single-chart compute, by slot 0..13. Slots 0..7, 12 and
// 13 hold their finder's block; of the stellia only the largest size with
// any instance is searched to the end and holds its block, the sizes below
// it are not searched and stay empty (`stelliumSlot` says which size was
// reported, none when there is none). The midpoint block comes from the midpoint search
// with the given orb list index.
struct PatternFindings {
    PatternArray<PatternBlock> blocks;
    std::optional<Pattern> stelliumSlot;
};

PatternFindings FindAllPatterns(const Chart& chart, const OrbTable& orbs, int midpointOrbIndex,
                                PatternForm form, const PatternTexts& texts);

// The pattern part of the summary text: every non-empty block in slot order,
// each followed by a line break.
std::string PatternSection(const PatternFindings& f);

// Stores the counts of a compute in the per-pattern counts. A slot whose
// block is non-empty gets the block's count; when a stellium size was
// reported the slots of the smaller sizes become 0; every other slot keeps
// the value it had before (a stepping command clears them all before it
// computes).
void StorePatternCounts(const PatternFindings& f, PatternArray<int16_t>& patternCount);

}  // namespace vek
