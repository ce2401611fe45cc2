#include "config/settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "../temp_folder.h"
#include "platform/settings_store.h"

namespace vek {
namespace {

double Deg(double d) {
    return d / 360.0 * kTwoPi;
}

TEST(SettingsLists, EntryTextsAndItemValues) {
    EXPECT_EQ(OrbListText(0), "0°");
    EXPECT_EQ(OrbListText(15), "15°");
    EXPECT_EQ(OrbListItemValue(10), 600);
    EXPECT_EQ(ProportionText(0), "1");
    EXPECT_EQ(ProportionText(2), "1/3");
    EXPECT_EQ(ProportionDivisor(4), 5);
    EXPECT_EQ(BoldfaceFractionText(6), "1/10");
    EXPECT_EQ(BoldfaceFractionDivisor(8), 20);
    EXPECT_EQ(MidpointOrbText(0), "0° 5'");
    EXPECT_EQ(MidpointOrbText(3), "1° 0'");
    EXPECT_EQ(MidpointOrbText(7), "3° 0'");
    // Indices outside a list never reach past it.
    EXPECT_EQ(OrbListText(16), "");
    EXPECT_EQ(ProportionDivisor(-1), 3);
    EXPECT_EQ(BoldfaceFractionDivisor(9), 4);
}

TEST(SettingsDefaults, MatchAFreshStart) {
    Settings s;
    EXPECT_EQ(s.accepted.OrbIndex, (std::array<int, 8>{10, 9, 6, 7, 4, 3, 3, 1}));
    EXPECT_EQ(s.accepted.AspectColor[kConjunction].value(), 0x00FFFF);  // yellow, red in the low byte
    EXPECT_EQ(s.accepted.AspectColor[kSemisextile].value(), 128 + 256 * 128 + 65536 * 255);
    EXPECT_EQ(s.controls.proportionIndex[0], 2);
    EXPECT_EQ(s.controls.midpointOrbIndex, 2);
    EXPECT_EQ(s.controls.boldfaceFractionIndex, 2);
    EXPECT_TRUE(s.controls.keepSelectedZodiac);
    EXPECT_FALSE(s.controls.useColor);
}

TEST(SetOrbs, DefaultOrbsAndProportions) {
    Settings s;
    OrbTable e;
    SetOrbs(s, e);
    EXPECT_DOUBLE_EQ(e.orb[kConjunction][kOrbBase], 600.0 / 60 / 360 * kTwoPi);
    EXPECT_NEAR(e.orb[kConjunction][kOrbPersonal], Deg(10.0 / 3), 1e-15);
    EXPECT_NEAR(e.orb[kOpposition][kOrbPersonal], Deg(3), 1e-15);
    EXPECT_NEAR(e.orb[kQuincunx][kOrbSynastry], Deg(1), 1e-15);
    EXPECT_NEAR(e.summary.OrbMaximum[kOrbBase], Deg(10), 1e-15);
    EXPECT_NEAR(e.summary.OrbMinimum[kOrbBase], Deg(3), 1e-15);
    EXPECT_NEAR(e.summary.OrbMaximum[kOrbSynastry], Deg(10.0 / 3), 1e-15);
    EXPECT_FALSE(e.summary.UniformBaseOrbs);

    // The proportions are read from the dialog's lists, accepted or not.
    s.controls.proportionIndex = {0, 4};
    SetOrbs(s, e);
    EXPECT_DOUBLE_EQ(e.orb[kSquare][kOrbPersonal], e.orb[kSquare][kOrbBase]);
    EXPECT_DOUBLE_EQ(e.orb[kSquare][kOrbSynastry], e.orb[kSquare][kOrbBase] / 5);
}

TEST(SetOrbs, SummaryOfZeroAndUniformOrbs) {
    Settings s;
    OrbTable e;
    s.accepted.OrbIndex = {0, 0, 0, 0, 0, 0, 0, 1};
    SetOrbs(s, e);
    for (OrbColumn c : {kOrbBase, kOrbPersonal, kOrbSynastry}) {
        EXPECT_EQ(e.summary.OrbMaximum[c], 0);
        EXPECT_EQ(e.summary.OrbMinimum[c], 20);
    }
    EXPECT_FALSE(e.summary.UniformBaseOrbs);

    s.accepted.OrbIndex = {5, 5, 5, 5, 5, 5, 5, 1};
    SetOrbs(s, e);
    EXPECT_TRUE(e.summary.UniformBaseOrbs);

    // Zero orbs do not count as the smallest.
    s.accepted.OrbIndex = {0, 0, 7, 0, 0, 0, 0, 1};
    SetOrbs(s, e);
    EXPECT_TRUE(e.summary.UniformBaseOrbs);
    EXPECT_NEAR(e.summary.OrbMinimum[kOrbBase], Deg(7), 1e-15);
}

TEST(SettingsReset, RestoresDefaultsAndKeepsZodiacOnlyWhenAsked) {
    Settings s;
    s.controls.orbIndex = {1, 2, 3, 4, 5, 6, 7, 8};
    s.controls.useBoldface = false;
    s.controls.boldfaceThreshold = BoldfaceThreshold::FractionOfOrb;
    s.controls.color[kTrine] = Color();
    s.controls.midpointOrbIndex = 7;
    s.controls.suppressInnerPlanetAspects = true;
    s.controls.includeMoon = false;
    s.controls.sidereal = true;
    s.accepted.SiderealZodiac = true;
    s.accepted.IncludeMoon = false;

    s.ResetToDefault(/*startupComplete=*/false);
    EXPECT_EQ(s.controls.orbIndex, kDefaultOrbIndex);
    EXPECT_EQ(s.accepted.OrbIndex, kDefaultOrbIndex);  // orbs go straight to the engine
    EXPECT_TRUE(s.controls.useBoldface);
    EXPECT_EQ(s.controls.boldfaceThreshold, BoldfaceThreshold::OneDegree);
    EXPECT_EQ(s.controls.color[kTrine], DefaultAspectColor(kTrine));
    EXPECT_EQ(s.controls.midpointOrbIndex, 2);
    EXPECT_TRUE(s.controls.sidereal);  // "Keep selected zodiac" is ticked
    // Not applied during start-up.
    EXPECT_FALSE(s.accepted.IncludeMoon);
    EXPECT_FALSE(s.blnAccept);

    s.controls.keepSelectedZodiac = false;
    s.ResetToDefault(/*startupComplete=*/true);
    EXPECT_FALSE(s.controls.sidereal);
    EXPECT_FALSE(s.accepted.SiderealZodiac);
    EXPECT_TRUE(s.accepted.IncludeMoon);
    EXPECT_TRUE(s.blnAccept);
}

TEST(SettingsReset, NorthAmericanZonesFollowTheLanguage) {
    Settings s;
    s.accepted.CurrentLanguage = kGerman;
    s.ResetToDefault(false);
    EXPECT_FALSE(s.controls.northAmericanZones);
    s.accepted.CurrentLanguage = kEnglish;
    s.ResetToDefault(false);
    EXPECT_TRUE(s.controls.northAmericanZones);
}

TEST(SettingsDialog, AcceptCopiesControlsIntoTheEngine) {
    Settings s;
    s.controls.orbIndex[Index(kSquare) - 1] = 12;
    s.controls.color[kSextile] = Color();
    s.controls.sidereal = true;
    s.controls.suppressInnerPlanetAspects = true;
    s.controls.zodiacSectors = false;
    s.controls.whiteImageBackground = true;
    s.controls.includeMoon = false;
    s.Accept();
    EXPECT_EQ(s.accepted.OrbIndex[Index(kSquare) - 1], 12);
    EXPECT_EQ(s.accepted.AspectColor[kSextile], Color());
    EXPECT_TRUE(s.accepted.SiderealZodiac);
    EXPECT_FALSE(s.accepted.ShowInnerPlanetAspects);
    EXPECT_FALSE(s.accepted.ShowZodiacSectors);
    EXPECT_TRUE(s.accepted.WhiteImageBackground);
    EXPECT_FALSE(s.accepted.IncludeMoon);
}

TEST(SettingsDialog, CancelPutsBackTheSnapshotOnly) {
    Settings s;
    s.ShowAccepted();
    s.TakeSnapshot();
    s.controls.useBoldface = false;
    s.controls.boldfaceFractionIndex = 7;
    s.controls.proportionIndex = {0, 1};
    s.controls.includeMoon = false;
    s.controls.northAmericanZones = !s.controls.northAmericanZones;
    s.controls.midpointOrbIndex = 6;
    s.controls.boldfaceThreshold = BoldfaceThreshold::FractionOfOrb;
    s.controls.keepSelectedZodiac = false;
    s.controls.orbIndex[0] = 15;
    s.Cancel();
    EXPECT_TRUE(s.controls.useBoldface);
    EXPECT_EQ(s.controls.boldfaceFractionIndex, 2);
    EXPECT_EQ(s.controls.proportionIndex, (std::array<int, 2>{2, 2}));
    EXPECT_TRUE(s.controls.includeMoon);
    EXPECT_EQ(s.controls.northAmericanZones, s.snapshot.northAmericanZones);
    // These stay as the user left them.
    EXPECT_EQ(s.controls.midpointOrbIndex, 6);
    EXPECT_EQ(s.controls.boldfaceThreshold, BoldfaceThreshold::FractionOfOrb);
    EXPECT_FALSE(s.controls.keepSelectedZodiac);
    // The orb lists show the engine's orbs again when the dialog reopens.
    EXPECT_EQ(s.controls.orbIndex[0], 15);
    s.ShowAccepted();
    EXPECT_EQ(s.controls.orbIndex[0], 10);
}

TEST(SettingsDialog, SetAllNonzeroOrbs) {
    Settings s;
    s.controls.orbIndex = {10, 9, 0, 7, 4, 3, 3, 5};
    s.SetAllNonzeroOrbs();
    EXPECT_EQ(s.controls.orbIndex, (std::array<int, 8>{5, 5, 0, 5, 5, 5, 5, 5}));
    // Nothing is in force before "Use settings": "Cancel" and the next
    // opening show the accepted orbs again.
    EXPECT_EQ(s.accepted.OrbIndex, kDefaultOrbIndex);
    s.Cancel();
    s.ShowAccepted();
    EXPECT_EQ(s.controls.orbIndex, kDefaultOrbIndex);
    s.controls.orbIndex = {10, 9, 0, 7, 4, 3, 3, 5};
    s.SetAllNonzeroOrbs();
    s.Accept();
    EXPECT_EQ(s.accepted.OrbIndex, (std::array<int, 8>{5, 5, 0, 5, 5, 5, 5, 5}));

    EXPECT_FALSE(s.SelectSetAllOrb(0, /*startupComplete=*/true));
    EXPECT_EQ(s.controls.orbIndex[kSetAllOrbList], 1);
    EXPECT_TRUE(s.SelectSetAllOrb(0, /*startupComplete=*/false));
    EXPECT_EQ(s.controls.orbIndex[kSetAllOrbList], 0);
}

TEST(SettingsDialog, ColorClicks) {
    Settings s;
    const Color first = s.controls.color[kConjunction];
    for (int i = 0; i < 11; ++i) {
        s.LeftClickColor(kConjunction);
        EXPECT_NE(s.controls.color[kConjunction], first);
    }
    s.LeftClickColor(kConjunction);
    EXPECT_EQ(s.controls.color[kConjunction], first);

    // Semisextile's default sits at palette entry 6; the next is blue.
    s.LeftClickColor(kSemisextile);
    EXPECT_EQ(s.controls.color[kSemisextile], Rgb(0, 0, 255));

    s.controls.color[kTrine] = Rgb(1, 2, 3);  // not in the palette
    s.LeftClickColor(kTrine);
    EXPECT_EQ(s.controls.color[kTrine], Rgb(1, 2, 3));

    s.OtherClickColor(kTrine);
    EXPECT_EQ(s.controls.color[kTrine], Color());
    s.OtherClickColor(kTrine);
    EXPECT_EQ(s.controls.color[kTrine], Rgb(1, 2, 3));

    s.controls.color[kSquare] = Color();  // off, never switched off by a click
    s.OtherClickColor(kSquare);
    EXPECT_EQ(s.controls.color[kSquare], Color());
    // The engine's colours change only on "Use settings".
    EXPECT_EQ(s.accepted.AspectColor[kTrine], DefaultAspectColor(kTrine));
}

TEST(Boldface, RuleByThresholdKind) {
    Settings s;
    OrbTable e;
    SetOrbs(s, e);
    EXPECT_TRUE(IsBoldAspect(s, e, kTrine, kOrbBase, Deg(0.99)));
    EXPECT_FALSE(IsBoldAspect(s, e, kTrine, kOrbBase, Deg(1)));

    s.controls.boldfaceThreshold = BoldfaceThreshold::FractionOfOrb;  // 1/4 of the orb
    EXPECT_TRUE(IsBoldAspect(s, e, kConjunction, kOrbBase, Deg(2.49)));
    EXPECT_FALSE(IsBoldAspect(s, e, kConjunction, kOrbBase, Deg(2.5)));
    // Column 1: 10°/3 orb, a quarter of it is 0.8333°.
    EXPECT_TRUE(IsBoldAspect(s, e, kConjunction, kOrbPersonal, Deg(0.83)));
    EXPECT_FALSE(IsBoldAspect(s, e, kConjunction, kOrbPersonal, Deg(0.84)));

    s.controls.useBoldface = false;
    EXPECT_FALSE(IsBoldAspect(s, e, kConjunction, kOrbBase, 0));
}

std::string Stored(const platform::SettingsStore& store, const char* name) {
    std::string value = "<missing>";
    store.GetStoreValue(platform::kStoreKeyPath, name, value);
    return value;
}

TEST(SettingsStoreUse, FreshUserGetsDefaultsWrittenOnFirstUse) {
    testing::TempFolder dir("vek-settings-test");
    platform::SettingsStore store(dir.path());
    Settings s;
    s.controls.sidereal = true;
    CreateConfiguration(s, store, /*zoneOffsetMinutes=*/-300);
    EXPECT_FALSE(s.controls.sidereal);
    EXPECT_TRUE(s.controls.northAmericanZones);
    EXPECT_EQ(Stored(store, "TZDisp"), "1");
    EXPECT_EQ(Stored(store, "Zodiac sectors"), "1");
    EXPECT_EQ(Stored(store, "Moon"), "1");
    EXPECT_EQ(Stored(store, "IPAD"), "1");
    EXPECT_EQ(Stored(store, "SGWWB"), "<missing>");  // written once the dialog is shown

    ActivateConfiguration(s, store);
    EXPECT_EQ(Stored(store, "SGWWB"), "0");
    EXPECT_FALSE(s.blnAccept);
}

TEST(SettingsStoreUse, LoadersSetBoxesAndEngineFlags) {
    testing::TempFolder dir("vek-settings-test");
    platform::SettingsStore store(dir.path());
    store.SetStoreValue(platform::kStoreKeyPath, "IPAD", "0");
    store.SetStoreValue(platform::kStoreKeyPath, "Moon", "0");
    store.SetStoreValue(platform::kStoreKeyPath, "Zodiac sectors", "0");
    store.SetStoreValue(platform::kStoreKeyPath, "SGWWB", "1");
    store.SetStoreValue(platform::kStoreKeyPath, "TZDisp", "0");
    Settings s;
    CreateConfiguration(s, store, -300);
    EXPECT_FALSE(s.controls.northAmericanZones);
    EXPECT_TRUE(s.controls.suppressInnerPlanetAspects);
    EXPECT_FALSE(s.accepted.ShowInnerPlanetAspects);
    EXPECT_FALSE(s.accepted.IncludeMoon);
    EXPECT_FALSE(s.accepted.ShowZodiacSectors);

    // Becoming active reloads three of the boxes from the store, so a change
    // that was never written there is undone.
    s.controls.zodiacSectors = true;
    s.controls.suppressInnerPlanetAspects = false;
    s.controls.includeMoon = true;
    ActivateConfiguration(s, store);
    EXPECT_FALSE(s.controls.zodiacSectors);
    EXPECT_TRUE(s.controls.suppressInnerPlanetAspects);
    EXPECT_TRUE(s.controls.whiteImageBackground);
    EXPECT_TRUE(s.accepted.WhiteImageBackground);
    EXPECT_TRUE(s.controls.includeMoon);  // the Moon is not reloaded

    // The writers store the boxes, the inner planets inverted.
    s.controls.suppressInnerPlanetAspects = false;
    WriteInnerPlanetAspectDisplayToRegistry(s, store);
    EXPECT_EQ(Stored(store, "IPAD"), "1");
    WriteIncludeMoonToRegistry(s, store);
    EXPECT_EQ(Stored(store, "Moon"), "1");
}

TEST(SettingsStoreUse, StartingWithAStoreThatCannotBeReadChangesNothingInIt) {
    testing::TempFolder dir("vek-settings-test");
    platform::SettingsStore store(dir.path());
    store.SetStoreValue(platform::kStoreKeyPath, "Moon", "0");
    store.SetStoreValue(platform::kStoreKeyPath, "Language", "DE");
    // The user's file has grown past what the store reads.
    const std::string file = testing::ReadAll(store.FilePath()) + "#" +
                             std::string(platform::kMaxStoreFileSize, '-') + "\n";
    testing::WriteRaw(store.FilePath(), file);

    // The window's start-up: the values read as their defaults, and writing
    // them back fails rather than replacing the file.
    Settings s;
    CreateConfiguration(s, store, -300);
    ActivateConfiguration(s, store);
    EXPECT_TRUE(s.controls.includeMoon);
    WriteIncludeMoonToRegistry(s, store);
    WriteTZDispToRegistry(s, store);
    WriteSaveGraphicWithWhiteBackgroundToRegistry(s, store);
    EXPECT_EQ(testing::ReadAll(store.FilePath()), file);
}

}  // namespace
}  // namespace vek
