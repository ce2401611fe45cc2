// Option scanning shared by the vek-cli commands: options and their tables,
// the nearest name for a misspelt one, the language argument, quoting an
// argument for a message and the messages of a failed command.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/vek_types.h"
#include "util/result.h"

namespace vek::cli {

// Options of one command: "--name value" / "--name=value" for value options,
// "--name" for switches. Anything else is an error.
struct Options {
    std::map<std::string, std::string> values;
    std::set<std::string> switches;

    bool Has(const std::string& name) const { return switches.count(name) || values.count(name); }
    // The value of an option, or `fallback` when it was not given.
    std::string Value(const std::string& name, const std::string& fallback = "") const;
};

// One option of a command: "--name VALUE" when `value` is set, a switch
// "--name" when it is null. A command's table of them drives both the check
// of its arguments and its help.
struct OptionSpec {
    const char* name;   // without the leading "--"
    const char* value;  // the value's placeholder in the help ("T", "FILE"); null: a switch
    const char* help;   // meaning and default; null: accepted but not shown in the help
};
using OptionTable = std::vector<OptionSpec>;

// Scans args against the allowed names (without the leading "--"); a failure
// names the argument that does not fit, and for an unknown option the
// nearest allowed one when it is close.
Status ParseOptions(const std::vector<std::string>& args, const std::set<std::string>& valueNames,
                    const std::set<std::string>& switchNames, Options& out);
// The same against a command's table of options.
Status ParseOptions(const std::vector<std::string>& args, const OptionTable& table, Options& out);

// The number of single-character insertions, deletions, substitutions and
// swaps of neighbours that turn a into b.
size_t EditDistance(std::string_view a, std::string_view b);

// The candidate that `typed` most likely misspells: the nearest by edit
// distance when it is close for the length of the word (one edit up to four
// characters, two up to eight, three beyond), else the one candidate that
// starts with at least three characters of `typed`. Empty when none fits.
std::string NearestName(std::string_view typed, const std::vector<std::string>& candidates);

// A command-line argument quoted for a message: in single quotes, control
// characters and bytes that are not UTF-8 shown as '?', and after 40
// characters cut off with an ellipsis. What the user typed can then neither
// act on the terminal nor flood it.
std::string Quoted(std::string_view s);
// The message with every appearance of `path` quoted as above when quoting
// changes it, so that a long or odd file name in it is shortened like any
// other argument; a short plain name stays as it is.
std::string WithQuotedPath(std::string message, const std::string& path);

// "en" → English, "de" → German.
Result<Language> ParseLanguage(std::string_view text);

// Prints "vek-cli <command>: <message>" on stderr and returns exit status 2.
int BadArguments(const char* command, const std::string& message);
// Same for failures other than bad arguments; returns 1.
int Failure(const char* command, const std::string& message);

}  // namespace vek::cli
