#include "app/GaugeElement.h"

#include <algorithm>
#include <cmath>

GaugeElement::GaugeElement(SGraphicElementHost* parentWindow, const char* elementName)
    : SGraphicElement(parentWindow, elementName) {
    kind = Gauge;
}

float GaugeElement::clamped(float v) const { return v < minimum ? minimum : v > maximum ? maximum : v; }

float GaugeElement::fraction() const {
    const float span = maximum - minimum;
    if (!(span > 0)) return 0.0f; // a range without width (or not a number) shows empty
    const float f = (value - minimum) / span;
    return f < 0 ? 0.0f : f > 1 ? 1.0f : f;
}

void GaugeElement::setValue(float v) {
    if (std::isnan(v) || v == value) return;
    value = clamped(v);
    update(layersShowValue());
}

void GaugeElement::setRange(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) return;
    const float low = std::min(a, b), high = std::max(a, b);
    if (low == minimum && high == maximum) return;
    minimum = low;
    maximum = high;
    value = clamped(value);
    update(true);
}

void GaugeElement::setLimits(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) return;
    const float low = std::min(a, b), high = std::max(a, b);
    if (low == lowLimit && high == highLimit) return;
    lowLimit = low;
    highLimit = high;
    update(true);
}

uint32_t GaugeElement::getColor() {
    if (value <= lowLimit) return alarmMinColor;
    if (value >= highLimit) return alarmMaxColor;
    return valueColor;
}

bool GaugeElement::buildMenu() {
    SGraphicElement::buildMenu();
    menu.set("Farben/Alarm Min", 105);
    menu.set("Farben/Alarm Max", 97);
    return true;
}

void GaugeElement::onMenu(int index) {
    SString path;
    int entry = 0;
    if (!menu.getAt(index, path, entry)) return;
    if (path == "Farben/Alarm Min") {
        chooseColor(alarmMinColor);
        update(false); // the bar is drawn anew on every paint; the cached layers stay
    } else if (path == "Farben/Alarm Max") {
        chooseColor(alarmMaxColor);
        update(false);
    } else {
        SGraphicElement::onMenu(index);
    }
}

SString GaugeElement::toString() {
    SString s = SGraphicElement::toString();
    s.appendFormat("|%d|%d", (int)(int32_t)alarmMinColor, (int)(int32_t)alarmMaxColor);
    return s;
}

SString GaugeElement::fromString(const SString& textForm) {
    SString rest = SGraphicElement::fromString(textForm);
    if (!rest.isEmpty()) alarmMinColor = (uint32_t)cutField(rest).toNumber();
    if (!rest.isEmpty()) alarmMaxColor = (uint32_t)cutField(rest).toNumber();
    update(true);
    return rest;
}
