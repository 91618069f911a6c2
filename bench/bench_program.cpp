// The whole program end to end, each figure beside a baseline measured in the same run (one
// source file per figure in bench/program/):
// start:   start to first paint of the packed Anlage.exe against a bare Win32 program, idle
//          processor time, and where the program's start spends its time, step by step.
// latency: byte to screen: plant-sim's level byte to the value text painted, through the
//          library's serial port against a bare read thread.
// repaint: full repaint of MainWnd against a bare window with the same child windows, with
//          the paint messages of one repaint counted window by window.
// memory:  working set under telemetry for some minutes.
// capture: a picture of the hosted main window as the repaint figure paints it, to a PNG file.
// Usage: bench_program [all | start [rounds] [idle seconds] [other packed Anlage.exe] |
//                       latency [rounds] [frames] [baud] |
//                       repaint [rounds] | memory [minutes] [flood] | capture FILE.png]
// (a Windows program; run it through the build's wine-run with plant-sim built natively)
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SApplicationBasic.h"
#include "VEK_SYSTEM/SSystem.h"
#include "bench/program/ProgramBench.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestResources.h"
#include "tests/support/gui/WindowCapture.h"

#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace programbench {
int runStartSteps(int argc, char** argv);
}

using namespace programbench;

namespace {

// The main window hosted here for the figures that need it; false (said) when it cannot be
// made, as without a display.
void withHostedMain(const std::string& mode, int argc, char** argv) {
    auto arg = [&](int i, double fallback) { return argc > i ? std::atof(argv[i]) : fallback; };
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    const SString folder = startTestResources(readText(windowsPath(ANLAGE_CONTROLPOS)).c_str());
    // The program's pictures and icons beside the layout, as its pack brings them.
    WIN32_FIND_DATAA found;
    const std::string resources = windowsPath(PROGRAM_RESOURCES);
    HANDLE search = FindFirstFileA((resources + "\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && _stricmp(found.cFileName, "controlpos.ini") != 0)
            CopyFileA((resources + "\\" + found.cFileName).c_str(),
                      (std::string(folder.getBuffer()) + "\\VEK-Resourcen\\" + found.cFileName).c_str(), FALSE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    TempDir config;
    globalApplicationBasic.setConfigFolders(config.path(), config.path());
    globalApplicationBasic.parseCommandLine(config.file("Anlage.exe"));
    globalApplicationBasic.openUserConfigFile();
    globalApplication.startTimer();
    {
        BenchMain main;
        if (!main.create(nullptr) || !main.isWindow()) {
            std::printf("%s: not measured, the main window cannot be made (no display?)\n", mode.c_str());
        } else {
            main.show(SW_SHOWNORMAL);
            pumpFor(500);
            main.hookValueText();
            if (mode == "all" || mode == "latency") measureLatency(main, (int)arg(2, 6), (int)arg(3, 400), (int)arg(4, 9600));
            if (mode == "all" || mode == "repaint") measureRepaint(main, mode == "all" ? 300 : (int)arg(2, 300));
            if (mode == "memory") measureMemory(main, arg(2, 3), argc > 3 && !std::strcmp(argv[3], "flood"));
            if (mode == "capture" && argc > 2)
                std::printf("capture %s: %s\n", argv[2],
                            WindowCapture::ofWindow(main.getHwnd()).savePng(argv[2]) ? "written" : "not written");
            main.unhookValueText();
            main.close();
            pumpFor(200);
        }
    }
    globalApplicationBasic.getUserConfig().close(false);
    Gdiplus::GdiplusShutdown(token);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "all";
    if (mode == "startsteps") return runStartSteps(argc, argv);
    auto arg = [&](int i, double fallback) { return argc > i ? std::atof(argv[i]) : fallback; };
    SSystem::setPresenter([](void*, const char*, const char*, unsigned) { return (int)SSystem::OK; });
    timeBeginPeriod(1);
    std::printf("load average: %s\n", loadAverage().c_str());
    if (mode == "all" || mode == "start") measureStart((int)arg(2, 5), arg(3, 10), mode == "start" && argc > 4 ? argv[4] : "");
    if (mode == "all" || mode == "latency" || mode == "repaint" || mode == "memory" || mode == "capture")
        withHostedMain(mode, argc, argv);
    timeEndPeriod(1);
    std::printf("load average: %s\n", loadAverage().c_str());
    return 0;
}
