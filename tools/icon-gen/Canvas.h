// Canvas: an RGBA picture drawn with anti-aliased shapes (each pixel sampled 4 x 4 times).
// Coordinates are in units of the picture's width and height (0 to 1), so one drawing
// gives every icon size.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

Rgba rgb(uint32_t hex, float alpha = 1.0f);

class Canvas {
public:
    // Inside test in unit coordinates (x to the right, y down).
    using Shape = std::function<bool(float x, float y)>;

    Canvas(int width, int height, Rgba background = {});

    int width() const { return w; }
    int height() const { return h; }
    // Composites colour over the picture where the shape covers it.
    void fill(const Shape& shape, Rgba colour);
    // A colour that depends on the place (a gradient), over the shape.
    void fill(const Shape& shape, const std::function<Rgba(float x, float y)>& colour);
    const Rgba& at(int x, int y) const { return pixels[(size_t)y * w + x]; }

    // Shapes.
    static Shape roundRect(float x0, float y0, float x1, float y1, float radius);
    static Shape circle(float cx, float cy, float radius);
    static Shape segment(float x0, float y0, float x1, float y1, float thickness);
    static Shape gear(float cx, float cy, float outer, float inner, float hole, int teeth);
    static Shape both(Shape a, Shape b);   // intersection
    static Shape without(Shape a, Shape b); // a minus b

private:
    void blend(Rgba& under, Rgba over, float coverage);

    int w, h;
    std::vector<Rgba> pixels;
};
