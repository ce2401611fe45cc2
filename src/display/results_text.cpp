#include "display/results_text.h"

#include <charconv>
#include <cmath>

#include "config/program_text.h"
#include "time/date_rows.h"
#include "time/stepping.h"
#include "util/text.h"

namespace vek {

std::string RadiansText(Radians angle) {
    const double radians = angle.value;
    if (!std::isfinite(radians)) return "";
    char buffer[64];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, radians, std::chars_format::fixed, 4);
    if (r.ec != std::errc()) return "";
    std::string text(buffer, r.ptr);
    if (text == "-0.0000") text.erase(0, 1);
    return text;
}

namespace {

const char* const kWordsEn[21] = {
    "No",       "One",     "Two",     "Three",     "Four",     "Five",     "Six",
    "Seven",    "Eight",   "Nine",    "Ten",       "Eleven",   "Twelve",   "Thirteen",
    "Fourteen", "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen", "Twenty"};
const char* const kTensEn[10] = {"",      "",      "Twenty",  "Thirty", "Forty",
                                 "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};
const char* const kWordsDe[21] = {
    "Keine",    "Eine",     "Zwei",     "Drei",     "Vier",     "Fünf",     "Sechs",
    "Sieben",   "Acht",     "Neun",     "Zehn",     "Elf",      "Zwölf",    "Dreizehn",
    "Vierzehn", "Fünfzehn", "Sechzehn", "Siebzehn", "Achtzehn", "Neunzehn", "Zwanzig"};
const char* const kTensDe[10] = {"",        "",        "Zwanzig", "Dreißig", "Vierzig",
                                 "Fünfzig", "Sechzig", "Siebzig", "Achtzig", "Neunzig"};

// "N aspects in total." with every "N" replaced by the total.
std::string TotalText(const ProgramTexts& texts, int total) {
    std::string text = texts.ProgramText(kTextAspectsInTotal);
    ReplaceAll(text, "N", std::to_string(total));
    return text;
}

int TotalOf(const AspectArray<int16_t>& aspectCount) {
    int total = 0;
    for (const Aspect a : AllAspects()) total += aspectCount[a];
    return total;
}

}  // namespace

std::string CountInWords(int n, Language language) {
    const bool german = language == kGerman;
    if (n < 0 || n >= 100) return std::to_string(n);
    if (n <= 20) return german ? kWordsDe[n] : kWordsEn[n];
    const int tens = n / 10;
    const int units = n % 10;
    if (units == 0) return german ? kTensDe[tens] : kTensEn[tens];
    if (german) return std::string(kWordsDe[units]) + " und " + kTensDe[tens];
    return std::string(kTensEn[tens]) + " " + kWordsEn[units];
}

std::string AspectCountText(int count, Aspect aspect, const NameTables& names, Language language) {
    std::string text = std::to_string(count) + " ";
    if (language == kGerman) return text + names.AspectName[aspect];
    text += LowerCase(names.AspectName[aspect]);
    if (count != 1) text += aspect == kQuincunx ? "es" : "s";
    return text;
}

std::string SingleChartSummary(const AspectArray<int16_t>& aspectCount,
                               const NameTables& names, const ProgramTexts& texts,
                               std::string_view patternSection, int retrogradeCount,
                               std::string_view retrogradeList) {
    const Language language = texts.language();
    std::string text;
    for (const Aspect a : AllAspects()) {
        if (aspectCount[a] <= 0) continue;
        text += AspectCountText(aspectCount[a], a, names, language);
        text += kLineBreak;
    }
    const int total = TotalOf(aspectCount);
    if (total == 0) {
        text += texts.ProgramText(kTextNoAspects);
        text += kLineBreak;
    } else if (total > 1) {
        text += TotalText(texts, total);
        text += kLineBreak;
    }
    text += kLineBreak;
    text += patternSection;
    if (retrogradeCount > 0) {
        text += std::to_string(retrogradeCount) + " " + texts.ProgramText(kTextRetrograde) + ": ";
        text += retrogradeList;
    }
    return text;
}

std::string TwoChartSummary(const AspectArray<int16_t>& aspectCount, const NameTables& names,
                            const ProgramTexts& texts) {
    const Language language = texts.language();
    const int total = TotalOf(aspectCount);
    if (total == 0) return texts.ProgramText(kTextNoAspects);
    std::string text;
    for (const Aspect a : AllAspects()) {
        if (aspectCount[a] <= 0) continue;
        text += AspectCountText(aspectCount[a], a, names, language) + ", ";
    }
    while (!text.empty() && (text.back() == ',' || text.back() == ' ')) text.pop_back();
    if (total > 1) text += ". " + TotalText(texts, total);
    return text;
}

bool RunTargetFound(const RunTarget& target, const PatternArray<int16_t>& patternCount) {
    if (!target.pattern) return false;
    const Pattern p = *target.pattern;
    if (target.twoOrMore) return patternCount[p] >= target.numToFindIndex + 2;
    return patternCount[p] > 0;
}

std::string RunFoundMessage(const RunTarget& target, const PatternArray<int16_t>& patternCount,
                            std::string_view patternName, const ProgramTexts& texts) {
    if (!target.twoOrMore)
        return std::string(patternName) + " " + texts.ProgramText(kTextFound) + ".";
    const int count = target.pattern ? patternCount[*target.pattern] : 0;
    if (texts.language() == kGerman) {
        // The German plurals of the pattern names, in pattern order.
        static constexpr PatternArray<const char*> kGermanPlurals = {
            "Große Trigone", "Drachen",     "Rechtecke",     "T-Quadrate", "Große Kreuze",
            "Yods",          "Yod-Drachen", "Trapeze",       "6-Stellien", "5-Stellien",
            "4-Stellien",    "3-Stellien",  "Große Sextile", "Halbsummen"};
        const std::string name =
            target.pattern ? kGermanPlurals[*target.pattern] : std::string(patternName);
        return CountInWords(count, kGerman) + " " + name + " gefunden.";
    }
    const std::string name =
        patternName == "T-square" ? std::string(patternName) : LowerCase(patternName);
    // "grand crosses", like "quincunxes" in the summary.
    const bool sibilant = !name.empty() && (name.back() == 's' || name.back() == 'x');
    return CountInWords(count, kEnglish) + " " + name + (sibilant ? "es" : "s") + " found.";
}

std::string RunFoundTitle(const ProgramTexts& texts) {
    return texts.ProgramText(kTextRunTitle);
}

std::string DateErrorText(const ProgramTexts& texts, DateSlot slot, int errorCode) {
    // Slot names run from the World date's, error texts from code −1's.
    std::string text = texts.ProgramText(TextIdAt(kTextWorldDate, Index(slot)));
    std::string message;
    for (int code = 1; code <= 4; ++code) {
        if (errorCode == -code)
            message = texts.ProgramText(TextIdAt(kTextDateIncomplete, code - 1));
    }
    if (errorCode == kDateTimeAmbiguous) message = texts.ProgramText(kTextDateAmbiguous);
    if (errorCode == kDateZoneUnknown) message = texts.ProgramText(kTextDateZoneUnknown);
    return text + " " + message;
}

std::string DateErrorTitle(const ProgramTexts& texts) {
    return texts.ProgramText(kTextInputErrorTitle);
}

std::vector<std::string> StepIntervalTexts(const ProgramTexts& texts) {
    std::vector<std::string> list;
    for (int i = 0; i < kStepIntervalCount; ++i)
        list.push_back(texts.ProgramText(TextIdAt(kTextIntervalHalfHour, i)));
    return list;
}

std::string ZodiacLabel(const ProgramTexts& texts, bool sidereal, bool addPeriod) {
    std::string label = texts.ProgramText(sidereal ? kTextSiderealZodiac : kTextTropicalZodiac);
    if (addPeriod) label += '.';
    return label;
}

PatternTexts PatternTextsOf(const NameTables& names, const ProgramTexts& texts) {
    return {names, texts.ProgramText(kTextMeanDeviation)};
}

}  // namespace vek
