#include "VEK_UTIL/SColorMap.h"

#include "VEK_ARRAYS/SStringList.h"
#include "VEK_UTIL/SColor.h"

void SColorMap::fillDefaults() {
    struct Name {
        const char* key;
        int r, g, b;
    };
    static const Name names[] = {
        {"schwarz,black", 0, 0, 0},    {"maroon", 128, 0, 0},         {"gr\374n,green", 0, 128, 0},
        {"navy", 0, 0, 128},           {"olive", 128, 128, 0},        {"violet,purple", 128, 0, 128},
        {"teal", 0, 128, 128},         {"grau,gray", 128, 128, 128},  {"silber,silver", 192, 192, 192},
        {"rot,red", 255, 0, 0},        {"lime", 0, 255, 0},           {"blau,blue", 0, 0, 255},
        {"gelb,yellow", 255, 255, 0},  {"fuchsia", 255, 0, 255},      {"aqua,cyan", 0, 255, 255},
        {"weis,white", 255, 255, 255},
    };
    clear();
    for (const Name& n : names) {
        SString key;
        key.setRaw(n.key);
        set(key, (int)SColor(n.r, n.g, n.b).getValue());
    }
}

void SColorMap::fillWhenEmpty() {
    if (count() == 0) fillDefaults();
}

int SColorMap::findName(const char* name) {
    fillWhenEmpty();
    SString needle(",");
    needle.append(name).append(",");
    for (int i = 0; i < count(); ++i) {
        SString key(",");
        key.append(getKeyAt(i)).append(",");
        if (key.find(needle) >= 0) return getValueAt(i);
    }
    return -1;
}

int SColorMap::parseRgb(const char* text, const char* separator) {
    fillWhenEmpty();
    SStringList parts;
    parts.split(text, separator);
    SString red = parts[0], green = parts[1], blue = parts[2];
    return (int)SColor(red.trim().toNumber(), green.trim().toNumber(), blue.trim().toNumber()).getValue();
}

int SColorMap::parseHash(const char* text) {
    fillWhenEmpty();
    return SString::toNumber(text);
}

int SColorMap::parse(const char* text) {
    if (!text) return -1;
    if (text[0] == '#') return parseHash(text);
    if (text[0] >= '0' && text[0] <= '9') return parseRgb(text, ",");
    return findName(text);
}

SString SColorMap::toText(uint32_t colour) { return SString().fromColor(colour); }
