// Numbered program texts in English and German, loaded once from vek.dat.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// A loaded program-text file: text number n in each language.
class ProgramTextTable {
public:
    // Loads a file. Returns the number of texts read (≥ 1) or a negative
    // result code: −1 cannot open, −6 empty, −7 read error, −500−line missing
    // text, −1000−line text too long, −1500−line duplicate number, ...
    int Load(const std::string& path);
    // Same from text already in memory (path only names it in messages).
    int LoadFromString(std::string_view content);

    // Text n in a language (0 English, 1 German; other codes read as English).
    // "" for an unknown number; "~" in the file reads as "".
    const std::string& Get(int n, int language) const;
    bool Has(int n, int language) const;
    int Count() const;

private:
    std::vector<std::array<std::string, 2>> texts_;
    std::vector<std::array<bool, 2>> present_;
    int count_ = 0;
};

// The message shown when loading fails with result code r (path is used for −1).
std::string ProgramTextLoadMessage(int r, const std::string& path);

// The process-wide table and language used by ProgramText. The window and
// vek-cli load the table once at start-up.
ProgramTextTable& GlobalProgramText();
int CurrentLanguage();
void SetCurrentLanguage(int language);

// Text n in the current language.
const std::string& ProgramText(int n);

// Text n with "[r1]".."[r5]" filled and "^" turned into CR LF.
std::string ProgramTextWithValues(int n, const std::array<std::string, 5>& values);

}  // namespace vek
