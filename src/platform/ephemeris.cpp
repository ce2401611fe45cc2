#include "platform/ephemeris.h"

#include <swephexp.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

#include "util/angle.h"

namespace vek::platform {
namespace {

// Longitudes are converted as degrees / 360 × 2π with the engine's full circle.
constexpr double kJ2000 = 2451545.0;
constexpr const char* kSystemEpheFolder = "/usr/share/libswe/ephe";
// Swiss Ephemeris keeps its search list in a buffer of 256 characters and
// silently replaces a longer list by its built-in default.
constexpr std::size_t kMaxSearchList = 240;

// Swiss Ephemeris body numbers by library code 1..8.
constexpr std::array<int, 9> kSweBody = {-1,         SE_MERCURY, SE_VENUS,  SE_SUN,    SE_MARS,
                                         SE_JUPITER, SE_SATURN,  SE_URANUS, SE_NEPTUNE};

// Each Swiss Ephemeris file covers 600 years; its name carries the first
// century of its span ("sepl_18" = 1800–2400, "seplm06" = −600–0).
enum FileKind { kPlanetFiles = 0, kMoonFiles = 1 };

struct State {
    std::string dataFolder;
    bool analyticalOnly = false;
    bool pathApplied = false;
    // 600-year blocks (century / 6) for which a folder of the search list
    // holds a file, per kind.
    std::set<int> blocks[2];
    std::vector<std::string> folders;  // the folders handed to Swiss Ephemeris
    // The search list as handed over, and how often it was made: Swiss
    // Ephemeris keeps its settings per thread, so a thread that has not yet
    // been given the latest list gets it before its first position.
    std::string searchList;
    std::atomic<unsigned> generation{0};
    // SE_EPHE_PATH as the user set it, and the search list written over it
    // (see ApplyPath).
    std::string userEnv;
    std::string envWritten;
};

State& TheState() {
    static State s;
    return s;
}

// What answered the latest position of this thread.
struct LastAnswer {
    bool have = false;
    bool fromFiles = false;
    FileKind kind = kPlanetFiles;
};
thread_local LastAnswer tLast;
// The generation of the search list this thread's Swiss Ephemeris holds.
thread_local unsigned tAppliedGeneration = 0;

// Hands the search list to this thread's Swiss Ephemeris. SE_EPHE_PATH, when
// set, holds the same list (ApplyPath), so the environment is never changed
// here, on a thread that may run beside others.
void HandOver(const std::string& list) {
    swe_set_ephe_path(list.c_str());
    tAppliedGeneration = TheState().generation.load();
}

// "C:\\vek\\" -> "C:/vek", "/opt//vek/" -> "/opt/vek".
std::string NormalizeFolder(const std::string& folder) {
    std::string out;
    out.reserve(folder.size());
    for (char c : folder) {
        if (c == '\\') c = '/';
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out += c;
    }
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

// Reads the 600-year block from a file name such as "sepl_18.se1" or
// "semom06.se1"; false when the name is not a planet or Moon file.
bool ParseFileName(const std::string& name, FileKind* kind, int* block) {
    if (name.size() < 11 || name.compare(name.size() - 4, 4, ".se1") != 0) return false;
    if (name.compare(0, 4, "sepl") == 0) {
        *kind = kPlanetFiles;
    } else if (name.compare(0, 4, "semo") == 0) {
        *kind = kMoonFiles;
    } else {
        return false;
    }
    const char sign = name[4];
    if (sign != '_' && sign != 'm') return false;
    const std::string digits = name.substr(5, name.size() - 9);
    if (digits.empty() || digits.size() > 3) return false;
    int century = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        century = century * 10 + (c - '0');
    }
    if (century % 6 != 0) return false;
    *block = (sign == 'm' ? -century : century) / 6;
    return true;
}

// Records the blocks of the files in folder; true when it holds any.
bool ScanFolder(const std::string& folder, State& s) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) return false;
    bool any = false;
    for (const auto& entry : it) {
        FileKind kind;
        int block;
        if (!ParseFileName(entry.path().filename().string(), &kind, &block)) continue;
        std::error_code fec;
        if (!entry.is_regular_file(fec) || entry.file_size(fec) == 0 || fec) continue;
        s.blocks[kind].insert(block);
        any = true;
    }
    return any;
}

void SplitInto(const std::string& list, std::vector<std::string>* out) {
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find_first_of(":;", start);
        if (end == std::string::npos) end = list.size();
        if (end > start) out->push_back(list.substr(start, end - start));
        start = end + 1;
    }
}

