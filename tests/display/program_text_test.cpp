#include "display/program_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
// GCC 12 with sanitizers reports -Wmaybe-uninitialized inside libstdc++'s
// regex compiler, where every member is set (a false report of the optimiser).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <regex>
#pragma GCC diagnostic pop
#include <string>
#include <vector>

#include "../temp_folder.h"
#include "util/paths.h"

namespace vek {
namespace {

std::string ReadFile(const std::filesystem::path& p) {
    return testing::ReadAll(p.string());
}

std::string RealFilePath() {
    return JoinPath(VEK_SOURCE_DATA_DIR, "vek.dat");
}

// --- Loading broken files --------------------------------------------------------

TEST(ProgramTextLoad, ReadsBothLanguagesAndSkipsCommentsAndBlankLines) {
    ProgramTextTable t;
    EXPECT_EQ(t.LoadFromString("# comment\n\n  \t\n41 en: Show table\n41 de: Tabelle zeigen\n"
                               "  # indented comment\n7 de: gefunden\n7 en: found\n"),
              2);
    EXPECT_EQ(t.Count(), 2);
    EXPECT_EQ(t.Get(41, 0), "Show table");
    EXPECT_EQ(t.Get(41, 1), "Tabelle zeigen");
    EXPECT_EQ(t.Get(7, 1), "gefunden");
    // Any code other than German reads English (Spanish exists only as a stored value).
    EXPECT_EQ(t.Get(41, 2), "Show table");
    EXPECT_EQ(t.Get(41, -1), "Show table");
}

TEST(ProgramTextLoad, UnknownNumbersAndTheTildeGiveEmptyTexts) {
    ProgramTextTable t;
    ASSERT_EQ(t.LoadFromString("5 en: ~\n5 de: ~\n6 en: x\n6 de: y\n"), 2);
    EXPECT_TRUE(t.Has(5, 0));
    EXPECT_EQ(t.Get(5, 0), "");
    EXPECT_EQ(t.Get(5, 1), "");
    EXPECT_FALSE(t.Has(4, 0));
    EXPECT_EQ(t.Get(4, 0), "");
    EXPECT_EQ(t.Get(0, 0), "");
    EXPECT_EQ(t.Get(-3, 1), "");
    EXPECT_EQ(t.Get(1000000, 1), "");
    // "~" stands for the empty text only on its own.
    ASSERT_EQ(t.LoadFromString("5 en: ~~\n5 de: a~\n"), 1);
    EXPECT_EQ(t.Get(5, 0), "~~");
}

TEST(ProgramTextLoad, KeepsBlanksAfterTheSeparatorAndAcceptsOtherLineEnds) {
    ProgramTextTable t;
    // CRLF line ends, a byte-order mark, no final line end, extra blanks in the text.
    ASSERT_EQ(t.LoadFromString("\xEF\xBB\xBF"
                               "26 en:  degrees \r\n26 de:  Grad\r\n9 en:x\r\n9 de: \tTab"),
              2);
    EXPECT_EQ(t.Get(26, 0), " degrees ");
    EXPECT_EQ(t.Get(26, 1), " Grad");
    EXPECT_EQ(t.Get(9, 0), "x");
    EXPECT_EQ(t.Get(9, 1), "\tTab");
    EXPECT_EQ(t.Get(26, 0).find('\r'), std::string::npos);
}

TEST(ProgramTextLoad, EmptyFilesAndFilesWithoutTexts) {
    ProgramTextTable t;
    EXPECT_EQ(t.LoadFromString(""), -6);
    EXPECT_EQ(t.LoadFromString("\xEF\xBB\xBF"), -6);
    EXPECT_EQ(t.LoadFromString("\n\n# only comments\n"), 0);
    EXPECT_EQ(ProgramTextLoadMessage(0, ""), "No program text was read.");
}

TEST(ProgramTextLoad, ReportsTheLineOfEachKindOfFault) {
    ProgramTextTable t;
    // Duplicate: the second occurrence of number and language.
    EXPECT_EQ(t.LoadFromString("1 en: a\n1 de: b\n\n2 en: c\n1 en: d\n2 de: e\n"), -1505);
    EXPECT_EQ(t.LastError(), ProgramTextError::kDuplicate);
    EXPECT_EQ(t.LastErrorLine(), 5);
    // A number with one language missing: the line of that number's first text.
    EXPECT_EQ(t.LoadFromString("1 en: a\n1 de: b\n# x\n2 de: c\n3 en: d\n3 de: e\n"), -504);
    // Several numbers lacking a language: the first such line in the file,
    // whatever the numbers' order.
    EXPECT_EQ(t.LoadFromString("1 en: a\n1 de: b\n9 en: c\n3 de: d\n7 de: e\n4 en: f\n"), -503);
    EXPECT_EQ(t.FailureMessage("vek.dat"), "Missing string at line 3.");
    EXPECT_EQ(t.LoadFromString("2 en: a\n5 en: b\n5 de: c\n1 de: d\n"), -501);
    // Lines without a usable text.
    EXPECT_EQ(t.LoadFromString("1 en: a\n1 de:\n"), -502);
    EXPECT_EQ(t.LoadFromString("1 en: a\n1 de: \n"), -502);
    EXPECT_EQ(t.LoadFromString("1 en: a\nhello\n"), -502);
    EXPECT_EQ(t.LoadFromString("1 fr: a\n"), -501);
    EXPECT_EQ(t.LoadFromString("1en: a\n"), -501);
    EXPECT_EQ(t.LoadFromString("1 en a\n"), -501);
    EXPECT_EQ(t.LoadFromString("0 en: a\n"), -501);
    EXPECT_EQ(t.LoadFromString("10000 en: a\n"), -501);
    EXPECT_EQ(t.LoadFromString("99999999999999999999 en: a\n"), -501);
    EXPECT_EQ(t.LoadFromString("-1 en: a\n"), -501);
    // Garbage bytes: invalid UTF-8, a NUL, a stray carriage return, a control character.
    EXPECT_EQ(t.LoadFromString("1 en: a\n1 de: \xC3\x28\n"), -502);
    EXPECT_EQ(t.LoadFromString("1 en: \xFF\xFE\n"), -501);
    EXPECT_EQ(t.LoadFromString("1 en: over\xC0\xAFlong\n"), -501);
    EXPECT_EQ(t.LoadFromString("1 en: cut \xE2\x82"), -501);
    EXPECT_EQ(t.LoadFromString(std::string("1 en: a\0b\n", 11)), -501);
    EXPECT_EQ(t.LoadFromString("1 en: a\rb\n"), -501);
    EXPECT_EQ(t.LoadFromString("1 en: bell\x07\n"), -501);
    EXPECT_EQ(t.LoadFromString("1 en: next line\xC2\x85\n"), -501);       // C1 control U+0085
    EXPECT_EQ(t.LoadFromString("1 en: surrogate \xED\xA0\x80\n"), -501);  // U+D800
    EXPECT_EQ(t.LoadFromString("1 en: past \xF4\x90\x80\x80\n"), -501);   // U+110000
    // A failed load leaves nothing behind.
    EXPECT_EQ(t.Count(), 0);
    EXPECT_EQ(t.Get(1, 0), "");
}

TEST(ProgramTextLoad, TextLengthIsCountedInCharacters) {
    ProgramTextTable t;
    std::string longest;
    for (int i = 0; i < kMaxProgramTextLength; ++i) longest += "\xC3\xA4";  // "ä", 2 bytes
    ASSERT_EQ(t.LoadFromString("3 en: " + longest + "\n3 de: x\n"), 1);
    EXPECT_EQ(t.Get(3, 0).size(), 2u * kMaxProgramTextLength);
    // Sequences of three and four bytes count once too.
    std::string wide;
    for (int i = 0; i < kMaxProgramTextLength; ++i)
        wide += i % 2 ? "\xE2\x82\xAC" : "\xF0\x9F\x98\x80";
    ASSERT_EQ(t.LoadFromString("4 en: " + wide + "\n4 de: x\n"), 1);
    EXPECT_EQ(t.Get(4, 0), wide);
    EXPECT_EQ(t.LoadFromString("4 en: " + wide + "\xE2\x82\xAC\n4 de: x\n"), -1001);
    EXPECT_EQ(t.LoadFromString("3 en: a\n\n3 de: " + longest + "ä\n"), -1003);
    EXPECT_EQ(t.LoadFromString("3 en: " + std::string(kMaxProgramTextLength + 1, 'x') + "\n"),
              -1001);
}

TEST(ProgramTextLoad, LinesPastFiveHundredKeepTheirKindInTheMessage) {
    // The result code of a missing text at line 600 equals that of an overlong
    // text at line 100; the table keeps kind and line apart for the message.
    std::string content(599, '\n');
    content += "1 en: only English\n";
    ProgramTextTable t;
    const int r = t.LoadFromString(content);
    EXPECT_EQ(r, -1100);
    EXPECT_EQ(t.LastErrorLine(), 600);
    EXPECT_EQ(t.FailureMessage("vek.dat"), "Missing string at line 600.");
    EXPECT_EQ(ProgramTextLoadMessage(r, "vek.dat"), "String too long at line 100.");
}

TEST(ProgramTextLoad, FilesThatCannotBeOpenedOrRead) {
    ProgramTextTable t;
    const std::string missing = JoinPath(VEK_TEST_DATA_DIR, "no-such-file.dat");
    EXPECT_EQ(t.Load(missing), -1);
    EXPECT_EQ(t.FailureMessage(missing), "Cannot open file containing program text.\r\n" + missing);
    // A folder opens but cannot be read.
    EXPECT_EQ(t.Load(VEK_TEST_DATA_DIR), -7);
    EXPECT_EQ(t.FailureMessage(VEK_TEST_DATA_DIR), "Error reading file.");

    testing::TempFolder dir("vek-program-text-test");
    testing::WriteRaw(dir / "empty.dat", "");
    EXPECT_EQ(t.Load(dir / "empty.dat"), -6);
    testing::WriteRaw(dir / "good.dat", "12 en: Hello\n12 de: Hallo");
    EXPECT_EQ(t.Load(dir / "good.dat"), 1);
    EXPECT_EQ(t.Get(12, 1), "Hallo");
}

TEST(ProgramTextLoad, ArbitraryBytesNeverBreakTheLoader) {
    const std::string real = ReadFile(RealFilePath());
    ASSERT_FALSE(real.empty());
    std::mt19937 rng(12345);
    ProgramTextTable t;
    for (int round = 0; round < 3000; ++round) {
        std::string s;
        if (round % 2 == 0) {
            // Random bytes biased towards the characters the format uses.
            const char alphabet[] = "0123456789 :endeEN#~^\r\n\t\xC3\xA4\xFF";
            const size_t len = rng() % 200;
            for (size_t i = 0; i < len; ++i) {
                s += (rng() % 4 == 0) ? static_cast<char>(rng() % 256)
                                      : alphabet[rng() % (sizeof alphabet - 1)];
            }
        } else {
            // The real file with a few bytes changed, removed or doubled.
            s = real;
            for (int k = 0, n = 1 + rng() % 4; k < n; ++k) {
                const size_t at = rng() % s.size();
                switch (rng() % 3) {
                    case 0:
                        s[at] = static_cast<char>(rng() % 256);
                        break;
                    case 1:
                        s.erase(at, 1 + rng() % 40);
                        break;
                    default:
                        s.insert(at, s.substr(at, 1 + rng() % 80));
                        break;
                }
                if (s.empty()) s = "x";
            }
        }
        const int r = t.LoadFromString(s);
        if (r >= 1) {
            EXPECT_EQ(t.Count(), r);
        } else {
            EXPECT_EQ(t.Count(), 0);
            EXPECT_FALSE(t.FailureMessage("f").empty());
        }
    }
}

// --- Messages of a failed load --------------------------------------------------------

TEST(ProgramTextLoadMessage, GivesTheMessageOfEachResultCode) {
    EXPECT_EQ(ProgramTextLoadMessage(-1507, ""), "Duplicate in program text at line 7.");
    EXPECT_EQ(ProgramTextLoadMessage(-1501, ""), "Duplicate in program text at line 1.");
    EXPECT_EQ(ProgramTextLoadMessage(-1012, ""), "String too long at line 12.");
    EXPECT_EQ(ProgramTextLoadMessage(-1500, ""), "String too long at line 500.");
    EXPECT_EQ(ProgramTextLoadMessage(-1001, ""), "String too long at line 1.");
    EXPECT_EQ(ProgramTextLoadMessage(-1000, ""), "Missing string at line 500.");
    EXPECT_EQ(ProgramTextLoadMessage(-503, ""), "Missing string at line 3.");
    EXPECT_EQ(ProgramTextLoadMessage(-1, "C:\\VEK\\vek.dat"),
              "Cannot open file containing program text.\r\nC:\\VEK\\vek.dat");
    EXPECT_EQ(ProgramTextLoadMessage(-2, ""), "Particular memory allocation error.");
    EXPECT_EQ(ProgramTextLoadMessage(-3, ""), "Too much program text.");
    EXPECT_EQ(ProgramTextLoadMessage(-4, ""), "Text not recovered.");
    EXPECT_EQ(ProgramTextLoadMessage(-6, ""), "File is empty.");
    EXPECT_EQ(ProgramTextLoadMessage(-7, ""), "Error reading file.");
    EXPECT_EQ(ProgramTextLoadMessage(-8, ""), "General memory allocation error.");
    EXPECT_EQ(ProgramTextLoadMessage(-5, ""), "Error -5");
    EXPECT_EQ(ProgramTextLoadMessage(-9, ""), "Error -9");
    EXPECT_EQ(ProgramTextLoadMessage(-500, ""), "Error -500");
}

// --- Fetching texts --------------------------------------------------------------------

class GlobalTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_language_ = CurrentLanguage();
        ASSERT_EQ(GlobalProgramText().LoadFromString(
                      "1 en: Hello\n1 de: Hallo\n"
                      "2 en: [r1] and [r2]^next [r3]\n2 de: [r1] und [r2]^weiter [r3]\n"
                      "3 en: [r1][r2][r3][r4][r5] [r1]\n3 de: x\n"
                      "4 en: [x] stays\n4 de: ~\n"),
                  4);
    }
    void TearDown() override {
        SetCurrentLanguage(saved_language_);
        std::string message;
        LoadProgramText(VEK_SOURCE_DATA_DIR, &message);
    }
    int saved_language_ = 0;
};

