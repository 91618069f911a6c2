// Working set under telemetry: MainWnd hosted here on plant-sim (9600 Bd, or flooding) for
// some minutes; working set, private bytes and handle count every 10 s, and at the end the
// growth from the first minute's samples to the last ones.
#include "bench/program/ProgramBench.h"
#include "tests/serial/PlantSim.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace programbench {

void measureMemory(BenchMain& main, double minutes, bool flood) {
    PlantSim sim("com8", flood ? "--flood --quiet" : "--rate 9600 --quiet");
    if (!sim.isReady() || !main.getSteuerung().SComPort::open("COM8", main.getHwnd())) {
        std::printf("memory: no telemetry: %s\n", sim.getError().c_str());
        return;
    }
    std::printf("working set under telemetry (%s), a sample every 10 s for %.0f min:\n",
                flood ? "plant-sim flooding" : "9600 Bd", minutes);
    const double start = nowMs();
    std::vector<double> kib;
    for (int sample = 1; sample <= (int)(minutes * 6); ++sample) {
        pumpFor(start + sample * 10000.0 - nowMs());
        PROCESS_MEMORY_COUNTERS_EX m{};
        GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&m, sizeof m);
        DWORD handles = 0;
        GetProcessHandleCount(GetCurrentProcess(), &handles);
        std::printf("  %4d s: working set %7.0f KiB, private %7.0f KiB, handles %lu, levels shown %ld\n",
                    sample * 10, m.WorkingSetSize / 1024.0, m.PrivateUsage / 1024.0, handles, main.levelsShown);
        std::fflush(stdout);
        kib.push_back(m.WorkingSetSize / 1024.0);
    }
    main.getSteuerung().SComPort::close();
    if (kib.size() < 12) return;
    // The first minute warms up (caches, the first levels); flat means no growth after it.
    const double settled = *std::max_element(kib.begin(), kib.begin() + 6);
    const double last = *std::max_element(kib.end() - 6, kib.end());
    std::printf("working set: %.0f KiB at most in the first minute, %.0f KiB at most in the last minute: %+.0f KiB "
                "(%ld levels shown)\n",
                settled, last, last - settled, main.levelsShown);
}

} // namespace programbench
