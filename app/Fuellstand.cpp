#include "app/Fuellstand.h"

#include "VEK_GraphicsElement/SGraphicRender.h"
#include "app/GaugeScaleRender.h"

Fuellstand::Fuellstand(SGraphicElementHost* parentWindow) : GaugeElement(parentWindow, "Fuellstand") {}

void Fuellstand::setOrientation(int value) {
    orientation = value;
    update(true);
}

void Fuellstand::setScale(int value) {
    scale = value;
    update(true);
}

bool Fuellstand::buildMenu() {
    GaugeElement::buildMenu();
    menu.set("Farben/Hintergrund", 98);
    menu.set("Ausrichtung/links -> rechts", LeftToRight);
    menu.set("Ausrichtung/oben -> unten", TopToBottom);
    menu.set("Ausrichtung/rechts -> links", RightToLeft);
    menu.set("Ausrichtung/unten -> oben", BottomToTop);
    menu.set("Skala/keine (Text)", 0);
    if (orientation == TopToBottom || orientation == BottomToTop) {
        menu.set("Skala/links", 1);
        menu.set("Skala/rechts", 2);
        menu.set("Skala/links und rechts", 3);
    } else {
        menu.set("Skala/oben", 1);
        menu.set("Skala/unten", 2);
        menu.set("Skala/oben und unten", 3);
    }
    menu.set("Skala/mitte", 4);
    menu.set("Skala/alle", 7);
    return true;
}

void Fuellstand::onMenu(int index) {
    SString path;
    int entry = 0;
    if (!menu.getAt(index, path, entry)) return;
    GaugeElement::onMenu(index);
    if (path == "Farben/Hintergrund") {
        chooseColor(backgroundColor);
        update(true);
    } else if (path.startsWith("Ausrichtung")) {
        setOrientation(entry);
    } else if (path.startsWith("Skala")) {
        setScale(entry);
    }
}

SString Fuellstand::toString() {
    SString s = GaugeElement::toString();
    s.appendFormat("|%d|%d|%d", (int)(int32_t)backgroundColor, orientation, scale);
    return s;
}

SString Fuellstand::fromString(const SString& textForm) {
    SString rest = GaugeElement::fromString(textForm);
    if (!rest.isEmpty()) backgroundColor = (uint32_t)cutField(rest).toNumber();
    if (!rest.isEmpty()) orientation = cutField(rest).toNumber();
    if (!rest.isEmpty()) scale = cutField(rest).toNumber();
    update(true);
    return rest;
}

SRectFloat Fuellstand::barRect() const {
    SRectFloat bar = rect;
    const float f = fraction();
    switch (drawnOrientation()) {
    case LeftToRight: bar.width = rect.width * f; break;
    case TopToBottom: bar.height = rect.height * f; break;
    case RightToLeft:
        bar.width = rect.width * f;
        bar.x = rect.x + rect.width - bar.width;
        break;
    default:
        bar.height = rect.height * f;
        bar.y = rect.y + rect.height - bar.height;
        break;
    }
    return bar;
}

SString Fuellstand::percentText() const {
    SString s;
    s.format("%.01f %%", (double)fraction() * 100.0);
    return s;
}

void Fuellstand::paintLower(Gdiplus::Graphics& g) {
    if (drawable()) SGraphicRender::fillRect(g, SRectFloat{0, 0, rect.width, rect.height}, backgroundColor);
}

void Fuellstand::paintDirect(Gdiplus::Graphics& g) {
    if (!drawable()) return;
    const SRectFloat bar = barRect();
    if (bar.width > 0 && bar.height > 0) SGraphicRender::fillRect(g, bar, getColor());
    drawLighting(g, lighting, nullptr);
    drawDecoration(g, 0, nullptr);
}

void Fuellstand::paintUpper(Gdiplus::Graphics& g) {
    if (!drawable()) return;
    if (scale < 1) {
        SGraphicRender::caption(g, percentText(), 10.0f, SRectFloat{0, 0, rect.width, rect.height}, textColor);
        return;
    }
    GaugeScaleRender::draw(g, drawnOrientation(), scale, rect.width, rect.height, minimum, maximum, textColor);
}
