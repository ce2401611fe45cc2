// The engine's four fixed vocabularies (bodies, aspects, signs, patterns) in
// English and German, their glyph codes, the default aspect colours and the
// colour palette. All texts are UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/vek_types.h"

namespace vek {

// A 24-bit colour as red + 256 × green + 65536 × blue, the number settings
// and state files keep. Only an explicit Color(n) or Rgb makes one, so a
// count, an index or a coordinate cannot be passed where a colour goes;
// value() gives the number back for the files. Black (0) as an aspect's
// colour switches the aspect off.
class Color {
  public:
    constexpr Color() = default;
    constexpr explicit Color(int32_t value) : value_(value) {}
    constexpr int32_t value() const { return value_; }
    constexpr int red() const { return value_ & 0xFF; }
    constexpr int green() const { return (value_ >> 8) & 0xFF; }
    constexpr int blue() const { return (value_ >> 16) & 0xFF; }
    constexpr bool operator==(const Color&) const = default;

  private:
    int32_t value_ = 0;
};

constexpr Color Rgb(int r, int g, int b) {
    return Color(r + 256 * g + 65536 * b);
}

// Fixed data of one body (index 1..10).
struct BodyInfo {
    const char* name[2];          // English, German
    const char* abbreviation[2];  // English, German
    char glyph;                   // character in the glyph font
    int libraryCode;              // ephemeris library code; 0 = Pluto table / lunar library
    bool inner;                   // aspect lines can be hidden in the chart
};

// Fixed data of one aspect (index 1..7).
struct AspectInfo {
    double degrees;
    const char* abbreviation[2];  // cell text
    const char* name[2];          // heads the summary lines
    const char* phrase[2];        // "square to"
    const char* noun[2];          // "square"
    const char* labelStart[2];    // "square (90"; the label adds "°)"
};

// Fixed data of one sign (index 0..11).
struct SignInfo {
    const char* abbreviation[2];
    const char* name[2];
    char glyph;
};

// Index 0 of bodies and aspects is unused and empty.
extern const BodyArray<BodyInfo> kBodies;
extern const AspectArray<AspectInfo> kAspects;
extern const SignInfo kSigns[kSignCount];
extern const PatternArray<std::array<const char*, 2>> kPatternNames;

// Default display colour of each aspect (index 1..7; 0 unused).
extern const AspectArray<Color> kDefaultAspectColor;

// The twelve colours the configuration offers for the aspects (index 0..11).
inline constexpr int kPaletteSize = 12;
extern const Color kPalette[kPaletteSize];

// The texts of the four vocabularies in the current language, rebuilt in
// place on every language switch. Indices never change.
struct NameTables {
    BodyArray<std::string> BodyName;
    BodyArray<std::string> BodyAbbreviation;
    AspectArray<std::string> AspectAbbreviation;
    AspectArray<std::string> AspectName;
    AspectArray<std::string> AspectPhrase;
    AspectArray<std::string> AspectNoun;
    AspectArray<std::string> AspectLabelStart;
    std::string SignAbbreviation[kSignCount];
    std::string SignName[kSignCount];
    PatternArray<std::string> PatternName;

    bool operator==(const NameTables&) const = default;
};

// Glyph tables, the same in every language.
struct GlyphTables {
    BodyArray<std::string> PlanetGlyph;
    std::string SignGlyph[kSignCount];
};

// Fills the name tables for a language.
void BuildNameTables(NameTables& t, Language language);

void FillGlyphTables(GlyphTables& g);

// An aspect's label, e.g. "square (90°)".
std::string AspectLabel(const NameTables& t, Aspect aspect);

}  // namespace vek
