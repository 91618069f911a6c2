#include "VEK_GraphicsElement/SGraphicGeometry.h"

#include <algorithm>

namespace {

using Segment = SGraphicGeometry::Segment;

Segment line(float x1, float y1, float x2, float y2) {
    Segment s;
    s.type = Segment::Line;
    s.points = {SPointFloat{x1, y1}, SPointFloat{x2, y2}};
    return s;
}

Segment polygon(std::vector<SPointFloat> corners) {
    Segment s;
    s.type = Segment::Polygon;
    s.points = std::move(corners);
    return s;
}

Segment boxed(Segment::Type type, float x, float y, float w, float h, float start = 0, float sweep = 0) {
    Segment s;
    s.type = type;
    s.box = SRectFloat{x, y, w, h};
    s.startAngle = start;
    s.sweepAngle = sweep;
    return s;
}

} // namespace

SGraphicGeometry::Outline SGraphicGeometry::outline(int shape, int quadrant, const SRectFloat& r) {
    Outline o;
    switch (shape) {
    case 1: o.segments.push_back(boxed(Segment::Ellipse, r.x, r.y, r.width, r.height)); break;
    case 2:
    case 3: roundedRectangle(o, r, cornerRadius(shape, r.width, r.height)); break;
    case 4: trapezoid(o, quadrant, r); break;
    case 5: halfCircle(o, quadrant, r); break;
    case 6: quarterCircle(o, quadrant, r); break;
    case 7: triangle(o, quadrant, r); break;
    case 8: o.exists = false; break;
    case 9999: pipe(o, r); break;
    default: o.segments.push_back(boxed(Segment::Rectangle, r.x, r.y, r.width, r.height)); break;
    }
    return o;
}

float SGraphicGeometry::cornerRadius(int shape, float width, float height) {
    return std::min(width, height) / (shape == 3 ? 2.0f : 6.0f);
}

// Four corner arcs joined by the four sides, clockwise from the top-left corner.
void SGraphicGeometry::roundedRectangle(Outline& o, const SRectFloat& q, float r) {
    const float x = q.x, y = q.y, R = q.x + q.width, B = q.y + q.height, d = 2 * r;
    o.segments.push_back(boxed(Segment::Arc, x, y, d, d, 180, 90));
    o.segments.push_back(line(x + r, y, R - r, y));
    o.segments.push_back(boxed(Segment::Arc, R - d, y, d, d, 270, 90));
    o.segments.push_back(line(R, y + r, R, B - r));
    o.segments.push_back(boxed(Segment::Arc, R - d, B - d, d, d, 0, 90));
    o.segments.push_back(line(R - r, B, x + r, B));
    o.segments.push_back(boxed(Segment::Arc, x, B - d, d, d, 90, 90));
    o.segments.push_back(line(x, B - r, x, y + r));
}

void SGraphicGeometry::trapezoid(Outline& o, int quadrant, const SRectFloat& q) {
    const float x = q.x, y = q.y, w = q.width, h = q.height, R = x + w, B = y + h;
    switch (quadrant) {
    case 1: o.segments.push_back(polygon({{x + w / 4, y}, {R - w / 4, y}, {R, B}, {x, B}})); break;
    case 2: o.segments.push_back(polygon({{x, y}, {R, y + h / 4}, {R, B - h / 4}, {x, B}})); break;
    case 3: o.segments.push_back(polygon({{x, y}, {R, y}, {R - w / 4, B}, {x + w / 4, B}})); break;
    case 4: o.segments.push_back(polygon({{x, y + h / 4}, {R, y}, {R, B}, {x, B - h / 4}})); break;
    default: break; // an empty path
    }
}

void SGraphicGeometry::halfCircle(Outline& o, int quadrant, const SRectFloat& q) {
    const float x = q.x, y = q.y, w = q.width, h = q.height;
    switch (quadrant) {
    case 1: o.segments.push_back(boxed(Segment::Pie, x, y, w, 2 * h, 180, 180)); break;
    case 2: o.segments.push_back(boxed(Segment::Pie, x - w, y, 2 * w, h, 270, 180)); break;
    case 3: o.segments.push_back(boxed(Segment::Pie, x, y - h, w, 2 * h, 0, 180)); break;
    case 4: o.segments.push_back(boxed(Segment::Pie, x, y, 2 * w, h, 90, 180)); break;
    default: break;
    }
}

