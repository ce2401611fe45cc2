// Numbered program texts in English and German, loaded once from vek.dat.
//
// The file format is described at the top of data/vek.dat and in
// data/vek.dat.md: one text per line, "<number> <en|de>: <text>".
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// What went wrong in the last load (kNone after a successful one).
enum class ProgramTextError {
    kNone,
    kNoText,      // the file holds no text at all (result 0)
    kCannotOpen,  // −1
    kTooMuch,     // −3: the file is larger than any program-text file can be
    kEmpty,       // −6
    kReadError,   // −7
    kNoMemory,    // −8
    kMissing,    // −500−line: a line without a well-formed text, or a number lacking a language
    kTooLong,    // −1000−line: a text longer than kMaxProgramTextLength characters
    kDuplicate,  // −1500−line: a number and language given a second time
};

// Longest text that can be fetched, in characters (Unicode code points): the
// text buffer holds 1024 characters including its terminating zero.
inline constexpr int kMaxProgramTextLength = 1023;
// Highest text number the file may use.
inline constexpr int kMaxProgramTextNumber = 9999;

// A loaded program-text file: text number n in each language.
class ProgramTextTable {
  public:
    // Loads a file. Returns the number of texts read (≥ 1) or a result code:
    // 0 nothing read, −1 cannot open, −3 file too large, −6 empty, −7 read
    // error, −8 out of memory, −500−line missing text, −1000−line text too
    // long, −1500−line duplicate number (lines count from 1). On failure the
    // table is left empty.
    int Load(const std::string& path);
    // Same from text already in memory.
    int LoadFromString(std::string_view content);

    // Text n in a language (0 English, 1 German; other codes read as English).
    // "" for an unknown number; "~" in the file reads as "".
    const std::string& Get(int n, int language) const;
    bool Has(int n, int language) const;
    // Number of text numbers loaded (each has both languages).
    int Count() const;

    // Details of the last load. The result code cannot tell the kind of a
    // failure apart from its line once the line number passes 499 (−500−600
    // and −1000−100 are the same value), so messages shown to the user
    // should come from FailureMessage, which keeps kind and line separate.
    ProgramTextError LastError() const { return error_; }
    int LastErrorLine() const { return error_line_; }
    std::string FailureMessage(const std::string& path) const;

  private:
    int Fail(ProgramTextError kind, int line);

    std::vector<std::array<std::string, 2>> texts_;
    std::vector<std::array<bool, 2>> present_;
    int count_ = 0;
    ProgramTextError error_ = ProgramTextError::kNone;
    int error_line_ = 0;
};

// The message shown when loading fails with result code r (path is used for −1).
std::string ProgramTextLoadMessage(int r, const std::string& path);

// The process-wide table and language used by ProgramText. The window and
// vek-cli load the table once at start-up.
ProgramTextTable& GlobalProgramText();
int CurrentLanguage();
void SetCurrentLanguage(int language);

// Loads `name` (default vek.dat) from `folder` into GlobalProgramText. Returns
// the load result; when it is below 1, *message (if given) receives the text
// to show before the program ends.
int LoadProgramText(const std::string& folder, std::string* message,
                    const std::string& name = "vek.dat");

// Text n in the current language.
const std::string& ProgramText(int n);

// Text n with "[r1]".."[r5]" filled and "^" turned into CR LF.
std::string ProgramTextWithValues(int n, const std::array<std::string, 5>& values);
// The same filling applied to a given text.
std::string FillProgramTextValues(std::string text, const std::array<std::string, 5>& values);

}  // namespace vek
