// vek-cli text N [--lang en|de]: prints one program text, so translators can
// check their wording in vek.dat.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "config/program_text.h"
#include "util/paths.h"

namespace {

// Parses a text number: digits only, 1..kMaxProgramTextNumber.
bool ParseTextNumber(const std::string& s, int& n) {
    if (s.empty() || s.size() > 4) return false;
    n = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    return n >= 1 && n <= vek::kMaxProgramTextNumber;
}

const vek::cli::OptionTable kOptions = {
    {"lang", "en|de", "the language of the text (default: en)"},
};

const vek::cli::CommandHelp kHelp = {
    "print one program text of vek.dat",
    "text N [--lang en|de]",
    "Prints program text number N (1 to 9999) of vek.dat in one language, as the windows show "
    "it, so translators can check their wording. A text the file does not hold is an error.",
    &kOptions,
    {"text 153", "text 153 --lang de"},
};

int RunText(const std::vector<std::string>& args) {
    std::string number;
    vek::Language language = vek::kEnglish;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string lang;
        if (a == "--lang" && i + 1 < args.size()) {
            lang = args[++i];
        } else if (a.rfind("--lang=", 0) == 0) {
            lang = a.substr(7);
        } else if (number.empty() && !a.empty() && a[0] != '-') {
            number = a;
            continue;
        } else {
            // A misspelt --lang gets its name suggested.
            const std::string name = a.rfind("--", 0) == 0 ? a.substr(2, a.find('=') - 2) : "";
            const std::string nearest =
                name.empty() || name == "lang" ? "" : vek::cli::NearestName(name, {"lang"});
            std::fprintf(stderr, "vek-cli text: unexpected argument %s%s\n",
                         vek::cli::Quoted(a).c_str(),
                         nearest.empty() ? "" : "; did you mean '--lang'?");
            return 2;
        }
        if (lang == "en") {
            language = vek::kEnglish;
        } else if (lang == "de") {
            language = vek::kGerman;
        } else {
            std::fprintf(stderr, "vek-cli text: unknown language %s (use en or de)\n",
                         vek::cli::Quoted(lang).c_str());
            return 2;
        }
    }
    int n = 0;
    if (!ParseTextNumber(number, n)) {
        std::fprintf(stderr, "vek-cli text: %s is not a text number (1 to %d)\n",
                     vek::cli::Quoted(number).c_str(), vek::kMaxProgramTextNumber);
        return 2;
    }

    const vek::Result<vek::ProgramTextTable> loaded = vek::LoadProgramText(vek::ProgramFolder());
    if (!loaded) {
        // The message may hold a line break before the path; keep it on one line.
        std::string message = loaded.message();
        for (size_t at; (at = message.find("\r\n")) != std::string::npos;)
            message.replace(at, 2, ": ");
        std::fprintf(stderr, "vek-cli text: %s\n", message.c_str());
        return 2;
    }
    const vek::ProgramTextTable& table = *loaded;
    if (!table.Has(n, language)) {
        std::fprintf(stderr, "vek-cli text: vek.dat has no text %d\n", n);
        return 2;
    }
    std::printf("%s\n", table.Get(n, language).c_str());
    return 0;
}

}  // namespace

VEK_CLI_COMMAND(text, "text", kHelp, RunText);
