// SWindow: creation, the message dispatcher and the handlers' defaults, modal loops.
#include "VEK_GUI/SWindow.h"

#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SToolTip.h"
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SDebug.h"
#include "VEK_UTIL/SError.h"

#include <cmath>
#include <cstring>
#include <vector>

SWindow* SWindow::libraryMainWindow = nullptr;

namespace {

const char* const kPredefinedClasses[] = {"BUTTON", "COMBOBOX", "EDIT", "LISTBOX", "SCROLLBAR", "STATIC",
                                          "msctls_statusbar32", "SysTabControl32", "msctls_progress32"};

bool isPredefinedClass(const SString& name) {
    for (const char* c : kPredefinedClasses)
        if (name == c) return true;
    return false;
}

// The system's shared application icon and arrow, asked for once: under Wine each LoadIcon or
// LoadCursor costs about 80 us, and the main window alone is some forty windows.
HICON applicationIcon() {
    static const HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    return icon;
}

HCURSOR arrowCursor() {
    static const HCURSOR cursor = LoadCursorA(nullptr, IDC_ARROW);
    return cursor;
}

int loword(LPARAM v) { return (short)LOWORD(v); }
int hiword(LPARAM v) { return (short)HIWORD(v); }

} // namespace

SWindow::SWindow() : className("VEK_WINDOW"), title("Morvel - Windows Application mit VEK"), device(this), scroll(this) {
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = SApplication::windowProcedure;
    windowClass.hInstance = globalApplication.getInstance();
    windowClass.hIcon = applicationIcon();
    windowClass.hIconSm = applicationIcon();
    windowClass.hCursor = arrowCursor();
    initDefaults();
    globalApplication.addWindow(this);
    if (!libraryMainWindow) libraryMainWindow = this;
}

SWindow::~SWindow() {
    if (isWindow()) {
        close();
        if (isWindow()) DestroyWindow(hwnd); // a window that refused to close still goes now
    }
    globalApplication.unregisterWindow(this);
    globalApplication.removeWindow(this);
    delete toolTip;
    if (libraryMainWindow == this) libraryMainWindow = nullptr;
}

void SWindow::initDefaults() {
    device.setFont(globalApplication.getDefaultFontFace(), (int)std::lround(10 * globalApplication.getFontScale()),
                   -2, -2, -2);
    device.setColors(0x000000, -2);
    device.setBackgroundColor(0xA08D8C);
    device.setFillColor(0xA08D8C);
}

// ---------------------------------------------------------------- creation

bool SWindow::create(SWindow* parentWindow) {
    if (created) {
        SString text("SWindow::create(): Dieses Fenster wurde bereits erzeugt.\r\n'");
        text.append(hwnd ? getWindowText() : title).append("'");
        globalError.show(text, 0, "Fehler !", 16);
        return false;
    }
    created = 1;
    parent = parentWindow;
    onPreCreateWindow();

    int x = rect.x, y = rect.y;
    if (!parent) {
        if (y == -1) y = (GetSystemMetrics(SM_CYFULLSCREEN) - rect.height) / 2;
        if (x == -1) x = (GetSystemMetrics(SM_CXFULLSCREEN) - rect.width) / 2;
    } else {
        SRect p = parent->getWindowRect(!(style & WS_CHILD));
        if (y == -1) y = p.y + p.height / 2 - rect.height / 2;
        if (x == -1) x = p.x + p.width / 2 - rect.width / 2;
    }
    if (creationSize.width == -1) creationSize.width = rect.width;
    if (creationSize.height == -1) creationSize.height = rect.height;

    if (!isPredefinedClass(className)) {
        windowClass.lpszClassName = className;
        if (!globalApplication.registerWindow(this, &windowClass)) {
            SString text;
            text.format("Registrierung fehlgeschlagen, %lu", GetLastError());
            globalError.show(text, 0, "Fehler !", 16);
            return false;
        }
    }
    hwnd = CreateWindowExA(exStyle, className, title, style, x, y, rect.width, rect.height,
                           parent ? parent->hwnd : nullptr, (HMENU)(INT_PTR)windowId,
                           globalApplication.getInstance(), nullptr);
    device.setHwnd(hwnd);
    if (!hwnd) {
        SString caption("Fehler beim Erzeugen des Fensters: ");
        caption.append(className).append(" (").append(title).append(")");
        messageBox(SSystem::systemErrorText(GetLastError()), caption, 0x10);
        globalApplication.unregisterWindow(this);
        return false;
    }
    return true;
}

