// Cost of a resource lookup by name with ten search directories (no pack): the file in
// the last directory, and a name that is nowhere.
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SResources.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

class Fixture {
public:
    Fixture() {
        appDir = SSystem::tempDirectory();
        appDir.appendFormat("vekbench_res_%lld", (long long)SSystem::unixTime());
        SString resourceDir = path(appDir, "VEK-Resourcen");
        SSystem::createDirectory(resourceDir);
        SString ini("[StandardResourcePath]\r\n");
        for (int i = 1; i < 10; ++i) {
            SString dir = path(appDir, SString::formatted("dir%d", i));
            SSystem::createDirectory(dir);
            ini.appendFormat("p%d=%s\r\n", i, dir.getBuffer());
        }
        SSystem::writeFileAtomic(path(resourceDir, "resource.ini"), ini, ini.length());
        SSystem::writeFileAtomic(path(path(appDir, "dir9"), "last.bmp"), "BM", 2);
        resources.setAppDir(appDir);
        resources.init();
    }
    ~Fixture() {
        resources.resourceIni.close(false);
        std::filesystem::remove_all(appDir.getBuffer());
    }
    static SString path(const SString& dir, const char* name) {
        SString p(dir);
        p.append(SSystem::pathSeparator());
        p.append(name);
        return p;
    }
    SString appDir;
    SResources resources;
};

void GetFileInTenthPath(benchmark::State& state) {
    Fixture f;
    if (f.resources.getSearchPaths().count() != 10) state.SkipWithError("expected 10 search paths");
    for (auto _ : state) {
        SString found = f.resources.getFile("last.bmp");
        if (found.isEmpty()) state.SkipWithError("not found");
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(GetFileInTenthPath)->Unit(benchmark::kMicrosecond);

void GetFileMissing(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) benchmark::DoNotOptimize(f.resources.getFile("none.bmp"));
}
BENCHMARK(GetFileMissing)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
