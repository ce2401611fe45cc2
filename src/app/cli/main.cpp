// vek-cli: the command-line face of the core library.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vek-cli <command> [options]\n");
        return 2;
    }
    std::fprintf(stderr, "vek-cli: unknown command '%s'\n", argv[1]);
    return 2;
}
