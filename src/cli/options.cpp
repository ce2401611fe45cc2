#include "cli/options.h"

#include <algorithm>
#include <cstdio>

#include "util/text.h"
#include "util/utf8.h"

namespace vek::cli {

std::string Quoted(std::string_view s) {
    constexpr size_t kLongest = 40;  // characters
    std::string out = "'";
    size_t characters = 0;
    size_t i = 0;
    for (; i < s.size() && characters < kLongest; ++characters) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t n = c < 0x80 ? 1 : Utf8SequenceLength(s, i);
        // Control characters (C0, DEL, C1) and bytes that are not UTF-8 would
        // act on the terminal or garble it.
        const bool control = c < 0x20 || c == 0x7F ||
                             (c == 0xC2 && n == 2 && static_cast<unsigned char>(s[i + 1]) < 0xA0);
        if (n == 0 || control) {
            out += '?';
            i += n == 0 ? 1 : n;
        } else {
            out.append(s.substr(i, n));
            i += n;
        }
    }
    if (i < s.size()) out += "\xE2\x80\xA6";  // …
    return out + "'";
}

std::string WithQuotedPath(std::string message, const std::string& path) {
    // A short plain name stays as it is; only what quoting shortens or
    // cleans is replaced.
    const std::string quoted = Quoted(path);
    if (!path.empty() && quoted != "'" + path + "'") ReplaceAll(message, path, quoted);
    return message;
}

std::string Options::Value(const std::string& name, const std::string& fallback) const {
    auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

Status ParseOptions(const std::vector<std::string>& args, const std::set<std::string>& valueNames,
                    const std::set<std::string>& switchNames, Options& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() < 3 || a.compare(0, 2, "--") != 0)
            return Fail("unexpected argument " + Quoted(a));
        std::string name = a.substr(2);
        std::string value;
        const size_t eq = name.find('=');
        const bool inlineValue = eq != std::string::npos;
        if (inlineValue) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (switchNames.count(name)) {
            if (inlineValue) return Fail("option --" + name + " takes no value");
            out.switches.insert(name);
        } else if (valueNames.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) return Fail("option --" + name + " needs a value");
                value = args[++i];
            }
            out.values[name] = value;
        } else {
            std::vector<std::string> known(valueNames.begin(), valueNames.end());
            known.insert(known.end(), switchNames.begin(), switchNames.end());
            const std::string nearest = NearestName(name, known);
            return Fail("unknown option " + Quoted("--" + name) +
                        (nearest.empty() ? "" : "; did you mean '--" + nearest + "'?"));
        }
    }
    return Ok();
}

Status ParseOptions(const std::vector<std::string>& args, const OptionTable& table, Options& out) {
    std::set<std::string> values, switches;
    for (const OptionSpec& o : table) (o.value ? values : switches).insert(o.name);
    return ParseOptions(args, values, switches, out);
}

size_t EditDistance(std::string_view a, std::string_view b) {
    // Optimal string alignment: rows of the table for a's prefixes of length
    // i - 2, i - 1 and i against every prefix of b.
    std::vector<size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[b.size()];
}

std::string NearestName(std::string_view typed, const std::vector<std::string>& candidates) {
    const size_t allowed = typed.size() <= 4 ? 1 : typed.size() <= 8 ? 2 : 3;
    std::string best;
    size_t bestDistance = allowed + 1;
    for (const std::string& c : candidates) {
        const size_t d = EditDistance(typed, c);
        if (d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    if (!best.empty() || typed.size() < 3) return best;
    std::string prefixed;
    for (const std::string& c : candidates) {
        if (c.size() <= typed.size() || c.compare(0, typed.size(), typed) != 0) continue;
        if (!prefixed.empty()) return "";  // more than one: no guess
        prefixed = c;
    }
    return prefixed;
}

Result<Language> ParseLanguage(std::string_view text) {
    if (text == "en") return kEnglish;
    if (text == "de") return kGerman;
    return Fail("language " + Quoted(text) + " is not en or de");
}

int BadArguments(const char* command, const std::string& message) {
    std::fprintf(stderr, "vek-cli %s: %s\n", command, message.c_str());
    return 2;
}

int Failure(const char* command, const std::string& message) {
    // Some messages (a missing vek.dat) hold a line break before the path;
    // on the command line every message stays on one line.
    std::string line = ReplaceAllCopy(message, "\r\n", ": ");
    ReplaceAll(line, "\n", ": ");
    std::fprintf(stderr, "vek-cli %s: %s\n", command, line.c_str());
    return 1;
}

}  // namespace vek::cli