// Builds the search list from the folders that really hold files and hands it
// to Swiss Ephemeris.
void ApplyPath() {
    State& s = TheState();
    s.pathApplied = true;
    tLast.have = false;
    s.blocks[0].clear();
    s.blocks[1].clear();
    s.folders.clear();

    std::vector<std::string> candidates;
    if (!s.dataFolder.empty()) candidates.push_back(s.dataFolder);
    const char* env = std::getenv("SE_EPHE_PATH");
    std::string envValue = env ? env : "";
    // The list written over the user's value stands for that value.
    if (!envValue.empty() && envValue == s.envWritten) envValue = s.userEnv;
    SplitInto(envValue, &candidates);
    candidates.push_back(kSystemEpheFolder);

    std::string list;
    for (const std::string& raw : candidates) {
        const std::string folder = NormalizeFolder(raw);
        // A folder whose name holds a list separator cannot be handed over.
        if (folder.empty() || folder.find_first_of(":;") != std::string::npos) continue;
        bool seen = false;
        for (const auto& f : s.folders) seen = seen || f == folder;
        if (seen) continue;
        const std::size_t added = folder.size() + (list.empty() ? 0 : 1);
        if (list.size() + added > kMaxSearchList) continue;
        if (!ScanFolder(folder, s)) continue;
        if (!list.empty()) list += ':';
        list += folder;
        s.folders.push_back(folder);
    }
    // Without files no file is ever asked for; a folder that holds none keeps
    // Swiss Ephemeris from looking in its built-in default places.
    if (list.empty()) list = kSystemEpheFolder;

    // Swiss Ephemeris prefers SE_EPHE_PATH to the list it is given, on every
    // thread. The variable's folders are part of the list already, so the
    // list takes its place, once, here (at start-up, before any other thread
    // asks for a position); a thread that starts later then gets the same
    // list without anyone touching the environment beside it.
    if (!envValue.empty()) {
        s.userEnv = envValue;
        s.envWritten = list;
        setenv("SE_EPHE_PATH", list.c_str(), 1);
    } else {
        s.userEnv.clear();
        s.envWritten.clear();
    }
    s.searchList = list;
    ++s.generation;
    HandOver(list);
}

void EnsurePath() {
    State& s = TheState();
    if (!s.pathApplied) {
        ApplyPath();
    } else if (tAppliedGeneration != s.generation.load()) {
        HandOver(s.searchList);
    }
}

// The 600-year block whose file Swiss Ephemeris opens for jd: years count
// in the Julian calendar before 1582 October 15 and in the Gregorian after.
int BlockOf(double jd) {
    const int gregorian = jd >= 2299160.5 ? SE_GREG_CAL : SE_JUL_CAL;
    int year, month, day;
    double hour;
    swe_revjul(jd, gregorian, &year, &month, &day, &hour);
    return static_cast<int>(std::floor(year / 600.0));
}

// Whether a file of this kind may answer jd. The blocks of a few days on
// either side count too, as file spans overlap at their ends.
bool FilesCover(FileKind kind, double jd) {
    const State& s = TheState();
    if (s.analyticalOnly || s.blocks[kind].empty()) return false;
    return s.blocks[kind].count(BlockOf(jd - 3)) > 0 || s.blocks[kind].count(BlockOf(jd + 3)) > 0;
}

double ToRadians(double degrees) {
    double r = degrees / 360.0 * kTwoPi;
    if (r >= kTwoPi) r -= kTwoPi;
    if (r < 0) r += kTwoPi;
    return r;
}

// −99 / −100 / −1 for a Julian date without a position, 0 when it has one.
double CheckDate(double jd) {
    if (!std::isfinite(jd)) return -1.0;
    if (jd < kEphemerisFirstJd) return -99.0;
    if (jd >= kEphemerisLastJd) return -100.0;
    return 0.0;
}

