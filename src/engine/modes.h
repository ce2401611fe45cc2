// What each mode means, said once: which date dateSlots it reads, whether it
// compares two charts, whether it is a transit mode whose aspects move in
// time, which orb column admits its aspects and how its table is laid out.
// Every caller reads this table instead of testing modes one by one.
#pragma once

#include <array>
#include <cstddef>

#include "engine/vek_types.h"

namespace vek {

struct ModeInfo {
    Mode mode = Mode::None;
    // The date dateSlots the mode reads, in the order they are converted: world
    // transits World date; natal aspects the birthdate; personal transits the
    // World date then the birthdate; synastry the 1st then the 2nd birthdate.
    int slotCount = 0;
    std::array<DateSlot, 2> dateSlots = {kWorldDate, kWorldDate};
    // Two charts side by side (personal transits, synastry): the square table
    // and the double wheel.
    bool twoCharts = false;
    // Personal transits: the World date's planets against a birth chart.
    bool personal = false;
    // World and personal transits: the World date moves, aspects have a
    // beginning and an end, stepping and runs are possible.
    bool transits = false;
    // Applying/separating markers are written (all modes but synastry).
    bool markers = false;
    // The orb column that admits the mode's aspects.
    OrbColumn orbColumn = kOrbBase;
    // The orb column of the beginning and end searches: the base orbs in
    // world transits and natal aspects, the personal orbs otherwise.
    OrbColumn searchColumn = kOrbBase;
};

inline constexpr std::array<ModeInfo, 7> kModeTable = {{
    {Mode::None, 0, {kWorldDate, kWorldDate}, false, false, false, false, kOrbBase, kOrbBase},
    {Mode::World, 1, {kWorldDate, kWorldDate}, false, false, true, true, kOrbBase, kOrbBase},
    {Mode::Natal1, 1, {kBirth1, kWorldDate}, false, false, false, true, kOrbBase, kOrbBase},
    {Mode::Natal2, 1, {kBirth2, kWorldDate}, false, false, false, true, kOrbBase, kOrbBase},
    {Mode::Personal1, 2, {kWorldDate, kBirth1}, true, true, true, true, kOrbPersonal, kOrbPersonal},
    {Mode::Personal2, 2, {kWorldDate, kBirth2}, true, true, true, true, kOrbPersonal, kOrbPersonal},
    {Mode::Synastry, 2, {kBirth1, kBirth2}, true, false, false, false, kOrbSynastry, kOrbPersonal},
}};

// The description of a mode; Mode::None (and any value outside the table)
// reads no slot and is nothing.
constexpr const ModeInfo& ModeInfoOf(Mode mode) {
    const int i = static_cast<int>(mode);
    return kModeTable[i >= 0 && i < static_cast<int>(kModeTable.size()) ? i : 0];
}

// Whether a mode reads date slot `slot`.
constexpr bool ModeReadsSlot(Mode mode, DateSlot slot) {
    const ModeInfo& m = ModeInfoOf(mode);
    for (int k = 0; k < m.slotCount; ++k)
        if (m.dateSlots[static_cast<std::size_t>(k)] == slot) return true;
    return false;
}

}  // namespace vek
