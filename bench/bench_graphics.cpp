// The element gallery (220 shaped elements with lighting and shadows, 4 captions) repainted
// whole with the elements' cached layers warm and cold; one element's change to its
// repainted pixels, without and with a rebuild; GDI objects and private memory before and
// after 1,000 paints (GDI+ objects live on the heap, so a leak shows as growing memory).
// Windows program, run under Wine.
#include "tools/element-gallery/ElementGallery.h"

#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SResources.h"
#include "bench/WinBench.h"

#include <windows.h>

#include <gdiplus.h>
#include <psapi.h>

#include <cstdio>
#include <string>

namespace {

using winbench::nowMs;
using winbench::pump;

void dropCaches(ElementGallery& g) {
    for (int row = 0; row < (int)ElementGallery::rows().size(); ++row)
        for (int light = 0; light < ElementGallery::Lightings; ++light) g.element(row, light).update(true);
    for (int i = 0; i < g.captionCount(); ++i) g.caption(i).update(true);
}

double fullRepaintMs(ElementGallery& g, int rounds, bool cold) {
    double total = 0;
    for (int i = 0; i < rounds; ++i) {
        if (cold) dropCaches(g);
        double start = nowMs();
        InvalidateRect(g.getHwnd(), nullptr, FALSE);
        UpdateWindow(g.getHwnd());
        GdiFlush();
        total += nowMs() - start;
    }
    return total / rounds;
}

// From the change to the element's new pixels on the screen.
double changeMs(ElementGallery& g, int rounds, bool rebuild) {
    SGraphicShape& e = g.element(3, 4);
    SRect r = e.boundingRect();
    HDC screen = GetDC(g.getHwnd());
    double total = 0;
    for (int i = 0; i < rounds; ++i) {
        uint32_t colour = (i & 1) ? 0xFFFF0000 : 0xFF0000FF;
        double start = nowMs();
        e.setValueColor(colour);
        if (rebuild) e.update(true);
        UpdateWindow(g.getHwnd());
        GdiFlush();
        COLORREF seen = GetPixel(screen, r.x + 1, r.y + r.height / 2);
        total += nowMs() - start;
        if ((seen & 0xFF) == 0 && (seen >> 16) == 0) std::printf("  (pixel not yet changed)\n");
    }
    ReleaseDC(g.getHwnd(), screen);
    return total / rounds;
}

// Committed memory of the process (Wine reports no private usage and no GDI object count).
SIZE_T privateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

// A message box would stop the run: it is printed instead.
int printBox(void*, const char* text, const char* caption, unsigned) {
    std::printf("box [%s] %s\n", caption, text);
    return IDOK;
}

// The resource manager over an empty controlpos.ini in a folder of the run's own.
void startResources() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp) + "bench_graphics";
    CreateDirectoryA(dir.c_str(), nullptr);
    CreateDirectoryA((dir + "\\VEK-Resourcen").c_str(), nullptr);
    HANDLE f = CreateFileA((dir + "\\VEK-Resourcen\\controlpos.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, 0, nullptr);
    CloseHandle(f);
    globalResources.setAppDir(dir.c_str());
    globalResources.setProgramFile((dir + "\\bench.exe").c_str());
    globalResources.init();
}

} // namespace

int main() {
    SSystem::setPresenter(printBox);
    startResources();
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 1;
    {
        ElementGallery gallery;
        if (!gallery.create(nullptr)) return 2;
        ShowWindow(gallery.getHwnd(), SW_SHOWNORMAL);
        UpdateWindow(gallery.getHwnd());
        pump();
        SRect client = gallery.getClientRect();
        std::printf("gallery %dx%d, 220 shaped elements + 4 captions\n", client.width, client.height);
        fullRepaintMs(gallery, 3, false);
        for (int pass = 0; pass < 2; ++pass) {
            std::printf("full repaint, cached layers cold: %.2f ms (10 rounds)\n", fullRepaintMs(gallery, 10, true));
            std::printf("full repaint, cached layers warm: %.2f ms (10 rounds)\n", fullRepaintMs(gallery, 10, false));
        }
        std::printf("one element's colour to its pixels (no rebuild): %.2f ms (50 rounds)\n", changeMs(gallery, 50, false));
        std::printf("one element's change with rebuild to its pixels: %.2f ms (50 rounds)\n", changeMs(gallery, 50, true));

        fullRepaintMs(gallery, 10, false);
        DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        SIZE_T memoryBefore = privateBytes();
        // Paints of a corner of the grid (ten elements), every other one with a rebuild.
        SRect corner = ElementGallery::cellRect(0, 0);
        RECT area{corner.x - 10, corner.y - 10, corner.x + 5 * ElementGallery::CellWidth,
                  corner.y + 2 * ElementGallery::CellHeight};
        double start = nowMs();
        for (int i = 0; i < 1000; ++i) {
            if (i % 2) gallery.element(i % 2, (i / 2) % 5).update(true);
            InvalidateRect(gallery.getHwnd(), &area, FALSE);
            UpdateWindow(gallery.getHwnd());
        }
        double each = (nowMs() - start) / 1000;
        pump();
        DWORD gdiAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        SIZE_T memoryAfter = privateBytes();
        std::printf("after 1000 paints of ten elements (%.2f ms each): GDI objects %lu -> %lu, private memory %.1f -> "
                    "%.1f MB\n", each, gdiBefore, gdiAfter, memoryBefore / 1048576.0, memoryAfter / 1048576.0);
        DestroyWindow(gallery.getHwnd());
        pump();
    }
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
