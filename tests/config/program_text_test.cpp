#include "config/program_text.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cstdint>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
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

// The table of `content`; the test fails when it does not load.
ProgramTextTable Parsed(std::string_view content) {
    Result<ProgramTextTable> r = ProgramTextTable::Parse(content);
    EXPECT_TRUE(r) << r.message();
    return r ? std::move(r).value() : ProgramTextTable();
}

// The result code of a load that must fail (1 when it succeeds).
int FailureCode(std::string_view content) {
    const Result<ProgramTextTable> r = ProgramTextTable::Parse(content);
    return r ? 1 : r.error().code;
}

TEST(ProgramTextLoad, ReadsBothLanguagesAndSkipsCommentsAndBlankLines) {
    const ProgramTextTable t = Parsed(
        "# comment\n\n  \t\n41 en: Show table\n41 de: Tabelle zeigen\n"
        "  # indented comment\n7 de: gefunden\n7 en: found\n");
    EXPECT_EQ(t.Count(), 2);
    EXPECT_EQ(t.Get(41, kEnglish), "Show table");
    EXPECT_EQ(t.Get(41, kGerman), "Tabelle zeigen");
    EXPECT_EQ(t.Get(7, kGerman), "gefunden");
    // Any code other than German reads English (Spanish exists only as a stored value).
    EXPECT_EQ(t.Get(41, LanguageFromCode(2)), "Show table");
    EXPECT_EQ(t.Get(41, LanguageFromCode(-1)), "Show table");
}

TEST(ProgramTextLoad, UnknownNumbersAndTheTildeGiveEmptyTexts) {
    ProgramTextTable t = Parsed("5 en: ~\n5 de: ~\n6 en: x\n6 de: y\n");
    ASSERT_EQ(t.Count(), 2);
    EXPECT_TRUE(t.Has(5, kEnglish));
    EXPECT_EQ(t.Get(5, kEnglish), "");
    EXPECT_EQ(t.Get(5, kGerman), "");
    EXPECT_FALSE(t.Has(4, kEnglish));
    EXPECT_EQ(t.Get(4, kEnglish), "");
    EXPECT_EQ(t.Get(0, kEnglish), "");
    EXPECT_EQ(t.Get(-3, kGerman), "");
    EXPECT_EQ(t.Get(1000000, kGerman), "");
    // "~" stands for the empty text only on its own.
    t = Parsed("5 en: ~~\n5 de: a~\n");
    ASSERT_EQ(t.Count(), 1);
    EXPECT_EQ(t.Get(5, kEnglish), "~~");
}

TEST(ProgramTextLoad, KeepsBlanksAfterTheSeparatorAndAcceptsOtherLineEnds) {
    // CRLF line ends, a byte-order mark, no final line end, extra blanks in the text.
    const ProgramTextTable t = Parsed(
        "\xEF\xBB\xBF"
        "26 en:  degrees \r\n26 de:  Grad\r\n9 en:x\r\n9 de: \tTab");
    ASSERT_EQ(t.Count(), 2);
    EXPECT_EQ(t.Get(26, kEnglish), " degrees ");
    EXPECT_EQ(t.Get(26, kGerman), " Grad");
    EXPECT_EQ(t.Get(9, kEnglish), "x");
    EXPECT_EQ(t.Get(9, kGerman), "\tTab");
    EXPECT_EQ(t.Get(26, kEnglish).find('\r'), std::string::npos);
}

TEST(ProgramTextLoad, EmptyFilesAndFilesWithoutTexts) {
    EXPECT_EQ(FailureCode(""), -6);
    EXPECT_EQ(FailureCode("\xEF\xBB\xBF"), -6);
    EXPECT_EQ(ProgramTextTable::Parse("").message(), "File is empty.");
    EXPECT_EQ(FailureCode("\n\n# only comments\n"), 0);
    EXPECT_EQ(ProgramTextTable::Parse("# x\n").message(), "No program text was read.");
    EXPECT_EQ(ProgramTextLoadMessage(0, ""), "No program text was read.");
}

