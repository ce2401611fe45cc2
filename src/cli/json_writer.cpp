#include "cli/json_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "util/utf8.h"

namespace vek::cli {

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

JsonWriter& JsonWriter::BeginDocument() {
    BeginObject();
    return Key("schema_version").Int(kJsonSchemaVersion);
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
    out_ += JsonQuote(JsonLines(s));
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

std::string JsonLines(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const bool lineEnd = s[i] == '\n' || (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n');
        if (!lineEnd) {
            out += s[i];
            continue;
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        out += '\n';
        if (s[i] == '\r') ++i;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
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

}  // namespace vek::cli