TEST_F(GlobalTextTest, FollowsTheCurrentLanguage) {
    SetCurrentLanguage(0);
    EXPECT_EQ(ProgramText(1), "Hello");
    SetCurrentLanguage(1);
    EXPECT_EQ(ProgramText(1), "Hallo");
    EXPECT_EQ(ProgramText(4), "");
    EXPECT_EQ(ProgramText(99), "");
    SetCurrentLanguage(2);
    EXPECT_EQ(ProgramText(1), "Hello");
}

TEST_F(GlobalTextTest, FillsValuesUpToTheFirstEmptyOneAndBreaksLines) {
    SetCurrentLanguage(0);
    // An empty second value: "[r2]" and everything after it stay.
    EXPECT_EQ(ProgramTextWithValues(2, {"A", "", "C", "", ""}), "A and [r2]\r\nnext [r3]");
    EXPECT_EQ(ProgramTextWithValues(2, {"A", "B", "C", "", ""}), "A and B\r\nnext C");
    // The first value is put in even when it is empty.
    EXPECT_EQ(ProgramTextWithValues(2, {"", "B", "C", "", ""}), " and B\r\nnext C");
    EXPECT_EQ(ProgramTextWithValues(3, {"1", "2", "3", "4", "5"}), "12345 1");
    EXPECT_EQ(ProgramTextWithValues(3, {"1", "2", "", "4", "5"}), "12[r3][r4][r5] 1");
    EXPECT_EQ(ProgramTextWithValues(4, {"1", "2", "3", "4", "5"}), "[x] stays");
    SetCurrentLanguage(1);
    EXPECT_EQ(ProgramTextWithValues(2, {"A", "B", "", "", ""}), "A und B\r\nweiter [r3]");
    EXPECT_EQ(FillProgramTextValues("a^^b", {}), "a\r\n\r\nb");
}

