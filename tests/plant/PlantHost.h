// What the plant suites share: the resource manager started once with an empty
// controlpos.ini, GDI+ running, and a borderless graphics frame whose client area is exactly
// its size, which counts the repaints its elements ask for and answers their colour dialog.
#pragma once

#include "VEK_GraphicsElement/SFrameWindowGraphics.h"
#include "tests/support/gui/WindowCapture.h"

#include <windows.h>

void startPlantResources();

class PlantHost : public SFrameWindowGraphics {
public:
    static constexpr COLORREF Background = 0xF0F0F0;
    explicit PlantHost(SSize client = SSize{400, 300});
    const char* getClassName() const override { return "PlantHost"; }
    // Created, shown in front and painted.
    bool open();
    // Paints what is pending and takes the client area.
    WindowCapture shot();

    void invalidateElementArea(const SRect& area) override;
    bool chooseElementColor(uint32_t& argb) override;

    int invalidations = 0;
    uint32_t colorAnswer = 0xFF00FFFF; // cyan
};

// An ARGB colour as a capture shows it (0x00BBGGRR).
constexpr COLORREF colorRef(uint32_t argb) {
    return (COLORREF)(((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16));
}
// Pixels of a colour in the rectangle x, y, width, height.
int countIn(const WindowCapture& c, uint32_t argb, const SRect& r, int tolerance = 0);
// The index of a menu entry of an element (after buildMenu), -1 when missing.
class SGraphicElement;
int menuIndex(SGraphicElement& element, const char* path);
