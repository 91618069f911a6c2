// SColorMap: colour names with their synonyms ("grau,gray") and the colour texts #RRGGBB,
// #RGB and r,g,b. One global instance, filled with the sixteen default names on first use.
#pragma once

#include "VEK_ARRAYS/SMapStringToNum.h"

#include <cstdint>

class SColorMap : public SMapStringToNum {
public:
    const char* getClassName() const override { return "SColorMap"; }

    void fillDefaults();
    int findName(const char* name);                 // colour, or -1
    int parseRgb(const char* text, const char* separator);
    int parseHash(const char* text);
    int parse(const char* text);                    // colour, or -1 for an unknown name
    static SString toText(uint32_t colour);

private:
    void fillWhenEmpty();
};

extern SColorMap globalColors;