TEST(ProgramTextLoad, ReportsTheLineOfEachKindOfFault) {
    // Duplicate: the second occurrence of number and language.
    const Result<ProgramTextTable> duplicate =
        ProgramTextTable::Parse("1 en: a\n1 de: b\n\n2 en: c\n1 en: d\n2 de: e\n");
    ASSERT_FALSE(duplicate);
    EXPECT_EQ(duplicate.error().code, -1505);
    EXPECT_EQ(duplicate.message(), "Duplicate in program text at line 5.");
    // A number with one language missing: the line of that number's first text.
    EXPECT_EQ(FailureCode("1 en: a\n1 de: b\n# x\n2 de: c\n3 en: d\n3 de: e\n"), -504);
    // Several numbers lacking a language: the first such line in the file,
    // whatever the numbers' order.
    const Result<ProgramTextTable> several =
        ProgramTextTable::Parse("1 en: a\n1 de: b\n9 en: c\n3 de: d\n7 de: e\n4 en: f\n");
    ASSERT_FALSE(several);
    EXPECT_EQ(several.error().code, -503);
    EXPECT_EQ(several.message(), "Missing string at line 3.");
    EXPECT_EQ(FailureCode("2 en: a\n5 en: b\n5 de: c\n1 de: d\n"), -501);
    // Lines without a usable text.
    EXPECT_EQ(FailureCode("1 en: a\n1 de:\n"), -502);
    EXPECT_EQ(ProgramTextTable::Parse("1 en: a\n1 de:\n").message(), "Missing string at line 2.");
    EXPECT_EQ(FailureCode("1 en: a\n1 de: \n"), -502);
    EXPECT_EQ(FailureCode("1 en: a\nhello\n"), -502);
    EXPECT_EQ(FailureCode("1 fr: a\n"), -501);
    EXPECT_EQ(FailureCode("1en: a\n"), -501);
    EXPECT_EQ(FailureCode("1 en a\n"), -501);
    EXPECT_EQ(FailureCode("0 en: a\n"), -501);
    EXPECT_EQ(FailureCode("10000 en: a\n"), -501);
    EXPECT_EQ(FailureCode("99999999999999999999 en: a\n"), -501);
    EXPECT_EQ(FailureCode("-1 en: a\n"), -501);
    // Garbage bytes: invalid UTF-8, a NUL, a stray carriage return, a control character.
    EXPECT_EQ(FailureCode("1 en: a\n1 de: \xC3\x28\n"), -502);
    EXPECT_EQ(FailureCode("1 en: \xFF\xFE\n"), -501);
    EXPECT_EQ(FailureCode("1 en: over\xC0\xAFlong\n"), -501);
    EXPECT_EQ(FailureCode("1 en: cut \xE2\x82"), -501);
    EXPECT_EQ(FailureCode(std::string("1 en: a\0b\n", 11)), -501);
    EXPECT_EQ(FailureCode("1 en: a\rb\n"), -501);
    EXPECT_EQ(FailureCode("1 en: bell\x07\n"), -501);
    EXPECT_EQ(FailureCode("1 en: next line\xC2\x85\n"), -501);       // C1 control U+0085
    EXPECT_EQ(FailureCode("1 en: surrogate \xED\xA0\x80\n"), -501);  // U+D800
    EXPECT_EQ(FailureCode("1 en: past \xF4\x90\x80\x80\n"), -501);   // U+110000
}

