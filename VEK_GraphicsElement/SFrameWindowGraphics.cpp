#include "VEK_GraphicsElement/SFrameWindowGraphics.h"

#include "VEK_CONTROLS/SPopupMenu.h"
#include "VEK_GUI/SColorDialog.h"
#include "VEK_GUI/SToolTip.h"
#include "VEK_GraphicsElement/SGPosWnd.h"
#include "VEK_GraphicsElement/SGraphicElement.h"
#include "VEK_UTIL/SResources.h"

#include <gdiplus.h>

#include <cmath>

namespace {

// ARGB with alpha 255 <-> the platform's 0x00BBGGRR.
uint32_t argbFromColorRef(COLORREF c) {
    return 0xFF000000u | (uint32_t)GetRValue(c) << 16 | (uint32_t)GetGValue(c) << 8 | GetBValue(c);
}
COLORREF colorRefFromArgb(uint32_t c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

SRect grown(const SRect& r, int by) { return SRect{r.x - by, r.y - by, r.width + 2 * by, r.height + 2 * by}; }

} // namespace

SFrameWindowGraphics::SFrameWindowGraphics() { className = "SFrameWindowGraphics"; }

SFrameWindowGraphics::~SFrameWindowGraphics() {
    // Elements that outlive their window (not members of it) must not reach back into it.
    while (graphicElements.count() > 0) {
        SGraphicElement* element = graphicElements[graphicElements.count() - 1];
        graphicElements.removeAt(graphicElements.count() - 1);
        if (element) element->detachFromParent();
    }
}

void SFrameWindowGraphics::onPreCreateWindow() {
    for (int i = 0; i < graphicElements.count(); ++i)
        if (graphicElements[i]) graphicElements[i]->loadControlpos();
    graphicElements.sortByLayer();
    SFrameWindow::onPreCreateWindow();
}

// ---------------------------------------------------------------- coordinates

SPoint SFrameWindowGraphics::clientToElements(SPoint p) {
    SDevice::Transform t = device.getTransform();
    return SPoint{(int)std::floor(((float)p.x - t.dx) / t.scaleX), (int)std::floor(((float)p.y - t.dy) / t.scaleY)};
}

SRect SFrameWindowGraphics::elementsToClient(const SRect& r) {
    SDevice::Transform t = device.getTransform();
    float left = (float)r.x * t.scaleX + t.dx, top = (float)r.y * t.scaleY + t.dy;
    float right = (float)(r.x + r.width) * t.scaleX + t.dx, bottom = (float)(r.y + r.height) * t.scaleY + t.dy;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    int x = (int)std::floor(left), y = (int)std::floor(top);
    return SRect{x, y, (int)std::ceil(right) - x, (int)std::ceil(bottom) - y};
}

// ---------------------------------------------------------------- host

bool SFrameWindowGraphics::hostExists() const { return isWindow(); }

void SFrameWindowGraphics::invalidateElementArea(const SRect& area) {
    if (isWindow()) invalidate(elementsToClient(area));
}

bool SFrameWindowGraphics::chooseElementColor(uint32_t& argb) {
    COLORREF chosen = SColorDialog().choose(hwnd, colorRefFromArgb(argb));
    if (chosen == (COLORREF)-2) return false;
    argb = argbFromColorRef(chosen);
    return true;
}

SGPosWnd* SFrameWindowGraphics::openPositioning(SGraphicElement& element) {
    auto* window = new SGPosWnd();
    window->setDesignRect(element.getKeyRect());
    window->bind(&element);
    if (!window->create(this)) {
        delete window;
        return nullptr;
    }
    window->bringToTop();
    return window;
}

void SFrameWindowGraphics::closePositioning(SGraphicElement&, SGPosWnd* window) {
    if (!window) return;
    if (window->isWindow()) DestroyWindow(window->getHwnd());
    delete window;
}

SGraphicElement* SFrameWindowGraphics::elementAt(int x, int y) const {
    for (int i = graphicElements.count() - 1; i >= 0; --i) {
        SGraphicElement* element = graphicElements[i];
        if (element && element->contains((float)x, (float)y)) return element;
    }
    return nullptr;
}

// ---------------------------------------------------------------- paint

SRect SFrameWindowGraphics::repaintArea(SDevice& painter) {
    RECT box{};
    int kind = painter.getHdc() ? GetClipBox(painter.getHdc(), &box) : ERROR;
    if (kind == ERROR || kind == NULLREGION || box.right <= box.left || box.bottom <= box.top) {
        SRect client = getClientRect();
        SPoint a = clientToElements(SPoint{client.x, client.y});
        SPoint b = clientToElements(SPoint{client.x + client.width, client.y + client.height});
        return grown(SRect{a.x, a.y, b.x - a.x, b.y - a.y}, 1);
    }
    return grown(SRect{box.left, box.top, box.right - box.left, box.bottom - box.top}, 1);
}

uint32_t SFrameWindowGraphics::backgroundArgb() { return argbFromColorRef(device.getBackgroundColor()); }

void SFrameWindowGraphics::paintElements(Gdiplus::Graphics& g, const SRect& area) {
    const int n = graphicElements.count();
    for (int i = 0; i < n; ++i) {
        SGraphicElement* element = graphicElements[i];
        if (!element || !element->intersects(area)) continue;
        element->buildPath();
        element->drawShadow(g);
    }
    for (int i = 0; i < n; ++i) {
        SGraphicElement* element = graphicElements[i];
        if (element && element->intersects(area)) element->paint(g);
    }
}

// The elements are drawn in their own coordinates into a bitmap of the repaint area, which
// then goes onto the window through the device's offset and zoom.
void SFrameWindowGraphics::onPaint(SDevice& painter) {
    HDC dc = painter.getHdc();
    if (!dc) return;
    const SRect area = repaintArea(painter);
    if (area.width <= 0 || area.height <= 0) return;
    Gdiplus::Bitmap buffer(area.width, area.height, PixelFormat32bppARGB);
    if (buffer.GetLastStatus() != Gdiplus::Ok) return;
    {
        Gdiplus::Graphics g(&buffer);
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        g.Clear(Gdiplus::Color((Gdiplus::ARGB)backgroundArgb()));
        g.TranslateTransform((float)-area.x, (float)-area.y);
        paintElements(g, area);
    }
    SDevice::Transform t = painter.getTransform();
    // GDI+ gets the whole transform itself; the context's own mapping is set aside meanwhile.
    int saved = SaveDC(dc);
    SetGraphicsMode(dc, GM_ADVANCED);
    ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
    SetMapMode(dc, MM_TEXT);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    {
        Gdiplus::Graphics screen(dc);
        Gdiplus::Matrix transform(t.scaleX, 0, 0, t.scaleY, t.dx, t.dy);
        screen.SetTransform(&transform);
        screen.SetClip(Gdiplus::Rect(area.x, area.y, area.width, area.height));
        screen.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        screen.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
        screen.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        screen.DrawImage(&buffer, Gdiplus::Rect(area.x, area.y, area.width, area.height), 0, 0, area.width,
                         area.height, Gdiplus::UnitPixel);
    }
    RestoreDC(dc, saved);
    redrawControlsOver(dc);
}

// Controls without a background of their own (the value texts) show what lies behind them:
// the ones in the painted area draw themselves again at once, over the elements.
void SFrameWindowGraphics::redrawControlsOver(HDC dc) {
    RECT box{};
    if (GetClipBox(dc, &box) == NULLREGION) return;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{}, common{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        if (IsWindowVisible(child) && IntersectRect(&common, &r, &box))
            RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

int SFrameWindowGraphics::onEraseBackground(SDevice&) { return 1; }

// ---------------------------------------------------------------- mouse

void SFrameWindowGraphics::updateToolTip(int x, int y) {
    if (!toolTip) addToolTip("?", "", 0, 200, false);
    if (!toolTip) return;
    SPoint at = clientToElements(SPoint{x, y});
    SGraphicElement* element = elementAt(at.x, at.y);
    if (!element) {
        toolTip->activate(false);
        return;
    }
    toolTip->activate(true);
    const char* name = element->getName().isEmpty() ? "?" : element->getName().getBuffer();
    if (toolTip->getText() != name) toolTip->setText(name, "");
}

void SFrameWindowGraphics::onMouseMove(int keys, int x, int y) {
    updateToolTip(x, y);
    SFrameWindow::onMouseMove(keys, x, y);
}

void SFrameWindowGraphics::onLButtonDown(int keys, int x, int y) {
    SPoint at = clientToElements(SPoint{x, y});
    for (int i = graphicElements.count() - 1; i >= 0; --i) {
        SGraphicElement* element = graphicElements[i];
        if (element && element->contains((float)at.x, (float)at.y) && element->onMouseDown(keys)) return;
    }
    SFrameWindow::onLButtonDown(keys, x, y);
}

void SFrameWindowGraphics::onRButtonUp(int keys, int x, int y) {
    if (!isPositioning()) {
        SFrameWindow::onRButtonUp(keys, x, y);
        return;
    }
    showBackgroundMenu(SPoint{x, y});
}

void SFrameWindowGraphics::showBackgroundMenu(SPoint client) {
    SPopupMenu menu;
    menu.setSendCommand(false);
    menu.appendItem("Hintergrundfarbe...", BackgroundColorCommand);
    if (menu.track(hwnd, clientToScreen(client)) != BackgroundColorCommand) return;
    COLORREF chosen = SColorDialog().choose(hwnd, device.getBackgroundColor());
    if (chosen == (COLORREF)-2) return;
    device.setBackgroundColor(chosen);
    invalidate();
}

// ---------------------------------------------------------------- positioning

void SFrameWindowGraphics::startPositioning() {
    SFrameWindow::startPositioning();
    if (!isPositioning()) return;
    sendMessage(WM_SETREDRAW, FALSE);
    for (int i = 0; i < graphicElements.count(); ++i)
        if (graphicElements[i]) graphicElements[i]->startPositioning();
    sendMessage(WM_SETREDRAW, TRUE);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// Only a running positioning mode is stopped: without positioning windows no element would
// write its record again into the emptied section.
void SFrameWindowGraphics::stopPositioning() {
    if (!isPositioning()) return;
    SString section;
    section.setRaw(getClassName()).append("_ge");
    globalResources.controlPositions.setSectionText(section, "");
    // Closing the positioning windows one by one would repaint the window under each.
    sendMessage(WM_SETREDRAW, FALSE);
    for (int i = 0; i < graphicElements.count(); ++i)
        if (graphicElements[i]) graphicElements[i]->stopPositioning();
    sendMessage(WM_SETREDRAW, TRUE);
    SFrameWindow::stopPositioning();
}
