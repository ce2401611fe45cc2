// The ephemeris and lunar interfaces the engine calls for positions of the
// Sun, Moon and planets Mercury..Neptune, built on Swiss Ephemeris.
// All longitudes are apparent geocentric ecliptic longitudes of date, in
// radians in [0, 2π); a negative result means no position. Time arguments
// are Julian dates in Universal Time.
#pragma once

#include <string>

namespace vek::platform {

// Hands the program's data folder to the ephemeris. Swiss Ephemeris data
// files are looked for there, then in SE_EPHE_PATH, then in
// /usr/share/libswe/ephe; without them the built-in analytical ephemeris is
// used. May be called again; the last call wins.
void set_data_folder(const std::string& folder);

// Longitude of a planet by its library code (Mercury 1, Venus 2, Sun 3,
// Mars 4, Jupiter 5, Saturn 6, Uranus 7, Neptune 8) at Julian date jd (UT).
// year is the calendar year of jd (unused by this implementation but part of
// the call). speed receives the daily motion in radians per day when not
// null. Returns a negative value for an unknown code or a non-finite jd.
double planet_longitude_speed(int body, double jd, int year, double* speed);

// The Moon's longitude at t = jd − 2451545 (days from 2000 January 1.5, UT).
double moon_position(double t);

// Delta T in minutes for a (fractional) calendar year. The second argument is
// always 1915 and is kept for the call's shape.
double delta_t(double year, int reference_year);

// Julian day (dynamical time) of the n-th new (kind 0) or full (kind 1) moon
// after 2000 January 6; buffer may be null.
double find_syzygy(int n, int kind, char* buffer);

// Which ephemeris answers: "Swiss Ephemeris files (<folder>)" or
// "Moshier analytical ephemeris".
std::string ephemeris_in_use();

}  // namespace vek::platform
