// vek-cli: the command-line face of the core library.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/command.h"

int main(int argc, char** argv) {
    const int status = vek::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    // Output that did not reach its file (a full disk, a closed pipe) is a
    // failure, not a success with nothing written.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = errno;
        std::fprintf(stderr, "vek-cli: cannot write the output%s%s\n", error ? ": " : "",
                     error ? std::strerror(error) : "");
        return status != 0 ? status : 1;
    }
    return status;
}