int SWindow::messageBox(const char* text, const char* caption, unsigned type) {
    HWND owner = hwnd;
    if (!IsWindow(hwnd)) {
        owner = nullptr;
        SString entry("Es wurde ein SWindow::messageBox() verwendet, ohne dass das Fenster existierte.\r\n(Text: ");
        entry.append(text).append(")");
        globalError.add(entry);
    }
    return SSystem::messageBox(owner, text, caption, type);
}

void SWindow::setWindowText(const char* text) {
    if (created && hwnd)
        SetWindowTextA(hwnd, SString(text));
    else
        title = text;
}

// A window that is gone (destroyed by the user in a modal run, or never made) has nothing
// left to close: onClose is not asked again.
void SWindow::close() {
    if (!isWindow()) return;
    if (onClose() != 0 && hwnd) DestroyWindow(hwnd);
}

// ---------------------------------------------------------------- modal loop

int SWindow::showModal(bool hideParent) {
    if (!created) {
        globalError.show("SWindow::showModal() konnte nicht durchgef\374hrt werden, da das Fenster noch nicht mittels "
                         "'create()' erzeugt wurde.",
                         0, "Fehler !", 16);
        return 0;
    }
    if (!parent) {
        globalError.show("SWindow::showModal() konnte nicht durchgef\374hrt werden, kein Parent-Window existiert.", 0,
                         "Fehler !", 16);
        return 0;
    }
    modalFlags |= ModalLoop | ShownModal;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    HWND parentHandle = parent->hwnd;
    if (IsWindow(parentHandle) && IsWindowEnabled(parentHandle)) {
        if (hideParent) {
            modalFlags |= ParentHidden;
            ShowWindow(parentHandle, SW_HIDE);
        } else {
            modalFlags |= ParentDisabled;
            EnableWindow(parentHandle, FALSE);
        }
    }
    runModalLoop();
    modalFlags &= ~ShownModal;
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, 0x97);
    if (modalFlags & ParentHidden) ShowWindow(parentHandle, SW_SHOW);
    if (modalFlags & ParentDisabled) EnableWindow(parentHandle, TRUE);
    modalFlags &= ~(ParentHidden | ParentDisabled);
    if (IsWindow(parentHandle)) SetActiveWindow(parentHandle);
    close();
    return modalResult;
}

