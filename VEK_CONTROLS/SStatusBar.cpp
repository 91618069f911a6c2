#include "VEK_CONTROLS/SStatusBar.h"

#include "VEK_GUI/SFrameWindow.h"

#include <vector>

SStatusBar::SStatusBar() {
    className = STATUSCLASSNAMEA;
    iccClasses = ICC_BAR_CLASSES;
    style = WS_CHILD | WS_CLIPSIBLINGS | SBARS_TOOLTIPS;
    exStyle |= WS_EX_TOPMOST;
    positionable = 0; // it keeps itself at the frame's bottom edge
    scaleWithFont = false;
}

bool SStatusBar::setParts(const char* text) {
    if (!hwnd) return false;
    SString all;
    all.setRaw(text ? text : "");
    all.append(",-1");
    // Empty items are no parts: "" gives the last part alone, that is a simple bar.
    std::vector<int> edges;
    int pos = 0;
    while (pos < all.length()) {
        SString item = all.token(",", pos).trim();
        if (!item.isEmpty()) edges.push_back(item.toNumber());
    }
    if (edges.size() < 2) {
        sendMessage(SB_SIMPLE, TRUE, 0);
        return true;
    }
    sendMessage(SB_SIMPLE, FALSE, 0);
    return sendMessage(SB_SETPARTS, (WPARAM)edges.size(), (LPARAM)edges.data()) != 0;
}

bool SStatusBar::setText(int part, const char* text, int textStyle) {
    if (!hwnd) return false;
    SString shown(text ? text : "");
    WPARAM which = isSimple() ? (WPARAM)(textStyle | SB_SIMPLEID) : (WPARAM)(textStyle | part);
    return sendMessage(SB_SETTEXTA, which, (LPARAM)shown.getBuffer()) != 0;
}

bool SStatusBar::setTipText(int part, const char* text) {
    if (!hwnd || isSimple()) return false;
    SString tip(text ? text : "");
    sendMessage(SB_SETTIPTEXTA, (WPARAM)part, (LPARAM)tip.getBuffer());
    return true;
}

SString SStatusBar::getText(int part) {
    SString text;
    if (!hwnd) return text;
    int length = LOWORD(sendMessage(SB_GETTEXTLENGTHA, (WPARAM)part, 0));
    char* room = text.prepareWrite(length + 1);
    room[0] = 0;
    sendMessage(SB_GETTEXTA, (WPARAM)part, (LPARAM)room);
    text.commitWrite();
    return text;
}

int SStatusBar::onReflectedNotify(int code, NMHDR* header) {
    SFrameWindow* frame = dynamic_cast<SFrameWindow*>(parent);
    if (!frame || !header || header->hwndFrom != hwnd) return SControlLoaded::onReflectedNotify(code, header);
    int part = (int)reinterpret_cast<const NMMOUSE*>(header)->dwItemSpec;
    switch (code) {
    case (int)NM_CLICK: return frame->onStatusBarClick(part) ? 1 : 0;
    case (int)NM_RCLICK: return frame->onStatusBarRClick(part) ? 1 : 0;
    case (int)NM_DBLCLK: return frame->onStatusBarDblClk(part) ? 1 : 0;
    default: return SControlLoaded::onReflectedNotify(code, header);
    }
}
