// Feeds whole vek-cli command lines to the command dispatcher in-process: the
// input is split into arguments at NUL and newline bytes. Every command line
// ends with exit status 0, 1 or 2, never a crash, a hang or a leak. Run with
// -close_fd_mask=3 to keep the commands' output off the terminal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\0' || c == '\n') {
            args.emplace_back();
        } else {
            args.back() += c;
        }
    }
    if (args.size() > 40) return 0;
    const int status = vek::cli::RunCommandLine(args);
    if (status < 0 || status > 2) std::abort();
    return 0;
}
