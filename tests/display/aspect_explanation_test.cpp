// The texts of the aspect explanations and what a double-click on a cell
// leads to, in both languages, on a sky of bodies at constant speed.
#include "display/aspect_explanation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "../day_numbers.h"
#include "../fake_sky.h"
#include "../program_texts.h"
#include "time/dates.h"

namespace vek {
namespace {
using testing::kAfterData;

using testing::Deg;

NameTables Names(Language language) {
    NameTables n;
    BuildNameTables(n, language);
    return n;
}

using testing::Day;

TEST(Explanation, FindsTheAspectAndTheBodiesOfACell) {
    const NameTables en = Names(kEnglish), de = Names(kGerman);
    EXPECT_EQ(AspectInCellText("Tri\r\n2°3' -", en), kTrine);
    EXPECT_EQ(AspectInCellText("Sqr\r\n0°5' +", en), kSquare);
    EXPECT_EQ(AspectInCellText("Qua\r\n0°5' +", de), kSquare);
    EXPECT_EQ(AspectInCellText("Qua\r\n0°5' +", en), std::nullopt);  // another language's cell
    EXPECT_EQ(AspectInCellText("", en), std::nullopt);
    EXPECT_EQ(AspectInCellText("12°3'\r\n12Ari3", en), std::nullopt);

    Body p = kSun, q = kSun;
    // World transits: row 3, column 5 of ten is body 2 with body 6.
    BodiesOfCell(Mode::World, 3 * 10 + 5, 10, p, q);
    EXPECT_EQ(p, kMercury);
    EXPECT_EQ(q, kSaturn);
    // Personal transits: row 3 natal Mercury, column 5 transiting Mars.
    BodiesOfCell(Mode::Personal2, 3 * 12 + 5, 12, p, q);
    EXPECT_EQ(p, kMercury);
    EXPECT_EQ(q, kMars);
    BodiesOfCell(Mode::Personal1, 143, 12, p, q);
    EXPECT_EQ(p, kMoon);
    EXPECT_EQ(q, kMoon);
}

TEST(Explanation, TitlesNameTheBodiesInTheWayOfEachMode) {
    const ProgramTexts en = testing::RealTexts(kEnglish), de = testing::RealTexts(kGerman);
    ASSERT_GT(testing::RealTextTable().Count(), 0);
    EXPECT_EQ(ExplanationTitle(Mode::World, kSun, kMars, kSquare, Names(kEnglish), en),
              "Sun square to Mars");
    EXPECT_EQ(ExplanationTitle(Mode::World, kVenus, kSaturn, kConjunction, Names(kEnglish), en),
              "Venus conjunct Saturn");
    EXPECT_EQ(ExplanationTitle(Mode::Personal1, kSun, kMars, kSquare, Names(kEnglish), en),
              "Transiting Mars square to natal Sun");
    // German appends the natal body in lower case to "Radix".
    EXPECT_EQ(ExplanationTitle(Mode::Personal2, kSun, kMars, kSquare, Names(kGerman), de),
              "Transit: Mars Quadrat Radixsonne");
    // Body number 11 is no body, so no title can be asked for it.
    EXPECT_EQ(BodyFromIndex(11), std::nullopt);
}

TEST(Explanation, TheMoonsTextGivesFourHoursForEveryDegreeOfOrb) {
    const ProgramTexts en = testing::RealTexts(kEnglish), de = testing::RealTexts(kGerman);
    const std::string three = MoonExplanationText(en, 3);
    EXPECT_EQ(three, en.ProgramText(kTextMoonExplanation));
    EXPECT_NE(three.find("12 hours"), std::string::npos);
    const std::string five = MoonExplanationText(en, 5);
    EXPECT_NE(five.find("20 hours"), std::string::npos);
    EXPECT_EQ(five.find("12"), std::string::npos);
    EXPECT_NE(MoonExplanationText(de, 10).find("40 Stunden"), std::string::npos);
}

TEST(Explanation, DatesAndOrbInBothLanguagesAndUnknownDates) {
    const ProgramTexts en = testing::RealTexts(kEnglish), de = testing::RealTexts(kGerman);
    const double b = Day(2010, 7, 4), e = Day(2010, 8, 1);
    const Radians orb(Deg(7) / 3);  // 2°20'
    EXPECT_EQ(ExplanationText(en, Names(kEnglish), kTrine, orb, b, e),
              "With an orb of 2°20' this trine\nbegins on July 4, 2010\n"
              "and ends on August 1, 2010.");
    EXPECT_EQ(ExplanationText(en, Names(kEnglish), kTrine, orb, -1, e),
              "With an orb of 2°20' this trine\nbegins on an unknown date\n"
              "and ends on August 1, 2010.");
    EXPECT_EQ(ExplanationText(en, Names(kEnglish), kSquare, Radians(Deg(6)), b, -1),
              "With an orb of 6°0' this square\nbegins on July 4, 2010\n"
              "and ends on an unknown date.");
    EXPECT_EQ(ExplanationText(de, Names(kGerman), kTrine, orb, b, e),
              "Bei einem Orbis von 2°20': Beginn dieses Aspekts 4.Juli 2010, Ende 1.August 2010.");
    EXPECT_EQ(ExplanationText(de, Names(kGerman), kTrine, orb, b, -1),
              "Bei einem Orbis von 2°20': Beginn dieses Aspekts 4.Juli 2010, Ende unbekannt.");

    EXPECT_EQ(DurationsQuestion(en, Mode::World, "X."),
              "X.\n\nShow the durations of all current world transits?");
    EXPECT_EQ(DurationsQuestion(en, Mode::Personal1, "X."),
              "X.\n\nShow the durations of all current personal transits?");
    EXPECT_EQ(DurationsQuestion(de, Mode::Personal2, "X."),
              "X.\n\nDie Dauer aller aktuellen Transite zum Radix sehen?");
}

TEST(Explanation, WheelLinesAreNamedByTheirColour) {
    const NameTables en = Names(kEnglish);
    AspectColors colors = DefaultAspectColors();
    EXPECT_EQ(WheelLineText(colors[kSquare], colors, en), "Square (90°)");
    // Two aspects in one colour: both labels, lower case after the first letter.
    colors[kSextile] = colors[kTrine];
    EXPECT_EQ(WheelLineText(colors[kTrine], colors, en), "Trine (120°) or sextile (60°)");
    EXPECT_EQ(WheelLineText(colors[kTrine], colors, Names(kGerman)),
              "Trigon (120°) or sextil (60°)");
    // The colours of the drawing itself name nothing, even when an aspect
    // has one of them.
    colors[kQuincunx] = Rgb(255, 255, 255);
    for (Color c : {Color(), Rgb(224, 224, 224), Rgb(32, 32, 255), Rgb(255, 255, 255)})
        EXPECT_EQ(WheelLineText(c, colors, en), "") << c.value();
    EXPECT_EQ(WheelLineText(Rgb(64, 64, 64), colors, en), "");  // a spoke
}

// A cell double-clicked on a sky of constant speeds: natal Sun fixed at
// 10°, Mars at 0.5° a day, trine to the Sun at the World date.
class ExplainCellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_GT(testing::RealTextTable().Count(), 0);
        orbs = testing::DefaultOrbs();
        in.names = &names;
        in.texts = testing::RealTexts(kEnglish);
        in.orbs = &orbs;
        in.numCols = 12;
        in.mode = Mode::Personal1;
        in.cellIndex = (Index(kSun) + 1) * 12 + (Index(kMars) + 1);
        in.cellText = "Tri\r\n0°30' -";
    }
    // Mars reaches 130° at the World date's noon; the Sun stays at 10°.
    static SkyLongitude Sky(Body body, JulianDate jd) {
        if (body == kSun) return SkyLongitude(Deg(10));
        return SkyLongitude(NormalizeAngle(Deg(130) + Deg(0.5) * (jd.days - (kWorld + 0.0))));
    }
    static constexpr double kWorld = 2455382.0;  // 4 July 2010, 12:00 UT

