#include "VEK_CONTROLS/SPositioningWnd.h"

#include "VEK_CONTROLS/SControlPos.h"
#include "VEK_UTIL/SResources.h"

namespace {

// Cursors by zone, 0 and 1 first: IDC_SIZEALL for the body, the sizing arrows for the handles.
const int kZoneCursors[] = {32646, 32646, 32642, 32645, 32643, 32644, 32642, 32645, 32643, 32644};
constexpr int kHandCursor = 32649; // IDC_HAND while dragging

bool leftShiftDown() { return (GetKeyState(VK_LSHIFT) & 0x8000) != 0; }

} // namespace

SPositioningWnd::SPositioningWnd() {
    className = "VEK_POSITION_WINDOW";
    title = "";
    style = WS_CHILD | WS_VISIBLE;
    exStyle = WS_EX_TOPMOST | WS_EX_TRANSPARENT;
    // No double clicks: a quick second press must start a drag like the first.
    windowClass.style = 0;
    windowClass.hbrBackground = (HBRUSH)GetStockObject(NULL_BRUSH);
    device.setBackgroundColor(SPainter::Transparent); // only the handles are painted
    creationSize = SSize{10, 10};                     // the smallest a drag makes the control
}

LRESULT SPositioningWnd::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled,
                                    LRESULT& result) {
    if (h == hwnd && h && msg == MSG_POSITIONING_SAVE) savePosition(reinterpret_cast<const char*>(lParam));
    return SWindow::windowProc(h, msg, wParam, lParam, handled, result);
}

// ---------------------------------------------------------------- target

void SPositioningWnd::bind(SWindow* window) {
    target = window;
    if (!target) return;
    SRect r = target->isWindow() ? target->getWindowRect(false) : target->getRect();
    if (handleHeight > r.height / 3) handleHeight = r.height / 3;
    if (handleWidth > r.width / 3) handleWidth = r.width / 3;
    moveWindow(r, true);
}

bool SPositioningWnd::createOverTarget() {
    if (!target || !target->getParent()) return false;
    if (!create(target->getParent())) return false;
    target->show(SW_SHOW);
    bringToTop();
    return true;
}

void SPositioningWnd::savePosition(const char* section) {
    if (!target || !section || !hwnd) return;
    SString key;
    key.setRaw(target->getClassName()).append(",").append(SControlPos::text(designRect));
    globalResources.controlPositions.setString(section, key, SControlPos::text(getWindowRect(false)));
}

// ---------------------------------------------------------------- zones

SSize SPositioningWnd::size() { return hwnd ? getClientSize() : SSize{rect.width, rect.height}; }

SRect SPositioningWnd::handleRect(int zone) {
    SSize s = size();
    int centreX = (s.width - handleWidth) / 2, rightX = s.width - handleWidth;
    int middleY = (s.height - handleHeight) / 2, bottomY = s.height - handleHeight;
    SPoint at;
    switch (zone) {
    case TopLeft: at = SPoint{0, 0}; break;
    case Top: at = SPoint{centreX, 0}; break;
    case TopRight: at = SPoint{rightX, 0}; break;
    case Right: at = SPoint{rightX, middleY}; break;
    case BottomRight: at = SPoint{rightX, bottomY}; break;
    case Bottom: at = SPoint{centreX, bottomY}; break;
    case BottomLeft: at = SPoint{0, bottomY}; break;
    case Left: at = SPoint{0, middleY}; break;
    default: return SRect{};
    }
    return SRect{at.x, at.y, handleWidth, handleHeight};
}

int SPositioningWnd::zoneAt(SPoint p, bool lastHandle) {
    int found = Body;
    for (int zone = TopLeft; zone <= Left; ++zone) {
        SRect r = handleRect(zone);
        if (p.x < r.x || p.x > r.right() || p.y < r.y || p.y > r.bottom()) continue;
        found = zone;
        if (!lastHandle) break;
    }
    return found;
}

int SPositioningWnd::zoneCursor(int zone) { return zone >= 0 && zone <= Left ? kZoneCursors[zone] : kZoneCursors[0]; }

// ---------------------------------------------------------------- mouse

void SPositioningWnd::onLButtonDown(int, int x, int y) {
    activeZone = zoneAt(SPoint{x, y});
    pressPoint = SPoint{x, y};
    startRect = getWindowRect(false);
    SetCapture(hwnd);
    setCursor(kHandCursor);
}

void SPositioningWnd::onMouseMove(int keys, int x, int y) {
    if (!(keys & MK_LBUTTON)) activeZone = NoZone;
    if (activeZone != NoZone) onDrag(SPoint{x, y});
    setCursor(activeZone != NoZone ? kHandCursor : zoneCursor(zoneAt(SPoint{x, y}, true)));
    if (hovered) return;
    frameColor = Green;
    hovered = 1;
    trackMouse(true, false);
    invalidate();
}

void SPositioningWnd::onLButtonUp(int, int, int) {
    activeZone = NoZone;
    if (GetCapture() == hwnd) ReleaseCapture();
}

// A drag goes on while the pointer runs ahead of a handle that is held back by the grid or
// the minimum size: only the capture's end finishes it.
void SPositioningWnd::onMouseLeave() {
    if (GetCapture() != hwnd) activeZone = NoZone;
    frameColor = Blue;
    hovered = 0;
    invalidate();
}

void SPositioningWnd::onPaint(SDevice& painter) {
    for (int zone = TopLeft; zone <= Left; ++zone) painter.rectangle(handleRect(zone), frameColor, handleFillColor);
}

// ---------------------------------------------------------------- dragging

int SPositioningWnd::snap(int value) const {
    if (grid <= 0 || leftShiftDown()) return value;
    return grid * (value / grid);
}

bool SPositioningWnd::dragRect(SPoint point, SRect& n) {
    SRect now = getWindowRect(false);
    // The pointer's travel since the press, in parent coordinates (the overlay moves along).
    int dx = (point.x + now.x) - (pressPoint.x + startRect.x);
    int dy = (point.y + now.y) - (pressPoint.y + startRect.y);
    if (dx == 0 && dy == 0) return false;
    const SRect& s = startRect;
    n = s;
    int zone = activeZone;
    if (zone == Body) {
        n.x = snap(s.x + dx);
        n.y = snap(s.y + dy);
    }
    if (zone == BottomRight || zone == Bottom || zone == BottomLeft) n.height = snap(s.height + dy);
    if (zone == TopLeft || zone == Top || zone == TopRight) {
        n.y = snap(s.y + dy);
        n.height = s.y + s.height - n.y; // the bottom edge stays
    }
    if (zone == TopLeft || zone == BottomLeft || zone == Left) {
        n.x = snap(s.x + dx);
        n.width = s.x + s.width - n.x; // the right edge stays
    }
    if (zone == TopRight || zone == Right || zone == BottomRight) n.width = snap(s.width + dx);
    // At the minimum size a left or top handle still keeps the opposite edge in place.
    if (n.width < creationSize.width) {
        n.width = creationSize.width;
        if (zone == TopLeft || zone == BottomLeft || zone == Left) n.x = s.x + s.width - n.width;
    }
    if (n.height < creationSize.height) {
        n.height = creationSize.height;
        if (zone == TopLeft || zone == Top || zone == TopRight) n.y = s.y + s.height - n.height;
    }
    return true;
}

bool SPositioningWnd::onDrag(SPoint point) {
    SRect n;
    if (!dragRect(point, n)) return false;
    moveWindow(n, true);
    if (target) target->moveWindow(n, true);
    if (parent) parent->invalidate();
    return true;
}
