// Numbered program texts in English and German, loaded from vek.dat.
//
// The file format is described at the top of data/vek.dat and in
// data/vek.dat.md: one text per line, "<number> <en|de>: <text>".
//
// A ProgramTextTable holds a loaded file; ProgramTexts is that table seen in
// one language, the value everything that writes texts for the user is given.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "config/text_ids.h"
#include "engine/vek_types.h"
#include "util/result.h"

namespace vek {

// Longest text that can be fetched, in characters (Unicode code points): the
// text buffer holds 1024 characters including its terminating zero.
inline constexpr int kMaxProgramTextLength = 1023;
// Highest text number the file may use.
inline constexpr int kMaxProgramTextNumber = 9999;

// A loaded program-text file: text number n in each language.
//
// Loading fails with an Error whose message is the one-line text shown to
// the user and whose code is the file's result code: 0 nothing read, −1
// cannot open (or not a regular file), −3 file too large, −6 empty, −7 read
// error, −8 out of memory, −500−line missing text, −1000−line text too long,
// −1500−line duplicate number (lines count from 1). The code cannot tell the
// kind of a failure apart from its line once the line number passes 499
// (−500−600 and −1000−100 are the same value); the message always can.
class ProgramTextTable {
  public:
    // An empty table: every text reads as "".
    ProgramTextTable() = default;

    // Loads a file; `path` appears in the message when it cannot be opened.
    static Result<ProgramTextTable> Load(const std::string& path);
    // Same from text already in memory.
    static Result<ProgramTextTable> Parse(std::string_view content);

    // Text n in a language. "" for an unknown number; "~" in the file reads
    // as "".
    const std::string& Get(int n, Language language) const;
    bool Has(int n, Language language) const;
    // Number of text numbers loaded (each has both languages).
    int Count() const { return count_; }

  private:
    std::vector<std::array<std::string, 2>> texts_;
    std::vector<std::array<bool, 2>> present_;
    int count_ = 0;
};

// The message shown when loading fails with result code r (path is used for −1).
std::string ProgramTextLoadMessage(int r, const std::string& path);

// Loads `name` (default vek.dat) from `folder`.
Result<ProgramTextTable> LoadProgramText(const std::string& folder,
                                         const std::string& name = "vek.dat");

// The texts of a loaded table in one language. A small value that refers to
// the table: the table must outlive it. A default ProgramTexts has no table
// and reads every text as "".
class ProgramTexts {
  public:
    ProgramTexts() = default;
    ProgramTexts(const ProgramTextTable& table, Language language)
        : table_(&table), language_(language) {}

    // Text n in this language.
    const std::string& ProgramText(TextId n) const;
    // Text n with "[r1]".."[r5]" filled and "^" turned into CR LF.
    std::string ProgramTextWithValues(TextId n, const std::array<std::string, 5>& values) const;

    Language language() const { return language_; }
    // The same table in another language.
    ProgramTexts InLanguage(Language language) const;

  private:
    const ProgramTextTable* table_ = nullptr;
    Language language_ = kEnglish;
};

// The filling of ProgramTextWithValues applied to a given text.
std::string FillProgramTextValues(std::string text, const std::array<std::string, 5>& values);

}  // namespace vek
