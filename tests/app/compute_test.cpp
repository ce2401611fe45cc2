#include "app/compute.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "../fake_sky.h"
#include "config/program_text.h"
#include "display/results_text.h"
#include "util/paths.h"

namespace vek {
namespace {
using testing::kLibraryBeforeData;
using testing::kLibraryAfterData;

const char kTexts[] =
    "7 en: found\n7 de: gefunden\n"
    "122 en: Run\n122 de: Suchlauf\n"
    "126 en: No aspects.\n126 de: Keine Aspekte.\n"
    "127 en: N aspects in total.\n127 de: Insgesamt N Aspekte.\n"
    "389 en: retrograde\n389 de: rückläufig\n";

class ResultsText : public ::testing::Test {
  protected:
    void SetUp() override {
        Result<ProgramTextTable> loaded = ProgramTextTable::Parse(kTexts);
        ASSERT_TRUE(loaded) << loaded.message();
        table = std::move(loaded).value();
        BuildNameTables(en, kEnglish);
        BuildNameTables(de, kGerman);
    }
    NameTables en;
    NameTables de;
    ProgramTextTable table;
    ProgramTexts enTexts() const { return ProgramTexts(table, kEnglish); }
    ProgramTexts deTexts() const { return ProgramTexts(table, kGerman); }
};

TEST_F(ResultsText, CountsInWords) {
    EXPECT_EQ(CountInWords(0, kEnglish), "No");
    EXPECT_EQ(CountInWords(1, kEnglish), "One");
    EXPECT_EQ(CountInWords(13, kEnglish), "Thirteen");
    EXPECT_EQ(CountInWords(20, kEnglish), "Twenty");
    EXPECT_EQ(CountInWords(21, kEnglish), "Twenty One");
    EXPECT_EQ(CountInWords(40, kEnglish), "Forty");
    EXPECT_EQ(CountInWords(99, kEnglish), "Ninety Nine");
    EXPECT_EQ(CountInWords(100, kEnglish), "100");
    EXPECT_EQ(CountInWords(0, kGerman), "Keine");
    EXPECT_EQ(CountInWords(12, kGerman), "Zwölf");
    EXPECT_EQ(CountInWords(23, kGerman), "Drei und Zwanzig");
    EXPECT_EQ(CountInWords(30, kGerman), "Dreißig");
    EXPECT_EQ(CountInWords(71, kGerman), "Eine und Siebzig");
    EXPECT_EQ(CountInWords(250, kGerman), "250");
    EXPECT_EQ(CountInWords(5, LanguageFromCode(2)), "Five");  // any other language reads English
}

TEST_F(ResultsText, RadiansWithFourDecimalsAndAPoint) {
    EXPECT_EQ(RadiansText(Radians(1.23456)), "1.2346");
    EXPECT_EQ(RadiansText(Radians(0)), "0.0000");
    EXPECT_EQ(RadiansText(Radians(6.2831853)), "6.2832");
    EXPECT_EQ(RadiansText(Radians(0.00004)), "0.0000");
}

TEST_F(ResultsText, SingleChartSummaryLinesTotalsAndRetrogradeLine) {
    AspectArray<int16_t> counts{};
    counts[kTrine] = 1;
    // Exactly one aspect: its line and no total.
    EXPECT_EQ(SingleChartSummary(counts, en, enTexts(), "", 0, ""), "1 trine\r\n\r\n");

    // None: text 126, then the pattern section and the retrograde line.
    AspectArray<int16_t> none{};
    EXPECT_EQ(SingleChartSummary(none, en, enTexts(), "Midpoint: Su-Ma-Ju\r\n\r\n", 2, "Ma Ju "),
              "No aspects.\r\n\r\nMidpoint: Su-Ma-Ju\r\n\r\n2 retrograde: Ma Ju ");

    AspectArray<int16_t> many{};
    many[kConjunction] = 2;
    many[kSquare] = 3;
    many[kQuincunx] = 2;
    many[kSemisextile] = 1;
    EXPECT_EQ(SingleChartSummary(many, en, enTexts(), "", 0, ""),
              "2 conjunctions\r\n3 squares\r\n1 semisextile\r\n2 quincunxes\r\n"
              "8 aspects in total.\r\n\r\n");
    EXPECT_EQ(SingleChartSummary(many, de, deTexts(), "", 1, "Me "),
              "2 Konjunktion\r\n3 Quadrat\r\n1 Semisextil\r\n2 Quinkunx\r\n"
              "Insgesamt 8 Aspekte.\r\n\r\n1 rückläufig: Me ");
}

TEST_F(ResultsText, TwoChartSummaryOnOneLine) {
    AspectArray<int16_t> counts{};
    EXPECT_EQ(TwoChartSummary(counts, en, enTexts()), "No aspects.");
    counts[kOpposition] = 1;
    EXPECT_EQ(TwoChartSummary(counts, en, enTexts()), "1 opposition");
    counts[kSextile] = 4;
    EXPECT_EQ(TwoChartSummary(counts, en, enTexts()),
              "1 opposition, 4 sextiles. 5 aspects in total.");
    EXPECT_EQ(TwoChartSummary(counts, de, deTexts()),
              "1 Opposition, 4 Sextil. Insgesamt 5 Aspekte.");
}

TEST_F(ResultsText, RunStopsOnlyWhenTheTargetIsMet) {
    PatternArray<int16_t> counts{};
    RunTarget target;
    target.pattern = kGrandTrine;
    target.twoOrMore = true;
    target.numToFindIndex = 0;  // at least 2
    counts[kGrandTrine] = 1;
    EXPECT_FALSE(RunTargetFound(target, counts));
    counts[kGrandTrine] = 2;
    EXPECT_TRUE(RunTargetFound(target, counts));
    target.numToFindIndex = 1;  // at least 3
    EXPECT_FALSE(RunTargetFound(target, counts));
    target.twoOrMore = false;
    counts[kGrandTrine] = 1;
    EXPECT_TRUE(RunTargetFound(target, counts));
    counts[kGrandTrine] = 0;
    EXPECT_FALSE(RunTargetFound(target, counts));
    target.pattern = std::nullopt;  // run until stopped
    counts[kGrandTrine] = 5;
    EXPECT_FALSE(RunTargetFound(target, counts));
}

TEST_F(ResultsText, RunFoundMessages) {
    PatternArray<int16_t> counts{};
    counts[kGrandTrine] = 2;
    counts[kTSquare] = 3;
    counts[kGrandCross] = 21;
    RunTarget t{kGrandTrine, true, 0};
    EXPECT_EQ(RunFoundMessage(t, counts, "Grand trine", enTexts()), "Two grand trines found.");
    t.pattern = kTSquare;
    EXPECT_EQ(RunFoundMessage(t, counts, "T-square", enTexts()), "Three T-squares found.");
    t.pattern = kGrandCross;
    EXPECT_EQ(RunFoundMessage(t, counts, "Grand cross", enTexts()),
              "Twenty One grand crosses found.");
    EXPECT_EQ(RunFoundMessage(t, counts, "Großes Kreuz", deTexts()),
              "Eine und Zwanzig Große Kreuze gefunden.");
    t.pattern = kGrandTrine;
    EXPECT_EQ(RunFoundMessage(t, counts, "Großes Trigon", deTexts()),
              "Zwei Große Trigone gefunden.");
    // German plurals of the other names.
    const std::pair<Pattern, const char*> plurals[] = {{kRectangle, "Zwei Rechtecke gefunden."},
                                                   {kMidpoint, "Zwei Halbsummen gefunden."},
                                                   {kKite, "Zwei Drachen gefunden."},
                                                   {kYod, "Zwei Yods gefunden."},
                                                   {kGrandSextile, "Zwei Große Sextile gefunden."}};
    for (const auto& [pattern, text] : plurals) {
        t.pattern = pattern;
        counts[pattern] = 2;
        EXPECT_EQ(RunFoundMessage(t, counts, kPatternNames[pattern][1], deTexts()), text);
    }
    t.pattern = kGrandTrine;
    t.twoOrMore = false;
    EXPECT_EQ(RunFoundMessage(t, counts, "Grand trine", enTexts()), "Grand trine found.");
    EXPECT_EQ(RunFoundTitle(enTexts()), "Run");
    EXPECT_EQ(RunFoundTitle(deTexts()), "Suchlauf");
}

// ---------------------------------------------------------------------------
// The compute command on a fake sky

using testing::Deg;
using testing::kEpoch;
using testing::Sky;

// With every orb 2° and the midpoint orb 5' these longitudes (degrees) are
// in no aspect and form no midpoint. Pluto has no table in these tests, so
// it has no position ("?").
const double kQuietSky[kMaxBodies + 1] = {0, 15, 22, 48, 92, 100, 175, 218, 269, 0, 305};

class Compute : public ::testing::Test {
  protected:
    void SetUp() override {
        Result<ProgramTextTable> loaded = LoadProgramText(VEK_SOURCE_DATA_DIR);
        ASSERT_TRUE(loaded) << loaded.message();
        table = std::move(loaded).value();
        texts = ProgramTexts(table, kEnglish);
        engine = testing::FakeEngine();
        for (Body b : AllBodies()) Sky().base[b] = Deg(kQuietSky[Index(b)]);
        settings.accepted.OrbIndex = {2, 2, 2, 2, 2, 2, 2, 1};
        settings.controls.midpointOrbIndex = 0;
        SetDate(kWorldDate, 1);
        SetDate(kBirth1, 1);
        SetDate(kBirth2, 2);
    }
    const std::string& T(TextId n) const { return texts.ProgramText(n); }