TEST(ProgramTextLoad, TextLengthIsCountedInCharacters) {
    std::string longest;
    for (int i = 0; i < kMaxProgramTextLength; ++i) longest += "\xC3\xA4";  // "ä", 2 bytes
    ProgramTextTable t = Parsed("3 en: " + longest + "\n3 de: x\n");
    ASSERT_EQ(t.Count(), 1);
    EXPECT_EQ(t.Get(3, kEnglish).size(), 2u * kMaxProgramTextLength);
    // Sequences of three and four bytes count once too.
    std::string wide;
    for (int i = 0; i < kMaxProgramTextLength; ++i)
        wide += i % 2 ? "\xE2\x82\xAC" : "\xF0\x9F\x98\x80";
    t = Parsed("4 en: " + wide + "\n4 de: x\n");
    ASSERT_EQ(t.Count(), 1);
    EXPECT_EQ(t.Get(4, kEnglish), wide);
    EXPECT_EQ(FailureCode("4 en: " + wide + "\xE2\x82\xAC\n4 de: x\n"), -1001);
    EXPECT_EQ(FailureCode("3 en: a\n\n3 de: " + longest + "ä\n"), -1003);
    EXPECT_EQ(ProgramTextTable::Parse("3 en: a\n\n3 de: " + longest + "ä\n").message(),
              "String too long at line 3.");
    EXPECT_EQ(FailureCode("3 en: " + std::string(kMaxProgramTextLength + 1, 'x') + "\n"), -1001);
}

TEST(ProgramTextLoad, LinesPastFiveHundredKeepTheirKindInTheMessage) {
    // The result code of a missing text at line 600 equals that of an overlong
    // text at line 100; the message keeps kind and line apart.
    std::string content(599, '\n');
    content += "1 en: only English\n";
    const Result<ProgramTextTable> r = ProgramTextTable::Parse(content);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().code, -1100);
    EXPECT_EQ(r.message(), "Missing string at line 600.");
    EXPECT_EQ(ProgramTextLoadMessage(r.error().code, "vek.dat"), "String too long at line 100.");
}

TEST(ProgramTextLoad, FilesThatCannotBeOpenedOrAreNoFiles) {
    const std::string missing = JoinPath(VEK_TEST_DATA_DIR, "no-such-file.dat");
    Result<ProgramTextTable> r = ProgramTextTable::Load(missing);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().code, -1);
    EXPECT_EQ(r.message(), "Cannot open file containing program text.\r\n" + missing);
    // A folder is refused before anything is read.
    r = ProgramTextTable::Load(VEK_TEST_DATA_DIR);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().code, -1);
    EXPECT_EQ(r.message(),
              "The program text " + std::string(VEK_TEST_DATA_DIR) + " is not a regular file.");

    testing::TempFolder dir("vek-program-text-test");
    testing::WriteRaw(dir / "empty.dat", "");
    r = ProgramTextTable::Load(dir / "empty.dat");
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().code, -6);
    EXPECT_EQ(r.message(), "File is empty.");
    testing::WriteRaw(dir / "good.dat", "12 en: Hello\n12 de: Hallo");
    r = ProgramTextTable::Load(dir / "good.dat");
    ASSERT_TRUE(r) << r.message();
    EXPECT_EQ(r->Count(), 1);
    EXPECT_EQ(r->Get(12, kGerman), "Hallo");
}

TEST(ProgramTextLoad, APipeUnderTheNameFailsAtOnceInsteadOfWaitingForAWriter) {
    // Opening a pipe for reading waits until something opens it for writing;
    // nothing ever does here, so a loader that waited would never return.
    testing::TempFolder dir("vek-program-text-fifo");
    const std::string fifo = dir / "vek.dat";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const Result<ProgramTextTable> r = LoadProgramText(dir.path());
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().code, -1);
    EXPECT_EQ(r.message(), "The program text " + fifo + " is not a regular file.");
    EXPECT_EQ(r.message().find('\n'), std::string::npos);
}

