// The program's version and what --version reports.
#pragma once

#include <string>

namespace vek {

// The program's version as the window caption, the saved images, the
// manual pages, the package and --version show it ("0.12"); the build sets
// it from the project version.
std::string ProgramVersionText();

// What --version prints: "<program> <version>" and a line "Ephemeris: ..."
// naming the ephemeris that answers with the data folder handed to it.
std::string VersionReport(const std::string& program, const std::string& dataFolder);

}  // namespace vek
