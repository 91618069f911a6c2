// Fuzzes the INI text reader and the operations that take a loaded text apart or edit it.
#include "VEK_ARRAYS/SMapStringToString.h"
#include "VEK_ARRAYS/SStringList.h"
#include "VEK_UTIL/SFileIni.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    SFileIni ini;
    ini.loadFromText(text.data(), (int)text.size());

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
    if (!ini.getContent().endsWith("\r\n")) __builtin_trap();
    return 0;
}
