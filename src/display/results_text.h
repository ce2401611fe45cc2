// The texts a compute writes besides the table: the summary with its aspect
// counts, pattern blocks and retrograde line, numbers in radians, counts in
// words, and the message of a run that has found its pattern.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <vector>

#include "config/program_text.h"
#include "engine/patterns.h"
#include "engine/vek_types.h"
#include "engine/vocabulary.h"

namespace vek {

// Line break of the summary texts and of two-line cells.
inline constexpr std::string_view kLineBreak = "\r\n";

// An angle in radians with four decimals ("1.2346"). Always written with a
// decimal point: the program does not follow the computer's regional
// settings, so texts do not change with the locale the window runs in.
std::string RadiansText(Radians angle);

// A count in words: "No", "One" .. "Twenty", "Thirty" .. "Ninety", others
// below 100 as "Twenty One"; German "Keine", "Eine" .. "Zwanzig", "Dreißig"
// .. "Neunzig", others as "Drei und Zwanzig". 100 and above (and negative
// counts) as digits. Any language but German is English.
std::string CountInWords(int n, Language language);

// "3 squares", "2 quincunxes", "1 trine"; German "3 Quadrat".
std::string AspectCountText(int count, Aspect aspect, const NameTables& names, Language language);

// The summary of a single-chart compute in the language of `texts`: one
// line per aspect type found, the total line ("No aspects." for none, "N
// aspects in total." for more than one, nothing for exactly one), an empty
// line, the pattern section as given, and when bodies are retrograde "2
// retrograde: Ma Ju " without a final line break.
std::string SingleChartSummary(const AspectArray<int16_t>& aspectCount,
                               const NameTables& names, const ProgramTexts& texts,
                               std::string_view patternSection, int retrogradeCount,
                               std::string_view retrogradeList);

// The summary of a two-chart compute: "3 squares, 1 trine. 4 aspects in
// total." on one line; "1 trine" alone; "No aspects." when there is no
// aspect.
std::string TwoChartSummary(const AspectArray<int16_t>& aspectCount, const NameTables& names,
                            const ProgramTexts& texts);

// What a run looks for: pattern slot 0..13 (none runs until stopped), and
// whether at least numToFindIndex + 2 instances are required.
struct RunTarget {
    std::optional<Pattern> pattern;
    bool twoOrMore = false;  // chkTwoOrMore
    int numToFindIndex = 0;  // cboNumToFind: index n means n + 2
};

// Whether the counts of the last compute satisfy the run's target.
bool RunTargetFound(const RunTarget& target, const PatternArray<int16_t>& patternCount);

// The message shown when the run has found its target. `patternName` is the
// pattern list's entry (in the language of `texts`): "Two grand trines
// found.", "Zwei Große Trigon gefunden.", or without "at least" "Grand trine
// found.".
std::string RunFoundMessage(const RunTarget& target, const PatternArray<int16_t>& patternCount,
                            std::string_view patternName, const ProgramTexts& texts);

// Title of the message box of a find ("Run").
std::string RunFoundTitle(const ProgramTexts& texts);

// ---------------------------------------------------------------------------
// Texts of the inputs and of the zodiac

// The message for a slot whose Julian date is one of the error codes: the
// slot's name, a blank and the text for the code. The window shows it in an
// information box titled DateErrorTitle() and then records that an input
// error was reported.
std::string DateErrorText(const ProgramTexts& texts, DateSlot slot, int errorCode);
std::string DateErrorTitle(const ProgramTexts& texts);

// Texts of the stepping interval list.
std::vector<std::string> StepIntervalTexts(const ProgramTexts& texts);

// Name of the zodiac in use ("Sidereal zodiac", "Tropical zodiac"), with a
// full stop appended on request.
std::string ZodiacLabel(const ProgramTexts& texts, bool sidereal, bool addPeriod);

// The texts a pattern line is built from: the given name tables and the
// words "mean deviation" in the language of `texts`.
PatternTexts PatternTextsOf(const NameTables& names, const ProgramTexts& texts);

}  // namespace vek
