// Explanations of single aspects: what a double-click on an aspect cell
// shows (the title, the Moon's fixed text, the dates on which the aspect
// begins and ends, the question that offers the durations of all current
// aspects) and what a right-click on a line of the chart wheel names. The
// texts are built here, in the language of the program texts given; the
// window only shows them.
#pragma once

#include <array>
#include <string>

#include "config/program_text.h"
#include "config/settings.h"
#include "engine/vek_types.h"
#include "engine/vocabulary.h"
#include "time/aspect_search.h"
#include "time/durations.h"

namespace vek {

// The first aspect 1..7 whose abbreviation (current language) occurs in a
// cell's text; none when none does.
std::optional<Aspect> AspectInCellText(const std::string& text, const NameTables& names);

// The two bodies of an aspect cell: p = row − 1; q = column + 1 in world
// transits, column − 1 in personal transits (p the natal body, q the
// transiting body). numCols is the table's column count. False, leaving p
// and q as they were, for a cell whose row or column names no body.
bool BodiesOfCell(Mode mode, int cellIndex, int numCols, Body& p, Body& q);

// The title of the messages: "Sun square to Mars" in world transits,
// "Transiting Mars square to natal Sun" ("Transit: Mars Quadrat Radixsonne")
// in personal transits.
std::string ExplanationTitle(Mode mode, Body p, Body q, Aspect aspect, const NameTables& names,
                             const ProgramTexts& texts);

// The Moon's fixed text: every "12" of its program text becomes four times
// the orb in whole degrees (four hours for every degree of orb).
std::string MoonExplanationText(const ProgramTexts& texts, int orbDegrees);

// The explanation: with the orb written in degrees and minutes,
// the day numbers on which the aspect begins and ends (negative: unknown).
// English: "With an orb of 2°20' this trine\nbegins on July 4, 2010\nand
// ends on July 9, 2010."; German from its program text.
std::string ExplanationText(const ProgramTexts& texts, const NameTables& names, Aspect aspect,
                            Radians orb, double beginning, double end);

// The lines the explanation adds after its text, each after a line break:
// "Enters the orb 2026-12-01T03:12+01:00", "Exact 2026-12-05T10:40+01:00,
// ..." (every pass; "Not exact in this pass" without one), "Leaves the orb
// ...", to the minute in the World date's zone with its offset, and for a
// named zone "Times in Europe/Berlin.".
std::string ExactInstantsText(const ProgramTexts& texts, const ExactTimes& x, const TimeZone& zone);

// The question after the explanation: the explanation, a blank line and
// "Show the durations of all current world transits?" (personal transits in
// the two-chart mode).
std::string DurationsQuestion(const ProgramTexts& texts, Mode mode, const std::string& explanation);

// What a double-click on a table cell leads to.
struct CellExplanation {
    enum class Action {
        Nothing,         // no aspect in the cell
        FocusOnly,       // natal aspects, synastry: these modes explain nothing
        ClearSelection,  // the aspect's colour is 0: it is not explained
        MoonMessage,     // the moving Moon: a message with the fixed text
        Graph,           // a personal transit with both dates: the transit graph
        Question,        // the explanation and the question
    };
    Action action = Action::Nothing;
    Body p = kSun;  // first body (personal transits: natal)
    Body q = kSun;  // second body (personal transits: transiting)
    Aspect aspect = kConjunction;
    std::string title;
    std::string text;  // the Moon's text, or the explanation
    double beginning = kUnknownDate;
    double end = kUnknownDate;
    // The instants of the pass that holds, when they were searched
    // (CellExplanationInput::exact); the text ends in their lines.
    std::optional<ExactTimes> exact;
    std::string question;  // Action::Question
};

struct CellExplanationInput {
    Mode mode = Mode::None;  // the mode the table was computed in
    int cellIndex = 0;
    int numCols = 0;
    std::string cellText;
    const NameTables* names = nullptr;
    ProgramTexts texts;
    AspectColors colors = DefaultAspectColors();
    const OrbTable* orbs = nullptr;
    // Orb list index (whole degrees) of aspect 1..7 at [aspect − 1].
    std::array<int, kOrbListCount> orbIndex = kDefaultOrbIndex;
    // The searches, set up from the World date (and in personal transits
    // with the natal body fixed at the birthdate); without them the dates
    // are unknown.
    const AspectSearch* search = nullptr;
    // With an engine and the computed chart, the explanation adds the exact
    // instants of the pass that holds (ExactTimesForDays), written in the
    // World date's zone.
    struct Exact {
        const Engine* engine = nullptr;
        const Chart* chart = nullptr;
        TimeZone zone;
    } exact;
};

// The double-click on an aspect cell, decided and worded.
CellExplanation ExplainCell(const CellExplanationInput& in);

// A right-click on the chart wheel: the labels of every aspect drawn in
// `pixel`, joined by " or ", lower case with a capital first letter
// ("Trine (120°) or sextile (60°)"). Empty for the colours of the drawing
// itself (black, white, the grey around the disc, the blue of a retrograde
// glyph) and for a colour no aspect has.
std::string WheelLineText(Color pixel, const AspectColors& colors, const NameTables& names);
inline constexpr const char* kWheelLineTitle = "This line is a";

}  // namespace vek
