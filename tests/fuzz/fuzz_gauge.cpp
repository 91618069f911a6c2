// Fuzzes the level gauge's stored record, which people edit by hand in controlpos.ini:
// whatever it holds, the bar stays inside the gauge, the scale stays finite, and what the
// gauge writes back reads back to the same text.
#include "app/Fuellstand.h"
#include "app/GaugeScale.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    SGraphicElement::restartDefaultRects();
    Fuellstand gauge(nullptr);
    gauge.setRange(1200, 3200);
    gauge.setValue(2200);
    gauge.fromString(SString(input.c_str()));
    const SRectFloat r = gauge.getRect(), bar = gauge.barRect();
    if (bar.x < r.x || bar.y < r.y || bar.width > r.width || bar.height > r.height) __builtin_trap();
    GaugeScale scale(gauge.getOrientation(), gauge.getScale(), r.width, r.height, gauge.getMinimum(),
                     gauge.getMaximum(), [](const SString& text, float px, SPointFloat at) {
                         return SRectFloat{at.x, at.y, 6.0f * (float)text.length(), px};
                     });
    if (scale.getLines().size() > 400 || scale.getLabels().size() > 18) __builtin_trap();

    SString written = gauge.toString();
    Fuellstand copy(nullptr);
    copy.fromString(written);
    if (copy.toString() != written) __builtin_trap();
    return 0;
}
