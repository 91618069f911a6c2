#include "app/Pumpe.h"

#include "VEK_GraphicsElement/SGraphicGeometry.h"
#include "VEK_GraphicsElement/SGraphicRender.h"
#include "VEK_GraphicsElement/SGraphicShape.h"

Pumpe::Pumpe(SGraphicElementHost* parentWindow, const char* elementName) : GaugeElement(parentWindow, elementName) {}

void Pumpe::paintLower(Gdiplus::Graphics& g) {
    if (drawable()) SGraphicRender::fillEllipse(g, SRectFloat{1, 1, rect.width - 2, rect.height - 2}, backgroundColor);
}

void Pumpe::paintDirect(Gdiplus::Graphics& g) {
    if (!drawable()) return;
    SGraphicRender::fillEllipse(g, rect, getColor());
    auto disc = SGraphicRender::makePath(SGraphicGeometry::outline(SGraphicShape::Ellipse, 1, rect));
    drawLighting(g, lighting, SGraphicRender::pathOf(disc.get()));
    SGraphicRender::caption(g, text, (float)fontSize, rect, 0xFF000000);
}