void SWindow::runModalLoop() {
    while (modalFlags & ModalLoop) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            modalFlags &= ~ModalLoop;
            PostQuitMessage((int)msg.wParam); // the outer loop must end too
            break;
        }
        if (msg.message == WM_KEYDOWN && globalApplication.translateAccelerator(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// ---------------------------------------------------------------- the dispatcher

void SWindow::checkFirstShow() {
    if (!firstShowPending) return;
    firstShowPending = false;
    onFirstShow();
}

LRESULT SWindow::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) {
    bool mine = hwnd == h || h == nullptr || (hwnd == nullptr && msg == WM_CREATE);
    if (toolTip && h && h == hwnd && msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) toolTip->relay(h, msg, wParam, lParam);
    if (mine && msg != WM_SYSCOMMAND) {
        int x = loword(lParam), y = hiword(lParam), keys = (int)LOWORD(wParam);
        // A handler that answers the message itself: the default procedure is left out.
        auto answer = [&](LRESULT value) {
            handled = true;
            result = value;
        };
        switch (msg) {
        case WM_CREATE: handleCreate(h, reinterpret_cast<CREATESTRUCTA*>(lParam)); break;
        case WM_DESTROY: handleDestroy(); break;
        case WM_SIZE: handleResize((int)wParam, LOWORD(lParam), HIWORD(lParam)); break;
        case WM_ACTIVATE:
            handled = handleActivate(wParam);
            result = 0;
            break;
        case WM_SETFOCUS: handleFocus(true, (HWND)wParam); break;
        case WM_KILLFOCUS: handleFocus(false, (HWND)wParam); break;
        case WM_PAINT: handlePaint(); break;
        case WM_CLOSE:
            if (!handleClose()) handled = true; // the window stays
            result = 0;
            break;
        case WM_ERASEBKGND:
            if (device.isNoFlicker()) {
                handled = true;
                result = 1;
            } else {
                HDC inPaint = device.enterContext((HDC)wParam); // onPaint may force an erase
                int r = onEraseBackground(device);
                device.leaveContext(inPaint);
                // Not handed on to the children: the context is this window's, and each child
                // is erased in its own paint anyway.
                if (r) {
                    handled = true;
                    result = r;
                }
            }
            break;
        case WM_SHOWWINDOW: handleShowWindow(wParam == 1); break;
        case WM_SETCURSOR:
            if (handleSetCursor((HWND)wParam, LOWORD(lParam))) answer(TRUE);
            break;
        case WM_NOTIFY: result = handleNotify(wParam, lParam, handled); break;
        case WM_HELP: handled = onHelp(reinterpret_cast<HELPINFO*>(lParam)) != 0; break;
        case WM_CONTEXTMENU: handled = onContextMenu(x, y) != 0; break;
        case WM_NCPAINT:
            if (handleNcPaint()) {
                handled = true;
                result = 0;
            }
            break;
        case WM_KEYDOWN: result = handleKeyDown(wParam, lParam, handled); break;
        case WM_CHAR:
            if (handleChar(wParam, lParam)) answer(0);
            break;
        case WM_COMMAND:
            if (kind == 0 && lParam) result = reflectCommand(wParam, lParam);
            onCommand(LOWORD(wParam), (HWND)lParam, HIWORD(wParam));
            break;
        case WM_TIMER:
            if (timerMessages) onTimer((DWORD)lParam);
            break;
        case WM_HSCROLL:
            scroll.onHScroll((int)wParam);
            onHScroll();
            break;
        case WM_VSCROLL:
            scroll.onVScroll((int)wParam);
            onVScroll();
            break;
        case WM_MOUSEMOVE:
            onMouseMove(keys, x, y);
            sendToChildren(MSG_PARENT_MOUSEMOVE, wParam, lParam);
            break;
        case WM_LBUTTONDOWN: onLButtonDown(keys, x, y); break;
        case WM_LBUTTONUP: onLButtonUp(keys, x, y); break;
        case WM_LBUTTONDBLCLK: onLButtonDblClk(keys, x, y); break;
        case WM_RBUTTONDOWN: onRButtonDown(keys, x, y); break;
        case WM_RBUTTONUP: onRButtonUp(keys, x, y); break;
        case WM_RBUTTONDBLCLK: onRButtonDblClk(keys, x, y); break;
        case WM_MBUTTONDOWN: onMButtonDown(keys, x, y); break;
        case WM_MBUTTONUP: onMButtonUp(keys, x, y); break;
        case WM_MBUTTONDBLCLK: onMButtonDblClk(keys, x, y); break;
        case WM_MOUSEWHEEL:
            if (onMouseWheel(keys, (short)HIWORD(wParam), x, y) != 0) answer(0);
            break;
        case WM_SIZING: onSizing((int)wParam, reinterpret_cast<RECT*>(lParam)); break;
        case WM_MOUSEHOVER: onMouseHover((int)wParam); break;
        case WM_MOUSELEAVE: onMouseLeave(); break;
        case MSG_WATCHED: handleWatched(reinterpret_cast<const SWatchedMessage*>(lParam)); break;
        default: break;
        }
    }
    // The default procedure needs a window; a message offered to every window (the
    // application timer, a key climbing the parent chain) has none.
    if (!handled && h) result = callDefaultProc(h, msg, wParam, lParam);
    if (h) globalApplication.notifyWatchers(h, msg, wParam, lParam);
    return result;
}

void SWindow::handleDestroy() {
    onDestroy();
    eventCalls.clear();
    SWindow* main = globalApplication.getMainWindow();
    if (main == this) globalError.showCollected();
    modalFlags &= ~ModalLoop;
    globalApplication.unregisterWindow(this);
    if (main && main->hwnd == hwnd) PostQuitMessage(globalApplication.getExitCode());
    // The handle is dead from here on, and the platform may hand it to a new window.
    hwnd = nullptr;
    device.setHwnd(nullptr);
}

// Activation gives the focus back to what had it in this window, never to another top-level
// window (that would activate that one again). With nothing to give back, the default
// procedure focuses the window itself.
bool SWindow::handleActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd, focus)) focusChild = focus;
        return true;
    }
    HWND restore = focusChild && IsChild(hwnd, focusChild) ? focusChild : globalApplication.getLastFocus();
    if (!restore || (restore != hwnd && !IsChild(hwnd, restore))) return false;
    SetFocus(restore);
    return true;
}

