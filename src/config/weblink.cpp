#include "config/weblink.h"

#include "config/text_ids.h"
#include "util/paths.h"

namespace vek {

std::string ManualPagePath(const std::string& folder, Language language) {
    return JoinPath(folder, language == kGerman ? "vek_help_de.html" : "vek_help.html");
}

std::string FileExtensionOf(const std::string& path, bool lower) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return "";
    std::string ext = name.substr(dot + 1);
    if (lower) {
        for (char& c : ext)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return ext;
}

std::string BrowserLaunchErrorText(int code, const std::string& target) {
    std::string text = "Error launching web browser, error code = " + std::to_string(code) + ".";
    switch (code) {
        case kLaunchNoAssociation:
            text += "\n\nFile extension '" + FileExtensionOf(target, true) +
                    "' is not associated with any application program.";
            break;
        case kLaunchOutOfMemory:
            text += "\n\nOut of memory.";
            break;
        case kLaunchFileNotFound:
            text += "\n\nPlease try once more.";
            break;
        default:
            break;
    }
    return text;
}

std::string ManualNotOpenedText(const ProgramTexts& texts, const std::string& page) {
    return texts.ProgramTextWithValues(kTextManualNotOpened, {page, "", "", "", ""});
}

std::string ManualNotOpenedTitle(const ProgramTexts& texts) {
    return texts.ProgramText(kTextManualNotOpenedTitle);
}

}  // namespace vek
