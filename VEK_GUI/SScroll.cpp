#include "VEK_GUI/SScroll.h"

#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SWindow.h"
#include "VEK_UTIL/SError.h"

#include <cstdlib>
#include <vector>

SScroll::SScroll(SWindow* ownerWindow) : owner(ownerWindow) {}

HWND SScroll::barWindow(bool horizontal, int& bar) const {
    SWindow* control = horizontal ? horizontalBar : verticalBar;
    if (control) {
        bar = SB_CTL;
        return control->getHwnd();
    }
    bar = horizontal ? SB_HORZ : SB_VERT;
    return owner->getHwnd();
}

SCROLLINFO SScroll::read(bool horizontal) {
    SCROLLINFO info{};
    info.cbSize = sizeof info; // 28
    info.fMask = SIF_ALL;
    int bar = 0;
    HWND h = barWindow(horizontal, bar);
    GetScrollInfo(h, bar, &info);
    return info;
}

int SScroll::resolveStep(int step, int page, int documentSize) const {
    if (step < 0 && documentSize > 0 && page != 0) return std::abs(step) * page / 100;
    return std::abs(step);
}

void SScroll::onHScroll(int request) {
    if (horizontalShown) scroll(true, request);
}

void SScroll::onVScroll(int request) {
    if (verticalShown) scroll(false, request);
}

void SScroll::scroll(bool horizontal, int request) {
    SCROLLINFO info = read(horizontal);
    bool repaint = repaintAfterScroll != 0;
    int documentSize = horizontal ? documentWidth : documentHeight;
    int line = resolveStep(lineStep, (int)info.nPage, documentSize);
    int page = resolveStep(pageStep, (int)info.nPage, documentSize);
    int pos = info.nPos;
    // Outside a real drag the bar reports no track position; a program that scrolls by
    // sending the request gives it in the high word, as the platform does.
    int track = info.nTrackPos != info.nPos ? info.nTrackPos : (int)HIWORD(request);
    switch (LOWORD(request)) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBPOSITION:
        pos = track;
        repaint = true;
        break;
    case SB_THUMBTRACK:
        pos = track;
        repaint = false;
        break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return; // SB_ENDSCROLL
    }
    int bar = 0;
    HWND h = barWindow(horizontal, bar);
    SCROLLINFO set{};
    set.cbSize = sizeof set;
    set.fMask = SIF_POS;
    set.nPos = pos;
    SetScrollInfo(h, bar, &set, TRUE);
    int now = read(horizontal).nPos; // the platform clamps it
    if (now == info.nPos) return;

    SDevice& device = owner->getDevice();
    int delta = horizontal ? device.logicalToDeviceX(info.nPos) - device.logicalToDeviceX(now)
                           : device.logicalToDeviceY(info.nPos) - device.logicalToDeviceY(now);
    if (horizontal)
        device.setOffset(now, -2);
    else
        device.setOffset(-2, now);
    moveChildren(horizontal ? delta : 0, horizontal ? 0 : delta);
    if (scrollMode != 1) {
        SRect inner = owner->getInnerRect();
        RECT area{inner.x, inner.y, inner.x + inner.width, inner.y + inner.height};
        ScrollWindowEx(owner->getHwnd(), horizontal ? delta : 0, horizontal ? 0 : delta, &area, nullptr, nullptr,
                       nullptr, SW_INVALIDATE | SW_ERASE);
    }
    if (repaint || scrollMode != 0) owner->invalidate();
}

