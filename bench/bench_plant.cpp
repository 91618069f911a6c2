// The plant picture under telemetry: the plant gallery with its layout, updated as the main
// window updates it for each telemetry frame (level with text, gauge and chart, both pumps,
// status and ratio texts), painted after every update. Three runs of the same length:
// at the line's rate (one 9-byte frame at 9600 Bd, about 107 frames/s), flat out, and a
// repaint of the whole window with nothing changed. Figures: updates shown per second, the
// paint time per update (median and 99th percentile) and the process's CPU time.
// Usage: bench_plant [seconds per run]   (Windows program; run it under Wine with
// build/…/wine-run)
#include "VEK_UTIL/SFileIni.h"
#include "VEK_UTIL/SResources.h"
#include "tools/plant-gallery/PlantGallery.h"
#include "bench/WinBench.h"

#include <windows.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using winbench::nowMs;
using winbench::cpuMs;
using winbench::pump;

// Paints what is invalid in the window and its children now.
void paintPending(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
}

struct Run {
    const char* name;
    int updates = 0;
    double seconds = 0;
    double cpuSeconds = 0;
    std::vector<double> paints; // ms per update
};

// One telemetry frame's worth of change, as the main window applies it.
void applyFrame(PlantGallery& gallery, int frame) {
    const int phase = frame % 572; // 286 frames up, 286 down (about 2.7 s each at the line's rate)
    const int share = phase < 286 ? phase : 572 - phase;
    const int level = PlantGallery::Minimum + (PlantGallery::Maximum - PlantGallery::Minimum) * share / 286;
    gallery.showFrame(level, phase < 286, phase >= 143 && phase < 286, 1 + frame / 1000 % 2, 1);
    gallery.pump(1).update(false); // the main window repaints both pumps after each frame
    gallery.pump(2).update(false);
}

// mode 0: at the line's rate, 1: flat out, 2: nothing changed (whole window repainted)
Run measure(PlantGallery& gallery, int mode, double seconds) {
    static const char* const names[] = {"telemetry rate (107 frames/s)", "flat out", "repaint, nothing changed"};
    Run run;
    run.name = names[mode];
    const double frameMs = 9.0 * 10.0 / 9600.0 * 1000.0; // 9 bytes of 10 bits at 9600 Bd: 9.375 ms
    HWND hwnd = gallery.getHwnd();
    pump();
    const double cpuStart = cpuMs(), start = nowMs();
    double next = start;
    while (nowMs() - start < seconds * 1000.0) {
        if (mode == 0) {
            while (nowMs() < next) {
                pump();
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            }
            next += frameMs;
        }
        const double t0 = nowMs();
        if (mode == 2)
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        else
            applyFrame(gallery, run.updates);
        paintPending(hwnd);
        run.paints.push_back(nowMs() - t0);
        ++run.updates;
        if (mode != 0) pump();
    }
    run.seconds = (nowMs() - start) / 1000.0;
    run.cpuSeconds = (cpuMs() - cpuStart) / 1000.0;
    return run;
}

// The paint time of one part of an update alone, median over n updates, and the process's
// CPU time per update.
double partMs(PlantGallery& gallery, int part, int n, double& cpuPerUpdate) {
    std::vector<double> times;
    const double cpuStart = cpuMs();
    HWND hwnd = gallery.getHwnd();
    SString text;
    for (int i = 0; i < n; ++i) {
        const double t0 = nowMs();
        const int level = 1300 + 10 * (i % 150);
        switch (part) {
        case 0: gallery.tank().fuellstand.setValue((float)level); break;
        case 1:
            gallery.pump(1).setValue((float)(i % 2));
            gallery.pump(2).setValue((float)((i + 1) % 2));
            break;
        case 2: gallery.valueText().setWindowText(text.format("Level = %d", level)); break;
        default: gallery.chart().addValue(level); break;
        }
        paintPending(hwnd);
        times.push_back(nowMs() - t0);
        pump();
    }
    cpuPerUpdate = (cpuMs() - cpuStart) / n;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, (size_t)(p * (double)(v.size() - 1) + 0.5))];
}

} // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    if (seconds <= 0) seconds = 10.0;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    char folder[MAX_PATH] = {0};
    GetTempPathA(MAX_PATH, folder);
    lstrcatA(folder, "bench-plant");
    CreateDirectoryA(folder, nullptr);
    globalResources.setAppDir(folder);
    globalResources.setProgramFile("bench_plant.exe");
    globalResources.init();
    SFileIni layout;
    if (layout.load("Z:" PLANT_GALLERY_INI, false, true))
        globalResources.controlPositions.setSectionText("PlantGallery_ge", layout.getSectionText("PlantGallery_ge"));

    std::vector<Run> runs;
    {
        PlantGallery gallery;
        gallery.create(nullptr);
        ShowWindow(gallery.getHwnd(), SW_SHOWNORMAL);
        SetForegroundWindow(gallery.getHwnd());
        pump();
        paintPending(gallery.getHwnd());
        measure(gallery, 1, 0.5); // warm: fonts, cached layers
        for (int mode = 0; mode < 3; ++mode) runs.push_back(measure(gallery, mode, seconds));
        static const char* const parts[] = {"level gauge", "both pumps", "value text", "chart"};
        for (int part = 0; part < 4; ++part) {
            double cpu = 0;
            const double median = partMs(gallery, part, 50, cpu);
            std::printf("the %-12s alone: paint %8.3f ms (median of 50), CPU %7.3f ms per update\n", parts[part],
                        median, cpu);
        }
        DestroyWindow(gallery.getHwnd());
        pump();
    }
    std::fflush(stdout);
    std::printf("plant gallery, %.0f s per run\n", seconds);
    std::printf("%-32s %10s %12s %12s %12s %10s %14s\n", "", "updates/s", "paint median", "paint p99", "CPU s", "CPU %",
                "CPU per update");
    for (const Run& r : runs)
        std::printf("%-32s %10.1f %9.3f ms %9.3f ms %12.2f %9.0f%% %11.3f ms\n", r.name, r.updates / r.seconds,
                    percentile(r.paints, 0.5), percentile(r.paints, 0.99), r.cpuSeconds,
                    100.0 * r.cpuSeconds / r.seconds, 1000.0 * r.cpuSeconds / r.updates);
    globalResources.controlPositions.setSectionText("PlantGallery_ge", "");
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
