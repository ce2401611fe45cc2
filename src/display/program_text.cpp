#include "display/program_text.h"

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

int ResultCode(ProgramTextError kind, int line) {
    switch (kind) {
        case ProgramTextError::kNone:
        case ProgramTextError::kNoText:
            return 0;
        case ProgramTextError::kCannotOpen:
            return -1;
        case ProgramTextError::kTooMuch:
            return -3;
        case ProgramTextError::kEmpty:
            return -6;
        case ProgramTextError::kReadError:
            return -7;
        case ProgramTextError::kNoMemory:
            return -8;
        case ProgramTextError::kMissing:
            return -500 - line;
        case ProgramTextError::kTooLong:
            return -1000 - line;
        case ProgramTextError::kDuplicate:
            return -1500 - line;
    }
    return 0;
}

}  // namespace

int ProgramTextTable::Fail(ProgramTextError kind, int line) {
    texts_.clear();
    present_.clear();
    count_ = 0;
    error_ = kind;
    error_line_ = line;
    return ResultCode(kind, line);
}

int ProgramTextTable::Load(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return Fail(ProgramTextError::kCannotOpen, 0);
    std::string content;
    bool read_error = false;
    try {
        char buf[65536];
        for (;;) {
            const size_t got = std::fread(buf, 1, sizeof buf, f);
            content.append(buf, got);
            if (static_cast<long>(content.size()) > kMaxFileBytes) {
                std::fclose(f);
                return Fail(ProgramTextError::kTooMuch, 0);
            }
            if (got < sizeof buf) {
                read_error = std::ferror(f) != 0;
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        std::fclose(f);
        return Fail(ProgramTextError::kNoMemory, 0);
    }
    std::fclose(f);
    if (read_error) return Fail(ProgramTextError::kReadError, 0);
    return LoadFromString(content);
}

int ProgramTextTable::LoadFromString(std::string_view content) {
    texts_.clear();
    present_.clear();
    count_ = 0;
    error_ = ProgramTextError::kNone;
    error_line_ = 0;

    if (content.size() > static_cast<size_t>(kMaxFileBytes)) {
        return Fail(ProgramTextError::kTooMuch, 0);
    }
    // A byte-order mark at the start is allowed and ignored.
    if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
    if (content.empty()) return Fail(ProgramTextError::kEmpty, 0);

    try {
        // First line of each number, to report a number lacking a language.
        std::vector<int> first_line;
        int line_no = 0;
        size_t pos = 0;
        while (pos < content.size()) {
            ++line_no;
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
                    return Fail(ProgramTextError::kMissing, line_no);
                case LineKind::kTooLong:
                    return Fail(ProgramTextError::kTooLong, line_no);
                case LineKind::kEntry:
                    break;
            }
            if (static_cast<size_t>(e.number) >= texts_.size()) {
                texts_.resize(e.number + 1);
                present_.resize(e.number + 1, {false, false});
                first_line.resize(e.number + 1, 0);
            }
            if (present_[e.number][e.language]) {
                return Fail(ProgramTextError::kDuplicate, line_no);
            }
            present_[e.number][e.language] = true;
            texts_[e.number][e.language] = e.text == "~" ? std::string() : std::string(e.text);
            if (first_line[e.number] == 0) first_line[e.number] = line_no;
        }

        int count = 0;
        int missing_line = 0;
        for (size_t n = 0; n < present_.size(); ++n) {
            if (!present_[n][0] && !present_[n][1]) continue;
            if (present_[n][0] && present_[n][1]) {
                ++count;
            } else if (missing_line == 0 || first_line[n] < missing_line) {
                missing_line = first_line[n];
            }
        }
        if (missing_line > 0) return Fail(ProgramTextError::kMissing, missing_line);
        if (count == 0) return Fail(ProgramTextError::kNoText, 0);
        count_ = count;
        return count;
    } catch (const std::bad_alloc&) {
        return Fail(ProgramTextError::kNoMemory, 0);
    }
}

const std::string& ProgramTextTable::Get(int n, int language) const {
    if (!Has(n, language)) return EmptyText();
    return texts_[n][language == 1 ? 1 : 0];
}

bool ProgramTextTable::Has(int n, int language) const {
    if (n < 0 || static_cast<size_t>(n) >= present_.size()) return false;
    return present_[n][language == 1 ? 1 : 0];
}

int ProgramTextTable::Count() const {
    return count_;
}

std::string ProgramTextTable::FailureMessage(const std::string& path) const {
    const std::string line = std::to_string(error_line_);
    switch (error_) {
        case ProgramTextError::kMissing:
            return "Missing string at line " + line + ".";
        case ProgramTextError::kTooLong:
            return "String too long at line " + line + ".";
        case ProgramTextError::kDuplicate:
            return "Duplicate in program text at line " + line + ".";
        case ProgramTextError::kNone:
            return "";
        default:
            return ProgramTextLoadMessage(ResultCode(error_, error_line_), path);
    }
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

namespace {
int g_language = 0;
}  // namespace

ProgramTextTable& GlobalProgramText() {
    static ProgramTextTable table;
    return table;
}

int CurrentLanguage() {
    return g_language;
}
void SetCurrentLanguage(int language) {
    g_language = language;
}

int LoadProgramText(const std::string& folder, std::string* message, const std::string& name) {
    const std::string path = JoinPath(folder, name);
    ProgramTextTable& table = GlobalProgramText();
    const int r = table.Load(path);
    if (r < 1 && message) *message = table.FailureMessage(path);
    return r;
}

const std::string& ProgramText(int n) {
    return GlobalProgramText().Get(n, CurrentLanguage());
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

std::string ProgramTextWithValues(int n, const std::array<std::string, 5>& values) {
    return FillProgramTextValues(ProgramText(n), values);
}

}  // namespace vek