// Library child windows follow the content unless they are fixed in that direction.
void SScroll::moveChildren(int dx, int dy) {
    std::vector<SWindow*> children;
    for (HWND c = GetWindow(owner->getHwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        SWindow* w = globalApplication.findWindow(c);
        if (!w) continue;
        if ((dx && (w->getScrollFixed() & 1)) || (dy && (w->getScrollFixed() & 2))) continue;
        children.push_back(w);
    }
    for (SWindow* w : children) {
        SRect r = w->getWindowRect(false);
        SetWindowPos(w->getHwnd(), nullptr, r.x + dx, r.y + dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
}

bool SScroll::showBar(bool horizontal, bool show) {
    if (!owner->isCreated() || !owner->getHwnd()) {
        SString text("SScroll::");
        text.append(horizontal ? "showBarHor" : "showBarVert");
        text.append("(..) kann nur auf ein existierendes Fenster angewendet werden.\r\n"
                    "Bitte f\374hren Sie zuerst create(...) aus.");
        globalError.show(text, 0, "Fehler !", 16);
        return false;
    }
    int bar = 0;
    HWND h = barWindow(horizontal, bar);
    if (!ShowScrollBar(h, bar, show)) return false;
    (horizontal ? horizontalShown : verticalShown) = show ? 1 : 0;
    return true;
}

bool SScroll::showBarHor(bool show) { return showBar(true, show); }
bool SScroll::showBarVert(bool show) { return showBar(false, show); }

void SScroll::enableBar(bool horizontal, bool on) {
    int bar = 0;
    HWND h = barWindow(horizontal, bar);
    EnableScrollBar(h, bar, on ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

void SScroll::enableBarHor(bool on) { enableBar(true, on); }
void SScroll::enableBarVert(bool on) { enableBar(false, on); }

// Sets the range; when the platform moved the position, the offset follows it and the
// owner hears of it.
void SScroll::setRange(bool horizontal, int min, int max, bool redraw) {
    int bar = 0;
    HWND h = barWindow(horizontal, bar);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE;
    info.nMin = min;
    info.nMax = max;
    SetScrollInfo(h, bar, &info, redraw);
    SDevice& device = owner->getDevice();
    int pos = read(horizontal).nPos;
    if (pos == (horizontal ? device.getOffsetX() : device.getOffsetY())) return;
    device.setOffset(horizontal ? pos : -2, horizontal ? -2 : pos);
    owner->invalidate();
    SendMessageA(owner->getHwnd(), horizontal ? WM_HSCROLL : WM_VSCROLL, 0, 0);
}

void SScroll::setRangeHor(int min, int max, bool redraw) { setRange(true, min, max, redraw); }
void SScroll::setRangeVert(int min, int max, bool redraw) { setRange(false, min, max, redraw); }

void SScroll::setPos(bool horizontal, int pos, bool redraw) {
    int bar = 0;
    HWND h = barWindow(horizontal, bar);
    if (pos != -1) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_POS;
        info.nPos = pos;
        SetScrollInfo(h, bar, &info, redraw);
    }
    int now = read(horizontal).nPos;
    owner->getDevice().setOffset(horizontal ? now : -2, horizontal ? -2 : now);
    if (redraw) owner->invalidate();
}

void SScroll::setPosHor(int pos, bool redraw) { setPos(true, pos, redraw); }
void SScroll::setPosVert(int pos, bool redraw) { setPos(false, pos, redraw); }

int SScroll::getPosHor() { return read(true).nPos; }
int SScroll::getPosVert() { return read(false).nPos; }

SRange SScroll::getRangeHor() {
    SCROLLINFO info = read(true);
    return SRange{info.nMin, info.nMax};
}

SRange SScroll::getRangeVert() {
    SCROLLINFO info = read(false);
    return SRange{info.nMin, info.nMax};
}

void SScroll::setDocumentWidth(int width) {
    if (width == documentWidth) return;
    documentWidth = width;
    setRangeHor(0, width, true);
    updatePages();
}

void SScroll::setDocumentHeight(int height) {
    if (height == documentHeight) return;
    documentHeight = height;
    setRangeVert(0, height, true);
    updatePages();
}

// Ranges 0 .. document size, pages = the visible part in logical units.
void SScroll::update() {
    if (!owner->getHwnd() || (documentWidth <= 0 && documentHeight <= 0)) return;
    for (int horizontal = 0; horizontal < 2; ++horizontal) {
        int bar = 0;
        HWND h = barWindow(horizontal != 0, bar);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE;
        info.nMin = 0;
        info.nMax = horizontal ? documentWidth : documentHeight;
        SetScrollInfo(h, bar, &info, TRUE);
    }
    updatePages();
}

void SScroll::updatePages() {
    if (!owner->getHwnd()) return;
    SDevice& device = owner->getDevice();
    SSize client = owner->getClientSize();
    int pages[2] = {std::abs(device.deviceToLogicalY(client.height)) - device.getOffsetY(),
                    std::abs(device.deviceToLogicalX(client.width)) - device.getOffsetX()};
    for (int horizontal = 0; horizontal < 2; ++horizontal) {
        int bar = 0;
        HWND h = barWindow(horizontal != 0, bar);
        SCROLLINFO info = read(horizontal != 0);
        if ((int)info.nPage == pages[horizontal]) continue;
        SCROLLINFO set{};
        set.cbSize = sizeof set;
        set.fMask = SIF_PAGE;
        set.nPage = (UINT)(pages[horizontal] < 0 ? 0 : pages[horizontal]);
        SetScrollInfo(h, bar, &set, TRUE);
    }
}