TEST(ProgramTextLoad, ArbitraryBytesNeverBreakTheLoader) {
    const std::string real = ReadFile(RealFilePath());
    ASSERT_FALSE(real.empty());
    std::mt19937 rng(12345);
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
        const Result<ProgramTextTable> r = ProgramTextTable::Parse(s);
        if (r) {
            EXPECT_GE(r->Count(), 1);
        } else {
            EXPECT_LE(r.error().code, 0);
            EXPECT_FALSE(r.message().empty());
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

class TextsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table = Parsed(
            "1 en: Hello\n1 de: Hallo\n"
            "2 en: [r1] and [r2]^next [r3]\n2 de: [r1] und [r2]^weiter [r3]\n"
            "3 en: [r1][r2][r3][r4][r5] [r1]\n3 de: x\n"
            "4 en: [x] stays\n4 de: ~\n");
        ASSERT_EQ(table.Count(), 4);
    }
    ProgramTextTable table;
};

// The tests reach the small table's numbers through the TextId type.
constexpr TextId Id(int n) {
    return static_cast<TextId>(n);
}

TEST_F(TextsTest, EachValueReadsItsOwnLanguage) {
    const ProgramTexts en(table, kEnglish);
    const ProgramTexts de(table, kGerman);
    EXPECT_EQ(en.ProgramText(Id(1)), "Hello");
    EXPECT_EQ(de.ProgramText(Id(1)), "Hallo");
    EXPECT_EQ(de.ProgramText(Id(4)), "");
    EXPECT_EQ(de.ProgramText(Id(99)), "");
    EXPECT_EQ(ProgramTexts(table, LanguageFromCode(2)).ProgramText(Id(1)), "Hello");
    EXPECT_EQ(en.InLanguage(kGerman).ProgramText(Id(1)), "Hallo");
    EXPECT_EQ(en.InLanguage(kGerman).language(), kGerman);
    EXPECT_EQ(en.language(), kEnglish);
    // Without a table every text is empty.
    EXPECT_EQ(ProgramTexts().ProgramText(Id(1)), "");
}

TEST_F(TextsTest, FillsValuesUpToTheFirstEmptyOneAndBreaksLines) {
    const ProgramTexts en(table, kEnglish);
    // An empty second value: "[r2]" and everything after it stay.
    EXPECT_EQ(en.ProgramTextWithValues(Id(2), {"A", "", "C", "", ""}), "A and [r2]\r\nnext [r3]");
    EXPECT_EQ(en.ProgramTextWithValues(Id(2), {"A", "B", "C", "", ""}), "A and B\r\nnext C");
    // The first value is put in even when it is empty.
    EXPECT_EQ(en.ProgramTextWithValues(Id(2), {"", "B", "C", "", ""}), " and B\r\nnext C");
    EXPECT_EQ(en.ProgramTextWithValues(Id(3), {"1", "2", "3", "4", "5"}), "12345 1");
    EXPECT_EQ(en.ProgramTextWithValues(Id(3), {"1", "2", "", "4", "5"}), "12[r3][r4][r5] 1");
    EXPECT_EQ(en.ProgramTextWithValues(Id(4), {"1", "2", "3", "4", "5"}), "[x] stays");
    const ProgramTexts de(table, kGerman);
    EXPECT_EQ(de.ProgramTextWithValues(Id(2), {"A", "B", "", "", ""}), "A und B\r\nweiter [r3]");
    EXPECT_EQ(FillProgramTextValues("a^^b", {}), "a\r\n\r\nb");
}

