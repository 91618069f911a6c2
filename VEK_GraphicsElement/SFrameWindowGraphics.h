// SFrameWindowGraphics: a frame window that owns a list of graphic elements and paints them
// flicker-free through a cache of what it drew (all shadows first, then the elements, back to
// front), shows an element's name as its tooltip, hands a click to the topmost element
// under the pointer, and in positioning mode gives every element a positioning window and
// writes the elements' records to controlpos.ini when the mode ends.
#pragma once

#include "VEK_GUI/SFrameWindow.h"
#include "VEK_GraphicsElement/SGraphicCache.h"
#include "VEK_GraphicsElement/SGraphicElementHost.h"
#include "VEK_GraphicsElement/SGraphicElementList.h"

namespace Gdiplus {
class Graphics;
}

class SFrameWindowGraphics : public SFrameWindow, public SGraphicElementHost {
public:
    // Command id of the background-colour item of the positioning-mode menu.
    static constexpr int BackgroundColorCommand = 6901;

    SFrameWindowGraphics();
    ~SFrameWindowGraphics() override;
    const char* getClassName() const override { return "SFrameWindowGraphics"; }

    void onPreCreateWindow() override;
    void onPaint(SDevice& device) override;
    int onEraseBackground(SDevice& device) override;
    void onMouseMove(int keys, int x, int y) override;
    void onLButtonDown(int keys, int x, int y) override;
    void onRButtonUp(int keys, int x, int y) override;
    void startPositioning() override;
    void stopPositioning() override;

    // SGraphicElementHost
    SGraphicElementList& getGraphicElements() override { return graphicElements; }
    bool hostExists() const override;
    void invalidateElementArea(const SRect& area) override;
    const char* hostClassName() const override { return getClassName(); }
    bool chooseElementColor(uint32_t& argb) override;
    SGPosWnd* openPositioning(SGraphicElement& element) override;
    void closePositioning(SGraphicElement& element, SGPosWnd* window) override;

    // The topmost element whose rectangle holds a point (element coordinates), or nullptr.
    SGraphicElement* elementAt(int x, int y) const;
    // Draws an area (element coordinates) into g: every shadow that reaches it, then the
    // elements over it.
    void paintElements(Gdiplus::Graphics& g, const SRect& area);
    // Client point <-> element coordinates through the device's scroll offset and zoom.
    SPoint clientToElements(SPoint p);
    SRect elementsToClient(const SRect& r);
    // The background-colour menu of positioning mode at a client point.
    void showBackgroundMenu(SPoint client);
    // The background as ARGB with alpha 255.
    uint32_t backgroundArgb();
    // Whatever is invalidated here is also drawn again into the element cache.
    void invalidate() override;
    void invalidate(const SRect& r) override;
    bool drawBehind(SWindow& child, HDC dc) override;

protected:
    void updateToolTip(int x, int y);
    // The tip stands below the pointer at a client point.
    void moveToolTipTo(int x, int y);
    void drawStale(const SDevice::Transform& t);
    bool cacheUpToDate();
    void excludeSeeThroughControls(HDC dc);

    SGraphicElementList graphicElements;
    SGraphicCache cache;
    // The element the tooltip shows; only compared, never followed.
    const SGraphicElement* toolTipElement = nullptr;
};
