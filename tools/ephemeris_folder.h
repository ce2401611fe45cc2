// The Swiss Ephemeris folder of a data generator, chosen the same way by each:
// the folder argument when given, else SE_EPHE_PATH, else Debian's folder.
#pragma once

#include <swephexp.h>

#include <cstdlib>
#include <string>

// Hands the folder to Swiss Ephemeris and returns it. `argument` is the
// program's folder argument, or nullptr when there is none. SE_EPHE_PATH is
// cleared afterwards, since Swiss Ephemeris would let it override the folder
// set here.
inline std::string UseEphemerisFolder(const char* argument) {
    std::string folder = "/usr/share/libswe/ephe";
    if (argument) {
        folder = argument;
    } else if (const char* env = std::getenv("SE_EPHE_PATH"); env && *env) {
        folder = env;
    }
    unsetenv("SE_EPHE_PATH");
    swe_set_ephe_path(folder.c_str());
    return folder;
}
