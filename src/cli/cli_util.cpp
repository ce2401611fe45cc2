#include "cli/cli_util.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "engine/engine.h"
#include "platform/calendar.h"
#include "util/paths.h"
#include "util/text.h"
#include "util/utf8.h"

namespace vek::cli {

namespace {

constexpr const char* kDateTimeExample = "2026-12-08T14:30+01:00";
constexpr int kMaxZoneMinutes = 14 * 60;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads `count` digits at text[pos]; false when any is not a digit.
bool ReadDigits(std::string_view text, size_t pos, size_t count, int& value) {
    if (pos + count > text.size()) return false;
    value = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (!IsDigit(text[i])) return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

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

Result<DateTimeFields> ParseDateTimeFields(std::string_view text) {
    const std::string shape = Quoted(text) + " is not a date and time like " + kDateTimeExample +
                              " (zone Z or +HH:MM / -HH:MM)";
    if (text.empty())
        return Fail(std::string("no date and time given; expected e.g. ") + kDateTimeExample);
    DateTimeFields f;
    if (text.size() < 17 || !ReadDigits(text, 0, 4, f.year) || text[4] != '-' ||
        !ReadDigits(text, 5, 2, f.month) || text[7] != '-' || !ReadDigits(text, 8, 2, f.day) ||
        text[10] != 'T' || !ReadDigits(text, 11, 2, f.hour) || text[13] != ':' ||
        !ReadDigits(text, 14, 2, f.minute))
        return Fail(shape);
    std::string_view zone = text.substr(16);
    if (zone != "Z") {
        int zh, zm;
        if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || !ReadDigits(zone, 1, 2, zh) ||
            zone[3] != ':' || !ReadDigits(zone, 4, 2, zm))
            return Fail(shape);
        if (zm > 59 || zh * 60 + zm > kMaxZoneMinutes)
            return Fail("zone offset " + std::string(zone) + " is outside -14:00..+14:00");
        f.zoneMinutes = (zone[0] == '-' ? -1 : 1) * (zh * 60 + zm);
    }
    if (f.month < 1 || f.month > 12)
        return Fail("month " + std::to_string(f.month) + " does not exist");
    if (f.hour > 23) return Fail("hour " + std::to_string(f.hour) + " is outside 00..23");
    if (f.minute > 59) return Fail("minute " + std::to_string(f.minute) + " is outside 00..59");
    return f;
}

Result<double> ParseDateTime(std::string_view text) {
    const Result<DateTimeFields> fields = ParseDateTimeFields(text);
    if (!fields) return fields.error();
    const DateTimeFields& f = *fields;
    if (f.year < 1 || f.year > 2799)
        return Fail("year " + std::to_string(f.year) + " is outside 1..2799");
    platform::CalendarDate d;
    d.year = f.year;
    d.month = f.month;
    d.day = f.day;
    const int32_t dayNumber = platform::date_to_jdn(d);
    if (!d.valid) return Fail(Quoted(text.substr(0, 10)) + " is not a date");
    // The day number counts from noon; local midnight is half a day earlier.
    // Whole minutes first and one division last, as the date rows do: the
    // same instant gives the same Julian date in every zone.
    const int64_t minutes =
        static_cast<int64_t>(dayNumber) * 1440 - 720 + f.hour * 60 + f.minute - f.zoneMinutes;
    return static_cast<double>(minutes) / 1440.0;
}

Result<int> ParseLanguage(std::string_view text) {
    if (text == "en") return 0;
    if (text == "de") return 1;
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

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) out_ += ',';
        first_.back() = false;
    }
}

JsonWriter& JsonWriter::BeginObject() {
    BeforeValue();
    out_ += '{';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    out_ += '}';
    if (!first_.empty()) first_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    BeforeValue();
    out_ += '[';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    out_ += ']';
    if (!first_.empty()) first_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    BeforeValue();
    out_ += JsonQuote(key);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view s) {
    BeforeValue();
    out_ += JsonQuote(s);
    return *this;
}

JsonWriter& JsonWriter::Number(double v, int decimals) {
    BeforeValue();
    if (!std::isfinite(v)) {
        out_ += "null";
        return *this;
    }
    char buf[64];
    if (decimals >= 0) {
        std::snprintf(buf, sizeof buf, "%.*f", decimals > 17 ? 17 : decimals, v);
    } else {
        std::snprintf(buf, sizeof buf, "%.17g", v);
        // Prefer the shortest form that reads back as the same value.
        for (int p = 1; p < 17; ++p) {
            char shorter[64];
            std::snprintf(shorter, sizeof shorter, "%.*g", p, v);
            if (std::strtod(shorter, nullptr) == v) {
                std::snprintf(buf, sizeof buf, "%s", shorter);
                break;
            }
        }
    }
    out_ += buf;
    return *this;
}

JsonWriter& JsonWriter::Int(long long v) {
    BeforeValue();
    out_ += std::to_string(v);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool v) {
    BeforeValue();
    out_ += v ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
    return *this;
}

std::string JsonQuote(std::string_view s) {
    std::string out = "\"";
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) {
            const size_t n = Utf8SequenceLength(s, i);
            if (n == 0) {
                out += "\xEF\xBF\xBD";  // U+FFFD for a byte that is not UTF-8
                ++i;
            } else {
                out.append(s.substr(i, n));
                i += n;
            }
            continue;
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
        ++i;
    }
    return out + "\"";
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
