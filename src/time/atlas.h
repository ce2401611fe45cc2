// The offline atlas: the cities of the program's atlas file (vek_atlas.tsv,
// made at build time from Debian's libgeonames data) with their country,
// coordinates and IANA zone, found by the beginning of their name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/geo_point.h"
#include "util/result.h"

namespace vek {

struct AtlasPlace {
    std::string name;           // as geonames.org writes it: "Munich", "São Paulo"
    std::string germanName;     // "München"; empty when the same
    std::string state;          // "Bavaria"
    std::string countryCode;    // "DE"
    std::string country;        // "Germany"
    std::string germanCountry;  // "Deutschland"; empty when the same
    std::string zone;           // "Europe/Berlin"
    GeoPoint point;
    uint32_t population = 0;
};

// The file name of the atlas in the data folder.
inline constexpr const char* kAtlasFileName = "vek_atlas.tsv";

// A text folded for comparison: lower case, Latin letters without their
// accents ("São" and "sao", "München" and "munchen" agree, ß is "ss"),
// hyphens as blanks.
std::string FoldForSearch(std::string_view text);

class Atlas {
  public:
    // Reads the lines of an atlas file; a line that does not have its ten
    // fields, or has coordinates out of range, fails with its number.
    static Result<Atlas> Parse(std::string_view text);

    // The places whose English or German name begins with `text` (folded as
    // above), at most `limit`: those whose whole name is the text first,
    // then the more populous first. "Name, QUALIFIER" keeps those whose
    // country code is QUALIFIER or whose country or state (in either
    // language) begins with it: "Christchurch, GB", "Christchurch, England".
    std::vector<const AtlasPlace*> Find(std::string_view text, size_t limit) const;

    size_t size() const { return places_.size(); }

  private:
    std::vector<AtlasPlace> places_;                 // most populous first
    std::vector<std::pair<std::string, uint32_t>> keys_;  // folded names, sorted
};

// The atlas of the data folder, read on first use (so start-up does not pay
// for it) and kept; later calls return the same atlas or the same failure.
Result<const Atlas*> ProgramAtlas(const std::string& dataFolder);

// "Munich (München), Bavaria, Germany (DE)" in English, the German names in
// German.
std::string AtlasPlaceTitle(const AtlasPlace& place, bool german);

}  // namespace vek
