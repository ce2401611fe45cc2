// Angles and zodiac positions as the program writes them: 12°5', 12Ari5 and
// 12° in Aries.
#pragma once

#include <string>

#include "engine/vocabulary.h"

namespace vek {

// Switches of the angle text; all off by default.
struct AngleTextOptions {
    bool omitZeroMinutes = false;  // "12°" instead of "12°0'"
    bool keepUntrimmed = false;    // minutes keep a leading blank: "12° 5'"
    bool acceptNegatives = false;  // "-12°5'" instead of an empty text
    bool plainCarry = false;       // 359°60' carries to "360°0'"
};

// An angle in radians as whole degrees and minutes. Empty for a value above
// 2π, for a negative value (unless negatives are accepted) and for a
// non-finite value.
std::string AngleText(Radians angle, const AngleTextOptions& options = {});

// Position of a longitude in its sign, short form "12Ari5". Empty for a
// longitude below 0, above 2π or not finite.
std::string PositionTextShort(Radians longitude, const NameTables& names);

// Long form "12° in Aries": minutes above 30 round the degree up, but never
// into the next sign.
std::string PositionTextLong(Radians longitude, const NameTables& names);

}  // namespace vek
