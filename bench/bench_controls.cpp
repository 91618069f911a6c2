// The control gallery against bare Win32 in the same run: creating the gallery's frame with
// all its controls, and a full repaint of it, beside a plain window holding as many plain
// BUTTON, EDIT and STATIC controls made with CreateWindowEx, created and repainted the same
// way. The ratios are the figures. Usage: bench_controls [rounds]   (Windows program; run
// it under Wine with build/…/wine-run)
#include "VEK_GUI/SApplication.h"
#include "VEK_UTIL/SResources.h"
#include "tools/control-gallery/GalleryFrame.h"
#include "bench/WinBench.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using winbench::nowMs;
using winbench::pump;

BOOL CALLBACK countOne(HWND, LPARAM counter) { return ++*reinterpret_cast<int*>(counter), TRUE; }

int countChildren(HWND parent) {
    int count = 0;
    EnumChildWindows(parent, countOne, (LPARAM)&count);
    return count;
}

// WM_PAINT and WM_ERASEBKGND messages handled, seen by a hook on the thread.
long paints = 0;
LRESULT CALLBACK countPaints(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION) {
        UINT msg = reinterpret_cast<const CWPSTRUCT*>(l)->message;
        if (msg == WM_PAINT || msg == WM_ERASEBKGND) ++paints;
    }
    return CallNextHookEx(nullptr, code, w, l);
}

// Invalidates the window and every child and paints them all before returning.
void repaint(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
}

// Paint and erase messages of one full repaint.
long paintsPerRepaint(HWND hwnd) {
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, countPaints, nullptr, GetCurrentThreadId());
    paints = 0;
    repaint(hwnd);
    UnhookWindowsHookEx(hook);
    return paints;
}

// A plain top-level window with `count` controls, cycling through BUTTON, EDIT and STATIC.
class BareWindow {
public:
    explicit BareWindow(int count) {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA c{};
            c.lpfnWndProc = DefWindowProcA;
            c.hInstance = GetModuleHandleA(nullptr);
            c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            c.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
            c.lpszClassName = "BenchBareWindow";
            registered = RegisterClassA(&c) != 0;
        }
        hwnd = CreateWindowExA(0, "BenchBareWindow", "Win32", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 720,
                               560, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        static const char* const classes[] = {"BUTTON", "EDIT", "STATIC"};
        HFONT font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
        for (int i = 0; i < count; ++i) {
            DWORD style = WS_CHILD | WS_VISIBLE | (i % 3 == 1 ? WS_BORDER : 0);
            HWND child = CreateWindowExA(0, classes[i % 3], "Steuerelement", style, 20 + (i % 4) * 170,
                                         20 + (i / 4) * 36, 160, 26, hwnd, (HMENU)(INT_PTR)(100 + i),
                                         GetModuleHandleA(nullptr), nullptr);
            SendMessageA(child, WM_SETFONT, (WPARAM)font, FALSE);
        }
        ShowWindow(hwnd, SW_SHOWNORMAL);
        UpdateWindow(hwnd);
    }
    ~BareWindow() { DestroyWindow(hwnd); }
    BareWindow(const BareWindow&) = delete;
    BareWindow& operator=(const BareWindow&) = delete;
    HWND hwnd = nullptr;
};

struct Timing {
    double createMs = 0; // per window with its controls: created, shown, painted, destroyed
    double repaintMs = 0; // per full repaint
    long paintMessages = 0; // WM_PAINT and WM_ERASEBKGND per full repaint
};

Timing measureGallery(int rounds, int& controls) {
    Timing t;
    double start = nowMs();
    for (int i = 0; i < rounds; ++i) {
        auto frame = std::make_unique<GalleryFrame>();
        frame->create(nullptr);
        frame->show(SW_SHOWNORMAL);
        UpdateWindow(frame->getHwnd());
        controls = countChildren(frame->getHwnd());
        frame.reset();
        pump();
    }
    t.createMs = (nowMs() - start) / rounds;
    GalleryFrame frame;
    frame.create(nullptr);
    frame.show(SW_SHOWNORMAL);
    pump();
    start = nowMs();
    for (int i = 0; i < rounds; ++i) repaint(frame.getHwnd());
    t.repaintMs = (nowMs() - start) / rounds;
    t.paintMessages = paintsPerRepaint(frame.getHwnd());
    return t;
}

Timing measureBare(int rounds, int controls) {
    Timing t;
    double start = nowMs();
    for (int i = 0; i < rounds; ++i) {
        auto bare = std::make_unique<BareWindow>(controls);
        bare.reset();
        pump();
    }
    t.createMs = (nowMs() - start) / rounds;
    BareWindow bare(controls);
    pump();
    start = nowMs();
    for (int i = 0; i < rounds; ++i) repaint(bare.hwnd);
    t.repaintMs = (nowMs() - start) / rounds;
    t.paintMessages = paintsPerRepaint(bare.hwnd);
    return t;
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

    int controls = 0;
    measureGallery(2, controls); // warm: classes, fonts, pictures
    measureBare(2, controls);
    Timing gallery = measureGallery(rounds, controls);
    Timing bare = measureBare(rounds, controls);
    std::printf("controls per window: %d (rounds %d)\n", controls, rounds);
    std::printf("%-34s %10s %10s %8s\n", "", "gallery", "win32", "ratio");
    std::printf("%-34s %9.2f ms %7.2f ms %8.2f\n", "create, show, paint, destroy", gallery.createMs, bare.createMs,
                gallery.createMs / bare.createMs);
    std::printf("%-34s %9.2f ms %7.2f ms %8.2f\n", "full repaint", gallery.repaintMs, bare.repaintMs,
                gallery.repaintMs / bare.repaintMs);
    std::printf("%-34s %10ld %10ld\n", "paint and erase messages", gallery.paintMessages, bare.paintMessages);
    return 0;
}
