// Where the program and its data live.
#pragma once

#include <string>

namespace vek {

// The folder of the program's data files (vek.dat, pluto.slx, help files),
// with a trailing "/": VEK_DATA_DIR when set, else DataFolderOf the folder of
// the running program.
std::string ProgramFolder();

// Where a program in `programFolder` finds its data: next to itself (a build
// folder, an unpacked archive) when vek.dat is there, else share/vek beside
// its bin folder (an installation, wherever it was moved), else its own
// folder. With a trailing "/".
std::string DataFolderOf(const std::string& programFolder);

// Joins a folder and a file name with exactly one "/" between them.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace vek
