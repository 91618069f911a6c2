#include "tests/support/gui/InputSender.h"

#include "tests/support/gui/MessagePump.h"
#include "tests/support/gui/Raise.h"
#include "tests/support/gui/WindowCapture.h"

#include <functional>
#include <vector>

namespace {
bool isExtended(UINT vk) {
    switch (vk) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_NUMLOCK: case VK_DIVIDE:
    case VK_RCONTROL: case VK_RMENU: case VK_LWIN: case VK_RWIN: case VK_APPS: case VK_SNAPSHOT:
        return true;
    default:
        return false;
    }
}

// Alt and F10 arrive as system keys.
bool isSystemKey(UINT vk) { return vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU || vk == VK_F10; }

bool isAlt(UINT vk) { return vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU; }

UINT vkOf(char c) {
    SHORT scan = VkKeyScanA(c);
    return scan == -1 ? 0 : (UINT)(scan & 0xFF);
}

INPUT keyInput(WORD vk, WORD scan, DWORD flags) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
    return in;
}

// Absolute mouse input: 0 to 65535 across the primary screen; rounded up so the system's
// truncation (x * width / 65536) lands on the pixel itself.
INPUT mouseInput(DWORD flags, POINT screen = {0, 0}) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    long long w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = (LONG)((screen.x * 65536LL + w - 1) / w);
    in.mi.dy = (LONG)((screen.y * 65536LL + h - 1) / h);
    return in;
}

bool sendOne(INPUT in) {
    bool ok = SendInput(1, &in, sizeof in) == 1;
    MessagePump::flush();
    return ok;
}

DWORD processOf(HWND hwnd) {
    DWORD pid = 0;
    if (hwnd) GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

// Makes a state with make() until holds() is true, and true still once this process has
// handled the events the X screen sent it meanwhile: under Wine a late focus event activates
// the window it names again, a late expose event moves its window up in the z-order again.
void settle(const std::function<void()>& make, const std::function<bool()>& holds) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!holds()) {
            make();
            MessagePump::until(holds, 2000);
        }
        MessagePump::flush();
        if (holds()) return;
    }
}

// SetForegroundWindow of another process's window returns before that process has made it
// the foreground window: input sent at once would go to the window in front before, maybe one
// of another program on the same screen.
void bringToFront(HWND hwnd) {
    SetForegroundWindow(hwnd);
    const DWORD target = processOf(hwnd);
    settle([&] { SetForegroundWindow(hwnd); }, [&] { return processOf(GetForegroundWindow()) == target; });
}

// Whether the X screen shows window around a point: a copy of another process's window comes
// from the screen, black where something lies over it.
bool shownAt(HWND window, POINT screen) {
    POINT local = screen;
    ScreenToClient(window, &local);
    HDC own = GetDC(window), all = GetDC(nullptr);
    WindowCapture mine = WindowCapture::ofDC(own, local.x - 1, local.y - 1, 3, 3);
    WindowCapture seen = WindowCapture::ofDC(all, screen.x - 1, screen.y - 1, 3, 3);
    ReleaseDC(nullptr, all);
    ReleaseDC(window, own);
    return !mine.empty() && mine.pixels() == seen.pixels();
}

// A click goes to whatever window lies under the mouse, in Wine's z-order, which the mouse's
// motion on the X screen changes: the window X shows under the pointer is moved up. When that
// is a window of another program (the target's own popups count as its own), the target is
// raised above it. The window of another process is raised in any case, and must be the one
// the X screen shows there: Wine's z-order may have it in front before its X window is.
void uncover(HWND hwnd, POINT screen) {
    const DWORD target = processOf(hwnd);
    const bool ofOtherProcess = target != GetCurrentProcessId();
    auto raise = [&] { raiseAboveAll(GetAncestor(hwnd, GA_ROOT)); };
    if (ofOtherProcess) raise();
    settle(raise, [&] {
        HWND under = WindowFromPoint(screen);
        return processOf(under) == target && (!ofOtherProcess || shownAt(under, screen));
    });
}

bool sendAll(std::vector<INPUT>& inputs) {
    return SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT)) == inputs.size();
}
} // namespace

LPARAM InputSender::keyLParam(UINT vk, int repeat, bool up) {
    auto scan = (LPARAM)(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) & 0xFF);
    LPARAM lParam = (LPARAM)(repeat & 0xFFFF) | (scan << 16);
    if (isExtended(vk)) lParam |= 1L << 24;
    if (isAlt(vk) && !up) lParam |= 1L << 29;
    // Bit 30: the key was down before; bit 31: it is being released.
    if (up) lParam |= (1L << 30) | (1UL << 31);
    else if (repeat > 1) lParam |= 1L << 30;
    return lParam;
}

void InputSender::deliver(UINT message, WPARAM wParam, LPARAM lParam) {
    if (mode == Mode::Send) {
        SendMessageA(hwnd, message, wParam, lParam);
        return;
    }
    // One at a time, so what TranslateMessage posts for a key comes before the next key.
    PostMessageA(hwnd, message, wParam, lParam);
    MessagePump::dispatchPending();
}

void InputSender::settle() {
    if (mode == Mode::Post) MessagePump::flush();
}

