// Fuzzes the number and colour readers and the conversions that parse text.
#include "VEK_UTIL/SColorMap.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    SString s;
    s.setRaw(text.c_str());
    (void)s.toNumber();
    (void)s.toDouble();
    SColorMap map;
    (void)map.parse(text.c_str());
    (void)map.parseRgb(text.c_str(), ";");
    (void)s.urlDecode();
    (void)s.unescape();
    (void)s.fromHtml();
    SString u;
    u.fromUtf8(text.c_str(), (int)text.size());
    (void)SString::quotedLength(text.c_str());
    (void)s.compareAs(u, "n");
    return 0;
}
