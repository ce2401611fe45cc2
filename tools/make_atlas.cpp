// Writes the program's atlas, vek_atlas.tsv, from the city data of Debian's
// libgeonames0 (the cities of geonames.org with more than 15000 people,
// CC BY 4.0) and the German names of its libgeonames-common translations.
// One city a line, most populous first, tab-separated:
//   name, German name (empty when the same), state, country code, country,
//   German country name (empty when the same), IANA zone, latitude,
//   longitude (degrees, north and east positive), population.
// Usage: make_atlas OUT.tsv [GERMAN.mo]
#include <geonames/geonames.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

// The messages of a gettext catalogue (.mo file): original -> translation.
std::map<std::string, std::string> ReadCatalogue(const std::string& path) {
    std::map<std::string, std::string> out;
    std::ifstream in(path, std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto word = [&](size_t at) -> uint32_t {
        if (at + 4 > data.size()) return 0;
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(data[at + i]);
        return v;
    };
    if (data.size() < 28 || word(0) != 0x950412deu) return out;
    const uint32_t n = word(8), originals = word(12), translations = word(16);
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t ol = word(originals + 8 * i), oo = word(originals + 8 * i + 4);
        const uint32_t tl = word(translations + 8 * i), to = word(translations + 8 * i + 4);
        if (oo + ol > data.size() || to + tl > data.size()) continue;
        out[data.substr(oo, ol)] = data.substr(to, tl);
    }
    return out;
}

std::string Clean(const char* s) {
    std::string out = s ? s : "";
    for (char& c : out)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return out;
}

struct City {
    std::string line;
    unsigned population;
    std::string name;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_atlas OUT.tsv [GERMAN.mo]\n");
        return 2;
    }
    const std::map<std::string, std::string> german =
        ReadCatalogue(argc > 2 ? argv[2] : "/usr/share/locale/de/LC_MESSAGES/geonames.mo");
    auto germanOf = [&](const std::string& key, const std::string& english) {
        const auto it = german.find(key);
        return it == german.end() || it->second == english ? std::string() : Clean(it->second.c_str());
    };
    const int n = geonames_get_n_cities();
    if (n <= 0) {
        std::fprintf(stderr, "make_atlas: libgeonames lists no cities\n");
        return 1;
    }
    std::vector<City> cities;
    for (int i = 0; i < n; ++i) {
        GeonamesCity* c = geonames_get_city(i);
        if (!c) continue;
        // The record's first field is the geonames.org id, the key of its
        // translations.
        const char* id = nullptr;
        g_variant_get_child(c, 0, "&s", &id);
        const std::string name = Clean(geonames_city_get_name(c));
        const std::string country = Clean(geonames_city_get_country(c));
        const std::string code = Clean(geonames_city_get_country_code(c));
        const std::string zone = Clean(geonames_city_get_timezone(c));
        if (!name.empty() && !zone.empty()) {
            char coords[64];
            std::snprintf(coords, sizeof coords, "%.5f\t%.5f", geonames_city_get_latitude(c),
                          geonames_city_get_longitude(c));
            const unsigned population = geonames_city_get_population(c);
            std::string line = name + "\t" + germanOf(id ? id : "", name) + "\t" +
                               Clean(geonames_city_get_state(c)) + "\t" + code + "\t" + country +
                               "\t" + germanOf(code, country) + "\t" + zone + "\t" + coords +
                               "\t" + std::to_string(population) + "\n";
            cities.push_back({std::move(line), population, name});
        }
        geonames_city_free(c);
    }
    std::stable_sort(cities.begin(), cities.end(), [](const City& a, const City& b) {
        if (a.population != b.population) return a.population > b.population;
        return a.line < b.line;
    });
    std::string text =
        "# VEK atlas: cities of geonames.org (CC BY 4.0) as Debian's libgeonames0 holds them,\n"
        "# written by tools/make_atlas. name, German name, state, country code, country,\n"
        "# German country name, zone, latitude, longitude, population\n";
    for (const City& c : cities) text += c.line;
    const std::string tmp = std::string(argv[1]) + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0 ||
        std::rename(tmp.c_str(), argv[1]) != 0) {
        std::fprintf(stderr, "make_atlas: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
