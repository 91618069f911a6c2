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

void SScroll::write(bool horizontal, const SCROLLINFO& info, bool redraw) {
    int bar = 0;
    HWND h = barWindow(horizontal, bar);
    SetScrollInfo(h, bar, &info, redraw);
    horizontalShown = barShown(true) ? 1 : 0;
    verticalShown = barShown(false) ? 1 : 0;
}

bool SScroll::barShown(bool horizontal) const {
    int bar = 0;
    HWND h = barWindow(horizontal, bar);
    if (!h) return false;
    DWORD style = (DWORD)GetWindowLongA(h, GWL_STYLE);
    if (bar == SB_CTL) return (style & WS_VISIBLE) != 0;
    return (style & (horizontal ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

int SScroll::resolveStep(int step, int page, int documentSize) const {
    if (step < 0 && documentSize > 0 && page != 0) return std::abs(step) * page / 100;
    return std::abs(step);
}

void SScroll::onHScroll(int request) {
    if (barShown(true)) scroll(true, request);
}

void SScroll::onVScroll(int request) {
    if (barShown(false)) scroll(false, request);
}

void SScroll::scroll(bool horizontal, int request) {
    SCROLLINFO info = read(horizontal);
    bool repaint = repaintAfterScroll != 0;
    int documentSize = horizontal ? documentWidth : documentHeight;
    int line = resolveStep(lineStep, (int)info.nPage, documentSize);
    int page = resolveStep(pageStep, (int)info.nPage, documentSize);
    int pos = info.nPos;
    // The request carries only 16 bits of the position; the platform's 32-bit one holds
    // the same low word when it sent the request (also when the tracking already moved the
    // position there). A program that scrolls by sending a request of its own gives another.
    const int track = (info.nTrackPos & 0xFFFF) == (int)HIWORD(request) ? info.nTrackPos : (int)HIWORD(request);
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
    SCROLLINFO set{};
    set.cbSize = sizeof set;
    set.fMask = SIF_POS;
    set.nPos = pos;
    write(horizontal, set, true);
    follow(horizontal, repaint || scrollMode != 0, scrollMode != 1);
}

// Brings the device's offset and the children to the bar's position (which the platform
// may have clamped); false when they were there already.
bool SScroll::follow(bool horizontal, bool repaint, bool scrollBits) {
    SDevice& device = owner->getDevice();
    int from = horizontal ? device.getOffsetX() : device.getOffsetY();
    int to = read(horizontal).nPos;
    if (to == from) return false;
    int delta = horizontal ? device.logicalToDeviceX(from) - device.logicalToDeviceX(to)
                           : device.logicalToDeviceY(from) - device.logicalToDeviceY(to);
    device.setOffset(horizontal ? to : -2, horizontal ? -2 : to);
    moveChildren(horizontal ? delta : 0, horizontal ? 0 : delta);
    if (scrollBits) {
        SRect inner = owner->getInnerRect();
        RECT area{inner.x, inner.y, inner.x + inner.width, inner.y + inner.height};
        ScrollWindowEx(owner->getHwnd(), horizontal ? delta : 0, horizontal ? 0 : delta, &area, nullptr, nullptr,
                       nullptr, SW_INVALIDATE | SW_ERASE);
    }
    if (repaint) owner->invalidate();
    return true;
}

// The platform moved the position on its own (a new range or page): the content follows and
// the owner hears of it as of a finished scroll - not as a line request, which would move
// the content once more.
void SScroll::followPlatform(bool horizontal) {
    if (follow(horizontal, true, false))
        SendMessageA(owner->getHwnd(), horizontal ? WM_HSCROLL : WM_VSCROLL, SB_ENDSCROLL, 0);
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
    bool done = ShowScrollBar(h, bar, show) != 0;
    horizontalShown = barShown(true) ? 1 : 0;
    verticalShown = barShown(false) ? 1 : 0;
    return done;
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

// Sets the range; when the platform moved the position, the content follows it.
void SScroll::setRange(bool horizontal, int min, int max, bool redraw) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE;
    info.nMin = min;
    info.nMax = max;
    write(horizontal, info, redraw);
    followPlatform(horizontal);
}

void SScroll::setRangeHor(int min, int max, bool redraw) {
    horizontalRangeByHand = true;
    setRange(true, min, max, redraw);
}

void SScroll::setRangeVert(int min, int max, bool redraw) {
    verticalRangeByHand = true;
    setRange(false, min, max, redraw);
}

void SScroll::setPos(bool horizontal, int pos, bool redraw) {
    if (pos != -1) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_POS;
        info.nPos = pos;
        write(horizontal, info, redraw);
    }
    follow(horizontal, false, false);
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
    horizontalRangeByHand = false;
    setRange(true, 0, width, true);
    updatePages();
}

void SScroll::setDocumentHeight(int height) {
    if (height == documentHeight) return;
    documentHeight = height;
    verticalRangeByHand = false;
    setRange(false, 0, height, true);
    updatePages();
}

// Ranges 0 .. document size where the program set no range of its own (only when the
// platform holds another one), pages = the visible part in logical units.
void SScroll::update() {
    if (!owner->getHwnd() || (documentWidth <= 0 && documentHeight <= 0)) return;
    for (bool horizontal : {true, false}) {
        int size = horizontal ? documentWidth : documentHeight;
        if (size <= 0 || (horizontal ? horizontalRangeByHand : verticalRangeByHand)) continue;
        SCROLLINFO info = read(horizontal);
        if (info.nMin != 0 || info.nMax != size) setRange(horizontal, 0, size, true);
    }
    updatePages();
}

void SScroll::updatePages() {
    if (!owner->getHwnd()) return;
    SDevice& device = owner->getDevice();
    // A page is what shows between the frame's bars (the whole client area without bars).
    SRect inner = owner->getInnerRect();
    SSize client{inner.width, inner.height};
    int pages[2] = {std::abs(device.deviceToLogicalY(client.height)) - device.getOffsetY(),
                    std::abs(device.deviceToLogicalX(client.width)) - device.getOffsetX()};
    for (int horizontal = 0; horizontal < 2; ++horizontal) {
        SCROLLINFO info = read(horizontal != 0);
        UINT page = (UINT)(pages[horizontal] < 0 ? 0 : pages[horizontal]);
        if (info.nPage == page) continue;
        SCROLLINFO set{};
        set.cbSize = sizeof set;
        set.fMask = SIF_PAGE;
        set.nPage = page;
        write(horizontal != 0, set, true);
        followPlatform(horizontal != 0); // a larger page may have clamped the position
    }
}
