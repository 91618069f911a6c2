// SGraphicRender: the one place where graphic elements meet GDI+. The element model calls
// these operations; they draw in the coordinates of the graphics they are given. A build
// without GDI+ (the portable core on Linux) links a version that draws nothing and keeps
// nothing, since there it has no surface to draw on.
#pragma once

#include "VEK_GraphicsElement/SGraphicGeometry.h"
#include "VEK_GraphicsElement/SGraphicResource.h"
#include "VEK_UTIL/SString.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace Gdiplus {
class Graphics;
class GraphicsPath;
} // namespace Gdiplus

class SGraphicRender {
public:
    static constexpr uint32_t Highlight = 0x80FFFFFF; // white, alpha 128
    static constexpr uint32_t Fade = 0x00FFFFFF;      // white, alpha 0
    static constexpr uint32_t ShadowCore = 0xC4000000; // black, alpha 196
    static constexpr uint32_t ShadowEdge = 0x00000000;

    // A cached layer of width x height: paint draws it in the layer's own coordinates. None
    // for an empty size.
    static std::unique_ptr<SGraphicResource> makeLayer(Gdiplus::Graphics& target, int width, int height,
                                                       const std::function<void(Gdiplus::Graphics&)>& paint);
    // Draws a layer with its top-left corner at x, y: from the copy cached for the device
    // where the target only moves what it draws, else (zoomed, turned, another unit) as a
    // picture of its size.
    static void drawLayer(Gdiplus::Graphics& target, SGraphicResource* layer, int x, int y);

    // The path of an outline; none for an outline that does not exist.
    static std::unique_ptr<SGraphicResource> makePath(const SGraphicGeometry::Outline& outline);
    static Gdiplus::GraphicsPath* pathOf(SGraphicResource* path);

    // A black 1-pixel rectangle outline.
    static void frame(Gdiplus::Graphics& g, const SRectFloat& r);
    static void fillPath(Gdiplus::Graphics& g, Gdiplus::GraphicsPath& path, uint32_t argb);
    static void fillRect(Gdiplus::Graphics& g, const SRectFloat& r, uint32_t argb);
    static void fillEllipse(Gdiplus::Graphics& g, const SRectFloat& r, uint32_t argb);
    // The lighting overlay over a path, or over r when there is no path.
    static void lighting(Gdiplus::Graphics& g, int lighting, const SRectFloat& r, Gdiplus::GraphicsPath* path);
    // The soft shadow of a path for a light direction around the element's rectangle r.
    static void shadow(Gdiplus::Graphics& g, Gdiplus::GraphicsPath& path, int lighting, const SRectFloat& r);
    // A caption centred in r on one line, cut with an ellipsis when too long; generic sans
    // serif at a size in points.
    static void caption(Gdiplus::Graphics& g, const SString& text, float points, const SRectFloat& r, uint32_t argb);
};
