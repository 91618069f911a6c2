// The telemetry decoder in the main window with recording on against off, in the same run.
//
// MainWnd hosted here reads plant-sim on COM7 through its port control's serial port:
// --counted frames, paced at the line's rate (9600 Bd) or flooding, a fixed number per
// round. Rounds alternate recording off and on (into a CSV file in a temporary folder).
// Per round: frames sent, frames the display showed (the decoder skips the frames that begin
// before its timer tick after a complete one, recording or not), rows recorded, and the
// process's processor time (GetProcessTimes, all threads: the port's reader, the GUI thread
// and the recording's writer) per frame received. After the flooding rounds, the working set
// and committed memory, to show that a long recording keeps its memory flat. Last, the
// recorder alone, fed a million frames as fast as the GUI thread can: its time on the GUI
// thread per frame, and the processor time of the process (the writer's thread included).
// Usage: bench_recording [rounds] [frames at 9600 Bd] [frames flooding]
// (a Windows program; run it through the build's wine-run with plant-sim built natively)
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_SYSTEM/SSystem.h"
#include "app/MainWnd.h"
#include "app/TelemetryRecorder.h"
#include "bench/WinBench.h"
#include "tests/serial/PlantSim.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestResources.h"

#include <windows.h>

#include <gdiplus.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using winbench::cpuMs;
using winbench::nowMs;
using winbench::readText;
using winbench::windowsPath;

// Counts the bytes taken and the levels the display showed, and times the window's byte
// handler (the decoder with its effects on the display, and the recording's share).
class CountingMain : public MainWnd {
public:
    void onReceiveByte(unsigned char byte) override {
        ++bytes;
        const double t0 = nowMs();
        MainWnd::onReceiveByte(byte);
        lastByteMs = nowMs();
        handlerMs += lastByteMs - t0;
    }
    void showLevel(const SString& text, int level) override {
        ++shown;
        MainWnd::showLevel(text, level);
    }
    long long bytes = 0, shown = 0;
    double lastByteMs = 0, handlerMs = 0;
};

void pumpUntil(const std::function<bool()>& done, double limitMs) {
    const double end = nowMs() + limitMs;
    while (!done() && nowMs() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        winbench::pump();
    }
}

struct Round {
    long long frames = 0, shown = 0, rows = 0;
    double cpuMs = 0, handlerMs = 0, seconds = 0;
};

struct Totals {
    Round on, off;
};

bool runRound(CountingMain& main, const std::string& simOptions, int frames, const char* file, Round& r) {
    PlantSim sim("com7", "--counted --quiet --frames " + std::to_string(frames) + " " + simOptions);
    if (!sim.isReady()) {
        std::printf("plant-sim: %s\n", sim.getError().c_str());
        return false;
    }
    main.bytes = main.shown = 0;
    main.handlerMs = 0;
    if (file && !main.startRecording(file)) return false;
    const double t0 = nowMs(), c0 = cpuMs();
    if (!main.getSteuerung().SComPort::open("COM7", main.getHwnd())) {
        std::printf("COM7 does not open\n");
        return false;
    }
    // Until every byte is in, or the line has been quiet for 3 s.
    main.lastByteMs = nowMs();
    pumpUntil([&] { return main.bytes >= 9LL * frames || nowMs() - main.lastByteMs > 3000; }, 600000);
    const double t1 = nowMs(), c1 = cpuMs();
    main.getSteuerung().SComPort::close();
    if (file) main.stopRecording();
    r.frames += main.bytes / 9;
    r.shown += main.shown;
    r.rows += file ? (long long)main.getRecorder().rowsSaved() : 0;
    r.cpuMs += c1 - c0;
    r.handlerMs += main.handlerMs;
    r.seconds += (t1 - t0) / 1000;
    return true;
}

