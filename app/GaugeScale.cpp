#include "app/GaugeScale.h"

#include <cmath>

GaugeScale::GaugeScale(int orientation, int scaleBits, float width, float height, float low, float high,
                       const Measure& measure)
    : scale(scaleBits), W(width - 2), H(height - 2), minimum(low), maximum(high) {
    // Without room for a tick the steps would be zero and the ticks would never end.
    if (scale < 1 || !(W > 0) || !(H > 0) || !std::isfinite(W) || !std::isfinite(H)) return;
    if (orientation == 1 || orientation == 3) buildHorizontal(orientation == 3, measure);
    if (orientation == 2 || orientation == 4) buildVertical(orientation == 4, measure);
}

SString GaugeScale::labelText(int i) const {
    SString s;
    s.format("%.0f", (double)minimum + i * ((double)maximum - minimum) / 100.0);
    return s;
}

float GaugeScale::tickLength(int i) const { return i % 10 == 0 ? 3 * tick : i % 10 == 5 ? 2 * tick : tick; }

void GaugeScale::buildHorizontal(bool mirrored, const Measure& measure) {
    const float step = W / 100;
    tick = scale == 1 || scale == 2 ? H / 8 : scale == 3 ? H / 10 : H / 20;
    fontPixels = 4 * tick;
    if (scale & Middle) lines.push_back({0, H / 2, W, H / 2});
    for (int i = 0; i <= LastTick && i * step <= W + 1; ++i) {
        const float X = i * step + 1, L = tickLength(i);
        if (scale & FirstSide) lines.push_back({X, 0, X, L});
        if (scale & SecondSide) lines.push_back({X, H, X, H - L});
        if (scale & Middle) lines.push_back({X, H / 2 - L / 2, X, H / 2 + L / 2});
        if (i % 10 != 0 || i < 10 || i > 90) continue;
        const SString text = labelText(i);
        SRectFloat box = measure(text, fontPixels, SPointFloat{X, 0});
        if (mirrored) box.x = W + 1 - box.x; // the range runs from the right
        const float x = box.x - box.width / 2;
        if (scale & (FirstSide | Middle)) labels.push_back({text, x, L});
        if ((scale & (SecondSide | Middle)) && scale != 3) labels.push_back({text, x, H - L - box.height});
    }
}

void GaugeScale::buildVertical(bool mirrored, const Measure& measure) {
    const float step = H / 100;
    tick = scale == 1 || scale == 2 ? W / 10 : W / 20;
    fontPixels = 3 * tick;
    if (scale & Middle) lines.push_back({W / 2, 0, W / 2, H});
    for (int i = 0; i <= LastTick && i * step <= H + 1; ++i) {
        const float Y = i * step + 1, L = tickLength(i);
        if (scale & FirstSide) lines.push_back({0, Y, L, Y});
        if (scale & SecondSide) lines.push_back({W - L, Y, W, Y});
        if (scale & Middle) lines.push_back({W / 2 - L / 2, Y, W / 2 + L / 2, Y});
        if (i % 10 != 0 || i < 10 || i > 90) continue;
        const SString text = labelText(i);
        SRectFloat box = measure(text, fontPixels, SPointFloat{0, Y});
        if (mirrored) box.y = H + 1 - box.y; // the range runs from the bottom
        const float y = box.y - box.height / 2;
        if (scale & (FirstSide | Middle)) labels.push_back({text, L, y});
        if ((scale & (SecondSide | Middle)) && scale != 3) labels.push_back({text, W - L - box.width, y});
    }
}
