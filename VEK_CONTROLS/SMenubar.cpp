#include "VEK_CONTROLS/SMenubar.h"

#include "VEK_GUI/SApplication.h"

SMenubar* SMenubar::openMenubar = nullptr;

SMenubar::SMenubar() { extendedStyle = TBSTYLE_EX_MIXEDBUTTONS; }

SMenubar::~SMenubar() {
    if (hook) UnhookWindowsHookEx(hook);
    if (openMenubar == this) openMenubar = nullptr;
}

int SMenubar::addMenu(const char* text, SPopupMenu& popup, int id) {
    id = addButton(text, "", id, BTNS_BUTTON | BTNS_SHOWTEXT | BTNS_AUTOSIZE);
    if (id) menus.set(id, &popup);
    return id;
}

LRESULT SMenubar::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) {
    if (msg == MsgOpenMenu && h == hwnd && h) {
        openMenu((int)wParam);
        handled = true;
        result = 0;
        return 0;
    }
    return SToolbar::windowProc(h, msg, wParam, lParam, handled, result);
}

// While a menu runs its own loop, the bar sees no mouse: moves inside its rectangle are handed
// to it, so its buttons hot-track and report the change.
LRESULT CALLBACK SMenubar::messageFilter(int code, WPARAM wParam, LPARAM lParam) {
    SMenubar* bar = openMenubar;
    HHOOK next = bar ? bar->hook : nullptr;
    const MSG* m = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && bar && m && m->message == WM_MOUSEMOVE && PtInRect(&bar->openRect, m->pt)) {
        POINT p = m->pt;
        ScreenToClient(bar->openHwnd, &p);
        SendMessageA(bar->openHwnd, WM_MOUSEMOVE, m->wParam, MAKELPARAM(p.x, p.y));
    }
    return CallNextHookEx(next, code, wParam, lParam);
}

void SMenubar::openMenu(int id) {
    SPopupMenu* popup = menus.get(id);
    if (!popup || !hwnd) return;
    if (openMenubar) {
        // One menu at a time: close the open one and ask again once it is gone.
        EndMenu();
        PostMessageA(hwnd, MsgOpenMenu, (WPARAM)id, 0);
        return;
    }
    setButtonState(id, TBSTATE_ENABLED | TBSTATE_PRESSED);
    hook = SetWindowsHookExA(WH_MSGFILTER, messageFilter, nullptr, GetCurrentThreadId());
    GetWindowRect(hwnd, &openRect);
    openHwnd = hwnd;
    openId = id;
    openMenubar = this;

    SRect button = getButtonRect(id);
    SPoint at = clientToScreen(SPoint{button.x, button.y + button.height + 3});
    HWND owner = parent ? parent->getHwnd() : hwnd;
    // The bar sends the one command itself, after the menu has closed.
    int sendsItself = popup->getSendCommand();
    popup->setSendCommand(false);
    int chosen = popup->track(owner, at);
    popup->setSendCommand(sendsItself != 0);

    if (hook) UnhookWindowsHookEx(hook);
    hook = nullptr;
    openMenubar = nullptr;
    openHwnd = nullptr;
    openId = 0;
    if (hwnd) setButtonState(id, TBSTATE_ENABLED);
    if (chosen && owner) SendMessageA(owner, WM_COMMAND, (WPARAM)chosen, 0);
}

int SMenubar::onReflectedNotify(int code, NMHDR* header) {
    if (!header) return 0;
    if (code == BN_CLICKED && menus.contains((int)header->idFrom)) {
        // A reflected WM_COMMAND: the click on a menu button.
        postOpenMenu((int)header->idFrom);
        return 1;
    }
    if (code == (int)TBN_HOTITEMCHANGE) {
        const NMTBHOTITEM* hot = reinterpret_cast<const NMTBHOTITEM*>(header);
        if (openMenubar == this && hot->idNew != openId && menus.contains(hot->idNew) &&
            !(hot->dwFlags & HICF_LEAVING)) {
            EndMenu();
            postOpenMenu(hot->idNew);
        }
        return 0;
    }
    if (code == (int)NM_CUSTOMDRAW) {
        const NMCUSTOMDRAW* draw = reinterpret_cast<const NMCUSTOMDRAW*>(header);
        if (draw->dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        if (draw->dwDrawStage & CDDS_ITEM) return CDRF_NEWFONT;
        return 0;
    }
    return SToolbar::onReflectedNotify(code, header);
}
