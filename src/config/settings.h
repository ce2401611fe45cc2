// The user's settings: the configuration dialog's working copy, the values
// accepted into the engine, and the orb table built from them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/extra_points.h"
#include "engine/houses.h"
#include "engine/vek_types.h"
#include "engine/vocabulary.h"  // kDefaultAspectColor, kPalette

namespace vek {

namespace platform {
class SettingsStore;
}

// ---------------------------------------------------------------------------
// The lists of the configuration dialog

inline constexpr int kOrbListCount = 8;              // seven aspects, then "set all"
inline constexpr int kSetAllOrbList = 7;             // index of the "set all" list
inline constexpr int kOrbListSize = 16;              // 0° .. 15°
inline constexpr int kProportionListSize = 5;        // 1, 1/2 .. 1/5
inline constexpr int kMidpointOrbListSize = 8;       // 0°5' .. 3°0'
inline constexpr int kBoldfaceFractionListSize = 9;  // 1/2 .. 1/20

// Orb list entry n: text "n°", item value n × 60 (arc minutes).
std::string OrbListText(int index);
int OrbListItemValue(int index);

// Proportion list: "1", "1/2" .. "1/5" with divisors 1..5. An index outside
// the list gives the default divisor 3.
std::string ProportionText(int index);
int ProportionDivisor(int index);

// Boldface fraction list: "1/2" .. "1/20" with divisors 2, 3, 4, 5, 6, 8, 10,
// 15, 20. An index outside the list gives the default divisor 4.
std::string BoldfaceFractionText(int index);
int BoldfaceFractionDivisor(int index);

// Midpoint orb list: "0° 5'", "0° 15'", "0° 30'", "1° 0'", "1° 30'", "2° 0'",
// "2° 30'", "3° 0'". The list carries no item values.
std::string MidpointOrbText(int index);

// ---------------------------------------------------------------------------
// Colours (Color and Rgb of engine/vocabulary.h); black switches an aspect
// off.

// The largest colour number a state file may hold.
inline constexpr int32_t kMaxColor = 0xFFFFFF;

// Default colour of each aspect. The colours and
// the palette a left click steps through are the engine's.
Color DefaultAspectColor(Aspect aspect);

// The colour of each aspect.
using AspectColors = AspectArray<Color>;
AspectColors DefaultAspectColors();

// ---------------------------------------------------------------------------
// Defaults

inline constexpr std::array<int, kOrbListCount> kDefaultOrbIndex = {10, 9, 6, 7, 4, 3, 3, 1};
inline constexpr int kDefaultProportionIndex = 2;        // "1/3"
inline constexpr int kDefaultMidpointOrbIndex = 2;       // 0°30'
inline constexpr int kDefaultBoldfaceFractionIndex = 2;  // "1/4"

// ---------------------------------------------------------------------------
// The settings model

enum class BoldfaceThreshold { OneDegree, FractionOfOrb };

// What the chart shows beside the bodies: the houses of a date with a place
// (off by default) in one system, and the extra points. With all of it off
// every result is the one of a chart without places.
struct ChartExtrasChoice {
    bool houses = false;
    HouseSystem system = HouseSystem::Placidus;
    bool lunarNodes = false;  // the mean and the true node
    bool chiron = false;
    bool operator==(const ChartExtrasChoice&) const = default;
    // The points chosen, in the order of kAllExtraPoints.
    std::vector<ExtraPoint> Points() const;
};

// The configuration dialog's controls. Several commands read them directly
// even while the dialog is hidden: the proportions (SetOrbs), the boldface
// rule, the midpoint orb and the North American zone names.
struct ConfigControls {
    std::array<int, kOrbListCount> orbIndex = kDefaultOrbIndex;  // cboOrb(0..7)
    // cboPersonalOrbsProportion(0) personal transits, (1) synastry.
    std::array<int, 2> proportionIndex = {kDefaultProportionIndex, kDefaultProportionIndex};
    int midpointOrbIndex = kDefaultMidpointOrbIndex;  // cboOrbForMidpoints
    bool useBoldface = true;                          // chkUseBoldface
    BoldfaceThreshold boldfaceThreshold = BoldfaceThreshold::OneDegree;
    int boldfaceFractionIndex = kDefaultBoldfaceFractionIndex;  // cboBoldfaceFactor
    AspectColors color = DefaultAspectColors();                 // the colours being edited
    AspectColors savedColor = {};  // a colour switched off by a right click
    bool sidereal = false;         // "Sidereal" selected, else "Tropical"
    bool keepSelectedZodiac = true;
    bool includeMoon = true;
    bool northAmericanZones = true;           // "Display North American timezones"
    bool suppressInnerPlanetAspects = false;  // "Don't show aspects including inner planets"
    bool zodiacSectors = true;                // "Include sectors of the zodiac in charts"
    bool whiteImageBackground = false;        // "Save image with white background"
    bool useColor = false;                    // hidden; only kept in state files
    ChartExtrasChoice extras;  // chkShowHouses, cboHouseSystem, chkLunarNodes, chkChiron
};

// The settings the engine uses, filled when the dialog's settings are accepted.
struct AcceptedSettings {
    std::array<int, kOrbListCount> OrbIndex = kDefaultOrbIndex;
    AspectColors AspectColor = DefaultAspectColors();
    bool SiderealZodiac = false;
    bool IncludeMoon = true;
    bool ShowZodiacSectors = true;
    bool ShowInnerPlanetAspects = true;
    bool WhiteImageBackground = false;
    // 0 English, 1 German (2 may come from the store: Spanish, shown as
    // English). The window keeps the program text's language equal to it.
    Language CurrentLanguage = kEnglish;
    ChartExtrasChoice Extras;  // houses and extra points; kept in state files
};

// What "Cancel" puts back: taken each time the dialog becomes active.
struct ConfigSnapshot {
    bool useBoldface = true;
    int boldfaceFractionIndex = kDefaultBoldfaceFractionIndex;
    std::array<int, 2> proportionIndex = {kDefaultProportionIndex, kDefaultProportionIndex};
    bool northAmericanZones = true;
    bool zodiacSectors = true;
    bool includeMoon = true;
    bool suppressInnerPlanetAspects = false;
    bool whiteImageBackground = false;
    ChartExtrasChoice extras;
};

// All settings of the running program: the dialog's working copy, the
// accepted engine values and the dialog's snapshot. A default-constructed
// object holds the defaults of a fresh start before the store is read.
struct Settings {
    ConfigControls controls;
    AcceptedSettings accepted;
    ConfigSnapshot snapshot;
    bool blnAccept = false;  // "Use settings" pressed since the dialog became active