// True when onNcPaint painted the non-client area itself.
bool SWindow::handleNcPaint() {
    if (!hasOwnNcPaint()) return false;
    HDC dc = GetWindowDC(hwnd);
    HDC inPaint = device.enterContext(dc);
    bool r = onNcPaint(device);
    device.leaveContext(inPaint);
    ReleaseDC(hwnd, dc);
    return r;
}

// GCC resolves a bound pointer to a virtual member to the object's own override; the address
// of the unbound one is the base's.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpmf-conversions"
bool SWindow::hasOwnPaint() {
    using Paint = void (*)(SWindow*, SDevice&);
    return (Paint)(this->*(&SWindow::onPaint)) != (Paint)(&SWindow::onPaint);
}

bool SWindow::hasOwnNcPaint() {
    using NcPaint = bool (*)(SWindow*, SDevice&);
    return (NcPaint)(this->*(&SWindow::onNcPaint)) != (NcPaint)(&SWindow::onNcPaint);
}
#pragma GCC diagnostic pop

void SWindow::handlePaint() {
    device.setHwnd(hwnd);
    device.beginPaint();
    paintBackground(device);
    onPaint(device);
    device.endPaint();
}

int SWindow::translateKey(WPARAM wParam, LPARAM lParam, int& scanCode) {
    BYTE state[256] = {0};
    GetKeyboardState(state);
    scanCode = (int)((lParam >> 16) & 0xFF);
    WORD out = 0;
    int n = ToAscii((UINT)wParam, (UINT)scanCode, state, &out, 0);
    return n > 0 ? (int)(out & 0xFF) : 0;
}

// An unhandled key climbs to the parent; a parent whose dispatcher answers 0 took it.
LRESULT SWindow::handleKeyDown(WPARAM wParam, LPARAM lParam, bool& handled) {
    int scan = 0;
    int c = translateKey(wParam, lParam, scan);
    int h = onKeyDown(c, (signed char)scan, (int)wParam, !(lParam & (1 << 30)));
    if (h == 0 && parent) {
        bool parentHandled = false;
        LRESULT parentResult = 0;
        if (parent->windowProc(nullptr, WM_KEYDOWN, wParam, lParam, parentHandled, parentResult) == 0) h = 1;
    }
    if (h != 0) {
        handled = true;
        return 0;
    }
    return 1;
}

LRESULT SWindow::handleNotify(WPARAM wParam, LPARAM lParam, bool& handled) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header) return 0;
    LRESULT result = 0;
    if (toolTip) {
        bool tipHandled = false;
        LRESULT tipResult = 0;
        toolTip->onMessage(hwnd, WM_NOTIFY, wParam, lParam, tipHandled, tipResult);
    }
    int code = (int)header->code;
    if (code == (int)TTN_GETDISPINFOA) {
        if (const char* text = getToolTipText()) {
            NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
            info->lpszText = const_cast<char*>(text);
            info->hinst = nullptr;
            result = 1;
        }
    }
    if (code == (int)TTN_GETDISPINFOA || code == (int)TTN_SHOW || code == (int)TTN_POP)
        result = onToolTipNotify(code, header);
    if (kind == 0 && header->hwndFrom && header->hwndFrom != hwnd)
        result = SendMessageA(header->hwndFrom, MSG_REFLECT_NOTIFY, wParam, lParam);
    if (result == 0) result = onNotify((int)wParam, header->hwndFrom, code, header);
    if (result != 0) handled = true;
    return result;
}

void SWindow::handleCreate(HWND h, CREATESTRUCTA* create) {
    hwnd = h;
    device.setHwnd(h);
    onCreate(create);
}

void SWindow::handleResize(int type, int width, int height) {
    checkFirstShow();
    onSize(type, width, height);
    scroll.update();
    if (toolTip) toolTip->fitOwner();
    if (backgroundImage.isLoaded() && backgroundMode != 0) invalidate();
}

// Either way the window is the one the application last saw focused.
void SWindow::handleFocus(bool gained, HWND other) {
    globalApplication.setLastFocus(hwnd);
    if (gained) onSetFocus(other);
    else onKillFocus(other);
}

// Whether the window may close; closing ends a modal loop it runs.
bool SWindow::handleClose() {
    if (onClose() == 0) return false;
    modalFlags &= ~ModalLoop;
    return true;
}

