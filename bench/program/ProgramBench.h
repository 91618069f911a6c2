// What the figures of bench_program share: statistics, paths, a pump that waits like the
// program's message loop, the main window hosted in the benchmark with its stamps, and the
// figures themselves (one source file each).
#pragma once

#include "app/MainWnd.h"
#include "bench/WinBench.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace programbench {

using winbench::cpuMs;
using winbench::nowMs;
using winbench::pump;
using winbench::readText;
using winbench::wallClockNs;
using winbench::windowsPath;

double percentile(std::vector<double> v, double p);
double median(const std::vector<double>& v);
// Dispatches messages for ms milliseconds or until done() says so.
void pumpFor(double ms, const std::function<bool()>& done = [] { return false; });
// The machine's load average as /proc gives it, without the line end.
std::string loadAverage();

// The main window hosted here. It stamps, per level, when the level became complete in the
// window and when the value text showing it was first painted, and counts where the time
// of each serial byte goes.
class BenchMain : public MainWnd {
public:
    void onReceiveByte(unsigned char byte) override;
    void onTimer(DWORD tickCount) override;
    void startRound(int frames);
    // Watches the value text's paints (the stamps above) until unhook.
    void hookValueText();
    void unhookValueText();

    std::vector<long long> completeNs, paintedNs;
    long long lastByteNs = 0;
    long gaps = 0, levelsShown = 0, valuePaints = 0, bytes = 0, ticks = 0;
    double gapMs = 0, firstByteMs = 0, lastByteMs = 0, tickMs = 0;
    // Time in the window's handler by the decoder's state before the byte (which effect ran).
    double workMs[16] = {};
    long workCount[16] = {};

private:
    static LRESULT CALLBACK valueTextProcedure(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    WNDPROC valueTextOriginal = nullptr;
};

// The figures. Each says what it could not measure instead of printing a figure.
// otherPacked: another build of the packed program (a Windows path) measured in the same rounds.
void measureStart(int rounds, double idleSeconds, const std::string& otherPacked);
void measureLatency(BenchMain& main, int rounds, int frames, int rate);
void measureRepaint(BenchMain& main, int rounds);
void measureMemory(BenchMain& main, double minutes, bool flood);

} // namespace programbench