    NameTables names = Names(kEnglish);
    OrbTable orbs;
    CellExplanationInput in;
};

TEST_F(ExplainCellTest, APersonalTransitWithBothDatesDrawsTheGraph) {
    AspectSearch search(Sky, orbs, kWorld + 0.5, 0);
    search.FixFirstBodyAt(JulianDate(kWorld - 18000));
    in.search = &search;
    const CellExplanation e = ExplainCell(in);
    EXPECT_EQ(e.action, CellExplanation::Action::Graph);
    EXPECT_EQ(e.p, kSun);
    EXPECT_EQ(e.q, kMars);
    EXPECT_EQ(e.aspect, kTrine);
    EXPECT_EQ(e.title, "Transiting Mars trine to natal Sun");
    // Orb 7°/3: Mars needs 4°40' / 0.5° a day, a little over nine days,
    // half of them before the World date.
    ASSERT_GE(e.beginning, 0);
    ASSERT_GE(e.end, 0);
    EXPECT_NEAR(e.end - e.beginning + 1, 10, 1);
    EXPECT_NEAR((e.beginning + e.end) / 2, std::floor(kWorld + 0.5), 1);
    EXPECT_NE(e.text.find("orb of 2°20' this trine"), std::string::npos) << e.text;
    EXPECT_TRUE(e.question.empty());
}

