#include "config/program_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <new>

#include "util/paths.h"
#include "util/text.h"
#include "util/utf8.h"

namespace vek {

namespace {

// A program-text file is a few hundred kilobytes at most; anything beyond
// this is not one and is refused before it is read.
constexpr long kMaxFileBytes = 16L * 1024 * 1024;

const std::string& EmptyText() {
    static const std::string empty;
    return empty;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Number of code points in `s` when it is well-formed UTF-8 without control
// characters other than tab, else −1.
int CountCharacters(std::string_view s) {
    int chars = 0;
    for (size_t i = 0; i < s.size(); ++chars) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7f) return -1;
        // C1 control characters, U+0080 to U+009F.
        if (c == 0xc2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) < 0xa0) return -1;
        const size_t len = Utf8SequenceLength(s, i);
        if (len == 0) return -1;
        i += len;
    }
    return chars;
}

enum class LineKind { kSkip, kEntry, kMalformed, kTooLong };

struct Entry {
    int number = 0;
    int language = 0;
    std::string_view text;
};

// Reads one line (without its line end). Comments start with "#", blank
// lines are skipped; an entry is "<number> <en|de>: <text>".
LineKind ParseLine(std::string_view line, Entry& e) {
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size() || line[i] == '#') return LineKind::kSkip;

    int number = 0;
    size_t digits = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
        if (++digits > 4) return LineKind::kMalformed;
        number = number * 10 + (line[i] - '0');
        ++i;
    }
    if (digits == 0 || number < 1 || number > kMaxProgramTextNumber) return LineKind::kMalformed;

    size_t blanks = 0;
    while (i < line.size() && IsBlank(line[i])) {
        ++i;
        ++blanks;
    }
    if (blanks == 0 || line.size() - i < 3) return LineKind::kMalformed;
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    const char a = lower(line[i]), b = lower(line[i + 1]);
    if (a == 'e' && b == 'n') {
        e.language = 0;
    } else if (a == 'd' && b == 'e') {
        e.language = 1;
    } else {
        return LineKind::kMalformed;
    }
    i += 2;
    if (line[i] != ':') return LineKind::kMalformed;
    ++i;
    // One blank separates the colon from the text; any further blanks belong
    // to the text.
    if (i < line.size() && line[i] == ' ') ++i;
    e.number = number;
    e.text = line.substr(i);
    if (e.text.empty()) return LineKind::kMalformed;
    const int chars = CountCharacters(e.text);
    if (chars < 0) return LineKind::kMalformed;
    if (chars > kMaxProgramTextLength) return LineKind::kTooLong;
    return LineKind::kEntry;
}

}  // namespace

namespace {

// What went wrong in a load.
enum class LoadFault {
    kNoText,      // the file holds no text at all (result 0)
    kCannotOpen,  // −1
    kNotAFile,    // −1: a folder, pipe or device rather than a regular file
    kTooMuch,     // −3: the file is larger than any program-text file can be
    kEmpty,       // −6
    kReadError,   // −7
    kNoMemory,    // −8
    kMissing,    // −500−line: a line without a well-formed text, or a number lacking a language
    kTooLong,    // −1000−line: a text longer than kMaxProgramTextLength characters
    kDuplicate,  // −1500−line: a number and language given a second time
};

int ResultCode(LoadFault kind, int line) {
    switch (kind) {
        case LoadFault::kNoText:
            return 0;
        case LoadFault::kCannotOpen:
        case LoadFault::kNotAFile:
            return -1;
        case LoadFault::kTooMuch:
            return -3;
        case LoadFault::kEmpty:
            return -6;
        case LoadFault::kReadError:
            return -7;
        case LoadFault::kNoMemory:
            return -8;
        case LoadFault::kMissing:
            return -500 - line;
        case LoadFault::kTooLong:
            return -1000 - line;
        case LoadFault::kDuplicate:
            return -1500 - line;
    }
    return 0;
}

// The failure of a load: the message keeps kind and line apart, which the
// result code cannot once the line passes 499.
Error Fault(LoadFault kind, int line, const std::string& path = "") {
    const int code = ResultCode(kind, line);
    const std::string at = std::to_string(line);
    switch (kind) {
        case LoadFault::kMissing:
            return Fail("Missing string at line " + at + ".", code);
        case LoadFault::kTooLong:
            return Fail("String too long at line " + at + ".", code);
        case LoadFault::kDuplicate:
            return Fail("Duplicate in program text at line " + at + ".", code);
        case LoadFault::kNotAFile:
            return Fail("The program text " + path + " is not a regular file.", code);
        default:
            return Fail(ProgramTextLoadMessage(code, path), code);
    }
}

// Reads a whole regular file. The file is opened without waiting, so that a
// pipe or device under the name fails at once instead of blocking the
// program; anything but a regular file is refused before a byte is read.
Result<std::string> ReadRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Fault(LoadFault::kCannotOpen, 0, path);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Fault(LoadFault::kNotAFile, 0, path);
    }
    if (st.st_size > kMaxFileBytes) {
        ::close(fd);
        return Fault(LoadFault::kTooMuch, 0);
    }
    std::string content;
    try {
        char buf[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buf, sizeof buf);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                ::close(fd);
                return Fault(LoadFault::kReadError, 0);
            }
            if (got == 0) break;
            content.append(buf, static_cast<size_t>(got));
            // The file may grow while it is read.
            if (static_cast<long>(content.size()) > kMaxFileBytes) {
                ::close(fd);
                return Fault(LoadFault::kTooMuch, 0);
            }
        }
    } catch (const std::bad_alloc&) {
        ::close(fd);
        return Fault(LoadFault::kNoMemory, 0);
    }
    ::close(fd);
    return content;
}