void InputSender::mouseDown(int x, int y, Button button) {
    static const UINT messages[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static const WPARAM flags[] = {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON};
    deliver(messages[(int)button], flags[(int)button], MAKELPARAM(x, y));
    settle();
}

void InputSender::mouseUp(int x, int y, Button button) {
    static const UINT messages[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    deliver(messages[(int)button], 0, MAKELPARAM(x, y));
    settle();
}

void InputSender::click(int x, int y) {
    deliver(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    deliver(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    settle();
}

void InputSender::doubleClick(int x, int y) {
    bool dblClks = (GetClassLongPtrA(hwnd, GCL_STYLE) & CS_DBLCLKS) != 0;
    deliver(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    deliver(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    deliver(dblClks ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    deliver(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    settle();
}

void InputSender::rightClick(int x, int y) {
    deliver(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    deliver(WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    settle();
}

void InputSender::move(int x, int y, WPARAM buttons) {
    deliver(WM_MOUSEMOVE, buttons, MAKELPARAM(x, y));
    settle();
}

void InputSender::drag(int x0, int y0, int x1, int y1, int steps) {
    if (steps < 1) steps = 1;
    deliver(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
    for (int i = 1; i <= steps; ++i) {
        int x = x0 + (x1 - x0) * i / steps, y = y0 + (y1 - y0) * i / steps;
        deliver(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    }
    deliver(WM_LBUTTONUP, 0, MAKELPARAM(x1, y1));
    settle();
}

void InputSender::keyDown(UINT vk, int repeat) {
    deliver(isSystemKey(vk) ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, keyLParam(vk, repeat, false));
    settle();
}

void InputSender::keyUp(UINT vk) {
    deliver(isSystemKey(vk) ? WM_SYSKEYUP : WM_KEYUP, vk, keyLParam(vk, 1, true));
    settle();
}

void InputSender::key(UINT vk) {
    deliver(isSystemKey(vk) ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, keyLParam(vk, 1, false));
    deliver(isSystemKey(vk) ? WM_SYSKEYUP : WM_KEYUP, vk, keyLParam(vk, 1, true));
    settle();
}

void InputSender::character(char c) {
    deliver(WM_CHAR, (WPARAM)(unsigned char)c, keyLParam(vkOf(c), 1, false));
    settle();
}

void InputSender::type(const std::string& text) {
    for (char c : text) deliver(WM_CHAR, (WPARAM)(unsigned char)c, keyLParam(vkOf(c), 1, false));
    settle();
}

bool InputSender::realKey(UINT vk) {
    bringToFront(hwnd);
    DWORD extended = isExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0;
    auto scan = (WORD)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    std::vector<INPUT> inputs{keyInput((WORD)vk, scan, extended),
                              keyInput((WORD)vk, scan, extended | KEYEVENTF_KEYUP)};
    bool ok = sendAll(inputs);
    MessagePump::flush();
    return ok;
}

bool InputSender::realText(const std::string& text) {
    bringToFront(hwnd);
    std::vector<INPUT> inputs;
    for (char c : text) {
        wchar_t wide = 0;
        MultiByteToWideChar(CP_ACP, 0, &c, 1, &wide, 1);
        inputs.push_back(keyInput(0, (WORD)wide, KEYEVENTF_UNICODE));
        inputs.push_back(keyInput(0, (WORD)wide, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
    bool ok = inputs.empty() || sendAll(inputs);
    MessagePump::flush();
    return ok;
}

bool InputSender::realClick(int x, int y) {
    bringToFront(hwnd);
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    uncover(hwnd, p);
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    std::vector<INPUT> inputs(3);
    for (auto& in : inputs) {
        in.type = INPUT_MOUSE;
        in.mi.dx = (LONG)(((long long)p.x * 65535 + (w - 1) / 2) / (w - 1));
        in.mi.dy = (LONG)(((long long)p.y * 65535 + (h - 1) / 2) / (h - 1));
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    bool ok = sendAll(inputs);
    MessagePump::flush();
    return ok;
}

bool InputSender::realDrag(int x0, int y0, int x1, int y1, UINT heldKey, int steps) {
    bringToFront(GetAncestor(hwnd, GA_ROOT));
    if (steps < 1) steps = 1;
    // Both ends on the screen now: the target may move while it is dragged.
    POINT from{x0, y0}, to{x1, y1};
    ClientToScreen(hwnd, &from);
    ClientToScreen(hwnd, &to);
    uncover(hwnd, from);
    auto scan = (WORD)MapVirtualKeyA(heldKey, MAPVK_VK_TO_VSC);
    bool ok = true;
    if (heldKey) ok &= sendOne(keyInput((WORD)heldKey, scan, 0));
    ok &= sendOne(mouseInput(MOUSEEVENTF_MOVE, from));
    ok &= sendOne(mouseInput(MOUSEEVENTF_LEFTDOWN));
    for (int i = 1; i <= steps; ++i) {
        POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        ok &= sendOne(mouseInput(MOUSEEVENTF_MOVE, p));
    }
    ok &= sendOne(mouseInput(MOUSEEVENTF_LEFTUP));
    if (heldKey) ok &= sendOne(keyInput((WORD)heldKey, scan, KEYEVENTF_KEYUP));
    return ok;
}
