#include "time/atlas.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>

#include "util/files.h"
#include "util/paths.h"

namespace vek {

namespace {

// Base letters of U+00C0..U+017F; '*' keeps the character as it is.
constexpr std::string_view kLatin1Folds =
    "aaaaaaaceeeeiiiidnooooo*ouuuuyts"   // U+00C0..U+00DF (ß handled apart)
    "aaaaaaaceeeeiiiidnooooo*ouuuuyty";  // U+00E0..U+00FF
constexpr std::string_view kLatinExtendedFolds =  // U+0100..U+017F, 16 a row
    "aaaaaaccccccccdd"
    "ddeeeeeeeeeegggg"
    "gggghhhhiiiiiiii"
    "iiiijjkkklllllll"
    "lllnnnnnnnnnoooo"
    "oooorrrrrrssssss"
    "ssttttttuuuuuuuu"
    "uuuuwwyyyzzzzzzs";

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> out;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos) {
            out.push_back(line.substr(start));
            return out;
        }
        out.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

bool ReadNumber(std::string_view s, double& out) {
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size() && std::isfinite(out);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

std::string FoldForSearch(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            char a = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            if (a == '-') a = ' ';
            out += a;
            continue;
        }
        if ((c == 0xC3 || c == 0xC4 || c == 0xC5) && i + 1 < text.size()) {
            const unsigned char d = static_cast<unsigned char>(text[i + 1]);
            if ((d & 0xC0) == 0x80) {
                const unsigned code = (static_cast<unsigned>(c & 0x1F) << 6) | (d & 0x3F);
                char base = '*';
                if (code == 0xDF) {
                    out += "ss";
                    ++i;
                    continue;
                }
                if (code >= 0xC0 && code <= 0xFF) base = kLatin1Folds[code - 0xC0];
                if (code >= 0x100 && code - 0x100 < kLatinExtendedFolds.size())
                    base = kLatinExtendedFolds[code - 0x100];
                if (base != '*') {
                    out += base;
                    ++i;
                    continue;
                }
            }
        }
        out += static_cast<char>(c);
    }
    return out;
}

Result<Atlas> Atlas::Parse(std::string_view text) {
    Atlas atlas;
    size_t start = 0;
    int lineNumber = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const std::vector<std::string_view> f = SplitTabs(line);
        double lat = 0, lon = 0, population = 0;
        if (f.size() != 10 || f[0].empty() || f[6].empty() || !ReadNumber(f[7], lat) ||
            !ReadNumber(f[8], lon) || !ReadNumber(f[9], population) || std::fabs(lat) > 90 ||
            std::fabs(lon) > 180 || population < 0)
            return Fail("line " + std::to_string(lineNumber) +
                        " of the atlas is not a place (name, German name, state, country code, "
                        "country, German country, zone, latitude, longitude, population)");
        AtlasPlace p;
        p.name = f[0];
        p.germanName = f[1];
        p.state = f[2];
        p.countryCode = f[3];
        p.country = f[4];
        p.germanCountry = f[5];
        p.zone = f[6];
        p.point = {lat, lon};
        p.population = static_cast<uint32_t>(std::min(population, 4e9));
        atlas.places_.push_back(std::move(p));
    }
    // Ranks follow the population, whatever the order of the lines.
    std::stable_sort(atlas.places_.begin(), atlas.places_.end(),
                     [](const AtlasPlace& a, const AtlasPlace& b) { return a.population > b.population; });
    for (uint32_t i = 0; i < atlas.places_.size(); ++i) {
        const AtlasPlace& p = atlas.places_[i];
        atlas.keys_.emplace_back(FoldForSearch(p.name), i);
        if (!p.germanName.empty()) {
            std::string german = FoldForSearch(p.germanName);
            if (german != atlas.keys_.back().first) atlas.keys_.emplace_back(std::move(german), i);
        }
    }
    std::sort(atlas.keys_.begin(), atlas.keys_.end());
    return atlas;
}

std::vector<const AtlasPlace*> Atlas::Find(std::string_view text, size_t limit) const {
    std::vector<const AtlasPlace*> out;
    std::string_view namePart = text, qualifierPart;
    if (const size_t comma = text.find(','); comma != std::string_view::npos) {
        namePart = text.substr(0, comma);
        qualifierPart = text.substr(comma + 1);
    }
    const std::string name = FoldForSearch(Trimmed(namePart));
    const std::string qualifier = FoldForSearch(Trimmed(qualifierPart));
    if (name.empty() || limit == 0) return out;

    auto first = std::lower_bound(keys_.begin(), keys_.end(), name,
                                  [](const auto& key, const std::string& n) { return key.first < n; });
    // Whole-name matches (rank 0) before the others (rank 1), each by place.
    std::vector<std::pair<int, uint32_t>> hits;
    for (auto it = first; it != keys_.end() && StartsWith(it->first, name); ++it)
        hits.emplace_back(it->first == name ? 0 : 1, it->second);
    std::sort(hits.begin(), hits.end());
    std::vector<char> seen(places_.size(), 0);
    for (const auto& hit : hits) {
        const uint32_t index = hit.second;
        if (seen[index]) continue;
        seen[index] = 1;
        const AtlasPlace& p = places_[index];
        if (!qualifier.empty()) {
            const bool code = FoldForSearch(p.countryCode) == qualifier;
            const bool named = StartsWith(FoldForSearch(p.country), qualifier) ||
                               StartsWith(FoldForSearch(p.germanCountry), qualifier) ||
                               StartsWith(FoldForSearch(p.state), qualifier);
            if (!code && !named) continue;
        }
        out.push_back(&p);
        if (out.size() >= limit) break;
    }
    return out;
}

Result<const Atlas*> ProgramAtlas(const std::string& dataFolder) {
    // One atlas per folder (the tests use more than one).
    static std::mutex lock;
    static std::map<std::string, std::unique_ptr<Result<Atlas>>> loaded;
    const std::lock_guard<std::mutex> guard(lock);
    std::unique_ptr<Result<Atlas>>& slot = loaded[dataFolder];
    if (!slot) {
        const std::string path = JoinPath(dataFolder, kAtlasFileName);
        constexpr size_t kLargestAtlas = 64u << 20;
        const Result<std::string> text = ReadRegularFile(path, kLargestAtlas);
        if (!text) {
            slot = std::make_unique<Result<Atlas>>(
                Fail("the atlas " + path + " cannot be read: " + text.message()));
        } else {
            Result<Atlas> atlas = Atlas::Parse(*text);
            if (!atlas)
                slot = std::make_unique<Result<Atlas>>(Fail(path + ": " + atlas.message()));
            else
                slot = std::make_unique<Result<Atlas>>(std::move(atlas));
        }
    }
    if (!*slot) return slot->error();
    return &slot->value();
}

std::string AtlasPlaceTitle(const AtlasPlace& place, bool german) {
    std::string name = german && !place.germanName.empty() ? place.germanName : place.name;
    if (!german && !place.germanName.empty()) name += " (" + place.germanName + ")";
    if (german && !place.germanName.empty()) name += " (" + place.name + ")";
    const std::string& country =
        german && !place.germanCountry.empty() ? place.germanCountry : place.country;
    std::string out = name;
    if (!place.state.empty() && place.state != place.name) out += ", " + place.state;
    out += ", " + country + " (" + place.countryCode + ")";
    return out;
}

}  // namespace vek
