#include "tools/icon-gen/Canvas.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int samples = 4;
constexpr float pi = 3.14159265f;
} // namespace

Rgba rgb(uint32_t hex, float alpha) {
    return Rgba{((hex >> 16) & 0xFF) / 255.0f, ((hex >> 8) & 0xFF) / 255.0f, (hex & 0xFF) / 255.0f, alpha};
}

Canvas::Canvas(int width, int height, Rgba background) : w(width), h(height), pixels((size_t)width * height, background) {}

void Canvas::fill(const Shape& shape, Rgba colour) {
    fill(shape, [colour](float, float) { return colour; });
}

void Canvas::fill(const Shape& shape, const std::function<Rgba(float, float)>& colour) {
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx)
                    if (shape((px + (sx + 0.5f) / samples) / w, (py + (sy + 0.5f) / samples) / h)) ++hits;
            if (!hits) continue;
            float cx = (px + 0.5f) / w, cy = (py + 0.5f) / h;
            blend(pixels[(size_t)py * w + px], colour(cx, cy), (float)hits / (samples * samples));
        }
}

// Source-over compositing with straight (not premultiplied) alpha.
void Canvas::blend(Rgba& under, Rgba over, float coverage) {
    float a = over.a * coverage;
    float out = a + under.a * (1 - a);
    if (out <= 0) return;
    under.r = (over.r * a + under.r * under.a * (1 - a)) / out;
    under.g = (over.g * a + under.g * under.a * (1 - a)) / out;
    under.b = (over.b * a + under.b * under.a * (1 - a)) / out;
    under.a = out;
}

Canvas::Shape Canvas::roundRect(float x0, float y0, float x1, float y1, float radius) {
    return [=](float x, float y) {
        if (x < x0 || x > x1 || y < y0 || y > y1) return false;
        float dx = std::max({x0 + radius - x, 0.0f, x - (x1 - radius)});
        float dy = std::max({y0 + radius - y, 0.0f, y - (y1 - radius)});
        return dx * dx + dy * dy <= radius * radius;
    };
}

Canvas::Shape Canvas::circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius; };
}

Canvas::Shape Canvas::segment(float x0, float y0, float x1, float y1, float thickness) {
    return [=](float x, float y) {
        float vx = x1 - x0, vy = y1 - y0;
        float len2 = vx * vx + vy * vy;
        float t = len2 > 0 ? std::clamp(((x - x0) * vx + (y - y0) * vy) / len2, 0.0f, 1.0f) : 0.0f;
        float dx = x - (x0 + t * vx), dy = y - (y0 + t * vy);
        return dx * dx + dy * dy <= thickness * thickness / 4;
    };
}

// Teeth as a square wave of the radius around the centre, with a round hole.
Canvas::Shape Canvas::gear(float cx, float cy, float outer, float inner, float hole, int teeth) {
    return [=](float x, float y) {
        float dx = x - cx, dy = y - cy;
        float r = std::sqrt(dx * dx + dy * dy);
        if (r < hole || r > outer) return false;
        if (r <= inner) return true;
        float turn = (std::atan2(dy, dx) + pi) / (2 * pi) * teeth;
        return turn - std::floor(turn) < 0.5f;
    };
}

Canvas::Shape Canvas::both(Shape a, Shape b) {
    return [=](float x, float y) { return a(x, y) && b(x, y); };
}

Canvas::Shape Canvas::without(Shape a, Shape b) {
    return [=](float x, float y) { return a(x, y) && !b(x, y); };
}