TEST_F(ExplainCellTest, APersonalTransitWhoseEndIsUnknownAsksInsteadOfDrawing) {
    // Mars has no position two days after the World date: the beginning is
    // found, the end is not, and a graph needs both.
    AspectSearch search(
        [](Body body, JulianDate jd) { return jd.days > kWorld + 2 ? kAfterData : Sky(body, jd); },
        orbs, kWorld + 0.5, 0);
    search.FixFirstBodyAt(JulianDate(kWorld - 18000));
    in.search = &search;
    const CellExplanation e = ExplainCell(in);
    EXPECT_GE(e.beginning, 0);
    EXPECT_LT(e.end, 0);
    EXPECT_EQ(e.action, CellExplanation::Action::Question);
    EXPECT_NE(e.text.find("ends on an unknown date"), std::string::npos) << e.text;
}

TEST_F(ExplainCellTest, UnknownDatesAskTheQuestionAndWorldTransitsAlwaysDo) {
    // No search: dates unknown, no graph.
    CellExplanation e = ExplainCell(in);
    EXPECT_EQ(e.action, CellExplanation::Action::Question);
    EXPECT_NE(e.text.find("begins on an unknown date"), std::string::npos);
    EXPECT_EQ(e.question, DurationsQuestion(in.texts, Mode::Personal1, e.text));

    in.mode = Mode::World;
    in.numCols = 10;
    in.cellIndex = (Index(kSun) + 1) * 10 + (Index(kMars) - 1);
    AspectSearch world(Sky, orbs, kWorld + 0.5, 0);
    in.search = &world;
    e = ExplainCell(in);
    EXPECT_EQ(e.action, CellExplanation::Action::Question);
    EXPECT_EQ(e.title, "Sun trine to Mars");
    // The base orb, 7°, in world transits.
    EXPECT_NE(e.text.find("orb of 7°0'"), std::string::npos) << e.text;
    EXPECT_GE(e.beginning, 0);
    EXPECT_NE(e.question.find("world transits?"), std::string::npos);
}

TEST_F(ExplainCellTest, MoonColourOffAndNatalModesDoNotSearch) {
    int asked = 0;
    AspectSearch counting(
        [&asked](Body body, JulianDate jd) {
            ++asked;
            return Sky(body, jd);
        },
        orbs, kWorld + 0.5, 0);
    in.search = &counting;

    // The moving Moon: the fixed text with the orb's hours.
    in.cellIndex = (Index(kSun) + 1) * 12 + (Index(kMoon) + 1);
    in.orbIndex[Index(kTrine) - 1] = 5;
    CellExplanation e = ExplainCell(in);
    EXPECT_EQ(e.action, CellExplanation::Action::MoonMessage);
    EXPECT_NE(e.text.find("20 hours"), std::string::npos);
    EXPECT_EQ(e.title, "Transiting Moon trine to natal Sun");

    // An aspect switched off (colour 0).
    in.cellIndex = (Index(kSun) + 1) * 12 + (Index(kMars) + 1);
    in.colors[kTrine] = Color();
    EXPECT_EQ(ExplainCell(in).action, CellExplanation::Action::ClearSelection);
    in.colors = DefaultAspectColors();

    for (Mode m : {Mode::Natal1, Mode::Natal2, Mode::Synastry}) {
        in.mode = m;
        EXPECT_EQ(ExplainCell(in).action, CellExplanation::Action::FocusOnly);
    }
    in.mode = Mode::Personal1;
    in.cellText = "";
    EXPECT_EQ(ExplainCell(in).action, CellExplanation::Action::Nothing);
    EXPECT_EQ(asked, 0);
}

}  // namespace
}  // namespace vek
