// Where the program and its data live.
#pragma once

#include <string>

namespace vek {

// The folder of the running program, with a trailing "/". The program's data
// files (vek.dat, pluto.slx, help files) sit there. VEK_DATA_DIR overrides it.
std::string ProgramFolder();

// Joins a folder and a file name with exactly one "/" between them.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace vek
