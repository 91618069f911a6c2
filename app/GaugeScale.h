// GaugeScale: the ticks and value labels of a level gauge's scale, free of any drawing
// library. Built for the gauge's own area (its top-left corner is 0, 0): a tick every
// hundredth of the range, longer ones at every fifth and tenth, labels at 10 % to 90 %.
#pragma once

#include "VEK_UTIL/SGeometry.h"
#include "VEK_UTIL/SString.h"

#include <functional>
#include <vector>

class GaugeScale {
public:
    // Scale bits: ticks on the first side (top or left), the second side (bottom or right),
    // across the middle.
    enum Bits { FirstSide = 1, SecondSide = 2, Middle = 4 };

    struct Line {
        float x1, y1, x2, y2;
    };
    struct Label {
        SString text;
        float x, y; // top-left corner of its box
    };
    // The box of a text drawn with its top-left corner at origin, in a font of that many pixels.
    using Measure = std::function<SRectFloat(const SString& text, float pixels, SPointFloat origin)>;

    static bool isHorizontal(int orientation) { return orientation == 1 || orientation == 3; }

    // orientation 1 to 4 (anything else gives no scale), scale bits, the gauge's size and range.
    GaugeScale(int orientation, int scale, float width, float height, float minimum, float maximum,
               const Measure& measure);

    const std::vector<Line>& getLines() const { return lines; }
    const std::vector<Label>& getLabels() const { return labels; }
    float getFontPixels() const { return fontPixels; }

private:
    // A tick for every percent, and one more for the pixel of tolerance at the far edge: on a
    // gauge a few pixels long that tolerance alone would otherwise be hundreds of ticks.
    static constexpr int LastTick = 101;

    void buildHorizontal(bool mirrored, const Measure& measure);
    void buildVertical(bool mirrored, const Measure& measure);
    SString labelText(int i) const;
    float tickLength(int i) const;

    int scale;
    float W, H; // the drawing area inside a one-pixel margin
    float minimum, maximum;
    float tick = 0;
    float fontPixels = 0;
    std::vector<Line> lines;
    std::vector<Label> labels;
};
