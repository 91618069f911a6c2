// Time to unpack a 1 MB resource pack: the start-up cost of a packed program.
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SResourcePack.h"
#include "VEK_UTIL/SResourcePackWriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

// A program file of 200 kB with eight 128 kB entries appended (the size of the icons).
SString writeProgram(const SString& dir) {
    SResourcePackWriter writer;
    std::string data(128 * 1024, 0);
    for (size_t i = 0; i < data.size(); ++i) data[i] = (char)(i * 31 + i / 7);
    for (int i = 0; i < 8; ++i)
        writer.addEntry(SString::formatted("entry%d.bin", i), data.data(), (int)data.size());
    SString path = dir + "bench_prog.exe";
    SString pack = writer.buildPack(200 * 1024);
    std::string bytes(200 * 1024, 'p');
    bytes.append(pack.getBuffer(), (size_t)pack.length());
    FILE* f = std::fopen(path, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

void PackLoad1MB(benchmark::State& state) {
    SString dir = SSystem::tempDirectory();
    SString program = writeProgram(dir);
    for (auto _ : state) {
        SResourcePack pack;
        pack.setTempPath(dir);
        if (!pack.load(program)) state.SkipWithError("load failed");
        state.PauseTiming();
        pack.removeFiles();
        state.ResumeTiming();
    }
    SSystem::deleteFile(program);
    state.SetBytesProcessed(state.iterations() * 8 * 128 * 1024);
}
BENCHMARK(PackLoad1MB)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
