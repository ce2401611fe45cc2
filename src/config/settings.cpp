#include "config/settings.h"

#include "platform/settings_store.h"

namespace vek {

namespace {

constexpr int kBoldfaceDivisors[kBoldfaceFractionListSize] = {2, 3, 4, 5, 6, 8, 10, 15, 20};

// Midpoint orb entries as whole degrees and minutes.
constexpr int kMidpointDegrees[kMidpointOrbListSize] = {0, 0, 0, 1, 1, 2, 2, 3};
constexpr int kMidpointMinutes[kMidpointOrbListSize] = {5, 15, 30, 0, 30, 0, 30, 0};

bool InRange(int index, int size) {
    return index >= 0 && index < size;
}

}  // namespace

std::string OrbListText(int index) {
    if (!InRange(index, kOrbListSize)) return "";
    return std::to_string(index) + "°";
}

int OrbListItemValue(int index) {
    return InRange(index, kOrbListSize) ? index * 60 : 0;
}

std::string ProportionText(int index) {
    if (!InRange(index, kProportionListSize)) return "";
    return index == 0 ? "1" : "1/" + std::to_string(index + 1);
}

int ProportionDivisor(int index) {
    return InRange(index, kProportionListSize) ? index + 1 : kDefaultProportionIndex + 1;
}

std::string BoldfaceFractionText(int index) {
    if (!InRange(index, kBoldfaceFractionListSize)) return "";
    return "1/" + std::to_string(kBoldfaceDivisors[index]);
}

int BoldfaceFractionDivisor(int index) {
    return kBoldfaceDivisors[InRange(index, kBoldfaceFractionListSize)
                                 ? index
                                 : kDefaultBoldfaceFractionIndex];
}

std::string MidpointOrbText(int index) {
    if (!InRange(index, kMidpointOrbListSize)) return "";
    return std::to_string(kMidpointDegrees[index]) + "° " +
           std::to_string(kMidpointMinutes[index]) + "'";
}

std::vector<ExtraPoint> ChartExtrasChoice::Points() const {
    std::vector<ExtraPoint> points;
    if (lunarNodes) {
        points.push_back(ExtraPoint::MeanNode);
        points.push_back(ExtraPoint::TrueNode);
    }
    if (chiron) points.push_back(ExtraPoint::Chiron);
    return points;
}

Color DefaultAspectColor(Aspect aspect) {
    return kDefaultAspectColor[aspect];
}

AspectColors DefaultAspectColors() {
    AspectColors c{};
    for (const Aspect a : AllAspects()) c[a] = DefaultAspectColor(a);
    return c;
}

void Settings::ResetToDefault(bool startupComplete) {
    controls.orbIndex = kDefaultOrbIndex;
    accepted.OrbIndex = kDefaultOrbIndex;

    controls.useBoldface = true;
    controls.boldfaceFractionIndex = kDefaultBoldfaceFractionIndex;
    controls.proportionIndex = {kDefaultProportionIndex, kDefaultProportionIndex};
    controls.boldfaceThreshold = BoldfaceThreshold::OneDegree;

    controls.suppressInnerPlanetAspects = false;
    controls.whiteImageBackground = false;
    controls.northAmericanZones = accepted.CurrentLanguage == kEnglish;
    controls.includeMoon = true;
    controls.zodiacSectors = true;

    if (!controls.keepSelectedZodiac) controls.sidereal = false;

    controls.color = DefaultAspectColors();
    controls.midpointOrbIndex = kDefaultMidpointOrbIndex;
    controls.extras = ChartExtrasChoice();

    if (startupComplete) Accept();
}

void Settings::Accept() {
    accepted.AspectColor = controls.color;
    accepted.OrbIndex = controls.orbIndex;
    accepted.ShowZodiacSectors = controls.zodiacSectors;
    accepted.IncludeMoon = controls.includeMoon;
    accepted.ShowInnerPlanetAspects = !controls.suppressInnerPlanetAspects;
    accepted.WhiteImageBackground = controls.whiteImageBackground;
    accepted.SiderealZodiac = controls.sidereal;
    accepted.Extras = controls.extras;
    blnAccept = true;
}

void Settings::ShowAccepted() {
    controls.orbIndex = accepted.OrbIndex;
    controls.sidereal = accepted.SiderealZodiac;
    controls.color = accepted.AspectColor;
    controls.extras = accepted.Extras;
}

void Settings::TakeSnapshot() {
    snapshot.useBoldface = controls.useBoldface;
    snapshot.boldfaceFractionIndex = controls.boldfaceFractionIndex;
    snapshot.proportionIndex = controls.proportionIndex;
    snapshot.northAmericanZones = controls.northAmericanZones;
    snapshot.zodiacSectors = controls.zodiacSectors;
    snapshot.includeMoon = controls.includeMoon;
    snapshot.suppressInnerPlanetAspects = controls.suppressInnerPlanetAspects;
    snapshot.whiteImageBackground = controls.whiteImageBackground;
    snapshot.extras = controls.extras;
    blnAccept = false;
}

void Settings::Cancel() {
    controls.useBoldface = snapshot.useBoldface;
    controls.boldfaceFractionIndex = snapshot.boldfaceFractionIndex;
    controls.proportionIndex = snapshot.proportionIndex;
    controls.northAmericanZones = snapshot.northAmericanZones;
    controls.zodiacSectors = snapshot.zodiacSectors;
    controls.includeMoon = snapshot.includeMoon;
    controls.suppressInnerPlanetAspects = snapshot.suppressInnerPlanetAspects;
    controls.whiteImageBackground = snapshot.whiteImageBackground;
    controls.extras = snapshot.extras;
}

void Settings::SetAllNonzeroOrbs() {
    // Only the lists change: like every other edit of the dialog the new
    // orbs count from "Use settings" on, and "Cancel" drops them.
    const int orb = controls.orbIndex[kSetAllOrbList];
    for (int i = 0; i < kAspectCount; ++i) {
        if (controls.orbIndex[i] == 0) continue;
        controls.orbIndex[i] = orb;
    }
}

bool Settings::SelectSetAllOrb(int index, bool startupComplete) {
    if (index == 0 && startupComplete) {
        controls.orbIndex[kSetAllOrbList] = 1;
        return false;
    }
    controls.orbIndex[kSetAllOrbList] = index;
    return true;
}

void Settings::LeftClickColor(Aspect aspect) {
    Color& c = controls.color[aspect];
    for (int k = 0; k < kPaletteSize; ++k) {
        if (kPalette[k] == c) {
            c = kPalette[(k + 1) % kPaletteSize];
            return;
        }
    }
}

void Settings::OtherClickColor(Aspect aspect) {
    Color& c = controls.color[aspect];
    if (c != Color()) {
        controls.savedColor[aspect] = c;
        c = Color();
    } else {
        c = controls.savedColor[aspect];
    }
}

void SetOrbs(const Settings& s, OrbTable& orbs) {
    auto& orbTable = orbs.orb;
    OrbSummary& summary = orbs.summary;
    for (const Aspect a : AllAspects()) {
        const double minutes = OrbListItemValue(s.accepted.OrbIndex[Index(a) - 1]);
        orbTable[a][kOrbBase] = ToRadians(Degrees(minutes / 60)).value;
    }
    const OrbColumn proportioned[2] = {kOrbPersonal, kOrbSynastry};
    for (int j = 0; j < 2; ++j) {
        const double d = ProportionDivisor(s.controls.proportionIndex[j]);
        for (const Aspect a : AllAspects())
            orbTable[a][proportioned[j]] = orbTable[a][kOrbBase] / d;
    }
    for (const OrbColumn c : {kOrbBase, kOrbPersonal, kOrbSynastry}) {
        double largest = 0;
        double smallest = 20;
        for (const Aspect a : AllAspects()) {
            const double orb = orbTable[a][c];
            if (orb > largest) largest = orb;
            if (orb > 0 && orb < smallest) smallest = orb;
        }
        summary.OrbMaximum[c] = largest;
        summary.OrbMinimum[c] = smallest;
    }
    summary.UniformBaseOrbs = summary.OrbMaximum[kOrbBase] == summary.OrbMinimum[kOrbBase];
}

bool IsBoldAspect(const Settings& s, const OrbTable& orbs, Aspect aspect, OrbColumn column,
                  double deviation) {
    if (!s.controls.useBoldface) return false;
    if (s.controls.boldfaceThreshold == BoldfaceThreshold::OneDegree)
        return deviation < 1.0 / 360 * kTwoPi;
    return orbs.orb[aspect][column] / BoldfaceFractionDivisor(s.controls.boldfaceFractionIndex) >
           deviation;
}

using platform::LoadStoredSwitch;
using platform::StoredSwitch;
using platform::WriteStoredSwitch;

void SetTZDisp(Settings& s, platform::SettingsStore& store, int zoneOffsetMinutes) {
    s.controls.northAmericanZones =
        LoadStoredSwitch(store, StoredSwitch::TZDisp, zoneOffsetMinutes);
}

void SetTZDisp(Settings& s, platform::SettingsStore& store) {
    SetTZDisp(s, store, platform::ComputerZoneOffsetMinutes());
}

void SetDisplayZodiacSectors(Settings& s, platform::SettingsStore& store) {
    s.controls.zodiacSectors = LoadStoredSwitch(store, StoredSwitch::ZodiacSectors);
    s.accepted.ShowZodiacSectors = s.controls.zodiacSectors;
}

void SetIncludeMoon(Settings& s, platform::SettingsStore& store) {
    s.controls.includeMoon = LoadStoredSwitch(store, StoredSwitch::Moon);
    s.accepted.IncludeMoon = s.controls.includeMoon;
}

void SetInnerPlanetAspectDisplay(Settings& s, platform::SettingsStore& store) {
    s.controls.suppressInnerPlanetAspects = !LoadStoredSwitch(store, StoredSwitch::IPAD);
    s.accepted.ShowInnerPlanetAspects = !s.controls.suppressInnerPlanetAspects;
}

void SetSaveGraphicWithWhiteBackground(Settings& s, platform::SettingsStore& store) {
    s.controls.whiteImageBackground = LoadStoredSwitch(store, StoredSwitch::SGWWB);
    s.accepted.WhiteImageBackground = s.controls.whiteImageBackground;
}

void WriteTZDispToRegistry(const Settings& s, platform::SettingsStore& store) {
    WriteStoredSwitch(store, StoredSwitch::TZDisp, s.controls.northAmericanZones);
}

void WriteDisplayZodiacSectorsToRegistry(const Settings& s, platform::SettingsStore& store) {
    WriteStoredSwitch(store, StoredSwitch::ZodiacSectors, s.controls.zodiacSectors);
}

void WriteIncludeMoonToRegistry(const Settings& s, platform::SettingsStore& store) {
    WriteStoredSwitch(store, StoredSwitch::Moon, s.controls.includeMoon);
}

void WriteInnerPlanetAspectDisplayToRegistry(const Settings& s, platform::SettingsStore& store) {
    WriteStoredSwitch(store, StoredSwitch::IPAD, !s.controls.suppressInnerPlanetAspects);
}

void WriteSaveGraphicWithWhiteBackgroundToRegistry(const Settings& s,
                                                   platform::SettingsStore& store) {
    WriteStoredSwitch(store, StoredSwitch::SGWWB, s.controls.whiteImageBackground);
}

void CreateConfiguration(Settings& s, platform::SettingsStore& store, int zoneOffsetMinutes) {
    s.controls.sidereal = false;
    s.controls.keepSelectedZodiac = true;
    s.ResetToDefault(/*startupComplete=*/false);
    SetTZDisp(s, store, zoneOffsetMinutes);
    SetDisplayZodiacSectors(s, store);
    SetIncludeMoon(s, store);
    SetInnerPlanetAspectDisplay(s, store);
}

void CreateConfiguration(Settings& s, platform::SettingsStore& store) {
    CreateConfiguration(s, store, platform::ComputerZoneOffsetMinutes());
}

void ActivateConfiguration(Settings& s, platform::SettingsStore& store) {
    s.ShowAccepted();
    SetDisplayZodiacSectors(s, store);
    SetInnerPlanetAspectDisplay(s, store);
    SetSaveGraphicWithWhiteBackground(s, store);
    s.TakeSnapshot();
}

}  // namespace vek
