// The bare Win32 program the whole program is measured against: one window with a plain
// class that paints a filled rectangle, and the same 10 ms thread timer the application
// object runs, doing nothing. Started by bench_program; runs until its window is closed.
// Started with "entered NS FILE" it only writes to FILE how many milliseconds after NS (the
// starter's wall clock in ns since 1970) its WinMain was entered, and ends.
#include "bench/WinBench.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void CALLBACK onTick(HWND, UINT, UINT_PTR, DWORD) {}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r{20, 20, 220, 120};
        FillRect(dc, &r, (HBRUSH)GetStockObject(DKGRAY_BRUSH));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, message, w, l);
    }
}

} // namespace

bool reportEntry(const char* arguments) {
    char file[MAX_PATH] = "";
    long long started = 0;
    if (std::sscanf(arguments, "entered %lld \"%259[^\"]\"", &started, file) != 2) return false;
    if (std::FILE* f = std::fopen(file, "w")) {
        std::fprintf(f, "%.3f\n", (double)(winbench::wallClockNs() - started) / 1e6);
        std::fclose(f);
    }
    return true;
}

// Optional arguments: the window's outer width and height (default 800 600).
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    if (reportEntry(arguments)) return 0;
    int width = 800, height = 600;
    char* end = arguments;
    if (long w = strtol(arguments, &end, 10); w > 0) width = (int)w;
    if (long h = strtol(end, nullptr, 10); h > 0) height = (int)h;
    WNDCLASSA c{};
    c.lpfnWndProc = windowProc;
    c.hInstance = instance;
    c.hCursor = LoadCursor(nullptr, IDC_ARROW);
    c.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    c.lpszClassName = "BareWindow";
    RegisterClassA(&c);
    HWND hwnd = CreateWindowA("BareWindow", "Bare", WS_OVERLAPPEDWINDOW, 0, 0, width, height, nullptr, nullptr, instance,
                              nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetTimer(nullptr, 0, 10, onTick);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
