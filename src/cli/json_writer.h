// The JSON output of vek-cli: a small writer of compact JSON.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vek::cli {

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

}  // namespace vek::cli