    // "Reset to default" without the question: every control to its default
    // (orbs also into OrbIndex), the zodiac only when "Keep selected zodiac"
    // is clear; North American zone names on exactly when the language is
    // English. Applies the defaults ("Use settings") when startupComplete.
    void ResetToDefault(bool startupComplete);

    // "Use settings": colours, orbs and the on/off options into the engine.
    // The caller then runs SetOrbs, rebuilds the zone lists and recomputes.
    void Accept();

    // Becoming the active window, without the store reloads: the orb lists,
    // zodiac and colours show the accepted values; the snapshot is taken and
    // blnAccept cleared.
    void ShowAccepted();
    void TakeSnapshot();

    // "Cancel": puts back the snapshot. The orb lists, zodiac and colours are
    // shown from the engine when the dialog next becomes active; the midpoint
    // orb, the boldface threshold and "Keep selected zodiac" stay as selected.
    void Cancel();

    // "Set all non-zero orbs to:": every aspect orb list not at 0° takes the
    // set-all list's index. OrbIndex follows with "Use settings"; "Cancel"
    // leaves it as it was.
    void SetAllNonzeroOrbs();

    // Selecting an entry of the set-all list. 0° is refused once start-up is
    // complete: the list returns to 1° and false is returned (the caller
    // shows "Cannot set all non-zero orbs to zero.").
    bool SelectSetAllOrb(int index, bool startupComplete);

    // Colour line clicks on aspect 1..7: a left click steps a palette colour
    // to the next palette entry (other colours stay); any other button
    // switches the colour off, or back on to the colour it had.
    void LeftClickColor(Aspect aspect);
    void OtherClickColor(Aspect aspect);
};

// Rebuilds the orb table (aspects 1..7, columns 0..2) and its summary from
// the accepted orbs and the dialog's two proportion lists.
void SetOrbs(const Settings& s, OrbTable& orbs);

// Whether an aspect cell is bold: never with boldface off; with "1 degree"
// when the deviation is below one degree; with a fraction of the orb when
// the orb of the cell's column divided by the fraction's divisor exceeds the
// deviation.
bool IsBoldAspect(const Settings& s, const OrbTable& orbs, Aspect aspect, OrbColumn column,
                  double deviation);

// ---------------------------------------------------------------------------
// Settings kept in the per-user store

// Each loader reads its value from the store (with the value's defaults),
// sets the dialog's check box, writes the value straight back and sets the
// engine flag from the box. SetTZDisp sets no engine flag: the zone lists
// read the box. zoneOffsetMinutes is the computer's zone, minutes east.
void SetTZDisp(Settings& s, platform::SettingsStore& store, int zoneOffsetMinutes);
void SetTZDisp(Settings& s, platform::SettingsStore& store);
void SetDisplayZodiacSectors(Settings& s, platform::SettingsStore& store);
void SetIncludeMoon(Settings& s, platform::SettingsStore& store);
void SetInnerPlanetAspectDisplay(Settings& s, platform::SettingsStore& store);
void SetSaveGraphicWithWhiteBackground(Settings& s, platform::SettingsStore& store);

// Each writer stores its check box: "1" ticked, "0" clear; for the inner
// planets "0" when the suppress box is ticked.
void WriteTZDispToRegistry(const Settings& s, platform::SettingsStore& store);
void WriteDisplayZodiacSectorsToRegistry(const Settings& s, platform::SettingsStore& store);
void WriteIncludeMoonToRegistry(const Settings& s, platform::SettingsStore& store);
void WriteInnerPlanetAspectDisplayToRegistry(const Settings& s, platform::SettingsStore& store);
void WriteSaveGraphicWithWhiteBackgroundToRegistry(const Settings& s,
                                                   platform::SettingsStore& store);

// The configuration dialog's creation: "Tropical", "Keep selected zodiac"
// ticked, every setting to its default (not applied), then the zone names,
// sectors, Moon and inner-planet values from the store.
void CreateConfiguration(Settings& s, platform::SettingsStore& store, int zoneOffsetMinutes);
void CreateConfiguration(Settings& s, platform::SettingsStore& store);

// The dialog becoming the active window: shows the accepted orbs, zodiac and
// colours, reloads sectors, inner planets and white background from the
// store, takes the snapshot and clears blnAccept.
void ActivateConfiguration(Settings& s, platform::SettingsStore& store);

}  // namespace vek
