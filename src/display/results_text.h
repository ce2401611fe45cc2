// The texts a compute writes besides the table: the summary with its aspect
// counts, pattern blocks and retrograde line, numbers in radians, counts in
// words, and the message of a run that has found its pattern.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <vector>

#include "engine/patterns.h"
#include "engine/vek_types.h"
#include "engine/vocabulary.h"

namespace vek {

// Line break of the summary texts and of two-line cells.
inline constexpr std::string_view kLineBreak = "\r\n";

// An angle in radians with four decimals ("1.2346"). Always written with a
// decimal point: the program does not follow the computer's regional
// settings, so texts do not change with the locale the window runs in.
std::string RadiansText(double radians);

// A count in words: "No", "One" .. "Twenty", "Thirty" .. "Ninety", others
// below 100 as "Twenty One"; German "Keine", "Eine" .. "Zwanzig", "Dreißig"
// .. "Neunzig", others as "Drei und Zwanzig". 100 and above (and negative
// counts) as digits. Any language but German is English.
std::string CountInWords(int n, int language);

// "3 squares", "2 quincunxes", "1 trine"; German "3 Quadrat".
std::string AspectCountText(int count, int aspect, const NameTables& names, int language);

// The summary of a single-chart compute: one line per aspect type found,
// the total line (program text 126 for none, 127 for more than one, nothing
// for exactly one), an empty line, the pattern section as given, and when
// bodies are retrograde "2 retrograde: Ma Ju " without a final line break.
std::string SingleChartSummary(const int16_t (&aspectCount)[kAspectCount + 1],
                               const NameTables& names, int language,
                               std::string_view patternSection, int retrogradeCount,
                               std::string_view retrogradeList);

// The summary of a two-chart compute: "3 squares, 1 trine. 4 aspects in
// total." on one line; "1 trine" alone; program text 126 when there is no
// aspect.
std::string TwoChartSummary(const int16_t (&aspectCount)[kAspectCount + 1], const NameTables& names,
                            int language);

// What a run looks for: pattern slot 0..13 (−1 runs until stopped), and
// whether at least numToFindIndex + 2 instances are required.
struct RunTarget {
    int pattern = -1;
    bool twoOrMore = false;  // chkTwoOrMore
    int numToFindIndex = 0;  // cboNumToFind: index n means n + 2
};

// Whether the counts of the last compute satisfy the run's target.
bool RunTargetFound(const RunTarget& target, const int16_t (&patternCount)[kPatternCount]);

// The message shown when the run has found its target. `patternName` is the
// pattern list's entry (current language): "Two grand trines found.",
// "Zwei Große Trigon gefunden.", or without "at least" "Grand trine found.".
std::string RunFoundMessage(const RunTarget& target, const int16_t (&patternCount)[kPatternCount],
                            std::string_view patternName, int language);

// Title of the message box of a find (program text 122).
std::string RunFoundTitle();

// ---------------------------------------------------------------------------
// Texts of the inputs and of the zodiac

// The message for a slot whose Julian date is one of the error codes: the
// slot's name, a blank and the text for the code, in the current language.
// The window shows it in an information box titled DateErrorTitle() and
// then records that an input error was reported.
std::string DateErrorText(int slot, double errorCode);
std::string DateErrorTitle();

// Texts of the stepping interval list in the current language.
std::vector<std::string> StepIntervalTexts();

// Name of the zodiac in use (program text 46 sidereal, 47 tropical), with a
// full stop appended on request.
std::string ZodiacLabel(bool sidereal, bool addPeriod);

// The texts a pattern line is built from in the current language: the given
// name tables and program text 154.
PatternTexts CurrentPatternTexts(const NameTables& names);

}  // namespace vek