TEST(LoadProgramText, GivesTheMessageOfAFailedLoad) {
    const Result<ProgramTextTable> absent = LoadProgramText(VEK_TEST_DATA_DIR, "absent.dat");
    ASSERT_FALSE(absent);
    EXPECT_EQ(absent.error().code, -1);
    EXPECT_EQ(absent.message(), "Cannot open file containing program text.\r\n" +
                                    JoinPath(VEK_TEST_DATA_DIR, "absent.dat"));
    const Result<ProgramTextTable> real = LoadProgramText(VEK_SOURCE_DATA_DIR);
    ASSERT_TRUE(real) << real.message();
    EXPECT_GT(real->Count(), 200);
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
    const Result<ProgramTextTable> loaded = ProgramTextTable::Load(RealFilePath());
    ASSERT_TRUE(loaded) << loaded.message();
    const ProgramTextTable& t = *loaded;

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
        EXPECT_TRUE(t.Has(n, kEnglish) && t.Has(n, kGerman)) << "text " << n << " lacks a language";
        if (!m[4].matched) continue;
        for (Language lang : {kEnglish, kGerman}) {
            if (m[2] == "en" && lang != kEnglish) continue;
            if (m[2] == "de" && lang != kGerman) continue;
            const std::string& text = t.Get(n, lang);
            const std::string what = m[4];
            const std::string where = "text " + std::to_string(n) + (lang == kGerman ? " de" : " en");
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

// The named text numbers of a text_ids.h: each "kTextName = number".
std::vector<std::pair<std::string, int>> NamedTextIds(const std::string& header) {
    static const std::regex id_re(R"(\b(kText\w+)\s*=\s*(\d+)\s*,)");
    std::vector<std::pair<std::string, int>> ids;
    for (std::sregex_iterator it(header.begin(), header.end(), id_re), end; it != end; ++it)
        ids.emplace_back((*it)[1], std::stoi((*it)[2]));
    return ids;
}

TEST(ProgramTextFile, EveryNamedTextExistsInBothLanguages) {
    EXPECT_EQ(NamedTextIds("enum TextId : int {\n    kTextA = 4,  // x\n    kTextB=12,\n"
                           "    kTextC = 7 + 1,\n};"),
              (std::vector<std::pair<std::string, int>>{{"kTextA", 4}, {"kTextB", 12}}));

    const Result<ProgramTextTable> loaded = ProgramTextTable::Load(RealFilePath());
    ASSERT_TRUE(loaded) << loaded.message();
    const ProgramTextTable& t = *loaded;
    const std::filesystem::path src = std::filesystem::path(VEK_SOURCE_DATA_DIR) / ".." / "src";
    const auto ids = NamedTextIds(ReadFile(src / "config" / "text_ids.h"));
    // Every constant of the header is seen (the enum ends in
    // "kTextTimesInZone = 496,").
    ASSERT_GT(ids.size(), 100u);
    EXPECT_EQ(ids.back().first, "kTextTimesInZone");
    EXPECT_EQ(kTextTimesInZone, ids.back().second);
    std::set<int> numbers;
    for (const auto& [name, n] : ids) {
        EXPECT_TRUE(numbers.insert(n).second) << name << " repeats text " << n;
        EXPECT_TRUE(t.Has(n, kEnglish) && t.Has(n, kGerman))
            << name << " names program text " << n << ", which vek.dat lacks in "
            << (t.Has(n, kEnglish) ? "German" : "English")
            << (t.Has(n, kGerman) || t.Has(n, kEnglish) ? "" : " and German");
    }
}

TEST(ProgramTextFile, TheSourcesReachTextsOnlyThroughTheirNames) {
    // A text number made up in the code (a cast to TextId) escapes the check
    // above; runs of texts are reached with TextIdAt from a named first entry.
    const std::filesystem::path src = std::filesystem::path(VEK_SOURCE_DATA_DIR) / ".." / "src";
    ASSERT_TRUE(std::filesystem::is_directory(src));
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        ++files;
        if (entry.path().filename() == "text_ids.h") continue;
        const std::string code = ReadFile(entry.path());
        EXPECT_EQ(code.find("static_cast<TextId>"), std::string::npos)
            << entry.path().filename().string() << " makes up a text number";
        EXPECT_EQ(code.find("TextId("), std::string::npos)
            << entry.path().filename().string() << " makes up a text number";
    }
    EXPECT_GT(files, 20);
}

}  // namespace
}  // namespace vek
