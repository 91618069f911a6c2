#include "VEK_GUI/SToolTip.h"

#include "VEK_GUI/SApplication.h"

SToolTip::SToolTip(SWindow*) : text("Tip-Text") {}

SToolTip::~SToolTip() {
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
}

LRESULT SToolTip::send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return hwnd ? SendMessageA(hwnd, msg, wParam, lParam) : 0;
}

bool SToolTip::create(HWND ownerHandle, bool balloon, bool trackingTip) {
    INITCOMMONCONTROLSEX icc{sizeof icc, 0xFF};
    InitCommonControlsEx(&icc);
    owner = ownerHandle;
    DWORD style = WS_POPUP | TTS_NOPREFIX | (balloon ? TTS_BALLOON : 0);
    hwnd = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, globalApplication.getInstance(), nullptr);
    if (!hwnd) return false;
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    // The owner relays its mouse messages itself (relay): a tip that subclasses its owner puts
    // a property lookup, under Wine a server round trip, in front of every message of it.
    tracking = trackingTip;
    info.uFlags = tracking ? (TTF_TRACK | TTF_ABSOLUTE) : 0;
    info.hwnd = owner;
    info.uId = 0;
    GetClientRect(owner, &info.rect);
    info.hinst = globalApplication.getInstance();
    info.lpszText = LPSTR_TEXTCALLBACKA;
    return send(TTM_ADDTOOLA, 0, (LPARAM)&info) != 0;
}

LRESULT SToolTip::onMessage(HWND, UINT msg, WPARAM, LPARAM lParam, bool& handled, LRESULT& result) {
    if (msg != WM_NOTIFY || !lParam) return result;
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == TTN_GETDISPINFOA && header->hwndFrom == hwnd) {
        reinterpret_cast<NMTTDISPINFOA*>(lParam)->lpszText = const_cast<char*>(text.getBuffer());
        handled = true;
    }
    return result;
}

void SToolTip::setText(const char* newText, const char* title, int icon) {
    text = newText;
    if (!hwnd) return;
    info.lpszText = LPSTR_TEXTCALLBACKA;
    send(TTM_UPDATETIPTEXTA, 0, (LPARAM)&info);
    SString caption(title ? title : "");
    if (!caption.isEmpty() || icon != 0) send(TTM_SETTITLEA, (WPARAM)icon, (LPARAM)caption.getBuffer());
}

void SToolTip::setMaxWidth(int width) { send(TTM_SETMAXTIPWIDTH, 0, width < 1 ? -1 : width); }

int SToolTip::getMaxWidth() const { return hwnd ? (int)SendMessageA(hwnd, TTM_GETMAXTIPWIDTH, 0, 0) : 0; }

void SToolTip::setDelay(int milliseconds) { send(TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(milliseconds, 0)); }

void SToolTip::activate(bool on) { send(TTM_ACTIVATE, on, 0); }

void SToolTip::setRect(const SRect& r) {
    info.rect = RECT{r.x, r.y, r.right(), r.y + r.height};
    send(TTM_NEWTOOLRECTA, 0, (LPARAM)&info);
}

void SToolTip::trackActivate(bool on) { send(TTM_TRACKACTIVATE, on, (LPARAM)&info); }

void SToolTip::trackPosition(SPoint p) { send(TTM_TRACKPOSITION, 0, MAKELPARAM(p.x + offsetX, p.y + offsetY)); }

void SToolTip::pop() { send(TTM_POP, 0, 0); }

void SToolTip::removeTool() { send(TTM_DELTOOLA, 0, (LPARAM)&info); }

void SToolTip::fitOwner() {
    if (!hwnd || (info.uFlags & TTF_TRACK)) return;
    RECT client;
    if (!GetClientRect(owner, &client) || EqualRect(&client, &info.rect)) return;
    info.rect = client;
    send(TTM_NEWTOOLRECTA, 0, (LPARAM)&info);
}

void SToolTip::relay(HWND from, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!hwnd || tracking) return;
    const DWORD at = GetMessagePos();
    MSG message{from, msg, wParam, lParam, (DWORD)GetMessageTime(), POINT{(short)LOWORD(at), (short)HIWORD(at)}};
    SendMessageA(hwnd, TTM_RELAYEVENT, 0, (LPARAM)&message);
}