void SWindow::handleShowWindow(bool shown) {
    checkFirstShow();
    if (shown) onShow();
    else onHide();
}

// Only our own client area: a child's cursor (an edit's I-beam) and the sizing cursors of
// the frame stay the system's.
bool SWindow::handleSetCursor(HWND over, int hitTest) {
    if (!cursor || over != hwnd || hitTest != HTCLIENT) return false;
    SetCursor(cursor);
    return true;
}

bool SWindow::handleChar(WPARAM wParam, LPARAM lParam) {
    int scan = 0;
    int c = translateKey(wParam, lParam, scan);
    return onChar(c, scan, (int)wParam, !(lParam & (1 << 30))) != 0;
}

// A control's command goes back to the control's own object first.
LRESULT SWindow::reflectCommand(WPARAM wParam, LPARAM lParam) {
    SCommandHeader header{(HWND)lParam, LOWORD(wParam), HIWORD(wParam)};
    return SendMessageA((HWND)lParam, MSG_REFLECT_NOTIFY, LOWORD(wParam), (LPARAM)&header);
}

void SWindow::handleWatched(const SWatchedMessage* m) {
    if (m) onWatchedMessage(m->hwnd, m->msg, m->wParam, m->lParam, m->userValue);
}

// ---------------------------------------------------------------- handler defaults

void SWindow::onParentResized(SSize parentClientSize) {
    SRect current = getWindowRect(false);
    SRect moved;
    if (!anchor.compute(moved, current, parentClientSize)) return;
    if (parent) parent->invalidate(current);
    moveWindow(moved, true);
}

SSize SWindow::getClientSize() {
    RECT r{0, 0, 0, 0};
    GetClientRect(hwnd, &r);
    return SSize{r.right - r.left, r.bottom - r.top};
}

int SWindow::translateAccelerator(HWND, UINT, WPARAM, LPARAM) { return 0; }
int SWindow::onKeyDown(int, int, int, bool) { return 0; }
void SWindow::onLButtonDown(int, int, int) {}
void SWindow::onPaint(SDevice&) {}
void SWindow::onCreate(CREATESTRUCTA*) {}
void SWindow::onCommand(int, HWND, int) {}
void SWindow::onFirstShow() {}
void SWindow::onMouseMove(int, int, int) {}
void SWindow::onTimer(DWORD) {}
int SWindow::onClose() { return 1; }
int SWindow::onNotify(int, HWND, int, NMHDR*) { return 0; }
int SWindow::onEraseBackground(SDevice&) { return 0; }
bool SWindow::drawBehind(SWindow&, HDC) { return false; }
void SWindow::onLButtonUp(int, int, int) {}
void SWindow::onMouseLeave() {}
void SWindow::onMouseHover(int) {}
void SWindow::onLButtonDblClk(int, int, int) {}
void SWindow::onPreCreateWindow() {}
void SWindow::onWatchedMessage(HWND, UINT, WPARAM, LPARAM, LPARAM) {}
void SWindow::onRButtonUp(int, int, int) {}
void SWindow::onRButtonDown(int, int, int) {}
void SWindow::onRButtonDblClk(int, int, int) {}
void SWindow::onSetFocus(HWND) {}
void SWindow::onSize(int, int, int) {}
void SWindow::onSizing(int, RECT*) {}
void SWindow::onVScroll() {}
int SWindow::onHelp(HELPINFO*) { return 0; }
void SWindow::onHScroll() {}
int SWindow::onChar(int, int, int, bool) { return 0; }
int SWindow::onToolTipNotify(int, NMHDR*) { return 0; }
const char* SWindow::getToolTipText() { return nullptr; }
int SWindow::onMouseWheel(int, int, int, int) { return 0; }
int SWindow::onContextMenu(int, int) { return 0; }
void SWindow::onShow() {}
void SWindow::onHide() {}
void SWindow::onDestroy() {}
void SWindow::onKillFocus(HWND) {}
void SWindow::onMButtonDblClk(int, int, int) {}
void SWindow::onMButtonDown(int, int, int) {}
void SWindow::onMButtonUp(int, int, int) {}
bool SWindow::onNcPaint(SDevice&) { return false; }
bool SWindow::createPending(SWindow&, int, int) { return false; }
LRESULT SWindow::callDefaultProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(h, msg, wParam, lParam);
}

