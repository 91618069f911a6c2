// SGraphicGeometry: the numbers behind the drawing of graphic elements, free of any drawing
// library: the outline of every shape in every quadrant as a list of figure segments, the
// direction of each lighting gradient, and the shadow's offset and focus scales.
#pragma once

#include "VEK_UTIL/SGeometry.h"

#include <vector>

class SGraphicGeometry {
public:
    // One piece of an outline, in the order it is added to a path. Angles in degrees,
    // clockwise from the positive x axis.
    struct Segment {
        enum Type { Line, Polygon, Arc, Pie, Ellipse, Rectangle, Close };
        Type type = Line;
        std::vector<SPointFloat> points; // Line: two points; Polygon: its corners
        SRectFloat box;                  // Arc, Pie, Ellipse, Rectangle
        float startAngle = 0;
        float sweepAngle = 0;
    };
    struct Outline {
        bool exists = true;   // false: no path at all (shape 8)
        bool winding = false; // fill mode: alternate unless winding
        std::vector<Segment> segments;
    };
    // A linear lighting gradient: GDI+ linear gradient mode and whether the highlight is the
    // start colour (otherwise the fade is).
    struct Gradient {
        int mode = 0; // 0 horizontal, 1 vertical, 2 forward diagonal, 3 backward diagonal
        bool highlightFirst = true;
    };

    static constexpr float ShadowWidth = 10.0f;
    static constexpr float ShadowOffset = 5.0f;

    static Outline outline(int shape, int quadrant, const SRectFloat& r);
    // The corner radius of the rounded rectangles (shape 2: a sixth, 3: half the shorter side).
    static float cornerRadius(int shape, float width, float height);
    // Lighting 1 to 8; false for any other value.
    static bool gradient(int lighting, Gradient& result);
    // The box of the centre lighting's radial highlight: the rectangle grown by half its size.
    static SRectFloat centreLightBox(const SRectFloat& r);
    // The shadow falls away from the light, 5 pixels; none for the centre light.
    static SPointFloat shadowOffset(int lighting);
    // 1 - 2 * band / size in each direction, 0 when not above 0.
    static SPointFloat shadowFocusScales(float width, float height);

private:
    static void roundedRectangle(Outline& o, const SRectFloat& r, float radius);
    static void trapezoid(Outline& o, int quadrant, const SRectFloat& r);
    static void halfCircle(Outline& o, int quadrant, const SRectFloat& r);
    static void quarterCircle(Outline& o, int quadrant, const SRectFloat& r);
    static void triangle(Outline& o, int quadrant, const SRectFloat& r);
    static void pipe(Outline& o, const SRectFloat& r);
};