void SGraphicGeometry::quarterCircle(Outline& o, int quadrant, const SRectFloat& q) {
    const float x = q.x, y = q.y, w = q.width, h = q.height;
    switch (quadrant) {
    case 1: o.segments.push_back(boxed(Segment::Pie, x - w, y, 2 * w, 2 * h, 270, 90)); break;
    case 2: o.segments.push_back(boxed(Segment::Pie, x - w, y - h, 2 * w, 2 * h, 0, 90)); break;
    case 3: o.segments.push_back(boxed(Segment::Pie, x, y - h, 2 * w, 2 * h, 90, 90)); break;
    case 4: o.segments.push_back(boxed(Segment::Pie, x, y, 2 * w, 2 * h, 180, 90)); break;
    default: break;
    }
}

void SGraphicGeometry::triangle(Outline& o, int quadrant, const SRectFloat& q) {
    const float x = q.x, y = q.y, w = q.width, h = q.height, R = x + w, B = y + h;
    switch (quadrant) {
    case 1: o.segments.push_back(polygon({{x, B}, {x + w / 2, y}, {R, B}})); break;
    case 2: o.segments.push_back(polygon({{x, y}, {R, y + h / 2}, {x, B}})); break;
    case 3: o.segments.push_back(polygon({{x, y}, {R, y}, {x + w / 2, B}})); break;
    case 4: o.segments.push_back(polygon({{x, y + h / 2}, {R, y}, {R, B}})); break;
    default: o.segments.push_back(polygon({{0, 0}, {0, 0}, {0, 0}})); break; // degenerate
    }
}

// A band of thickness s: along the bottom from the left edge to the centre, up the centre,
// along the top from the centre to the right edge.
void SGraphicGeometry::pipe(Outline& o, const SRectFloat& q) {
    const float x = q.x, y = q.y, R = x + q.width, B = y + q.height;
    const float s = std::max(q.width / 10, q.height / 10), c = x + q.width / 2;
    o.winding = true;
    o.segments.push_back(line(x, B - s, c - s / 2, B - s));
    o.segments.push_back(line(c - s / 2, B - s, c - s / 2, y + s));
    o.segments.push_back(boxed(Segment::Arc, c - s / 2, y, s, s, 180, 90));
    o.segments.push_back(line(c + s / 2, y, R, y));
    o.segments.push_back(line(R, y, R, y + s));
    o.segments.push_back(line(R, y + s, c + s / 2, y + s));
    o.segments.push_back(line(c + s / 2, y + s, c + s / 2, B - s));
    o.segments.push_back(boxed(Segment::Arc, c - s / 2, B - s, s, s, 0, 90));
    o.segments.push_back(line(c - s / 2, B, x, B));
    Segment close;
    close.type = Segment::Close;
    o.segments.push_back(close);
}

bool SGraphicGeometry::gradient(int lighting, Gradient& result) {
    // By lighting 1 to 8: gradient mode, and whether the highlight starts the gradient
    // (it always lies on the side the light comes from).
    static const Gradient table[8] = {{1, true}, {3, true}, {0, false}, {2, false},
                                      {1, false}, {3, false}, {0, true}, {2, true}};
    if (lighting < 1 || lighting > 8) return false;
    result = table[lighting - 1];
    return true;
}

SRectFloat SGraphicGeometry::centreLightBox(const SRectFloat& r) {
    return SRectFloat{r.x - r.width / 2, r.y - r.height / 2, 2 * r.width, 2 * r.height};
}

SPointFloat SGraphicGeometry::shadowOffset(int lighting) {
    static const SPointFloat table[8] = {{0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}};
    if (lighting < 1 || lighting > 8) return SPointFloat{0, 0};
    const SPointFloat& d = table[lighting - 1];
    return SPointFloat{d.x * ShadowOffset, d.y * ShadowOffset};
}

SPointFloat SGraphicGeometry::shadowFocusScales(float width, float height) {
    float fx = 1 - 2 * (ShadowWidth / width), fy = 1 - 2 * (ShadowWidth / height);
    // Not above 0 (or not a number for an empty side): no focus.
    return SPointFloat{fx > 0 ? fx : 0, fy > 0 ? fy : 0};
}
