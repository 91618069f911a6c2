#include "VEK_GraphicsElement/SGraphicShape.h"

#include "VEK_GraphicsElement/SGraphicGeometry.h"
#include "VEK_GraphicsElement/SGraphicRender.h"

SGraphicShape::SGraphicShape(SGraphicElementHost* parentWindow, const char* elementName, int defaultShape)
    : SGraphicElement(parentWindow, elementName), shape(defaultShape) {
    kind = Shaped;
}

SGraphicShape::~SGraphicShape() = default;

void SGraphicShape::update(bool rebuild) {
    path.reset(); // the outline follows rectangle, shape and quadrant
    SGraphicElement::update(rebuild);
}

void SGraphicShape::setShape(int value) {
    shape = value;
    update(true);
}

void SGraphicShape::setQuadrant(int value) {
    quadrant = value;
    update(true);
}

Gdiplus::GraphicsPath* SGraphicShape::getPath() const { return SGraphicRender::pathOf(path.get()); }

bool SGraphicShape::buildMenu() {
    SGraphicElement::buildMenu();
    static const char* const shapes[] = {"Form/Rechteck", "Form/Ellipse",    "Form/RoundRectangle", "Form/LongRound",
                                         "Form/Trapez",   "Form/HalfCircle", "Form/QuaterCircle",   "Form/Dreieck"};
    for (int i = 0; i < 8; ++i) menu.set(shapes[i], i);
    // Only these outlines look different when turned.
    if (shape >= Trapez && shape <= Dreieck) {
        menu.set("Quadrant/1   0\260", 1);
        menu.set("Quadrant/2  90\260", 2);
        menu.set("Quadrant/3 180\260", 3);
        menu.set("Quadrant/4 270\260", 4);
    }
    return true;
}

void SGraphicShape::onMenu(int index) {
    SString entry;
    int value = 0;
    if (!menu.getAt(index, entry, value)) return;
    if (entry.startsWith("Form")) {
        shape = value;
        update(true);
    } else if (entry.startsWith("Quadrant")) {
        quadrant = value;
        update(true);
    } else {
        SGraphicElement::onMenu(index);
    }
}

SString SGraphicShape::toString() {
    SString s = SGraphicElement::toString();
    s.appendFormat("|%d|%d", shape, quadrant);
    return s;
}

SString SGraphicShape::fromString(const SString& textForm) {
    SString rest = SGraphicElement::fromString(textForm);
    if (!rest.isEmpty()) shape = cutField(rest).toNumber();
    if (!rest.isEmpty()) quadrant = cutField(rest).toNumber();
    update(true);
    return rest;
}

void SGraphicShape::buildPath() {
    if (kind != Shaped || path) return;
    path = SGraphicRender::makePath(SGraphicGeometry::outline(shape, quadrant, rect));
}

void SGraphicShape::paintDirect(Gdiplus::Graphics& g) {
    Gdiplus::GraphicsPath* outline = getPath();
    if (kind != Shaped || !outline) return;
    SGraphicRender::fillPath(g, *outline, getColor());
    drawLighting(g, lighting, outline);
    drawDecoration(g, 0, outline);
    SGraphicRender::caption(g, text, (float)fontSize, rect, 0xFF000000);
}

void SGraphicShape::drawShadow(Gdiplus::Graphics& g) {
    Gdiplus::GraphicsPath* outline = getPath();
    if (kind != Shaped || !outline || lighting == NoLight) return;
    SGraphicRender::shadow(g, *outline, lighting, rect);
}
