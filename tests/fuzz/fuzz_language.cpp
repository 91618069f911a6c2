// Fuzzes the language-file parser and the lookups over what it loaded.
#include "VEK_UTIL/SLanguage.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    SLanguage table;
    table.load(text.c_str(), (int)text.size());
    // Use the input as a marked text too, with and without the marker.
    std::string marked = "~~" + text;
    int length = -1;
    const char* chosen = table.lookup(marked.c_str(), length);
    if (length < 0 || (chosen != marked.c_str() && length > (int)marked.size() + 100000)) __builtin_trap();
    SString copy(chosen, length);
    copy.unescape();
    return 0;
}
