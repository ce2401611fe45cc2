// The JSON output of vek-cli: a small writer of compact JSON.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vek::cli {

// The version of the JSON output's layout, the first field of every
// command's document. It grows when a field is renamed, removed or changes
// its meaning; added fields leave it alone.
inline constexpr int kJsonSchemaVersion = 1;

// Writes compact JSON. The caller produces a well-formed sequence; the writer
// inserts commas and escapes strings (invalid UTF-8 becomes U+FFFD). String
// values have LF line ends and no blanks at the end of a line (see
// JsonLines): the program's texts carry the window's CR LF and padding.
class JsonWriter {
  public:
    // The top-level object of a command's output, opened with its
    // "schema_version".
    JsonWriter& BeginDocument();
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

// A text with every CR LF as LF and the blanks before each line end and at
// its end removed.
std::string JsonLines(std::string_view s);

// A string as a JSON string literal, quotes included.
std::string JsonQuote(std::string_view s);

}  // namespace vek::cli
