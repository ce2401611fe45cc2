#include "display/file_view.h"

#include <cerrno>

#include "util/files.h"
#include "util/paths.h"
#include "util/utf8.h"

namespace vek {

const char* const kViewerHeadNote =
    "NOTE: This file is too large to display entirely in this textbox.\r\n"
    "To view the entire contents of the file load it into NotePad,\r\n"
    "WordPad or some other text editor.\r\n\r\n";
const char* const kViewerTailNote = "NOTE: Entire contents of file have not been displayed.\r\n";

namespace {

// Byte length of the character at s[i]: its UTF-8 sequence, or 1 for a byte
// that starts none.
std::size_t CharacterBytes(std::string_view s, std::size_t i) {
    const std::size_t n = Utf8SequenceLength(s, i);
    return n == 0 ? 1 : n;
}

// The first `count` characters of s.
std::string FirstCharacters(const std::string& s, int count) {
    std::size_t i = 0;
    for (int c = 0; c < count && i < s.size(); ++c) i += CharacterBytes(s, i);
    return s.substr(0, i);
}

// Text n with [r1] and [r2] filled in one pass, so that a file name holding
// "[r2]" or "^" stays as it is.
std::string WithFileAndReason(const std::string& text, const std::string& file,
                              const std::string& reason) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, 4, "[r1]") == 0) {
            out += file;
            i += 4;
        } else if (text.compare(i, 4, "[r2]") == 0) {
            out += reason;
            i += 4;
        } else {
            out += text[i++];
        }
    }
    return out;
}

}  // namespace

std::string ReadFailureReason(int code, const ProgramTexts& texts) {
    switch (code) {
        case ENOENT:
        case ENOTDIR:
            return texts.ProgramText(kTextFileMissing);
        case EACCES:
        case EPERM:
            return texts.ProgramText(kTextFileAccessDenied);
        case EISDIR:
        case EINVAL:
            return texts.ProgramText(kTextFileNotRegular);
        default:
            return texts.ProgramTextWithValues(kTextFileSystemError,
                                               {std::to_string(code), "", "", "", ""});
    }
}

std::string SettingsUnreadableText(const std::string& path, const Error& error,
                                   std::size_t maxBytes, const ProgramTexts& texts) {
    const std::string reason =
        error.code == EFBIG
            ? texts.ProgramTextWithValues(kTextSettingsTooLarge,
                                          {std::to_string(maxBytes), "", "", "", ""})
            : ReadFailureReason(error.code, texts);
    return WithFileAndReason(texts.ProgramText(kTextSettingsUnreadable), path, reason);
}

int CharacterCount(const std::string& s) {
    int count = 0;
    for (std::size_t i = 0; i < s.size(); i += CharacterBytes(s, i)) ++count;
    return count;
}

std::string ViewerText(const std::string& fileText) {
    if (CharacterCount(fileText) <= kViewerMaxCharacters) return fileText;
    const std::string head = kViewerHeadNote;
    const std::string tail = kViewerTailNote;
    const int kept = kViewerFramedLength - CharacterCount(head) - CharacterCount(tail);
    return head + FirstCharacters(fileText, kept) + "\r\n\r\n" + tail;
}

Result<std::string> ReadViewerFile(const std::string& path, const ProgramTexts& texts) {
    // Four bytes are the widest UTF-8 character: this many bytes always hold
    // more characters than the viewer shows unchanged.
    constexpr std::size_t kBound = 4 * (kViewerMaxCharacters + 1);
    auto head = ReadFileHead(path, kBound);
    if (!head) {
        const int code = head.error().code;
        return Error{WithFileAndReason(texts.ProgramText(kTextFileUnreadable), path,
                                       ReadFailureReason(code, texts)),
                     code};
    }
    if (head->bytes.empty()) {
        return Error{WithFileAndReason(texts.ProgramText(kTextFileEmpty), path, ""),
                     kViewerFileEmpty};
    }
    return std::move(head->bytes);
}

std::string ViewerErrorTitle(const Error& error, const ProgramTexts& texts) {
    return texts.ProgramText(error.code == kViewerFileEmpty ? kTextFileEmptyTitle
                                                            : kTextFileReadErrorTitle);
}

std::string HelpFilePath(const std::string& folder, Language language) {
    return JoinPath(folder, language == kGerman ? "vek_help_de.txt" : "vek_help.txt");
}

}  // namespace vek
