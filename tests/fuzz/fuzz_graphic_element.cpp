// Fuzzes the text form of graphic elements, which comes from controlpos.ini as people edit it:
// whatever the record, the element stays within reach, and what it writes back reads back to
// the same text.
#include "VEK_GraphicsElement/SGraphicShape.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    SGraphicElement::restartDefaultRects();
    SGraphicShape element;
    element.fromString(SString(input.c_str()));
    SRect r = element.boundingRect();
    if (r.width < 0 || r.height < 0 || r.width > 4096 || r.height > 4096) __builtin_trap();
    if (r.x < -8192 - 4096 || r.x > 8192 || r.y < -8192 - 4096 || r.y > 8192) __builtin_trap();

    SString written = element.toString();
    SGraphicShape copy;
    copy.fromString(written);
    if (copy.toString() != written) __builtin_trap();
    element.buildMenu();
    for (int i = 0; i < element.getMenu().count(); ++i)
        if (element.getMenu().getKeyAt(i).startsWith("Form") || element.getMenu().getKeyAt(i).startsWith("Ebene"))
            element.onMenu(i);
    return 0;
}
