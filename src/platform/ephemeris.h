// The ephemeris and lunar interfaces the engine calls for positions of the
// Sun, Moon and planets Mercury..Neptune, built on Swiss Ephemeris.
// All longitudes are apparent geocentric ecliptic longitudes of date (true
// equinox and ecliptic of date, with light-time, aberration and nutation), in
// radians in [0, 2π); a negative result means no position. Time arguments
// are Julian dates in Universal Time.
//
// Positions exist from 1 January −2999 to 1 January 3000 (proleptic
// Gregorian), the span of the built-in analytical ephemeris: a date before it
// gives −99, a date after it −100, a non-finite date or an unknown body −1.
#pragma once

#include <cstddef>
#include <string>

namespace vek::platform {

// First and last Julian dates (UT) with a position.
inline constexpr double kEphemerisFirstJd = 625697.5;  // −2999 January 1, 0 h
inline constexpr double kEphemerisLastJd = 2816787.5;  // 3000 January 1, 0 h

// Hands the program's data folder to the ephemeris. Swiss Ephemeris data
// files are looked for there, then in the folders of SE_EPHE_PATH, then in
// /usr/share/libswe/ephe; for a date that no file covers the built-in
// analytical (Moshier) ephemeris answers. "\" counts as a folder separator and
// doubled separators are collapsed, so "C:\\vek\\" and "/opt/vek/" both work.
// May be called again; the last call wins.
void set_data_folder(const std::string& folder);

// Forces the built-in analytical ephemeris even where files are present (for
// reproducible output and for testing it); false returns to the files.
void use_analytical_ephemeris(bool on);

// True when at least one searched folder holds Swiss Ephemeris planet or
// Moon files (and the analytical ephemeris is not forced).
bool ephemeris_files_available();

// Longitude of a planet by its library code (Mercury 1, Venus 2, Sun 3,
// Mars 4, Jupiter 5, Saturn 6, Uranus 7, Neptune 8) at Julian date jd (UT).
// year is the calendar year of jd (unused by this implementation but part of
// the call). speed receives the daily motion in radians per day when not
// null (0 when there is no position).
double planet_longitude_speed(int code, double jd, int year, double* speed);

// The Moon's longitude at t = jd − 2451545 (days from 2000 January 1.5, UT).
double moon_position(double t);

// Value of delta_t for a year it has no value for.
inline constexpr double kNoDeltaT = -99999.0;

// Delta T (TT − UT) in minutes for a (fractional) calendar year, 2000.0 being
// 2000 January 1, 0 h. The second argument is always 1915 and is kept for the
// call's shape. Delta T itself is slightly negative around 1870–1900; for a
// non-finite year or one outside the ephemeris's span the result is
// kNoDeltaT.
double delta_t(double year, int referenceYear);

// Julian day (dynamical time) of new moon n (kind 0) or full moon n (kind 1),
// counted from the new moon of 2000 January 6 (n = 0; full moon 0 is the one
// after it, negative n go back in time). When buffer is not null and
// bufferSize > 0 it receives the instant as "YYYY-MM-DD HH:MM TT"
// (truncated to fit, always terminated). Returns −1 for an unknown kind or
// when the moon falls outside the ephemeris's span.
double find_syzygy(int n, int kind, char* buffer, std::size_t bufferSize = 0);

// What point_longitude_speed gives when no installed file covers the date
// (Chiron: the asteroid files, and the years 675 to 4650 at most).
inline constexpr double kNotCovered = -98.0;

// Longitude of an extra point by code (mean lunar node 1, true lunar node 2,
// Chiron 3) at Julian date jd (UT), as planet_longitude_speed gives a
// planet's: radians in [0, 2π), −99 / −100 outside the ephemeris's span, −1
// for a non-finite date or an unknown code, and kNotCovered for Chiron where
// no asteroid file answers. The nodes come from the Moon's ephemeris (files
// where they cover the date, else the analytical one). speed receives the
// daily motion in radians per day when not null. The ephemeris_in_use()
// answer stays that of the bodies.
double point_longitude_speed(int code, double jd, double* speed);

// House cusps from Swiss Ephemeris's own house routine.
struct HouseCuspsResult {
    // 0: the cusps of the system asked for; 1: the system is undefined at
    // this latitude (Placidus and Koch within the polar circles) and the
    // cusps are Porphyry's, which Swiss Ephemeris falls back to; −1: no
    // cusps (bad date or coordinates).
    int status = -1;
    double cusp[13] = {};   // cusps 1..12 in radians, tropical (index 0 unused)
    double ascendant = 0;   // radians
    double midheaven = 0;   // radians
};

// Cusps, Ascendant and Midheaven at jd (UT) for geographic latitude and
// longitude in degrees (north and east positive), in the house system of
// Swiss Ephemeris's letter: 'P' Placidus, 'K' Koch, 'E' equal from the
// Ascendant, 'W' whole sign, 'R' Regiomontanus, 'C' Campanus, 'O' Porphyry.
HouseCuspsResult house_cusps(double jd, double latitude, double longitude, char system);

// Positions may be asked for on more than one thread. Swiss Ephemeris keeps
// its settings and open files per thread; a thread gets the search list
// before its first position, and a thread that ends calls release_thread()
// to close the files it opened.
void release_thread();

// Which ephemeris answered the latest position: "Swiss Ephemeris files
// (<folder>)" or "Moshier analytical ephemeris". Before the first position it
// asks for the Sun at 2000 January 1.5 to find out.
std::string ephemeris_in_use();

}  // namespace vek::platform
