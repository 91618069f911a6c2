// Fuzzes the INI text reader and the operations that take a loaded text apart or edit it.
#include "VEK_ARRAYS/SMapStringToString.h"
#include "VEK_ARRAYS/SStringList.h"
#include "VEK_UTIL/SFileIni.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

std::string bytes(const SString& s) { return std::string(s.getBuffer(), (size_t)s.length()); }

// Every section that findSections lists is one that the lookups find, with the same text,
// and the section named by the input's first "[...]" is listed when the lookups find it.
// Names with a zero byte cannot pass through the text interface and are left out.
void checkSections(SFileIni& ini, const std::string& input) {
    SStringList names, texts;
    ini.findSections(names, "*", &texts);
    for (int i = 0; i < names.count(); ++i) {
        if ((int)std::strlen(names[i]) != names[i].length()) continue;
        if (!ini.hasSection(names[i])) __builtin_trap();
        if (bytes(ini.getSectionText(names[i]).trim()) != bytes(texts[i])) __builtin_trap();
    }
    size_t open = input.find('[');
    size_t close = input.find(']', open);
    if (open == std::string::npos || close == std::string::npos) return;
    std::string name = input.substr(open + 1, close - open - 1);
    if (name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return;
    SString wanted;
    wanted.setRaw(name.c_str());
    if (ini.hasSection(wanted) && names.find(wanted) < 0) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    SFileIni ini;
    ini.loadFromText(text.data(), (int)text.size());
    checkSections(ini, text);

    // Names and keys taken from the input itself, so that they are often found.
    SString name, key;
    size_t cut = text.find('\n');
    name.setRaw(text.substr(0, cut == std::string::npos ? text.size() : cut).c_str());
    key.setRaw(text.size() > 3 ? text.substr(1, 3).c_str() : "k");

    SStringList names, texts, keys, values;
    ini.findSections(names, "*", &texts);
    for (int i = 0; i < names.count() && i < 8; ++i) {
        SMapStringToString map;
        ini.getEntries(names[i], map);
        ini.getSection(names[i], keys, &values, false);
        ini.getString(names[i], key, "d");
        ini.setString(names[i], key, i % 2 ? "" : "v");
        ini.setEntries(names[i], map);
    }
    ini.findSections(names, name, &texts);
    ini.getSectionText(name);
    ini.addKeyToList(name, "a=b");
    ini.addToList(key, name);
    ini.getList(key, keys);
    ini.setSectionText(name, key);
    checkSections(ini, bytes(ini.getContent()));
    if (!ini.getContent().endsWith("\r\n")) __builtin_trap();
    return 0;
}