void report(const char* line, const Totals& t) {
    auto show = [](const char* name, const Round& r) {
        std::printf("  recording %-3s %7lld frames in %6.1f s (%6.0f a second), shown %6lld (%5.1f %%), rows %7lld; "
                    "CPU %6.1f us a frame (%4.1f %% of a core), in the byte handler %5.1f us a frame\n",
                    name, r.frames, r.seconds, r.seconds > 0 ? (double)r.frames / r.seconds : 0, r.shown,
                    r.frames ? 100.0 * (double)r.shown / (double)r.frames : 0, r.rows,
                    r.frames ? 1000.0 * r.cpuMs / (double)r.frames : 0, r.seconds > 0 ? r.cpuMs / r.seconds / 10 : 0,
                    r.frames ? 1000.0 * r.handlerMs / (double)r.frames : 0);
    };
    std::printf("%s\n", line);
    show("off", t.off);
    show("on", t.on);
    if (t.off.frames && t.on.frames)
        std::printf("  recording costs %.1f us a frame of the process, %.1f us of it in the byte handler; the display "
                    "shows %.1f %% of the frames with it, %.1f %% without\n",
                    1000.0 * (t.on.cpuMs / (double)t.on.frames - t.off.cpuMs / (double)t.off.frames),
                    1000.0 * (t.on.handlerMs / (double)t.on.frames - t.off.handlerMs / (double)t.off.frames),
                    100.0 * (double)t.on.shown / (double)t.on.frames, 100.0 * (double)t.off.shown / (double)t.off.frames);
}

void memory(const char* when) {
    PROCESS_MEMORY_COUNTERS_EX m{};
    m.cb = sizeof m;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m);
    std::printf("  %s: working set %.1f MB, committed %.1f MB\n", when, (double)m.WorkingSetSize / 1048576.0,
                (double)m.PagefileUsage / 1048576.0);
}

// A million frames straight into a recorder, in the order a line brings their bytes.
void recorderAlone(const SString& file) {
    const int frames = 1000000;
    TelemetryRecorder recorder;
    if (!recorder.start(file)) return;
    const double t0 = nowMs(), c0 = cpuMs();
    for (int n = 0; n < frames; ++n) {
        const unsigned char frame[9] = {0x55, 0xAA, (unsigned char)n, (unsigned char)(n >> 8), (unsigned char)(n & 1),
                                        100, 50, 2, 1};
        for (unsigned char b : frame) recorder.onByte(RecordingFormat::Serial, b);
    }
    const double fed = nowMs() - t0;
    recorder.stop();
    const double t1 = nowMs(), c1 = cpuMs();
    std::printf("the recorder alone: %d frames taken in %.0f ms on the GUI thread (%.2f us a frame), all written after "
                "%.0f ms; the process's processor time %.2f us a frame; %llu rows saved\n",
                frames, fed, 1000.0 * fed / frames, t1 - t0, 1000.0 * (c1 - c0) / frames,
                (unsigned long long)recorder.rowsSaved());
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    const int paced = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int flooded = argc > 3 ? std::atoi(argv[3]) : 5000;
    SSystem::setPresenter([](void*, const char* text, const char*, unsigned) {
        std::printf("box: %s\n", text);
        return (int)SSystem::OK;
    });
    timeBeginPeriod(1);
    std::printf("load average: %s", readText("Z:\\proc\\loadavg").c_str());
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    startTestResources(readText(windowsPath(ANLAGE_CONTROLPOS)).c_str());
    TempDir folder;
    globalApplicationBasic.setConfigFolders(folder.path(), folder.path());
    globalApplicationBasic.parseCommandLine(folder.file("Anlage.exe"));
    globalApplicationBasic.openUserConfigFile();
    globalApplication.startTimer();
    {
        CountingMain main;
        main.create(nullptr);
        main.show(SW_SHOWNORMAL);
        pumpUntil([] { return false; }, 500);
        const SString file = folder.file("aufzeichnung.csv");
        Totals line, flood;
        for (int round = 0; round < 2 * rounds; ++round) {
            const bool on = round % 2 == 1;
            if (!runRound(main, "--rate 9600", paced, on ? file.getBuffer() : nullptr, on ? line.on : line.off))
                return 1;
        }
        report("at the line's rate (9600 Bd, 960 bytes a second)", line);
        memory("before the flooding rounds");
        for (int round = 0; round < 2 * rounds; ++round) {
            const bool on = round % 2 == 1;
            if (!runRound(main, "--flood", flooded, on ? file.getBuffer() : nullptr, on ? flood.on : flood.off))
                return 1;
        }
        report("flooding (as fast as the port takes the bytes)", flood);
        memory("after the flooding rounds");
        recorderAlone(file);
        memory("after the recorder alone");
        main.close();
        pumpUntil([] { return false; }, 200);
    }
    globalApplicationBasic.getUserConfig().close(false);
    timeEndPeriod(1);
    std::printf("load average: %s", readText("Z:\\proc\\loadavg").c_str());
    return 0;
}
