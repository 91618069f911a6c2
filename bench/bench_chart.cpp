// Full repaints of a 200 x 100 chart with 100 points: SChartControl (buffered, through the
// drawing device) next to a bare Win32 window that paints the same polyline with plain GDI,
// directly and through a memory bitmap; and a new value followed by its repaint, as the
// telemetry does it; the library's GDI objects alive around the repaints. Windows program.
#include "VEK_GUI/SDevice.h"
#include "VEK_GUI/SGdiObject.h"
#include "VEK_GUI/SWindow.h"
#include "VEK_GraphicsElement/SChartControl.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr int width = 200, height = 100, points = 100;

int valueAt(int i) { return (int)std::lround(1000 * std::sin(i / 7.0)); }

// The same curve as the chart draws: client minus one, range -1000..1000.
void plainCurve(HDC dc) {
    RECT r{0, 0, width - 1, height - 1};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &r, white);
    DeleteObject(white);
    POINT curve[points];
    for (int i = 0; i < points; ++i) {
        curve[i].x = i * (width - 1) / points;
        curve[i].y = (height - 1) - (valueAt(i) + 1000) * (height - 1) / 2000;
    }
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(dc, pen);
    Polyline(dc, curve, points);
    SelectObject(dc, old);
    DeleteObject(pen);
}

bool buffered = false;

LRESULT CALLBACK plainProcedure(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_ERASEBKGND) return 1;
    if (msg != WM_PAINT) return DefWindowProcA(h, msg, w, l);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    if (!buffered) {
        plainCurve(dc);
    } else {
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
        HGDIOBJ old = SelectObject(memory, bitmap);
        plainCurve(memory);
        BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
    EndPaint(h, &ps);
    return 0;
}

// The median and the 90th percentile of single rounds: the machine is shared and noisy.
struct Timing {
    double median;
    double p90;
};

Timing timeRounds(int rounds, const std::function<void()>& round) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < 3; ++i) round(); // warm up
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        round();
        GdiFlush();
        QueryPerformanceCounter(&end);
        ms.push_back(1000.0 * (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart);
    }
    std::sort(ms.begin(), ms.end());
    return Timing{ms[ms.size() / 2], ms[ms.size() * 9 / 10]};
}

void repaint(HWND h) {
    InvalidateRect(h, nullptr, FALSE);
    UpdateWindow(h);
}

} // namespace

int main() {
    SWindow parent;
    parent.setStyleBits(WS_POPUP | WS_VISIBLE);
    if (!parent.create(nullptr)) return 1;
    parent.moveWindow(0, 0, 500, 200);
    SChartControl chart;
    chart.createCtrl(&parent, "", 0, 0, width, height);
    chart.setRange(-1000, 1000);
    for (int i = 0; i < points; ++i) chart.addValue(valueAt(i));

    WNDCLASSA wc{};
    wc.lpfnWndProc = plainProcedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchPlainChart";
    RegisterClassA(&wc);
    HWND plain = CreateWindowExA(0, "BenchPlainChart", "", WS_CHILD | WS_VISIBLE, 250, 0, width, height,
                                 parent.getHwnd(), nullptr, wc.hInstance, nullptr);

    const int rounds = 2000;
    HWND chartWindow = chart.getHwnd();
    repaint(chartWindow);
    long gdiBefore = SGdiCount::live();
    Timing control = timeRounds(rounds, [&] { repaint(chartWindow); });
    long gdiAfter = SGdiCount::live();
    buffered = false;
    Timing direct = timeRounds(rounds, [&] { repaint(plain); });
    buffered = true;
    Timing bitmap = timeRounds(rounds, [&] { repaint(plain); });
    int next = points;
    Timing update = timeRounds(rounds, [&] {
        chart.addValue(valueAt(next++));
        UpdateWindow(chartWindow);
    });
    // The drawing alone, into a memory bitmap: no window, no paint messages.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmapHandle = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmapHandle);
    SDevice target;
    Timing drawDevice = timeRounds(rounds, [&] {
        target.beginPaint(memory);
        chart.paintTo(target);
        target.endPaint();
    });
    Timing drawPlain = timeRounds(rounds, [&] { plainCurve(memory); });
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmapHandle);
    DeleteDC(memory);

    std::printf("full repaint %dx%d, %d points, %d rounds each (median / 90th percentile):\n", width, height,
                points, rounds);
    std::printf("  SChartControl (buffered)       %.3f / %.3f ms\n", control.median, control.p90);
    std::printf("  plain GDI, direct              %.3f / %.3f ms\n", direct.median, direct.p90);
    std::printf("  plain GDI, memory bitmap       %.3f / %.3f ms\n", bitmap.median, bitmap.p90);
    std::printf("  SChartControl addValue + paint %.3f / %.3f ms\n", update.median, update.p90);
    std::printf("library GDI objects alive before and after %d chart repaints: %ld, %ld\n", rounds + 3, gdiBefore,
                gdiAfter);
    std::printf("drawing only, into a memory bitmap:\n");
    std::printf("  SChartControl through SDevice  %.3f / %.3f ms\n", drawDevice.median, drawDevice.p90);
    std::printf("  plain GDI polyline             %.3f / %.3f ms\n", drawPlain.median, drawPlain.p90);
    DestroyWindow(plain);
    return 0;
}
