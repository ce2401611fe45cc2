// vek-cli: the command-line face of the core library.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"

namespace vek::cli {

namespace {
std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}
}  // namespace

bool RegisterCommand(const Command& c) {
    Registry().push_back(c);
    return true;
}

const std::vector<Command>& Commands() {
    return Registry();
}

}  // namespace vek::cli

namespace {
void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: vek-cli <command> [options]\ncommands:\n");
    for (const auto& c : vek::cli::Commands()) std::fprintf(out, "  %s\n", c.usage);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    std::string name = argv[1];
    if (name == "help" || name == "--help" || name == "-h") {
        PrintUsage(stdout);
        return 0;
    }
    for (const auto& c : vek::cli::Commands()) {
        if (name == c.name) return c.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "vek-cli: unknown command '%s' (try 'vek-cli help')\n", name.c_str());
    return 2;
}
