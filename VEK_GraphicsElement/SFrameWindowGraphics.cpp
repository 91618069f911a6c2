#include "VEK_GraphicsElement/SFrameWindowGraphics.h"

#include "VEK_CONTROLS/SControl.h"
#include "VEK_CONTROLS/SPopupMenu.h"
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SColorDialog.h"
#include "VEK_GUI/SGdiObject.h"
#include "VEK_GUI/SToolTip.h"
#include "VEK_GraphicsElement/SGPosWnd.h"
#include "VEK_GraphicsElement/SGraphicElement.h"
#include "VEK_UTIL/SResources.h"

#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// ARGB with alpha 255 <-> the platform's 0x00BBGGRR.
uint32_t argbFromColorRef(COLORREF c) {
    return 0xFF000000u | (uint32_t)GetRValue(c) << 16 | (uint32_t)GetGValue(c) << 8 | GetBValue(c);
}
COLORREF colorRefFromArgb(uint32_t c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

SRect grown(const SRect& r, int by) { return SRect{r.x - by, r.y - by, r.width + 2 * by, r.height + 2 * by}; }

// Whether a context draws in plain pixels of its window already (as a paint's does).
bool inClientPixels(HDC dc) {
    POINT window{}, viewport{};
    GetWindowOrgEx(dc, &window);
    GetViewportOrgEx(dc, &viewport);
    return GetGraphicsMode(dc) == GM_COMPATIBLE && GetMapMode(dc) == MM_TEXT && !window.x && !window.y &&
           !viewport.x && !viewport.y;
}

// A context's own mapping set aside: it draws in plain pixels of its window.
void clientPixels(HDC dc) {
    SetGraphicsMode(dc, GM_ADVANCED);
    ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
    SetMapMode(dc, MM_TEXT);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
}

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

uint32_t SFrameWindowGraphics::backgroundArgb() { return argbFromColorRef(device.getBackgroundColor()); }

void SFrameWindowGraphics::paintElements(Gdiplus::Graphics& g, const SRect& area) {
    const int n = graphicElements.count();
    // A neighbour's shadow may reach into the area without the neighbour itself.
    for (int i = 0; i < n; ++i) {
        SGraphicElement* element = graphicElements[i];
        if (!element || !element->reachesInto(area)) continue;
        element->buildPath();
        element->drawShadow(g);
    }
    for (int i = 0; i < n; ++i) {
        SGraphicElement* element = graphicElements[i];
        if (element && element->intersects(area)) element->paint(g);
    }
}

// The cache fitted to the window as it is now and drawn again where stale; false without one.
bool SFrameWindowGraphics::cacheUpToDate() {
    const SDevice::Transform t = device.getTransform();
    const SRect client = getClientRect();
    if (!cache.fit(client.width, client.height, t, backgroundArgb())) return false;
    drawStale(t);
    return true;
}

// The elements are drawn into the cache only where they changed; a paint copies from it.
// So a window uncovered, or repainted behind a control whose text changed, costs one copy.
void SFrameWindowGraphics::onPaint(SDevice& painter) {
    HDC dc = painter.getHdc();
    if (!dc || !cacheUpToDate()) return;
    int saved = SaveDC(dc);
    clientPixels(dc);
    excludeSeeThroughControls(dc);
    RECT box{};
    if (GetClipBox(dc, &box) > NULLREGION) cache.copyTo(dc, box.left, box.top, box);
    RestoreDC(dc, saved);
}

// Transparent controls draw the picture behind them themselves (drawBehind): painting under
// them first would make their text flicker. They are found in the library's list of its
// windows: under Wine each step through the platform's child windows is a server request.
void SFrameWindowGraphics::excludeSeeThroughControls(HDC dc) {
    for (int i = 0; i < globalApplication.windowCount(); ++i) {
        SWindow* window = globalApplication.windowAt(i);
        if (window->getParent() != this || !window->isVisible()) continue;
        auto* control = dynamic_cast<SControl*>(window);
        if (!control || !control->isSeeThrough() || GetParent(control->getHwnd()) != hwnd) continue;
        RECT r{};
        GetWindowRect(control->getHwnd(), &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
}

// Where the child's context lies over this window follows from the two device origins.
bool SFrameWindowGraphics::drawBehind(SWindow& child, HDC dc) {
    if (!isWindow()) return false;
    // This window's own context (its erase handed on to the children): it paints there itself.
    if (WindowFromDC(dc) == hwnd) return true;
    if (!cacheUpToDate()) return false;
    POINT origin{}, own{};
    GetDCOrgEx(dc, &origin);
    ClientToScreen(hwnd, &own); // where a context of this window's client area has its origin
    RECT size{};
    GetClientRect(child.getHwnd(), &size);
    const int x = origin.x - own.x, y = origin.y - own.y;
    // Saving and restoring a context is dear under Wine: only where its mapping must go.
    const int saved = inClientPixels(dc) ? 0 : SaveDC(dc);
    if (saved) clientPixels(dc);
    cache.copyTo(dc, 0, 0, RECT{x, y, x + size.right, y + size.bottom});
    if (saved) RestoreDC(dc, saved);
    return true;
}

void SFrameWindowGraphics::drawStale(const SDevice::Transform& t) {
    SGdiObject<HRGN> stale;
    if (!cache.takeStale(stale)) return;
    RECT box{};
    GetRgnBox(stale.get(), &box);
    SPoint a = clientToElements(SPoint{box.left, box.top});
    SPoint b = clientToElements(SPoint{box.right, box.bottom});
    const SRect area = grown(SRect{std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y)}, 1);
    const int w = cache.getWidth(), h = cache.getHeight();
    Gdiplus::Bitmap target(w, h, w * 4, PixelFormat32bppARGB, static_cast<BYTE*>(cache.getPixels()));
    Gdiplus::Graphics g(&target);
    Gdiplus::Region clip(stale.get());
    g.SetClip(&clip);
    g.Clear(Gdiplus::Color((Gdiplus::ARGB)backgroundArgb()));
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::Matrix transform(t.scaleX, 0, 0, t.scaleY, t.dx, t.dy);
    g.SetTransform(&transform);
    paintElements(g, area);
}

void SFrameWindowGraphics::invalidate() {
    cache.markAllStale();
    SFrameWindow::invalidate();
}

void SFrameWindowGraphics::invalidate(const SRect& r) {
    const int h = r.height < 0 ? -r.height : r.height;
    cache.markStale(RECT{r.x, r.y, r.right(), r.y + h});
    SFrameWindow::invalidate(r);
}

int SFrameWindowGraphics::onEraseBackground(SDevice&) { return 1; }

// ---------------------------------------------------------------- mouse

void SFrameWindowGraphics::updateToolTip(int x, int y) {
    if (!toolTip) addToolTip("?", "", 0, 200, false);
    if (!toolTip) return;
    SPoint at = clientToElements(SPoint{x, y});
    SGraphicElement* element = elementAt(at.x, at.y);
    if (!element) {
        toolTipElement = nullptr;
        toolTip->activate(false);
        return;
    }
    toolTip->activate(true);
    const char* name = element->getName().isEmpty() ? "?" : element->getName().getBuffer();
    if (toolTip->getText() != name) toolTip->setText(name, "");
    // The whole client area is one tool to the tip: on its own it would stay where it
    // showed first, over the element it no longer names.
    if (toolTipElement && element != toolTipElement) moveToolTipTo(x, y);
    toolTipElement = element;
}

void SFrameWindowGraphics::moveToolTipTo(int x, int y) {
    HWND tip = toolTip ? toolTip->getHwnd() : nullptr;
    if (!tip) return;
    POINT at{x, y};
    ClientToScreen(hwnd, &at);
    // Below the pointer, clear of the arrow, as the tip places itself when it shows.
    const int arrow = GetSystemMetrics(SM_CYCURSOR) * 5 / 8;
    SetWindowPos(tip, nullptr, at.x, at.y + arrow, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
