// Helpers shared by the vek-cli commands: option scanning, date-time and
// language arguments, a small JSON writer and loading the data files.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "util/result.h"

namespace vek {
class Engine;
}

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

// The parts of a date-time argument "YYYY-MM-DDTHH:MM" with its zone.
struct DateTimeFields {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int zoneMinutes = 0;  // east of Greenwich
};

// Reads the parts of a date-time argument and checks its shape, the month,
// hour, minute and zone ranges, but not the calendar (the day may lie beyond
// the month's end, the year outside 1..2799).
Result<DateTimeFields> ParseDateTimeFields(std::string_view text);

// Parses "YYYY-MM-DDTHH:MM" followed by "Z" or "+HH:MM" / "-HH:MM" (at most
// 14 hours) into a Julian date in Universal Time. Years 1..2799. A failure
// names what is wrong.
Result<double> ParseDateTime(std::string_view text);

// A command-line argument quoted for a message: in single quotes, control
// characters and bytes that are not UTF-8 shown as '?', and after 40
// characters cut off with an ellipsis. What the user typed can then neither
// act on the terminal nor flood it.
std::string Quoted(std::string_view s);
// The message with every appearance of `path` quoted as above when quoting
// changes it, so that a long or odd file name in it is shortened like any
// other argument; a short plain name stays as it is.
std::string WithQuotedPath(std::string message, const std::string& path);

// "en" → 0 (English), "de" → 1 (German).
Result<int> ParseLanguage(std::string_view text);

// Prints "vek-cli <command>: <message>" on stderr and returns exit status 2.
int BadArguments(const char* command, const std::string& message);
// Same for failures other than bad arguments; returns 1.
int Failure(const char* command, const std::string& message);

// Writes compact JSON. The caller produces a well-formed sequence; the writer
// inserts commas and escapes strings (invalid UTF-8 becomes U+FFFD).
class JsonWriter {
  public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view s);
    // decimals < 0: shortest text that reads back exactly. Non-finite → null.
    JsonWriter& Number(double v, int decimals = -1);
    JsonWriter& Int(long long v);
    JsonWriter& Bool(bool v);
    JsonWriter& Null();
    const std::string& Text() const { return out_; }

  private:
    void BeforeValue();
    std::string out_;
    std::vector<bool> first_;  // per open container: nothing written yet
    bool afterKey_ = false;
};

// A string as a JSON string literal, quotes included.
std::string JsonQuote(std::string_view s);

// Starts the engine on the program folder and loads its Pluto table. A
// failure carries the message to show.
Status StartEngine(Engine& engine);

}  // namespace vek::cli
