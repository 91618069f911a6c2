// Fuzzes the reading of a stored control position and its fitting into the parent: whatever
// the file holds, the control ends inside a parent that has a size and never without size.
#include "VEK_CONTROLS/SControlPos.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string value(reinterpret_cast<const char*>(data), size);
    const SRect current{10, 20, 30, 40};
    const SSize parents[] = {{400, 300}, {1, 1}, {0, 0}, {2147483647, 7}};
    for (SSize parent : parents) {
        SRect r = SControlPos::fit(SControlPos::parse(value.c_str(), current), parent);
        if (r.width < 1 || r.height < 1) std::abort();
        if (parent.width > 0 && (r.x < 0 || (long long)r.x + r.width > parent.width)) std::abort();
        if (parent.height > 0 && (r.y < 0 || (long long)r.y + r.height > parent.height)) std::abort();
    }
    (void)SControlPos::text(current);
    return 0;
}