// Takes every line of `content` into the rows of its number and language,
// with the first line of each number in `firstLine`; fails at a malformed,
// too long or duplicate line.
Status ReadEntries(std::string_view content, std::vector<std::array<std::string, 2>>& texts,
                   std::vector<std::array<bool, 2>>& present, std::vector<int>& firstLine) {
    int lineNo = 0;
    size_t pos = 0;
    while (pos < content.size()) {
        ++lineNo;
        size_t end = content.find('\n', pos);
        if (end == std::string_view::npos) end = content.size();
        std::string_view line = content.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        Entry e;
        switch (ParseLine(line, e)) {
            case LineKind::kSkip:
                continue;
            case LineKind::kMalformed:
                return Fault(LoadFault::kMissing, lineNo);
            case LineKind::kTooLong:
                return Fault(LoadFault::kTooLong, lineNo);
            case LineKind::kEntry:
                break;
        }
        if (static_cast<size_t>(e.number) >= texts.size()) {
            texts.resize(e.number + 1);
            present.resize(e.number + 1, {false, false});
            firstLine.resize(e.number + 1, 0);
        }
        if (present[e.number][e.language]) return Fault(LoadFault::kDuplicate, lineNo);
        present[e.number][e.language] = true;
        texts[e.number][e.language] = e.text == "~" ? std::string() : std::string(e.text);
        if (firstLine[e.number] == 0) firstLine[e.number] = lineNo;
    }
    return Ok();
}

// How many numbers have both languages; fails at the first line of the
// earliest number that lacks one, or when no number has both.
Result<int> CountCompleteNumbers(const std::vector<std::array<bool, 2>>& present,
                                 const std::vector<int>& firstLine) {
    int count = 0;
    int missingLine = 0;
    for (size_t n = 0; n < present.size(); ++n) {
        if (!present[n][0] && !present[n][1]) continue;
        if (present[n][0] && present[n][1]) {
            ++count;
        } else if (missingLine == 0 || firstLine[n] < missingLine) {
            missingLine = firstLine[n];
        }
    }
    if (missingLine > 0) return Fault(LoadFault::kMissing, missingLine);
    if (count == 0) return Fault(LoadFault::kNoText, 0);
    return count;
}

}  // namespace

Result<ProgramTextTable> ProgramTextTable::Load(const std::string& path) {
    Result<std::string> content = ReadRegularFile(path);
    if (!content) return content.error();
    return Parse(*content);
}

Result<ProgramTextTable> ProgramTextTable::Parse(std::string_view content) {
    if (content.size() > static_cast<size_t>(kMaxFileBytes)) return Fault(LoadFault::kTooMuch, 0);
    // A byte-order mark at the start is allowed and ignored.
    if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
    if (content.empty()) return Fault(LoadFault::kEmpty, 0);

    try {
        ProgramTextTable table;
        // First line of each number, to report a number lacking a language.
        std::vector<int> firstLine;
        const Status read = ReadEntries(content, table.texts_, table.present_, firstLine);
        if (!read) return read.error();
        const Result<int> count = CountCompleteNumbers(table.present_, firstLine);
        if (!count) return count.error();
        table.count_ = *count;
        return table;
    } catch (const std::bad_alloc&) {
        return Fault(LoadFault::kNoMemory, 0);
    }
}

const std::string& ProgramTextTable::Get(int n, Language language) const {
    if (!Has(n, language)) return EmptyText();
    return texts_[n][Index(language)];
}

bool ProgramTextTable::Has(int n, Language language) const {
    if (n < 0 || static_cast<size_t>(n) >= present_.size()) return false;
    return present_[n][Index(language)];
}

std::string ProgramTextLoadMessage(int r, const std::string& path) {
    switch (r) {
        case 0:
            return "No program text was read.";
        case -1:
            return "Cannot open file containing program text.\r\n" + path;
        case -2:
            return "Particular memory allocation error.";
        case -3:
            return "Too much program text.";
        case -4:
            return "Text not recovered.";
        case -6:
            return "File is empty.";
        case -7:
            return "Error reading file.";
        case -8:
            return "General memory allocation error.";
        default:
            break;
    }
    if (r < -1500) return "Duplicate in program text at line " + std::to_string(-r - 1500) + ".";
    if (r <= -1001) return "String too long at line " + std::to_string(-r - 1000) + ".";
    if (r <= -501) return "Missing string at line " + std::to_string(-r - 500) + ".";
    return "Error " + std::to_string(r);
}

Result<ProgramTextTable> LoadProgramText(const std::string& folder, const std::string& name) {
    return ProgramTextTable::Load(JoinPath(folder, name));
}

const std::string& ProgramTexts::ProgramText(TextId n) const {
    return table_ ? table_->Get(n, language_) : EmptyText();
}

std::string ProgramTexts::ProgramTextWithValues(TextId n,
                                                const std::array<std::string, 5>& values) const {
    return FillProgramTextValues(ProgramText(n), values);
}

ProgramTexts ProgramTexts::InLanguage(Language language) const {
    ProgramTexts t = *this;
    t.language_ = language;
    return t;
}

std::string FillProgramTextValues(std::string text, const std::array<std::string, 5>& values) {
    if (text.find('^') == std::string::npos && text.find("[r") == std::string::npos) return text;
    ReplaceAll(text, "[r1]", values[0]);
    for (int k = 1; k < 5 && !values[k].empty(); ++k) {
        const std::string placeholder = "[r" + std::to_string(k + 1) + "]";
        ReplaceAll(text, placeholder, values[k]);
    }
    ReplaceAll(text, "^", "\r\n");
    return text;
}

}  // namespace vek
