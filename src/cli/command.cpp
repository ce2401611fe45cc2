#include "cli/command.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "display/version.h"
#include "engine/engine.h"
#include "util/paths.h"

namespace vek::cli {

namespace {

constexpr size_t kWidth = 79;         // columns of the help text
constexpr size_t kOptionColumn = 22;  // where the meaning of an option begins

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

std::vector<std::string> Split(const std::string& text, char at) {
    std::vector<std::string> parts;
    size_t begin = 0;
    for (size_t end; (end = text.find(at, begin)) != std::string::npos; begin = end + 1)
        parts.push_back(text.substr(begin, end - begin));
    parts.push_back(text.substr(begin));
    return parts;
}

// The words of a text; with `keepBrackets` what stands in [...] counts as
// one word, so a usage line is not broken inside an optional part.
std::vector<std::string> Words(const std::string& text, bool keepBrackets) {
    std::vector<std::string> words(1);
    int depth = 0;
    for (char c : text) {
        if (c == '[') ++depth;
        if (c == ']') --depth;
        if (c == ' ' && (!keepBrackets || depth <= 0))
            words.emplace_back();
        else
            words.back() += c;
    }
    return words;
}

// Words of `text` in lines of at most kWidth columns: the first after
// `first` (already that wide), the others indented by `indent` blanks. A word
// longer than a line stays whole.
std::string Wrap(const std::string& text, size_t first, size_t indent, bool keepBrackets = false) {
    std::string out;
    size_t column = first;
    bool lineEmpty = true;
    for (const std::string& word : Words(text, keepBrackets)) {
        if (word.empty()) continue;
        if (!lineEmpty && column + 1 + word.size() > kWidth) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        lineEmpty = false;
    }
    return out;
}

// An example command line, broken before an option with " \" when it is too
// long for one line, the following lines indented further.
std::string ExampleLines(const std::string& example) {
    const std::string indent = "  ";
    const std::string more = "      ";
    std::string out = indent + "vek-cli";
    size_t column = out.size();
    size_t begin = 0;
    while (begin < example.size()) {
        size_t end = example.find(" --", begin + 1);
        if (end == std::string::npos) end = example.size();
        const std::string piece = example.substr(begin, end - begin);  // " --opt value"
        const std::string word = piece[0] == ' ' ? piece : " " + piece;
        if (column + word.size() + 2 > kWidth && column > indent.size() + 7) {
            out += " \\\n" + more + word.substr(1);
            column = more.size() + word.size() - 1;
        } else {
            out += word;
            column += word.size();
        }
        begin = end;
    }
    return out + "\n";
}

std::string OptionLines(const OptionSpec& o) {
    std::string head = std::string("  --") + o.name;
    if (o.value) head += std::string(" ") + o.value;
    if (head.size() + 2 > kOptionColumn) {
        head += "\n" + std::string(kOptionColumn, ' ');
    } else {
        head.resize(kOptionColumn, ' ');
    }
    return head + Wrap(o.help, kOptionColumn, kOptionColumn) + "\n";
}

const Command* FindCommand(const std::string& name) {
    for (const Command& c : Registry())
        if (name == c.name) return &c;
    return nullptr;
}

int UnknownCommand(const std::string& name) {
    std::vector<std::string> names;
    for (const Command& c : Registry()) names.push_back(c.name);
    const std::string nearest = NearestName(name, names);
    std::fprintf(stderr, "vek-cli: unknown command %s%s (try 'vek-cli help')\n",
                 Quoted(name).c_str(),
                 nearest.empty() ? "" : ("; did you mean '" + nearest + "'?").c_str());
    return 2;
}

}  // namespace

bool RegisterCommand(const Command& c) {
    Registry().push_back(c);
    return true;
}

std::vector<Command> Commands() {
    std::vector<Command> sorted = Registry();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    return sorted;
}

std::string CommandHelpText(const Command& c) {
    const CommandHelp& h = *c.help;
    std::string out;
    bool first = true;
    for (const std::string& line : Split(h.usage, '\n')) {
        const std::string lead = first ? "usage: vek-cli " : "       vek-cli ";
        // Continuation lines begin under the command's first option.
        const size_t indent = lead.size() + std::strlen(c.name) + 1;
        out += lead + Wrap(line, lead.size(), indent, true) + "\n";
        first = false;
    }
    for (const std::string& paragraph : Split(h.description, '\n'))
        out += "\n" + Wrap(paragraph, 0, 0) + "\n";
    bool anyOption = false;
    for (const OptionSpec& o : *h.options) {
        if (!o.help) continue;
        if (!anyOption) out += "\nOptions:\n";
        anyOption = true;
        out += OptionLines(o);
    }
    out += "\nExamples:\n";
    for (const char* e : h.examples) out += ExampleLines(e);
    return out;
}

std::string OverviewText() {
    std::string out =
        "usage: vek-cli COMMAND [options]\n"
        "       vek-cli COMMAND --help   (or: vek-cli help COMMAND)\n"
        "       vek-cli --version\n"
        "\n"
        "Commands:\n";
    size_t width = 0;
    for (const Command& c : Commands()) width = std::max(width, std::strlen(c.name));
    for (const Command& c : Commands()) {
        std::string line = std::string("  ") + c.name;
        line.resize(width + 5, ' ');
        out += line + Wrap(c.help->summary, line.size(), line.size()) + "\n";
    }
    out += "\n" +
           Wrap(
               "A date T is written YYYY-MM-DDTHH:MM followed by its zone: Z for Universal "
               "Time or +HH:MM / -HH:MM east or west of Greenwich, e.g. "
               "2026-12-08T14:30+01:00.",
               0, 0) +
           "\n" + Wrap("'vek-cli COMMAND --help' shows a command's options and examples.", 0, 0) +
           "\n";
    return out;
}

int RunCommandLine(const std::vector<std::string>& args) {
    if (args.empty()) {
        // A bare call is most likely a slip: the usage and where to read on,
        // not the whole overview.
        std::fputs("usage: vek-cli COMMAND [options]; 'vek-cli help' lists the commands\n",
                   stderr);
        return 2;
    }
    const std::string& name = args[0];
    if (name == "--version") {
        if (args.size() > 1) {
            std::fprintf(stderr, "vek-cli --version: unexpected argument %s\n",
                         Quoted(args[1]).c_str());
            return 2;
        }
        std::fputs(VersionReport("vek-cli", ProgramFolder()).c_str(), stdout);
        return 0;
    }
    if (name == "help" || name == "--help" || name == "-h") {
        if (args.size() < 2 || args[1] == "--help" || args[1] == "-h") {
            std::fputs(OverviewText().c_str(), stdout);
            return 0;
        }
        const Command* c = FindCommand(args[1]);
        if (!c) return UnknownCommand(args[1]);
        if (args.size() > 2) {
            std::fprintf(stderr, "vek-cli help: unexpected argument %s\n", Quoted(args[2]).c_str());
            return 2;
        }
        std::fputs(CommandHelpText(*c).c_str(), stdout);
        return 0;
    }
    const Command* c = FindCommand(name);
    if (!c) return UnknownCommand(name);
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            std::fputs(CommandHelpText(*c).c_str(), stdout);
            return 0;
        }
    }
    return c->run(std::vector<std::string>(args.begin() + 1, args.end()));
}

Status StartEngine(Engine& engine) {
    engine.Initialize(ProgramFolder());
    const Status pluto = engine.LoadPlutoTable();
    if (!pluto)
        return Fail("cannot load the Pluto table " + JoinPath(engine.DataFolder(), "pluto.slx") +
                    ": " + pluto.message());
    return Ok();
}

}  // namespace vek::cli