// Apparent longitude and daily motion in degrees from Swiss Ephemeris at UT
// (or at dynamical time when tt is set); false when it has none.
// A point's position (record false) leaves the answer of ephemeris_in_use()
// to the bodies.
bool Compute(int sweBody, double jd, bool tt, bool wantSpeed, double* lon, double* speed,
             bool record = true) {
    EnsurePath();
    const bool moonLike = sweBody == SE_MOON || sweBody == SE_MEAN_NODE || sweBody == SE_TRUE_NODE;
    const FileKind kind = moonLike ? kMoonFiles : kPlanetFiles;
    const bool files = FilesCover(kind, jd);
    int32 flags = files ? SEFLG_SWIEPH : SEFLG_MOSEPH;
    if (wantSpeed) flags |= SEFLG_SPEED;
    double xx[6] = {0, 0, 0, 0, 0, 0};
    char serr[AS_MAXCH] = "";
    auto calc = [&](int32 f) {
        return tt ? swe_calc(jd, sweBody, f, xx, serr) : swe_calc_ut(jd, sweBody, f, xx, serr);
    };
    int32 ret = calc(flags);
    if (ret < 0 && files) {
        // A damaged or unreadable file is an error to Swiss Ephemeris rather
        // than a reason to fall back; the analytical ephemeris still answers.
        flags = (flags & ~SEFLG_SWIEPH) | SEFLG_MOSEPH;
        ret = calc(flags);
    }
    if (ret < 0 || !std::isfinite(xx[0]) || !std::isfinite(xx[3])) return false;
    *lon = xx[0];
    if (speed) *speed = xx[3];
    if (!record) return true;
    // Swiss Ephemeris falls back to the analytical ephemeris by itself when a
    // file cannot be read; the returned flags say which one answered.
    tLast.have = true;
    tLast.fromFiles = (ret & SEFLG_SWIEPH) != 0;
    tLast.kind = kind;
    return true;
}

int32 DeltaTFlag(double jd) {
    return FilesCover(kPlanetFiles, jd) ? SEFLG_SWIEPH : SEFLG_MOSEPH;
}

}  // namespace

void set_data_folder(const std::string& folder) {
    TheState().dataFolder = NormalizeFolder(folder);
    ApplyPath();
}

void use_analytical_ephemeris(bool on) {
    State& s = TheState();
    s.analyticalOnly = on;
    tLast.have = false;
}

bool ephemeris_files_available() {
    EnsurePath();
    const State& s = TheState();
    return !s.analyticalOnly && !s.folders.empty();
}

double planet_longitude_speed(int body, double jd, int /*year*/, double* speed) {
    if (speed) *speed = 0;
    if (body < 1 || body > 8) return -1.0;
    if (const double bad = CheckDate(jd); bad < 0) return bad;
    double lon = 0, dlon = 0;
    if (!Compute(kSweBody[body], jd, false, speed != nullptr, &lon, &dlon)) return -1.0;
    if (speed) *speed = dlon / 360.0 * kTwoPi;
    return ToRadians(lon);
}

double moon_position(double t) {
    const double jd = t + kJ2000;
    if (const double bad = CheckDate(jd); bad < 0) return bad;
    double lon = 0;
    if (!Compute(SE_MOON, jd, false, false, &lon, nullptr)) return -1.0;
    return ToRadians(lon);
}

double delta_t(double year, int /*referenceYear*/) {
    if (!std::isfinite(year)) return kNoDeltaT;
    // 2000.0 is 2000 January 1, 0 h; a mean Gregorian year is close enough for
    // a quantity that changes by seconds per year at most.
    const double jd = 2451544.5 + (year - 2000.0) * 365.2425;
    if (CheckDate(jd) < 0) return kNoDeltaT;
    EnsurePath();
    char serr[AS_MAXCH] = "";
    // The tidal term of Delta T follows the ephemeris that answers the date.
    const double days = swe_deltat_ex(jd, DeltaTFlag(jd), serr);
    if (!std::isfinite(days)) return kNoDeltaT;
    return days * 1440.0;
}

double find_syzygy(int n, int kind, char* buffer, std::size_t bufferSize) {
    if (buffer && bufferSize > 0) buffer[0] = '\0';
    if (kind != 0 && kind != 1) return -1.0;
    // Mean lunation: the new moon of 2000 January 6 and the mean synodic month.
    constexpr double kNewMoon0 = 2451550.09766;
    constexpr double kSynodicMonth = 29.530588861;
    double jd = kNewMoon0 + kSynodicMonth * (n + 0.5 * kind);
    // Dynamical time runs ahead of UT by at most a day here; keep a margin so
    // that every step of the search stays inside the span.
    if (!(jd > kEphemerisFirstJd + 30 && jd < kEphemerisLastJd - 30)) return -1.0;
    const double target = kind == 0 ? 0.0 : 180.0;
    bool converged = false;
    for (int i = 0; i < 30 && !converged; ++i) {
        double sun = 0, moon = 0, vSun = 0, vMoon = 0;
        if (!Compute(SE_SUN, jd, true, true, &sun, &vSun) ||
            !Compute(SE_MOON, jd, true, true, &moon, &vMoon)) {
            return -1.0;
        }
        // Elongation minus its target, in (−180°, 180°].
        const double e = std::remainder(moon - sun - target, 360.0);
        const double rate = vMoon - vSun;  // always 10°..16° a day
        if (!(rate > 1.0)) return -1.0;
        const double step = e / rate;
        jd -= step;
        converged = std::fabs(step) < 1e-8;
    }
    if (!converged) return -1.0;
    if (buffer && bufferSize > 0) {
        // Round to the whole minute first so that 23:59.7 becomes the next day's
        // 00:00, then take the date from the middle of that day.
        const double minutesSinceNoonEpoch = std::round((jd + 0.5) * 1440.0);
        const double midnight = std::floor(minutesSinceNoonEpoch / 1440.0) - 0.5;
        const long minutes = std::lround(minutesSinceNoonEpoch - (midnight + 0.5) * 1440.0);
        int y, m, d;
        double hours;
        swe_revjul(midnight + 0.5, midnight >= 2299160.5 ? SE_GREG_CAL : SE_JUL_CAL, &y, &m, &d,
                   &hours);
        std::snprintf(buffer, bufferSize, "%04d-%02d-%02d %02ld:%02ld TT", y, m, d, minutes / 60,
                      minutes % 60);
    }
    return jd;
}

