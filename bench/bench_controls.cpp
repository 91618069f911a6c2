// The control gallery against bare Win32 in the same run: the gallery's frame with all its
// controls created, shown, painted and destroyed, and a full repaint of it, beside a bare
// Win32 gallery with the same windows (copied from the gallery: the same platform classes,
// styles, places, texts, fonts and contents, made with CreateWindowEx; the library's own
// windows become plain ones), in alternating rounds. The ratios of the medians are the
// figures; the paint messages of one repaint are counted window by window.
// Usage: bench_controls [rounds]   (Windows program; run it under Wine with build/…/wine-run)
#include "VEK_GUI/SApplication.h"
#include "VEK_UTIL/SResources.h"
#include "bench/BareClone.h"
#include "bench/PaintProfile.h"
#include "bench/WinBench.h"
#include "tools/control-gallery/GalleryFrame.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using winbench::nowMs;
using winbench::pump;

const UINT kFull = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int countDescendants(HWND parent) {
    int count = 0;
    EnumChildWindows(parent, [](HWND, LPARAM n) { return ++*reinterpret_cast<int*>(n), TRUE; }, (LPARAM)&count);
    return count;
}

double repaintMs(HWND hwnd) {
    const double t0 = nowMs();
    RedrawWindow(hwnd, nullptr, nullptr, kFull);
    GdiFlush();
    return nowMs() - t0;
}

// The gallery's frame created, shown, painted (all its windows) and destroyed.
double galleryRound() {
    const double t0 = nowMs();
    {
        GalleryFrame frame;
        frame.create(nullptr);
        frame.show(SW_SHOWNORMAL);
        RedrawWindow(frame.getHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    pump();
    return nowMs() - t0;
}

// The bare gallery the same way.
double bareRound(const winbench::BareBlueprint& blueprint, const RECT& place) {
    const double t0 = nowMs();
    HWND top = CreateWindowExA(0, "BenchBareTop", "Win32", WS_OVERLAPPEDWINDOW, place.left, place.top,
                               place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    blueprint.build(top);
    ShowWindow(top, SW_SHOWNORMAL);
    RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    DestroyWindow(top);
    pump();
    return nowMs() - t0;
}

void profileRepaints(HWND window, const char* title, int repaints, bool perWindow) {
    winbench::PaintProfile profile(window);
    for (int i = 0; i < repaints; ++i) {
        RedrawWindow(window, nullptr, nullptr, kFull);
        pump();
    }
    profile.print(title, repaints, perWindow);
}

std::string loadAverage() {
    std::ifstream in("Z:\\proc\\loadavg");
    std::string line;
    std::getline(in, line);
    return line.empty() ? "unknown" : line;
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 50;
    if (rounds < 1) rounds = 1;
    char folder[MAX_PATH] = {0};
    GetTempPathA(MAX_PATH, folder);
    lstrcatA(folder, "bench-controls");
    CreateDirectoryA(folder, nullptr);
    globalResources.setAppDir(folder);
    globalResources.setProgramFile("bench_controls.exe");
    globalResources.init();
    std::printf("load average: %s\n", loadAverage().c_str());

    GalleryFrame gallery;
    if (!gallery.create(nullptr) || !gallery.isWindow()) {
        std::printf("not measured: the gallery's window cannot be made (no display?)\n");
        return 0;
    }
    gallery.show(SW_SHOWNORMAL);
    UpdateWindow(gallery.getHwnd());
    pump();
    RECT place;
    GetWindowRect(gallery.getHwnd(), &place);
    winbench::registerBareClasses();
    const winbench::BareBlueprint blueprint(gallery.getHwnd(), SApplication::windowProcedure);
    HWND bare = CreateWindowExA(0, "BenchBareTop", "Win32", WS_OVERLAPPEDWINDOW, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    blueprint.build(bare);
    ShowWindow(bare, SW_SHOWNOACTIVATE);
    pump();
    std::printf("windows: gallery %d, bare copy %d (rounds %d)\n", countDescendants(gallery.getHwnd()),
                countDescendants(bare), rounds);

    // Alternating, so that the load of a shared machine falls on both alike.
    std::vector<double> galleryRepaint, bareRepaint;
    for (int i = 0; i < rounds; ++i) {
        galleryRepaint.push_back(repaintMs(gallery.getHwnd()));
        bareRepaint.push_back(repaintMs(bare));
        pump();
    }
    const int profiled = std::min(rounds, 10);
    profileRepaints(gallery.getHwnd(), "gallery", profiled, true);
    profileRepaints(bare, "bare copy", profiled, true);
    DestroyWindow(bare);
    gallery.close();
    pump();

    std::vector<double> galleryCreate, bareCreate;
    galleryRound(); // warm: classes, fonts, pictures
    bareRound(blueprint, place);
    for (int i = 0; i < rounds; ++i) {
        galleryCreate.push_back(galleryRound());
        bareCreate.push_back(bareRound(blueprint, place));
    }
    std::printf("%-34s %10s %10s %8s\n", "medians", "gallery", "win32", "ratio");
    std::printf("%-34s %7.2f ms %7.2f ms %8.2f\n", "create, show, paint, destroy", median(galleryCreate),
                median(bareCreate), median(galleryCreate) / median(bareCreate));
    std::printf("%-34s %7.2f ms %7.2f ms %8.2f\n", "full repaint", median(galleryRepaint), median(bareRepaint),
                median(galleryRepaint) / median(bareRepaint));
    std::printf("load average: %s\n", loadAverage().c_str());
    return 0;
}
