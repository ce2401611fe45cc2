// Loading the program's vek.dat and looking texts up.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "display/program_text.h"
#include "util/paths.h"

namespace {

const std::string& RealFile() {
    static const std::string path = vek::JoinPath(VEK_SOURCE_DATA_DIR, "vek.dat");
    return path;
}

void BM_LoadFile(benchmark::State& state) {
    vek::ProgramTextTable table;
    for (auto _ : state) {
        const int r = table.Load(RealFile());
        if (r < 1) state.SkipWithError("vek.dat did not load");
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMicrosecond);

void BM_LoadFromMemory(benchmark::State& state) {
    std::ifstream in(RealFile(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string content = ss.str();
    vek::ProgramTextTable table;
    for (auto _ : state) benchmark::DoNotOptimize(table.LoadFromString(content));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * content.size());
}
BENCHMARK(BM_LoadFromMemory)->Unit(benchmark::kMicrosecond);

void BM_Lookup(benchmark::State& state) {
    vek::ProgramTextTable table;
    if (table.Load(RealFile()) < 1) state.SkipWithError("vek.dat did not load");
    int n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Get(1 + n % 400, n & 1).size());
        ++n;
    }
}
BENCHMARK(BM_Lookup);

}  // namespace