double point_longitude_speed(int code, double jd, double* speed) {
    if (speed) *speed = 0;
    constexpr int kSwePoint[4] = {-1, SE_MEAN_NODE, SE_TRUE_NODE, SE_CHIRON};
    if (code < 1 || code > 3) return -1.0;
    if (const double bad = CheckDate(jd); bad < 0) return bad;
    double lon = 0, dlon = 0;
    if (!Compute(kSwePoint[code], jd, false, speed != nullptr, &lon, &dlon, false))
        return kSwePoint[code] == SE_CHIRON ? kNotCovered : -1.0;
    if (speed) *speed = dlon / 360.0 * kTwoPi;
    return ToRadians(lon);
}

HouseCuspsResult house_cusps(double jd, double latitude, double longitude, char system) {
    HouseCuspsResult r;
    if (CheckDate(jd) < 0 || !std::isfinite(latitude) || !std::isfinite(longitude) ||
        std::fabs(latitude) > 90 || std::fabs(longitude) > 180)
        return r;
    if (std::string("PKEWRCO").find(system) == std::string::npos || system == '\0') return r;
    EnsurePath();
    // The sidereal time and obliquity follow the ephemeris that answers the
    // date, as the bodies' positions do.
    const int32 flags = DeltaTFlag(jd);
    double cusps[13] = {}, ascmc[10] = {};
    char serr[AS_MAXCH] = "";
    // The steps of swe_houses_ex2, with the nutation taken from the
    // position routine, which keeps it for its latest date: a chart's
    // bodies and points at the same instant have computed it already, and
    // the house routine alone would compute it once more (a fifth of what
    // houses and points add to a chart). True obliquity as mean obliquity
    // plus its nutation, in degrees, and the sidereal time from them: the
    // cusps come out bit for bit as swe_houses_ex2's.
    const double tt = jd + swe_deltat_ex(jd, flags, serr);
    double nut[6] = {0, 0, 0, 0, 0, 0};
    if (swe_calc(tt, SE_ECL_NUT, flags, nut, serr) < 0) return r;
    const double eps = nut[1] + nut[3];
    const double armc = swe_degnorm(swe_sidtime0(jd, eps, nut[2]) * 15 + longitude);
    const int ret =
        swe_houses_armc_ex2(armc, latitude, eps, system, cusps, ascmc, nullptr, nullptr, serr);
    if (ret < 0 && system != 'P' && system != 'K') return r;
    for (int i = 1; i <= 12; ++i)
        if (!std::isfinite(cusps[i])) return r;
    if (!std::isfinite(ascmc[SE_ASC]) || !std::isfinite(ascmc[SE_MC])) return r;
    // Swiss Ephemeris reports an undefined system as an error and gives
    // Porphyry cusps instead (its message: "within polar circle, switched to
    // Porphyry").
    r.status = ret < 0 ? 1 : 0;
    for (int i = 1; i <= 12; ++i) r.cusp[i] = ToRadians(cusps[i]);
    r.ascendant = ToRadians(ascmc[SE_ASC]);
    r.midheaven = ToRadians(ascmc[SE_MC]);
    return r;
}

void release_thread() {
    swe_close();
    tAppliedGeneration = 0;
    tLast = LastAnswer();
}

std::string ephemeris_in_use() {
    EnsurePath();
    if (!tLast.have) {
        double dummy;
        planet_longitude_speed(3, kJ2000, 2000, &dummy);
    }
    if (!tLast.have || !tLast.fromFiles) return "Moshier analytical ephemeris";
    double start, end;
    int denum;
    const char* file = swe_get_current_file_data(tLast.kind, &start, &end, &denum);
    std::string folder;
    if (file) folder = std::filesystem::path(file).parent_path().string();
    return "Swiss Ephemeris files (" + folder + ")";
}

}  // namespace vek::platform