    // 1 (or 2) January 2000, 12:00 GMT: kEpoch (+ 1 day).
    void SetDate(DateSlot slot, int day) { rows.Row(slot) = {1, day, "2000", 25, 24}; }

    void Place(std::initializer_list<std::pair<Body, double>> bodies) {
        for (auto [b, degrees] : bodies) Sky().base[b] = Deg(degrees);
    }

    ComputeResults Run(Mode mode, bool radians = false) {
        ComputeResults r;
        Recompute(mode, r, radians);
        return r;
    }
    void Recompute(Mode mode, ComputeResults& r, bool radians = false) {
        const Status computed =
            ComputeCommand(engine, rows, settings, texts, {mode, radians, false}, r);
        ASSERT_TRUE(computed) << computed.message();
    }

    const TableCell& Aspect(const ComputeResults& r, Body first, Body second) {
        return r.table.txbCell[r.table.AspectCellIndex(first, second)];
    }
    const TableCell& Position(const ComputeResults& r, Body body, int chart = 0) {
        return r.table.txbCell[r.table.PositionCellIndex(body, chart)];
    }

    ProgramTextTable table;
    ProgramTexts texts;
    Engine engine;
    DateRows rows;
    Settings settings;
};

TEST_F(Compute, QuietSkyHasNoAspectsButItsRetrogradeLine) {
    Sky().speed[kMars] = Deg(-0.5);
    const ComputeResults r = Run(Mode::World);
    EXPECT_EQ(r.ComputedMode, Mode::World);
    EXPECT_EQ(r.DateJD[kWorldDate], kEpoch);
    EXPECT_FALSE(r.twoCharts);
    EXPECT_EQ(r.title, T(kTextWorldTransitsTitle) + "  " + T(kTextOrb) + " 2°.");
    EXPECT_EQ(r.summary, T(kTextNoAspects) + "\r\n\r\n1 " + T(kTextRetrograde) + ": Ma ");
    EXPECT_EQ(r.RetrogradeCount, 1);
    EXPECT_EQ(r.RetrogradeList, "Ma ");
    EXPECT_EQ(Position(r, kSun).text, "15°0'\r\n15Ari0");
    EXPECT_EQ(Position(r, kMars).text, "92°0' r\r\n2Can0");
    EXPECT_EQ(Position(r, kMars).background, kPositionCellColor);
    EXPECT_EQ(Position(r, kPluto).text, "?");
    EXPECT_EQ(r.table.GetTotalNumAspects(engine.names), 0);
    // The zodiac cell is shown in the bottom-left corner.
    const TableCell& zodiac = r.table.txbCell[100];
    EXPECT_TRUE(zodiac.visible);
    EXPECT_EQ(zodiac.text, T(kTextTropicalZodiac));
    EXPECT_EQ(zodiac.background, kPositionCellColor);
}

TEST_F(Compute, ExactlyOneAspectShowsItsLineWithoutTotal) {
    Place({{kJupiter, 134.5}});
    Sky().speed[kSun] = Deg(1);  // pulls away from the exact trine
    const ComputeResults r = Run(Mode::World);
    EXPECT_EQ(r.summary, "1 trine\r\n\r\n");
    EXPECT_EQ(r.AspectCount[kTrine], 1);
    const TableCell& cell = Aspect(r, kSun, kJupiter);
    EXPECT_EQ(cell.text, "Tri\r\n0°30' +");
    EXPECT_EQ(cell.aspect, kTrine);
    EXPECT_EQ(cell.foreground, Rgb(0, 255, 0));
    EXPECT_TRUE(cell.bold);  // below 1°
    EXPECT_EQ(r.table.GetTotalNumAspects(engine.names), 1);

    // Radians: four decimals, no retrograde mark or count.
    Sky().speed[kMars] = Deg(-0.5);
    const ComputeResults rad = Run(Mode::World, true);
    EXPECT_EQ(Aspect(rad, kSun, kJupiter).text, "Tri\r\n0.0087 +");
    EXPECT_EQ(Position(rad, kMars).text, "1.6057");
    EXPECT_EQ(rad.RetrogradeCount, 0);
    EXPECT_EQ(rad.summary, "1 trine\r\n\r\n");
}

TEST_F(Compute, MoonExcludedKeepsItsColumnButNotItsAspects) {
    Place({{kMoon, 15.7}});
    ComputeResults r = Run(Mode::Natal1);
    EXPECT_EQ(Aspect(r, kSun, kMoon).text, "Con\r\n0°42'");
    EXPECT_EQ(r.table.GetTotalNumAspects(engine.names), 1);

    settings.accepted.IncludeMoon = false;
    Recompute(Mode::Natal1, r);
    EXPECT_EQ(Position(r, kMoon).text, "");
    EXPECT_EQ(Position(r, kMoon).background, kPositionCellColor);
    const TableCell& glyph = r.table.txbCell[19];  // row 1, column 9
    EXPECT_EQ(glyph.text, "a");
    EXPECT_TRUE(glyph.visible);
    EXPECT_EQ(Aspect(r, kSun, kMoon).text, "");
    EXPECT_EQ(r.AspectCount[kConjunction], 0);
    EXPECT_EQ(r.table.GetTotalNumAspects(engine.names), 0);
    EXPECT_EQ(r.summary, T(kTextNoAspects) + "\r\n\r\n");
}

TEST_F(Compute, BodiesWithoutPositionShowTheirMarkAndTakePartInNothing) {
    Place({{kMercury, 15.5}, {kVenus, 15.5}});
    Sky().base[kMercury] = kLibraryBeforeData;
    Sky().base[kVenus] = kLibraryAfterData;
    const ComputeResults r = Run(Mode::World);
    EXPECT_EQ(Position(r, kMercury).text, "<");
    EXPECT_EQ(Position(r, kVenus).text, ">");
    EXPECT_EQ(Position(r, kPluto).text, "?");
    for (Body b : AllBodies()) {
        if (b == kMercury) continue;
        EXPECT_EQ(Aspect(r, std::min(b, kMercury), std::max(b, kMercury)).aspect, std::nullopt);
    }
    EXPECT_EQ(r.table.GetTotalNumAspects(engine.names), 0);
}

TEST_F(Compute, RunForAtLeastTwoGrandTrinesStopsOnlyAtTwo) {
    const RunTarget target{kGrandTrine, true, 0};
    Place({{kJupiter, 134.5}, {kSaturn, 255}});
    ComputeResults r = Run(Mode::World);
    EXPECT_EQ(r.PatternCount[kGrandTrine], 1);
    EXPECT_NE(r.summary.find("Grand trine: Su-Ju-Sa"), std::string::npos) << r.summary;
    EXPECT_FALSE(RunTargetFound(target, r.PatternCount));

    // The next step: counts cleared first, then a second grand trine.
    for (int16_t& c : r.PatternCount.values) c = 0;
    Place({{kMercury, 15.7}});
    Recompute(Mode::World, r);
    EXPECT_EQ(r.PatternCount[kGrandTrine], 2);
    EXPECT_TRUE(RunTargetFound(target, r.PatternCount));
    EXPECT_EQ(RunFoundMessage(target, r.PatternCount, engine.names.PatternName[kGrandTrine], texts),
              "Two grand trines found.");
}

TEST_F(Compute, PatternSlotsWithoutFindingsKeepTheirCounts) {
    ComputeResults r;
    for (int16_t& c : r.PatternCount.values) c = 7;
    Place({{kMercury, 16}, {kVenus, 16.5}, {kMars, 15.5}});
    Recompute(Mode::World, r);
    EXPECT_EQ(r.PatternCount[kStellium4], 1);
    EXPECT_EQ(r.PatternCount[kStellium3], 0);  // smaller size cleared
    EXPECT_EQ(r.PatternCount[kStellium5], 7);
    EXPECT_EQ(r.PatternCount[kStellium6], 7);
    EXPECT_EQ(r.PatternCount[kGrandTrine], 7);
    EXPECT_NE(r.summary.find("4-Stellium: Su-Me-Ve-Ma"), std::string::npos) << r.summary;
    EXPECT_EQ(r.summary.find("3-Stellium"), std::string::npos);

    // A two-chart compute leaves every slot alone.
    Recompute(Mode::Synastry, r);
    EXPECT_EQ(r.PatternCount[kStellium4], 1);
    EXPECT_EQ(r.PatternCount[kGrandTrine], 7);
}

TEST_F(Compute, InvalidDateChangesNothing) {
    ComputeResults r = Run(Mode::Personal1);
    const ComputeResults before = r;

    // Personal transits: the World date converts, the birthdate does not.
    SetDate(kWorldDate, 5);
    rows.Row(kBirth1).dayIndex = 31;
    rows.Row(kBirth1).monthIndex = 2;
    DateRowFailure failed;
    const Status error = ComputeCommand(engine, rows, settings, texts,
                                        {Mode::Personal1, false, false}, r, &failed);
    ASSERT_FALSE(error);
    EXPECT_EQ(failed.slot, kBirth1);
    EXPECT_EQ(failed.code, kDateInvalid);
    EXPECT_EQ(error.error().code, kDateInvalid);
    EXPECT_EQ(error.message(), DateErrorText(texts, kBirth1, kDateInvalid));
    EXPECT_EQ(error.message(), T(kTextFirstBirthdate) + " " + T(kTextDateInvalid));
    EXPECT_EQ(failed.title, T(kTextInputErrorTitle));

    EXPECT_EQ(r.ComputedMode, before.ComputedMode);
    EXPECT_EQ(r.summary, before.summary);
    EXPECT_EQ(r.title, before.title);
    EXPECT_EQ(r.table.txbCell, before.table.txbCell);
    for (DateSlot s : AllDateSlots())
        EXPECT_EQ(r.DateJD[s], before.DateJD[s]) << "slot " << Index(s);
    for (Body b : AllBodies())
        EXPECT_EQ(r.chart.longitude[b][0], before.chart.longitude[b][0]);

    rows.Row(kWorldDate).yearText = "";
    DateRowFailure missing;
    EXPECT_FALSE(ComputeCommand(engine, rows, settings, texts, {Mode::World, false, false}, r,
                                &missing));
    EXPECT_EQ(missing.slot, kWorldDate);
    EXPECT_EQ(missing.code, kDateIncomplete);
    EXPECT_EQ(r.ComputedMode, Mode::Personal1);
}

TEST_F(Compute, PersonalTransitsSquareTableMarkersAndSummary) {
    settings.controls.proportionIndex[0] = 0;  // personal orbs = base orbs
    Sky().speed[kSun] = Deg(0.7);              // transit Sun 15.7°, natal Sun 15°
    SetDate(kWorldDate, 2);
    const ComputeResults r = Run(Mode::Personal1);
    EXPECT_TRUE(r.twoCharts);
    EXPECT_EQ(r.table.layout, TableLayout::Square);
    EXPECT_EQ(r.title, T(kTextPersonal1Title) + "  " + T(kTextOrb) + " 2°.");
    EXPECT_EQ(Position(r, kSun, 0).text, "15°42'\r\n15Ari42");  // transit, row 0
    EXPECT_EQ(Position(r, kSun, 1).text, "15°0'\r\n15Ari0");    // natal, column 0
    // Only the transit body moves: the Sun pulls away from the natal Sun.
    EXPECT_EQ(Aspect(r, kSun, kSun).text, "Con\r\n0°42' +");
    EXPECT_EQ(Aspect(r, kMars, kMars).text, "Con\r\n0°0'");
    // Nine bodies with a position, each conjunct with itself.
    EXPECT_EQ(r.AspectCount[kConjunction], 9);
    EXPECT_EQ(
        r.summary, "9 conjunctions. " + [this] {
            std::string t = T(kTextAspectsInTotal);
            return t.replace(t.find('N'), 1, "9");
        }());
    EXPECT_EQ(r.RetrogradeCount, 0);
    EXPECT_EQ(r.table.GetTotalNumAspects(engine.names), 9);
}

TEST_F(Compute, SynastryBoldfaceUsesTheSynastryOrbs) {
    settings.controls.proportionIndex[0] = 2;                                // personal 2°/3
    settings.controls.proportionIndex[1] = 0;                                // synastry 2°
    settings.controls.boldfaceThreshold = BoldfaceThreshold::FractionOfOrb;  // 1/4
    Sky().speed[kSun] = Deg(0.3);
    const ComputeResults r = Run(Mode::Synastry);
    // Second birthdate's Sun 0.3° past the first's: below 2°/4, above 2°/3/4.
    const TableCell& sun = Aspect(r, kSun, kSun);
    EXPECT_EQ(sun.text, "Con\r\n0°18'");  // synastry has no marker
    EXPECT_TRUE(sun.bold);
    EXPECT_EQ(r.table.txbCell[13].text, T(kTextSynastry));
}

TEST_F(Compute, GermanTexts) {
    settings.accepted.CurrentLanguage = kGerman;
    texts = texts.InLanguage(kGerman);
    Place({{kJupiter, 134.5}, {kMoon, 15.7}});
    const ComputeResults r = Run(Mode::World);
    EXPECT_EQ(Position(r, kSun).text, "15°0'\r\n15Wid0");
    EXPECT_EQ(Aspect(r, kSun, kMoon).text, "Kon\r\n0°42'");
    EXPECT_EQ(Aspect(r, kJupiter, kMoon).text, "Tri\r\n1°12'");
    EXPECT_EQ(
        r.summary, "1 Konjunktion\r\n2 Trigon\r\n" + [this] {
            std::string t = T(kTextAspectsInTotal);
            return t.replace(t.find('N'), 1, "3");
        }() + "\r\n\r\n");
    EXPECT_EQ(r.table.GetTotalNumAspects(engine.names), 3);
    EXPECT_EQ(r.zodiacLabel, T(kTextTropicalZodiac));
}

}  // namespace
}  // namespace vek
