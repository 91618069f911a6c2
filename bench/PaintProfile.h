// The paint messages of a window and all its descendants, counted and timed window by window
// while it is attached. Each window is subclassed in this process: a thread hook would cost a
// wineserver request per message under Wine and bend the times it measures. A message's own
// time leaves out the paint messages it sent on (a button's WM_PAINT holds its parent's
// WM_CTLCOLORBTN and WM_DRAWITEM). GUI thread only; one profile attached at a time.
#pragma once

#include "bench/WinBench.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <vector>

namespace winbench {

class PaintProfile {
public:
    enum Kind { Erase, Paint, NcPaint, CtlColor, DrawItem, Kinds };

    struct Cost {
        long count = 0;
        double ownMs = 0;
    };

    explicit PaintProfile(HWND top) {
        active = this;
        attach(top);
        EnumChildWindows(top, [](HWND child, LPARAM self) { return reinterpret_cast<PaintProfile*>(self)->attach(child), TRUE; },
                         (LPARAM)this);
    }
    ~PaintProfile() {
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            if (IsWindow(it->hwnd) && GetWindowLongPtrA(it->hwnd, GWLP_WNDPROC) == (LONG_PTR)procedure)
                SetWindowLongPtrA(it->hwnd, GWLP_WNDPROC, (LONG_PTR)it->original);
        active = nullptr;
    }
    PaintProfile(const PaintProfile&) = delete;
    PaintProfile& operator=(const PaintProfile&) = delete;

    void clear() {
        for (Window& w : windows)
            for (Cost& c : w.costs) c = Cost{};
    }

    static const char* kindName(int kind) {
        static const char* const names[Kinds] = {"WM_ERASEBKGND", "WM_PAINT", "WM_NCPAINT", "WM_CTLCOLOR*",
                                                 "WM_DRAWITEM"};
        return names[kind];
    }

    Cost total(int kind) const {
        Cost sum;
        for (const Window& w : windows) {
            sum.count += w.costs[kind].count;
            sum.ownMs += w.costs[kind].ownMs;
        }
        return sum;
    }
    // The most messages of a kind that one window got.
    long mostOfOneWindow(int kind) const {
        long most = 0;
        for (const Window& w : windows) most = w.costs[kind].count > most ? w.costs[kind].count : most;
        return most;
    }
    int windowCount() const { return (int)windows.size(); }

    // Per repaint: the totals by kind and the most of one window; with `perWindow` a line per
    // window as well.
    void print(const char* title, int repaints, bool perWindow) const {
        std::printf("  %s, messages per repaint (%d windows):", title, windowCount());
        for (int k = 0; k < Kinds; ++k) {
            const Cost c = total(k);
            if (c.count)
                std::printf(" %s %.1f (%.2f ms)", kindName(k), (double)c.count / repaints, c.ownMs / repaints);
        }
        std::printf("; most for one window: %.1f erases, %.1f paints\n", (double)mostOfOneWindow(Erase) / repaints,
                    (double)mostOfOneWindow(Paint) / repaints);
        if (!perWindow) return;
        for (const Window& w : windows) {
            char name[48] = "", text[24] = "";
            GetClassNameA(w.hwnd, name, sizeof name);
            GetWindowTextA(w.hwnd, text, sizeof text);
            // A text of several lines stays on the window's one line of the table.
            for (char* c = text; *c; ++c)
                if ((unsigned char)*c < ' ') *c = ' ';
            std::printf("    %-22s %-20s", name, text);
            for (int k = 0; k < Kinds; ++k)
                if (w.costs[k].count)
                    std::printf(" %s %.1f x %.2f ms", kindName(k), (double)w.costs[k].count / repaints,
                                w.costs[k].ownMs / repaints / ((double)w.costs[k].count / repaints));
            std::printf("\n");
        }
    }

private:
    struct Window {
        HWND hwnd;
        WNDPROC original;
        Cost costs[Kinds];
    };
    struct Running {
        double startedMs, nestedMs;
    };

    static int kindOf(UINT msg) {
        switch (msg) {
        case WM_ERASEBKGND: return Erase;
        case WM_PAINT: return Paint;
        case WM_NCPAINT: return NcPaint;
        case WM_DRAWITEM: return DrawItem;
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: return CtlColor;
        default: return -1;
        }
    }

    void attach(HWND hwnd) {
        if (index.count(hwnd)) return;
        index[hwnd] = windows.size();
        windows.push_back(Window{hwnd, nullptr, {}});
        windows.back().original = (WNDPROC)SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)procedure);
    }

    static LRESULT CALLBACK procedure(HWND h, UINT msg, WPARAM w, LPARAM l) {
        PaintProfile* p = active;
        if (!p || !p->index.count(h)) return DefWindowProcA(h, msg, w, l);
        const size_t at = p->index[h];
        WNDPROC original = p->windows[at].original;
        // A window that goes while attached gets its own procedure back first.
        if (msg == WM_NCDESTROY) SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)original);
        const int kind = kindOf(msg);
        if (kind < 0) return CallWindowProcA(original, h, msg, w, l);
        p->running.push_back(Running{nowMs(), 0});
        const LRESULT result = CallWindowProcA(original, h, msg, w, l);
        const Running done = p->running.back();
        p->running.pop_back();
        const double ms = nowMs() - done.startedMs;
        if (!p->running.empty()) p->running.back().nestedMs += ms;
        Cost& cost = p->windows[at].costs[kind];
        ++cost.count;
        cost.ownMs += ms - done.nestedMs;
        return result;
    }

    static inline PaintProfile* active = nullptr;
    std::vector<Window> windows;
    std::map<HWND, size_t> index;
    std::vector<Running> running;
};

} // namespace winbench
