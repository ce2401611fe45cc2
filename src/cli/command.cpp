#include "cli/command.h"

#include <cstdio>

#include "cli/cli_util.h"

namespace vek::cli {

namespace {

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: vek-cli <command> [options]\ncommands:\n");
    for (const auto& c : Commands()) std::fprintf(out, "  %s\n", c.usage);
}

}  // namespace

bool RegisterCommand(const Command& c) {
    Registry().push_back(c);
    return true;
}

const std::vector<Command>& Commands() {
    return Registry();
}

int RunCommandLine(const std::vector<std::string>& args) {
    if (args.empty()) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string& name = args[0];
    if (name == "help" || name == "--help" || name == "-h") {
        PrintUsage(stdout);
        return 0;
    }
    for (const auto& c : Commands()) {
        if (name == c.name) return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    std::fprintf(stderr, "vek-cli: unknown command %s (try 'vek-cli help')\n",
                 Quoted(name).c_str());
    return 2;
}

}  // namespace vek::cli