void SWindow::paintTo(SDevice& target) {
    printing = true;
    onPaint(target);
    printing = false;
}

void SWindow::paintBackground(SDevice& target) {
    if (!backgroundImage.isLoaded()) return;
    if (backgroundMode == 0)
        backgroundImage.draw(target, 0, 0);
    else
        backgroundImage.draw(target, getClientRect());
}

bool SWindow::setBackgroundImage(const char* name, int mode) {
    bool loaded = backgroundImage.load(name);
    backgroundMode = mode;
    invalidate();
    return loaded;
}

// ---------------------------------------------------------------- geometry and state

void SWindow::show(int command) {
    if (hwnd) {
        ShowWindow(hwnd, command);
        return;
    }
    if (command)
        style |= WS_VISIBLE;
    else
        style &= ~WS_VISIBLE;
}

int SWindow::moveWindow(int x, int y, int width, int height, bool repaint) {
    if (hwnd) return MoveWindow(hwnd, x, y, width, height, repaint);
    rect = SRect{x, y, width, height};
    return 1;
}

// Without a window InvalidateRect(NULL) would repaint the whole desktop.
void SWindow::invalidate() {
    if (hwnd) InvalidateRect(hwnd, nullptr, TRUE);
}

void SWindow::invalidate(const SRect& r) {
    if (!hwnd) return;
    RECT area{r.x, r.y, r.right(), r.y + (r.height < 0 ? -r.height : r.height)};
    InvalidateRect(hwnd, &area, TRUE);
}

SString SWindow::getWindowText() {
    if (!IsWindow(hwnd)) {
        globalError.add("Es wurde versucht mittels getWindowText() auf ein nicht existierendes Fenster zuzugreifen.");
        return SString();
    }
    int n = GetWindowTextLengthA(hwnd);
    SString text;
    char* room = text.prepareWrite(n + 1);
    GetWindowTextA(hwnd, room, n + 1);
    text.commitWrite();
    return text;
}

SRect SWindow::getWindowRect(bool screen) {
    if (!IsWindow(hwnd)) {
        globalError.add("Es wurde versucht mittels getWindowRect() auf ein nicht existierendes Fenster zuzugreifen.");
        return SRect();
    }
    RECT r;
    GetWindowRect(hwnd, &r);
    POINT topLeft{r.left, r.top};
    if (parent && !screen && parent->hwnd) ScreenToClient(parent->hwnd, &topLeft);
    return SRect{topLeft.x, topLeft.y, r.right - r.left, r.bottom - r.top};
}

SRect SWindow::getClientRect() {
    SSize s = getClientSize();
    return SRect{0, 0, s.width, s.height};
}

SRect SWindow::getInnerRect() {
    SRect c = getClientRect();
    return SRect{c.x + barInsets.x, c.y + barInsets.y, c.width - barInsets.x - barInsets.width,
                 c.height - barInsets.y - barInsets.height};
}

SPoint SWindow::screenToClient(SPoint p) {
    POINT q{p.x, p.y};
    if (!ScreenToClient(hwnd, &q)) return p;
    return SPoint{q.x, q.y};
}

SPoint SWindow::clientToScreen(SPoint p) {
    POINT q{p.x, p.y};
    if (!ClientToScreen(hwnd, &q)) return p;
    return SPoint{q.x, q.y};
}

void SWindow::setParent(SWindow* window) {
    if (!created || !hwnd) {
        parent = window;
        return;
    }
    if (!window) {
        SetParent(hwnd, nullptr);
        parent = nullptr;
        return;
    }
    if (!window->hwnd) {
        globalError.add("SWindow::setParent(..): Das Elternfenster existiert noch nicht.");
        return;
    }
    SetParent(hwnd, window->hwnd);
    parent = window;
}

int SWindow::getShowState() const {
    WINDOWPLACEMENT p{};
    p.length = sizeof p;
    if (!GetWindowPlacement(hwnd, &p)) return 0;
    return (int)p.showCmd;
}

bool SWindow::isMinimized() const {
    int s = getShowState();
    return s == SW_SHOWMINIMIZED || s == SW_MINIMIZE || s == SW_SHOWMINNOACTIVE;
}

// Collect first, then send from the last child to the first: a handler may add or
// remove children.
void SWindow::sendToChildren(UINT msg, WPARAM wParam, LPARAM lParam) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsWindow(c)) children.push_back(c);
    for (auto it = children.rbegin(); it != children.rend(); ++it) SendMessageA(*it, msg, wParam, lParam);
}

