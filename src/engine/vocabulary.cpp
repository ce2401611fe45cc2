#include "engine/vocabulary.h"

namespace vek {

// clang-format off
const BodyArray<BodyInfo> kBodies = {{{
    {{"", ""}, {"", ""}, 0, 0, false},
    {{"Sun", "Sonne"}, {"Su", "So"}, 's', 3, true},
    {{"Mercury", "Merkur"}, {"Me", "Me"}, 'f', 1, true},
    {{"Venus", "Venus"}, {"Ve", "Ve"}, 'g', 2, true},
    {{"Mars", "Mars"}, {"Ma", "Ma"}, 'h', 4, true},
    {{"Jupiter", "Jupiter"}, {"Ju", "Ju"}, 'j', 5, false},
    {{"Saturn", "Saturn"}, {"Sa", "Sa"}, 'S', 6, false},
    {{"Uranus", "Uranus"}, {"Ur", "Ur"}, 'F', 7, false},
    {{"Neptune", "Neptun"}, {"Ne", "Ne"}, 'G', 8, false},
    {{"Pluto", "Pluto"}, {"Pl", "Pl"}, 'J', 0, false},
    {{"Moon", "Mond"}, {"Mo", "Mo"}, 'a', 0, false},
}}};

const AspectArray<AspectInfo> kAspects = {{{
    {0, {"", ""}, {"", ""}, {"", ""}, {"", ""}, {"", ""}},
    {0, {"Con", "Kon"}, {"Conjunction", "Konjunktion"}, {"conjunct", "Konjunktion"},
     {"conjunct", "Konjunktion"}, {"conjunction (0", "Konjunktion (0"}},
    {180, {"Opp", "Opp"}, {"Opposition", "Opposition"}, {"opposite", "Opposition"},
     {"opposite", "Opposition"}, {"opposition (180", "Opposition (180"}},
    {90, {"Sqr", "Qua"}, {"Square", "Quadrat"}, {"square to", "Quadrat"},
     {"square", "Quadrat"}, {"square (90", "Quadrat (90"}},
    {120, {"Tri", "Tri"}, {"Trine", "Trigon"}, {"trine to", "Trigon"},
     {"trine", "Trigon"}, {"trine (120", "Trigon (120"}},
    {60, {"Sxt", "Sxt"}, {"Sextile", "Sextil"}, {"sextile to", "Sextil"},
     {"sextile", "Sextil"}, {"sextile (60", "Sextil (60"}},
    {30, {"Ssx", "Ssx"}, {"Semisextile", "Semisextil"}, {"semisextile to", "Semisextil"},
     {"semisextile", "Semisextil"}, {"semisextile (30", "Semisextil (30"}},
    {150, {"Qui", "Qui"}, {"Quincunx", "Quinkunx"}, {"quincunx to", "Quinkunx"},
     {"quincunx", "Quinkunx"}, {"quincunx (150", "Quinkunx (150"}},
}}};

const SignInfo kSigns[kSignCount] = {
    {{"Ari", "Wid"}, {"Aries", "Widder"}, 'x'},
    {{"Tau", "Sti"}, {"Taurus", "Stier"}, 'c'},
    {{"Gem", "Zwi"}, {"Gemini", "Zwilling"}, 'v'},
    {{"Can", "Kre"}, {"Cancer", "Krebs"}, 'b'},
    {{"Leo", "Löw"}, {"Leo", "Löwe"}, 'n'},
    {{"Vir", "Jun"}, {"Virgo", "Jungfrau"}, 'm'},
    {{"Lib", "Waa"}, {"Libra", "Waage"}, 'X'},
    {{"Sco", "Sko"}, {"Scorpio", "Skorpion"}, 'C'},
    {{"Sag", "Sch"}, {"Sagittarius", "Schütze"}, 'V'},
    {{"Cap", "Ste"}, {"Capricorn", "Steinbock"}, 'B'},
    {{"Aqu", "Was"}, {"Aquarius", "Wassermann"}, 'N'},
    {{"Pis", "Fis"}, {"Pisces", "Fische"}, 'M'},
};

const PatternArray<std::array<const char*, 2>> kPatternNames = {{{
    {"Grand trine", "Großes Trigon"},
    {"Kite", "Drachen"},
    {"Rectangle", "Rechteck"},
    {"T-square", "T-Quadrat"},
    {"Grand cross", "Großes Kreuz"},
    {"Yod", "Yod"},
    {"Yod-kite", "Yod-Drachen"},
    {"Trapezium", "Trapez"},
    {"6-Stellium", "6-Stellium"},
    {"5-Stellium", "5-Stellium"},
    {"4-Stellium", "4-Stellium"},
    {"3-Stellium", "3-Stellium"},
    {"Grand sextile", "Großes Sextil"},
    {"Midpoint", "Halbsumme"},
}}};

const AspectArray<Color> kDefaultAspectColor = {{{
    Color(),
    Rgb(255, 255, 0),    // conjunction
    Rgb(255, 0, 255),    // opposition
    Rgb(255, 0, 0),      // square
    Rgb(0, 255, 0),      // trine
    Rgb(0, 255, 255),    // sextile
    Rgb(128, 128, 255),  // semisextile
    Rgb(128, 128, 128),  // quincunx
}}};

const Color kPalette[kPaletteSize] = {
    Rgb(255, 255, 0), Rgb(255, 0, 255),   Rgb(255, 0, 0),
    Rgb(0, 255, 0),   Rgb(0, 255, 255),   Rgb(128, 128, 128),
    Rgb(128, 128, 255), Rgb(0, 0, 255),   Rgb(0, 192, 255),
    Rgb(192, 0, 255), Rgb(255, 192, 0),   Rgb(128, 64, 0),
};
// clang-format on

void BuildNameTables(NameTables& t, Language language) {
    const int l = Index(language);
    for (const Body b : AllBodies()) {
        t.BodyName[b] = kBodies[b].name[l];
        t.BodyAbbreviation[b] = kBodies[b].abbreviation[l];
    }
    for (const Aspect a : AllAspects()) {
        t.AspectAbbreviation[a] = kAspects[a].abbreviation[l];
        t.AspectName[a] = kAspects[a].name[l];
        t.AspectPhrase[a] = kAspects[a].phrase[l];
        t.AspectNoun[a] = kAspects[a].noun[l];
        t.AspectLabelStart[a] = kAspects[a].labelStart[l];
    }
    for (int s = 0; s < kSignCount; ++s) {
        t.SignAbbreviation[s] = kSigns[s].abbreviation[l];
        t.SignName[s] = kSigns[s].name[l];
    }
    for (const Pattern p : AllPatterns()) t.PatternName[p] = kPatternNames[p][static_cast<std::size_t>(l)];
}

void FillGlyphTables(GlyphTables& g) {
    for (const Body b : AllBodies()) g.PlanetGlyph[b] = std::string(1, kBodies[b].glyph);
    for (int s = 0; s < kSignCount; ++s) g.SignGlyph[s] = std::string(1, kSigns[s].glyph);
}

std::string AspectLabel(const NameTables& t, Aspect aspect) {
    return t.AspectLabelStart[aspect] + "°)";
}

}  // namespace vek
