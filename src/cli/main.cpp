// vek-cli: the command-line face of the core library.
#include <string>
#include <vector>

#include "cli/command.h"

int main(int argc, char** argv) {
    return vek::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}
