// Full repaints of an 800 x 600 window drawing 1,000 shapes and 100 texts through SDevice,
// direct and buffered, and the GDI objects one such paint creates. Windows program.
#include "VEK_GUI/SDevice.h"

#include <windows.h>

#include <cstdio>

namespace {

struct Scene {
    SDevice device;
    HWND hwnd = nullptr;
    int colours = 1; // distinct colour pairs the shapes cycle through
    int lastCreated = 0;

    void paint() {
        device.beginPaint();
        static const COLORREF pens[] = {RGB(0, 0, 0), RGB(200, 0, 0), RGB(0, 120, 0), RGB(0, 0, 200)};
        static const COLORREF fills[] = {RGB(250, 220, 120), RGB(120, 200, 250), RGB(220, 220, 220),
                                         RGB(250, 160, 160)};
        for (int i = 0; i < 1000; ++i) {
            SRect r{(i * 37) % 760, (i * 53) % 560, 40, 30};
            int c = i % colours;
            switch (i % 4) {
            case 0: device.rectangle(r, pens[c], fills[c]); break;
            case 1: device.ellipse(r, pens[c], fills[c]); break;
            case 2: device.roundRect(r, SSize{8, 8}, pens[c], fills[c]); break;
            default: device.line(r.x, r.y, r.right(), r.bottom(), pens[c]); break;
            }
        }
        for (int i = 0; i < 100; ++i) {
            SRect r{(i * 71) % 700, (i * 29) % 580, 100, 20};
            device.drawText(r, "F\374llstand 42 %", "lt");
        }
        lastCreated = device.getCreatedObjects();
        device.endPaint();
    }
};

Scene* scene = nullptr;

LRESULT CALLBACK procedure(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (scene && msg == WM_ERASEBKGND && scene->device.isNoFlicker()) return 1;
    if (scene && msg == WM_PAINT) {
        scene->paint();
        return 0;
    }
    return DefWindowProcA(h, msg, w, l);
}

double repaintMs(Scene& s, int rounds) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < rounds; ++i) {
        InvalidateRect(s.hwnd, nullptr, TRUE);
        UpdateWindow(s.hwnd);
    }
    GdiFlush();
    QueryPerformanceCounter(&end);
    return 1000.0 * (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart / rounds;
}

} // namespace

int main() {
    Scene s;
    scene = &s;
    WNDCLASSA wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchDevice";
    RegisterClassA(&wc);
    RECT frame{0, 0, 800, 600};
    AdjustWindowRect(&frame, WS_POPUP, FALSE);
    s.hwnd = CreateWindowExA(0, "BenchDevice", "", WS_POPUP | WS_VISIBLE, 0, 0, frame.right - frame.left,
                             frame.bottom - frame.top, nullptr, nullptr, wc.hInstance, nullptr);
    s.device.setHwnd(s.hwnd);
    s.device.setFont("Arial", 10, -2, -2, -2);
    s.device.setBackgroundColor(RGB(160, 141, 140));
    const int rounds = 50;

    for (int buffered = 0; buffered < 2; ++buffered) {
        s.device.setNoFlicker(buffered != 0);
        s.colours = 1;
        repaintMs(s, 3); // warm up fonts and caches
        double ms = repaintMs(s, rounds);
        std::printf("%-12s full repaint 800x600, 1000 shapes + 100 texts: %.2f ms (%d rounds)\n",
                    buffered ? "no-flicker" : "direct", ms, rounds);
    }
    s.device.setNoFlicker(false);
    for (int colours : {1, 2, 4}) {
        s.colours = colours;
        repaintMs(s, 1);
        std::printf("GDI objects created by one paint, %d colour pair(s) cycling: %d\n", colours, s.lastCreated);
    }
    DestroyWindow(s.hwnd);
    scene = nullptr;
    return 0;
}
