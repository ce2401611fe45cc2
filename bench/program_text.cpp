// Loading the program's vek.dat and looking texts up.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "config/program_text.h"
#include "util/paths.h"

namespace {

const std::string& RealFile() {
    static const std::string path = vek::JoinPath(VEK_SOURCE_DATA_DIR, "vek.dat");
    return path;
}

void BM_LoadFile(benchmark::State& state) {
    for (auto _ : state) {
        const vek::Result<vek::ProgramTextTable> r = vek::ProgramTextTable::Load(RealFile());
        if (!r) state.SkipWithError("vek.dat did not load");
        benchmark::DoNotOptimize(r->Count());
    }
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMicrosecond);

void BM_LoadFromMemory(benchmark::State& state) {
    std::ifstream in(RealFile(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string content = ss.str();
    for (auto _ : state) {
        const vek::Result<vek::ProgramTextTable> r = vek::ProgramTextTable::Parse(content);
        benchmark::DoNotOptimize(r.ok());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * content.size());
}
BENCHMARK(BM_LoadFromMemory)->Unit(benchmark::kMicrosecond);

void BM_Lookup(benchmark::State& state) {
    const vek::Result<vek::ProgramTextTable> loaded = vek::ProgramTextTable::Load(RealFile());
    if (!loaded) state.SkipWithError("vek.dat did not load");
    const vek::ProgramTextTable table = loaded.ValueOr(vek::ProgramTextTable());
    int n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Get(1 + n % 400, n & 1 ? vek::kGerman : vek::kEnglish).size());
        ++n;
    }
}
BENCHMARK(BM_Lookup);

}  // namespace