void SWindow::trackMouse(bool leave, bool hover) {
    TRACKMOUSEEVENT t{};
    t.cbSize = sizeof t;
    t.dwFlags = (leave ? TME_LEAVE : 0) | (hover ? TME_HOVER : 0);
    t.hwndTrack = hwnd;
    t.dwHoverTime = HOVER_DEFAULT;
    _TrackMouseEvent(&t);
}

void SWindow::setCursor(int id) {
    if (id != 0 && id != cursorId) {
        // System cursors are shared: they are dropped, never destroyed.
        cursor = nullptr;
        cursorId = id;
    }
    if (!cursor) cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(cursorId));
    HCURSOR use = cursor;
    if (waitCount > 0) {
        if (!waitCursor) waitCursor = LoadCursorA(nullptr, IDC_WAIT);
        use = waitCursor;
    }
    if (!use) {
        SString text;
        text.format("Cursor konnte nicht geladen werden: %d", cursorId);
        globalError.add(text, GetLastError());
        return;
    }
    SetCursor(use);
}

void SWindow::setCursor(HCURSOR handle) {
    if (waitCount > 0) {
        if (!waitCursor) waitCursor = LoadCursorA(nullptr, IDC_WAIT);
        SetCursor(waitCursor);
        return;
    }
    SetCursor(handle);
}

void SWindow::setWaitCursor(bool on) {
    if (on)
        ++waitCount;
    else if (waitCount > 0)
        --waitCount;
    setCursor(0);
}

int SWindow::addToolTip(const char* text, const char* tipTitle, int icon, int maxWidth, bool balloon) {
    return createToolTip(text, tipTitle, icon, maxWidth, balloon, false);
}

int SWindow::addTrackingToolTip(const char* text, const char* tipTitle, int icon, int maxWidth) {
    return createToolTip(text, tipTitle, icon, maxWidth, false, true);
}

int SWindow::createToolTip(const char* text, const char* tipTitle, int icon, int maxWidth, bool balloon,
                           bool tracking) {
    if (toolTip) {
        globalError.add("SWindow::addToolTip() kann nicht mehrfach aufgerufen werden.");
        return 0;
    }
    if (!created || !hwnd) {
        globalError.add("SWindow::addToolTip() kann nur auf schon erzeugte Fenster angewendet werden.");
        return 0;
    }
    toolTip = new SToolTip(this);
    toolTip->create(hwnd, balloon, tracking);
    toolTip->setText(text, tipTitle, icon);
    toolTip->setMaxWidth(maxWidth);
    return 1;
}

HENHMETAFILE SWindow::createMetaFile(const SRect& bounds, const char* fileName, const char* footer) {
    RECT frame{bounds.x, -bounds.y, bounds.right(), -(bounds.y + bounds.height)};
    SString name(fileName ? fileName : "");
    HDC reference = GetDC(hwnd);
    HDC meta = CreateEnhMetaFileA(reference, name.isEmpty() ? nullptr : name.getBuffer(), &frame, nullptr);
    ReleaseDC(hwnd, reference);
    if (!meta) {
        SString text("SWindow::createMetaFile(..) FEHLER: ");
        text.append(SSystem::systemErrorText(GetLastError())).append(", filename=").append(name);
        globalDebug.print(text);
        return nullptr;
    }
    paintingToMetaFile = true;
    {
        SDevice metaDevice(this);
        metaDevice.setMapMode(MM_HIMETRIC);
        metaDevice.beginPaint(meta);
        SetGraphicsMode(meta, GM_ADVANCED);
        onPaint(metaDevice);
        if (footer && *footer) {
            // Right-aligned at the bottom, 15000 units left of the right edge (y points up here).
            metaDevice.setFont("Arial", 16, -2, -2, -2);
            SRect footerRect{bounds.x, bounds.y + bounds.height, bounds.width - 15000, -1000, true};
            metaDevice.drawText(footerRect, footer, "rt");
        }
        metaDevice.endPaint();
    }
    paintingToMetaFile = false;
    HENHMETAFILE handle = CloseEnhMetaFile(meta);
    if (name.isEmpty() && handle) {
        // A memory metafile nobody asked to keep: delete it and hand out no dangling handle.
        DeleteEnhMetaFile(handle);
        return nullptr;
    }
    return handle;
}