TEST(LoadProgramText, GivesTheMessageOfAFailedLoad) {
    std::string message;
    EXPECT_EQ(LoadProgramText(VEK_TEST_DATA_DIR, &message, "absent.dat"), -1);
    EXPECT_EQ(message, "Cannot open file containing program text.\r\n" +
                           JoinPath(VEK_TEST_DATA_DIR, "absent.dat"));
    message.clear();
    EXPECT_GE(LoadProgramText(VEK_SOURCE_DATA_DIR, &message), 1);
    EXPECT_EQ(message, "");
}

// --- The program's own vek.dat ----------------------------------------------------------

// Counts non-overlapping occurrences of `what` in `text`.
int Occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + what.size()))
        ++n;
    return n;
}

TEST(ProgramTextFile, EveryListedTextHasBothLanguagesAndItsPlaceholders) {
    ProgramTextTable t;
    const int r = t.Load(RealFilePath());
    ASSERT_GE(r, 1) << t.FailureMessage(RealFilePath());

    std::ifstream list(JoinPath(VEK_TEST_DATA_DIR, "program_text_placeholders.txt"));
    ASSERT_TRUE(list.is_open());
    // <number> <en|de|*> [rule]
    const std::regex rule_re(R"re(^(\d+) (en|de|\*)(?: (!|==)?"(.*)"(=1)?)?\s*$)re");
    std::string line;
    int rules = 0;
    while (std::getline(list, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, rule_re)) << "bad rule: " << line;
        ++rules;
        const int n = std::stoi(m[1]);
        EXPECT_TRUE(t.Has(n, 0) && t.Has(n, 1)) << "text " << n << " lacks a language";
        if (!m[4].matched) continue;
        for (int lang = 0; lang < 2; ++lang) {
            if (m[2] == "en" && lang != 0) continue;
            if (m[2] == "de" && lang != 1) continue;
            const std::string& text = t.Get(n, lang);
            const std::string what = m[4];
            const std::string where = "text " + std::to_string(n) + (lang ? " de" : " en");
            if (m[3] == "!") {
                EXPECT_EQ(Occurrences(text, what), 0) << where << " holds \"" << what << "\"";
            } else if (m[3] == "==") {
                EXPECT_EQ(text, what) << where;
            } else if (m[5].matched) {
                EXPECT_EQ(Occurrences(text, what), 1)
                    << where << " needs \"" << what << "\" exactly once: " << text;
            } else {
                EXPECT_GE(Occurrences(text, what), 1) << where << " needs \"" << what << "\"";
            }
        }
    }
    EXPECT_GT(rules, 200);
}

