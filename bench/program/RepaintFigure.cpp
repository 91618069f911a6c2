// Full repaint: RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN) of
// MainWnd, of a bare window of the same size and of a bare window with plain Win32 copies of
// the main window's child windows, in turn. Then the paint messages of one repaint of each,
// counted and timed window by window; the main window's frame alone and its children one by
// one beside their bare copies; and the elements drawn anew, one by one.
#include "VEK_GUI/SApplication.h"
#include "VEK_GraphicsElement/SGraphicElement.h"
#include "bench/BareClone.h"
#include "bench/PaintProfile.h"
#include "bench/program/ProgramBench.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

namespace programbench {

namespace {

const UINT kFull = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN;

double redrawMs(HWND hwnd, UINT flags) {
    const double t0 = nowMs();
    RedrawWindow(hwnd, nullptr, nullptr, flags);
    GdiFlush();
    return nowMs() - t0;
}

std::vector<HWND> visibleChildren(HWND parent) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsWindowVisible(c)) children.push_back(c);
    return children;
}

// The messages of `repaints` full repaints of a window, window by window.
void profileMessages(HWND window, const char* title, int repaints, bool perWindow) {
    winbench::PaintProfile profile(window);
    for (int i = 0; i < repaints; ++i) {
        RedrawWindow(window, nullptr, nullptr, kFull);
        pump();
    }
    profile.print(title, repaints, perWindow);
}

// Each child of the main window repainted alone beside its bare copy (same place in the
// other window's child list).
void childByChild(HWND main, HWND bare, int rounds) {
    const std::vector<HWND> mine = visibleChildren(main), copies = visibleChildren(bare);
    std::vector<std::vector<double>> mineMs(mine.size()), copyMs(copies.size());
    for (int round = 0; round < rounds; ++round)
        for (size_t i = 0; i < mine.size(); ++i) {
            mineMs[i].push_back(redrawMs(mine[i], kFull));
            if (i < copies.size()) copyMs[i].push_back(redrawMs(copies[i], kFull));
        }
    std::printf("  child windows, each repainted alone (medians, library / bare copy):\n");
    for (size_t i = 0; i < mine.size(); ++i) {
        char name[64] = "", text[32] = "";
        GetClassNameA(mine[i], name, sizeof name);
        GetWindowTextA(mine[i], text, sizeof text);
        std::printf("    %-22s %-20s %5.2f / %5.2f ms\n", name, text, median(mineMs[i]),
                    i < copyMs.size() ? median(copyMs[i]) : 0.0);
    }
}

// The elements drawn anew from scratch into a buffer, one by one (what a start, a resize or a
// zoom costs; a repaint copies them from the window's cache).
void elementsAnew(BenchMain& main, int rounds) {
    RECT client;
    GetClientRect(main.getHwnd(), &client);
    SGraphicElementList& elements = main.getGraphicElements();
    std::vector<std::vector<double>> perElement((size_t)elements.count());
    std::vector<double> total;
    for (int round = 0; round < rounds; ++round) {
        const double t0 = nowMs();
        Gdiplus::Bitmap buffer(client.right, client.bottom, PixelFormat32bppARGB);
        Gdiplus::Graphics g(&buffer);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        g.Clear(Gdiplus::Color(0xFFF0F0FF));
        for (int i = 0; i < elements.count(); ++i) {
            const double e0 = nowMs();
            if (elements[i]) elements[i]->paint(g);
            perElement[(size_t)i].push_back(nowMs() - e0);
        }
        total.push_back(nowMs() - t0);
    }
    std::printf("  the %d elements drawn anew into a buffer (%d rounds): %.2f ms median, slowest first:\n",
                elements.count(), rounds, median(total));
    std::vector<int> order((size_t)elements.count());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return median(perElement[(size_t)a]) > median(perElement[(size_t)b]); });
    for (int i : order) {
        SGraphicElement* e = elements[i];
        if (!e) continue;
        const SRectFloat& r = e->getRect();
        std::printf("    %-12s %-10s %4.0f x %-4.0f %6.2f ms\n", e->getClassName(), e->getName().getBuffer(), r.width,
                    r.height, median(perElement[(size_t)i]));
    }
}

} // namespace

void measureRepaint(BenchMain& main, int rounds) {
    RECT r;
    GetWindowRect(main.getHwnd(), &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const DWORD style = WS_OVERLAPPEDWINDOW;
    HWND bare = winbench::createBareTop("bare", r.right, r.top, width, height, style);
    HWND bareWithChildren = winbench::createBareTop("bare", r.right, r.bottom, width, height, style);
    winbench::BareBlueprint blueprint(main.getHwnd(), SApplication::windowProcedure);
    blueprint.build(bareWithChildren);
    pumpFor(300);
    std::vector<double> mainMs, bareMs, bareChildrenMs, ratios;
    const double cpu0 = cpuMs();
    for (int i = 0; i < rounds; ++i) {
        mainMs.push_back(redrawMs(main.getHwnd(), kFull));
        bareMs.push_back(redrawMs(bare, kFull));
        bareChildrenMs.push_back(redrawMs(bareWithChildren, kFull));
        // Side by side within a round: what the load of a shared machine does falls on both.
        ratios.push_back(mainMs.back() / bareChildrenMs.back());
        pump();
    }
    const double cpuPerRound = (cpuMs() - cpu0) / rounds;
    std::vector<double> frameMs;
    for (int i = 0; i < rounds; ++i) {
        frameMs.push_back(redrawMs(main.getHwnd(), RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_NOCHILDREN));
        pump();
    }
    std::printf("full repaint, %d x %d px, %d rounds: MainWnd median %.2f ms (p99 %.2f); bare window with the same "
                "%d child windows %.2f ms (p99 %.2f); ratio of the medians %.2f, median of the rounds' ratios "
                "%.2f\n",
                width, height, rounds, median(mainMs), percentile(mainMs, 0.99), blueprint.count(),
                median(bareChildrenMs), percentile(bareChildrenMs, 0.99), median(mainMs) / median(bareChildrenMs),
                median(ratios));
    std::printf("  empty bare window %.2f ms; MainWnd's frame alone %.2f ms (all three windows: %.2f ms CPU a "
                "round)\n",
                median(bareMs), median(frameMs), cpuPerRound);
    const int profiled = std::max(10, rounds / 10);
    profileMessages(main.getHwnd(), "MainWnd", profiled, true);
    profileMessages(bareWithChildren, "bare copy", profiled, true);
    childByChild(main.getHwnd(), bareWithChildren, std::max(10, rounds / 10));
    DestroyWindow(bare);
    DestroyWindow(bareWithChildren);
    elementsAnew(main, std::max(10, rounds / 10));
}

} // namespace programbench
