// GaugeScaleRender: draws a level gauge's scale (GaugeScale) with GDI+: ticks with a 1-pixel
// pen and labels in the generic sans-serif font, both in one colour. A build without GDI+
// links a version that draws nothing.
#pragma once

#include <cstdint>

namespace Gdiplus {
class Graphics;
}

class GaugeScaleRender {
public:
    // In the gauge's own coordinates (its top-left corner is 0, 0).
    static void draw(Gdiplus::Graphics& g, int orientation, int scale, float width, float height, float minimum,
                     float maximum, uint32_t argb);
};
