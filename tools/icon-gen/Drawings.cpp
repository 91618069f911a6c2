#include "tools/icon-gen/Drawings.h"

namespace {

// A shape given in pixels of a width x height picture, for pictures that are not square.
Canvas::Shape inPixels(int width, int height, Canvas::Shape shape) {
    return [=](float x, float y) { return shape(x * width, y * height); };
}

Rgba mix(Rgba a, Rgba b, float t) {
    return Rgba{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

} // namespace

Canvas drawTank(int size) {
    Canvas c(size, size);
    const float line = size <= 16 ? 0.09f : 0.06f;
    const Rgba dark = rgb(0x2c3e50);

    // Feed pipe with its pump, behind the tank wall.
    c.fill(Canvas::segment(0.04f, 0.34f, 0.3f, 0.34f, line * 1.2f), dark);
    if (size > 16) c.fill(Canvas::circle(0.12f, 0.34f, 0.1f), rgb(0x27ae60));
    // Outlet at the bottom right.
    c.fill(Canvas::segment(0.7f, 0.84f, 0.97f, 0.84f, line * 1.2f), dark);

    auto outer = Canvas::roundRect(0.2f, 0.16f, 0.8f, 0.95f, 0.1f);
    auto inner = Canvas::roundRect(0.2f + line, 0.16f + line, 0.8f - line, 0.95f - line, 0.1f - line / 2);
    c.fill(outer, dark);
    c.fill(inner, rgb(0xeef3f8));
    // The filling: lighter at the surface, deeper blue at the bottom.
    auto liquid = Canvas::both(inner, [](float, float y) { return y >= 0.5f; });
    c.fill(liquid, [](float, float y) { return mix(rgb(0x5dade2), rgb(0x1f4e9c), (y - 0.5f) / 0.45f); });
    c.fill(Canvas::segment(0.2f + line, 0.5f, 0.8f - line, 0.5f, line * 0.6f), rgb(0xaed6f1));
    // The lid.
    c.fill(Canvas::roundRect(0.14f, 0.08f, 0.86f, 0.08f + line * 2.2f, line), rgb(0x7f8c8d));
    return c;
}

Canvas drawGear(int size) {
    Canvas c(size, size);
    c.fill(Canvas::gear(0.5f, 0.5f, 0.48f, 0.34f, 0.15f, 8), rgb(0x5d6d7e));
    c.fill(Canvas::without(Canvas::circle(0.5f, 0.5f, 0.24f), Canvas::circle(0.5f, 0.5f, 0.15f)), rgb(0x85929e));
    return c;
}

Canvas drawInfoButton(int width, int height) {
    Canvas c(width, height);
    auto px = [=](Canvas::Shape s) { return inPixels(width, height, s); };
    c.fill(px(Canvas::roundRect(1, 1, width - 1.0f, height - 1.0f, 7)), rgb(0xa0a0ff));
    c.fill(px(Canvas::roundRect(2.5f, 2.5f, width - 2.5f, height - 2.5f, 5.5f)), rgb(0xf0f0ff));

    const float cy = height / 2.0f;
    c.fill(px(Canvas::circle(16, cy, 11)), rgb(0x5050ff));
    c.fill(px(Canvas::circle(16, cy - 6, 1.9f)), rgb(0xffffff));
    c.fill(px(Canvas::segment(16, cy - 2, 16, cy + 6.5f, 3.2f)), rgb(0xffffff));

    const Rgba ink = rgb(0x3030c0);
    const float top = cy - 8.5f, bottom = cy + 8.5f, stroke = 2.8f;
    auto stroke2 = [&](float x0, float y0, float x1, float y1) { c.fill(px(Canvas::segment(x0, y0, x1, y1, stroke)), ink); };
    stroke2(31, top, 35.5f, bottom); // V
    stroke2(35.5f, bottom, 40, top);
    stroke2(45, top, 45, bottom); // E
    stroke2(45, top, 51.5f, top);
    stroke2(45, cy, 50.5f, cy);
    stroke2(45, bottom, 51.5f, bottom);
    stroke2(56, top, 56, bottom); // K
    stroke2(63.5f, top, 56.5f, cy + 1);
    stroke2(58.5f, cy - 1, 64, bottom);
    return c;
}
