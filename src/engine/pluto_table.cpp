#include "engine/pluto_table.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "engine/vek_types.h"

namespace vek {
namespace {

constexpr int kMinutesPerCircle = 360 * 60;
// A complete table is under a megabyte even with CR LF and some blanks.
constexpr std::uintmax_t kMaxFileSize = 64u << 20;
// Pluto never moves more than three arc minutes a day; a step of more than two
// degrees between two lines means lost, doubled or damaged lines.
constexpr int kMaxDailyStep = 120;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

Error LineError(long lineNumber, const char* what) {
    return Fail("Pluto table, line " + std::to_string(lineNumber) + ": " + what);
}

// Shortest distance between two longitudes in arc minutes.
int StepBetween(int a, int b) {
    int d = a > b ? a - b : b - a;
    return d > kMinutesPerCircle / 2 ? kMinutesPerCircle - d : d;
}

}  // namespace

Status PlutoTable::Load(const std::string& path) {
    minutes_.clear();
    maxStep_ = 0;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return Fail("Pluto table " + path + " does not exist or is not a file");
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return Fail("Pluto table " + path + " cannot be read");
    if (size > kMaxFileSize) return Fail("Pluto table " + path + " is far too large");
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> f(std::fopen(path.c_str(), "rb"));
    if (!f) return Fail("Pluto table " + path + " cannot be opened");
    // The whole file in one read; parsing then works on the buffer.
    std::string content(static_cast<std::size_t>(size), '\0');
    if (std::fread(content.data(), 1, content.size(), f.get()) != content.size()) {
        return Fail("Pluto table " + path + " cannot be read");
    }
    return LoadFromString(content);
}

Status PlutoTable::LoadFromString(const std::string& content) {
    minutes_.clear();
    maxStep_ = 0;
    int maxStep = 0;
    std::vector<uint16_t> table;
    // Every line is at least three characters and a line end.
    table.reserve(content.size() / 4 + 1);

    const char* p = content.data();
    const char* const end = p + content.size();
    // A byte-order mark in front of the first line is not part of it.
    if (content.size() >= 3 && content.compare(0, 3, "\xEF\xBB\xBF") == 0) p += 3;
    long lineNumber = 0;
    while (p < end) {
        ++lineNumber;
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\n') ++lineEnd;
        const char* a = p;
        const char* b = lineEnd;
        p = lineEnd < end ? lineEnd + 1 : end;
        while (a < b && IsBlank(*a)) ++a;
        while (b > a && IsBlank(b[-1])) --b;
        if (a == b) continue;
        if (b - a < 3) return LineError(lineNumber, "too short (three characters are needed)");

        const int k = static_cast<int>(table.size());
        const int hi = static_cast<unsigned char>(a[0]) - 58 - k % 55;
        const int degrees = static_cast<unsigned char>(a[1]) - 59;
        const int minutes = static_cast<unsigned char>(a[2]) - 60;
        if (hi < 0 || hi > 5) return LineError(lineNumber, "first character out of range");
        if (degrees < 0 || degrees > 59) return LineError(lineNumber, "degrees out of range");
        if (minutes < 0 || minutes > 59) return LineError(lineNumber, "minutes out of range");
        const int value = (hi * 60 + degrees) * 60 + minutes;  // below 360° by construction
        if (k > 0) {
            const int step = StepBetween(table.back(), value);
            if (step > kMaxDailyStep)
                return LineError(lineNumber, "jumps by more than two degrees from the day before");
            if (step > maxStep) maxStep = step;
        }
        table.push_back(static_cast<uint16_t>(value));
    }
    if (table.empty()) return Fail("Pluto table is empty");
    if (static_cast<long>(table.size()) < kRequiredLines) {
        return Fail("Pluto table has " + std::to_string(table.size()) + " lines, " +
                    std::to_string(kRequiredLines) + " are needed");
    }
    minutes_ = std::move(table);
    maxStep_ = maxStep;
    return Ok();
}

double PlutoTable::MaxDailyMotion() const {
    // Between two lines the longitude moves linearly by their step, taken the
    // short way round as LongitudeAt takes it.
    return maxStep_ / 60.0 / 360.0 * kTwoPi;
}

SkyLongitude PlutoTable::LongitudeAt(double jd) const {
    if (!IsLoaded() || !std::isfinite(jd)) return SkyLongitude::Missing(NoPosition::Failed);
    const double d = jd + 0.5;
    const double n = std::floor(d);
    if (n < kFirstDay) return SkyLongitude::Missing(NoPosition::BeforeData);
    if (n > kLastDay) return SkyLongitude::Missing(NoPosition::AfterData);
    const std::size_t i = static_cast<std::size_t>(n - kFirstDay);
    // A complete table always has the line.
    if (i + 1 >= minutes_.size()) return SkyLongitude::Missing(NoPosition::Failed);
    double l0 = minutes_[i] / 60.0;
    double l1 = minutes_[i + 1] / 60.0;
    // Across 0° Aries one of the two values is taken a full circle further.
    if (l1 - l0 > 355) {
        l0 += 360;
    } else if (l0 - l1 > 355) {
        l1 += 360;
    }
    double l = l0 + (d - n) * (l1 - l0);
    if (l >= 360) l -= 360;
    return SkyLongitude(l / 360 * kTwoPi);
}

}  // namespace vek
