// SGraphicShape: a shaped graphic element: an outline (rectangle, ellipse, rounded
// rectangles, trapezoid, half and quarter ellipse, triangle, the pipe, or nothing) turned by
// a quadrant, filled with the value colour, lit, shadowed and captioned. The plant's static
// parts (tank body, bottom, lid, outlet, supply lines) are shaped elements.
#pragma once

#include "VEK_GraphicsElement/SGraphicElement.h"

class SGraphicShape : public SGraphicElement {
public:
    enum Shape { Rectangle = 0, Ellipse = 1, RoundRectangle = 2, LongRound = 3, Trapez = 4, HalfCircle = 5,
                 QuaterCircle = 6, Dreieck = 7, NoShape = 8, Pipe = 9999 };

    explicit SGraphicShape(SGraphicElementHost* parent = nullptr, const char* name = "", int defaultShape = Rectangle);
    ~SGraphicShape() override;
    const char* getClassName() const override { return "SGraphicShape"; }

    void update(bool rebuild) override;
    bool buildMenu() override;
    void onMenu(int index) override;
    SString toString() override;
    SString fromString(const SString& text) override;
    void buildPath() override;
    void paintDirect(Gdiplus::Graphics& g) override;
    void drawShadow(Gdiplus::Graphics& g) override;

    int getShape() const { return shape; }
    void setShape(int value);
    int getQuadrant() const { return quadrant; }
    void setQuadrant(int value);
    // The outline built by buildPath; none before it or after an update, and none for shape 8.
    Gdiplus::GraphicsPath* getPath() const;
    bool hasPath() const { return path != nullptr; }

protected:
    int quadrant = 1;
    int shape = Rectangle;
    std::unique_ptr<SGraphicResource> path;
};
