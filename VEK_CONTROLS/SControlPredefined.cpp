#include "VEK_CONTROLS/SControlPredefined.h"

#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

// The object of each subclassed window. Kept in the process, not as a window property: the
// lookup runs for every message, and under Wine a property lookup is a server round trip.
std::unordered_map<HWND, SControlPredefined*>& subclassedControls() {
    static std::unordered_map<HWND, SControlPredefined*> controls;
    return controls;
}

SControlPredefined* controlOf(HWND h) {
    auto found = subclassedControls().find(h);
    return found == subclassedControls().end() ? nullptr : found->second;
}

struct ClassProcedure {
    char name[64];
    WNDPROC procedure;
};

// Process-wide, set once per platform class by its first control (GUI thread only).
std::vector<ClassProcedure>& classProcedures() {
    static std::vector<ClassProcedure> table;
    return table;
}

} // namespace

SControlPredefined::~SControlPredefined() {
    // Destroyed while the class procedure is still reachable through this object: the
    // platform control must see its WM_DESTROY and WM_NCDESTROY to free what it holds.
    if (isWindow()) DestroyWindow(hwnd);
    unsubclass();
}

WNDPROC SControlPredefined::classProcedure(const char* platformClass) {
    for (const ClassProcedure& c : classProcedures())
        if (_stricmp(c.name, platformClass) == 0) return c.procedure;
    return nullptr;
}

WNDPROC SControlPredefined::storeClassProcedure(HWND h, const char* platformClass) {
    if (WNDPROC known = classProcedure(platformClass)) return known;
    ClassProcedure entry{};
    std::strncpy(entry.name, platformClass, sizeof entry.name - 1);
    // Under common controls 6 this may be a handle-like value: only CallWindowProcA calls it.
    entry.procedure = (WNDPROC)GetClassLongPtrA(h, GCLP_WNDPROC);
    if (!entry.procedure) return nullptr;
    classProcedures().push_back(entry);
    return entry.procedure;
}

void SControlPredefined::onAfterCreate() {
    SControlPositioned::onAfterCreate();
    if (!hwnd || subclassed) return;
    original = storeClassProcedure(hwnd, className);
    if (!original) return;
    subclassedControls()[hwnd] = this;
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)subclassProcedure);
    subclassed = true;
}

void SControlPredefined::unsubclass() {
    if (!subclassed) return;
    subclassed = false;
    subclassedControls().erase(hwnd);
    if (!IsWindow(hwnd)) return;
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)original);
}

LRESULT CALLBACK SControlPredefined::subclassProcedure(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    SControlPredefined* control = controlOf(h);
    if (!control || control->hwnd != h) {
        char name[64] = {0};
        GetClassNameA(h, name, sizeof name);
        WNDPROC procedure = classProcedure(name);
        return procedure ? CallWindowProcA(procedure, h, msg, wParam, lParam) : DefWindowProcA(h, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        // The last message: the window goes back to its class procedure.
        subclassedControls().erase(h);
        control->subclassed = false;
        SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)control->original);
        return CallWindowProcA(control->original, h, msg, wParam, lParam);
    }
    bool handled = false;
    LRESULT result = 0;
    // The handlers first; what they leave reaches the class procedure through callDefaultProc.
    return control->windowProc(h, msg, wParam, lParam, handled, result);
}

LRESULT SControlPredefined::callDefaultProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (subclassed && original) return CallWindowProcA(original, h, msg, wParam, lParam);
    return SWindow::callDefaultProc(h, msg, wParam, lParam);
}

LRESULT SControlPredefined::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled,
                                       LRESULT& result) {
    if (msg == WM_PAINT && h == hwnd && h && !handled) {
        // The platform paints its control first (the library's own paint would validate the
        // window before it could); the library's drawing goes on top.
        result = callDefaultProc(h, msg, wParam, lParam);
        handled = true;
        if (drawsOverPlatform()) paintOver();
        return result;
    }
    return SControlPositioned::windowProc(h, msg, wParam, lParam, handled, result);
}

void SControlPredefined::paintOver() {
    HDC dc = GetDC(hwnd);
    if (!dc) return;
    device.setHwnd(hwnd);
    device.beginPaint(dc);
    paintBackground(device);
    onPaint(device);
    device.endPaint();
    ReleaseDC(hwnd, dc);
}
