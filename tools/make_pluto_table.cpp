// Writes the Pluto table pluto.slx: Pluto's apparent geocentric longitude at
// 0 h UT of every day from day number 2305448 (1600 January 1) through
// 2488070 (2100 January 2), one line per day, from the Swiss Ephemeris files.
//
// Usage: make_pluto_table [OUTPUT [EPHEMERIS_FOLDER]]
//   OUTPUT            file to write (default pluto.slx)
//   EPHEMERIS_FOLDER  folder with the Swiss Ephemeris files sepl_12.se1,
//                     sepl_18.se1 (default: SE_EPHE_PATH, else
//                     /usr/share/libswe/ephe)
//
// Line k (from 0) holds three characters c1 c2 c3 and a line feed, with the
// longitude rounded to the nearest arc minute (halves away from zero, and
// 359°59.5' and above becoming 0°0'): whole degrees = 60 × hi + m, minutes =
// mm, c1 = hi + 58 + (k mod 55), c2 = m + 59, c3 = mm + 60.
// The output depends only on the Swiss Ephemeris library and files, so the
// same ones give the same file bit for bit.
#include <swephexp.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ephemeris_folder.h"

namespace {

constexpr int kFirstDay = 2305448;
constexpr int kLastLineDay = 2488070;

int Fail(const std::string& message) {
    std::fprintf(stderr, "make_pluto_table: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 3) return Fail("usage: make_pluto_table [OUTPUT [EPHEMERIS_FOLDER]]");
    const std::string output = argc > 1 ? argv[1] : "pluto.slx";
    const std::string folder = UseEphemerisFolder(argc > 2 ? argv[2] : nullptr);

    std::string text;
    text.reserve(static_cast<std::size_t>(kLastLineDay - kFirstDay + 1) * 4);
    for (int day = kFirstDay; day <= kLastLineDay; ++day) {
        const int k = day - kFirstDay;
        double xx[6];
        char serr[AS_MAXCH] = "";
        const int32 ret = swe_calc_ut(day - 0.5, SE_PLUTO, SEFLG_SWIEPH, xx, serr);
        // Without the file for a date Swiss Ephemeris quietly answers from its
        // analytical ephemeris; the table must come from the files.
        if (ret < 0 || (ret & SEFLG_SWIEPH) == 0) {
            for (char& c : serr) c = c == '\n' ? ' ' : c;
            return Fail("no Swiss Ephemeris file answered for day " + std::to_string(day) +
                        " in '" + folder +
                        "' (install swe-standard-data or name the folder): " + serr);
        }
        long total = std::lround(xx[0] * 60.0);  // arc minutes
        if (total >= 360 * 60) total -= 360 * 60;
        if (total < 0 || total >= 360 * 60) {
            return Fail("longitude out of range on day " + std::to_string(day));
        }
        const long whole = total / 60;
        const long minutes = total % 60;
        text += static_cast<char>(whole / 60 + 58 + k % 55);
        text += static_cast<char>(whole % 60 + 59);
        text += static_cast<char>(minutes + 60);
        text += '\n';
    }
    swe_close();

    std::FILE* f = std::fopen(output.c_str(), "wb");
    if (!f) return Fail("cannot write " + output);
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !ok) return Fail("cannot write " + output);
    std::printf("%s: %d lines\n", output.c_str(), kLastLineDay - kFirstDay + 1);
    return 0;
}
