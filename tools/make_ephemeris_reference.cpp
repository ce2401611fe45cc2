// Writes reference longitudes for the ephemeris tests: for 250 instants
// spread over 1600–2100 the apparent geocentric longitude of every body from
// the Swiss Ephemeris files, in degrees.
//
// Usage: make_ephemeris_reference [OUTPUT [EPHEMERIS_FOLDER]]
//   OUTPUT            CSV file to write (default ephemeris_reference.csv)
//   EPHEMERIS_FOLDER  folder with the Swiss Ephemeris files (default:
//                     SE_EPHE_PATH, else /usr/share/libswe/ephe)
//
// Instant i (0..249) is 1600 January 1, 0 h UT + 730 i days plus the
// fractional part of i × 0.618034 times 365.25 days, so that the seasons and
// the times of day vary too; it is written with six decimals and the positions are computed for
// exactly the value written. Columns: jd_ut, then the bodies in the program's order Sun, Mercury ..
// Neptune, Pluto, Moon.
#include <swephexp.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ephemeris_folder.h"

namespace {

constexpr int kInstants = 250;
constexpr double kFirstInstant = 2305447.5;
constexpr double kStep = 730.0;

struct Column {
    const char* name;
    int sweBody;
};
constexpr Column kColumns[] = {{"sun", SE_SUN},         {"mercury", SE_MERCURY},
                               {"venus", SE_VENUS},     {"mars", SE_MARS},
                               {"jupiter", SE_JUPITER}, {"saturn", SE_SATURN},
                               {"uranus", SE_URANUS},   {"neptune", SE_NEPTUNE},
                               {"pluto", SE_PLUTO},     {"moon", SE_MOON}};

int Fail(const std::string& message) {
    std::fprintf(stderr, "make_ephemeris_reference: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 3) return Fail("usage: make_ephemeris_reference [OUTPUT [EPHEMERIS_FOLDER]]");
    const std::string output = argc > 1 ? argv[1] : "ephemeris_reference.csv";
    const std::string folder = UseEphemerisFolder(argc > 2 ? argv[2] : nullptr);

    std::string text = "jd_ut";
    for (const Column& c : kColumns) text += std::string(",") + c.name;
    text += '\n';
    char jdText[32];
    char value[32];
    for (int i = 0; i < kInstants; ++i) {
        const double phase = i * 0.618034 - std::floor(i * 0.618034);
        const double raw = kFirstInstant + kStep * i + phase * 365.25;
        std::snprintf(jdText, sizeof jdText, "%.6f", raw);
        const double jd = std::strtod(jdText, nullptr);
        text += jdText;
        for (const Column& c : kColumns) {
            double xx[6];
            char serr[AS_MAXCH] = "";
            const int32 ret = swe_calc_ut(jd, c.sweBody, SEFLG_SWIEPH, xx, serr);
            // Swiss Ephemeris answers from its analytical ephemeris when a file
            // is missing; a reference must come from the files.
            if (ret < 0 || (ret & SEFLG_SWIEPH) == 0) {
                for (char& ch : serr) ch = ch == '\n' ? ' ' : ch;
                return Fail(std::string("no Swiss Ephemeris file answered for ") + c.name + " at " +
                            jdText + " in '" + folder + "': " + serr);
            }
            std::snprintf(value, sizeof value, ",%.9f", xx[0]);
            text += value;
        }
        text += '\n';
    }
    swe_close();

    std::FILE* f = std::fopen(output.c_str(), "wb");
    if (!f) return Fail("cannot write " + output);
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !ok) return Fail("cannot write " + output);
    std::printf("%s: %d instants\n", output.c_str(), kInstants);
    return 0;
}