// Text numbers written as literals in the first argument of ProgramText or
// ProgramTextWithValues calls in `code`: a plain number, or both branches of
// "condition ? 46 : 47". Other expressions are not evaluated.
std::vector<int> CitedTextNumbers(const std::string& code) {
    static const std::regex call_re(R"(\bProgramText(?:WithValues)?\s*\()");
    static const std::regex literal_re(R"(^\s*(\d+)\s*$)");
    static const std::regex choice_re(R"(\?\s*(\d+)\s*:\s*(\d+)\s*$)");
    std::vector<int> numbers;
    for (std::sregex_iterator it(code.begin(), code.end(), call_re), end; it != end; ++it) {
        // The first argument runs to the first "," or ")" outside nested brackets.
        size_t i = it->position() + it->length();
        int depth = 0;
        const size_t from = i;
        for (; i < code.size(); ++i) {
            const char c = code[i];
            if (c == '(' || c == '[' || c == '{') ++depth;
            if ((c == ')' || c == ']' || c == '}') && depth-- == 0) break;
            if (c == ',' && depth == 0) break;
        }
        const std::string arg = code.substr(from, i - from);
        std::smatch m;
        if (std::regex_match(arg, m, literal_re)) {
            numbers.push_back(std::stoi(m[1]));
        } else if (std::regex_search(arg, m, choice_re)) {
            numbers.push_back(std::stoi(m[1]));
            numbers.push_back(std::stoi(m[2]));
        }
    }
    return numbers;
}

TEST(ProgramTextFile, EveryTextCitedInTheSourcesExists) {
    EXPECT_EQ(CitedTextNumbers("a = vek::ProgramText( 46 ); b = ProgramTextWithValues(80, {x});"
                               "c = ProgramText(s ? 46 : 47); d = ProgramText(kBase + i - 1);"
                               "e = ProgramText(Pick(3, 4));"),
              (std::vector<int>{46, 80, 46, 47}));

    ProgramTextTable t;
    ASSERT_GE(t.Load(RealFilePath()), 1);
    const std::filesystem::path src = std::filesystem::path(VEK_SOURCE_DATA_DIR) / ".." / "src";
    ASSERT_TRUE(std::filesystem::is_directory(src));
    for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        for (int n : CitedTextNumbers(ReadFile(entry.path()))) {
            EXPECT_TRUE(t.Has(n, 0) && t.Has(n, 1))
                << entry.path().filename().string() << " cites program text " << n
                << ", which vek.dat lacks in " << (t.Has(n, 0) ? "German" : "English")
                << (t.Has(n, 1) || t.Has(n, 0) ? "" : " and German");
        }
    }
}

}  // namespace
}  // namespace vek
