// Fuellstand: the tank's level gauge. A bar grows from one edge in proportion to the value
// within its range, coloured by the limits, over a grey background; above it a tick scale
// with value labels or, without a scale, the value as a percentage.
#pragma once

#include "app/GaugeElement.h"

class Fuellstand : public GaugeElement {
public:
    enum Orientation { LeftToRight = 1, TopToBottom = 2, RightToLeft = 3, BottomToTop = 4 };
    static constexpr int DefaultScale = 3;

    explicit Fuellstand(SGraphicElementHost* parent);
    const char* getClassName() const override { return "Fuellstand"; }

    bool buildMenu() override;
    void onMenu(int index) override;
    SString toString() override;
    SString fromString(const SString& text) override;
    void paintLower(Gdiplus::Graphics& g) override;
    void paintDirect(Gdiplus::Graphics& g) override;
    void paintUpper(Gdiplus::Graphics& g) override;

    int getOrientation() const { return orientation; }
    void setOrientation(int value);
    int getScale() const { return scale; }
    void setScale(int value);
    // The bar in window coordinates.
    SRectFloat barRect() const;
    // The text shown without a scale, e.g. "50.0 %".
    SString percentText() const;

protected:
    // Only the percentage text, drawn instead of a scale, changes with the value.
    bool layersShowValue() const override { return scale < 1; }

private:
    // A stored orientation outside 1 to 4 is drawn as the first one.
    int drawnOrientation() const { return orientation >= LeftToRight && orientation <= BottomToTop ? orientation : 1; }
    bool drawable() const { return kind == Gauge && rect.width > 0 && rect.height > 0; }

    int orientation = LeftToRight;
    int scale = DefaultScale;
};
