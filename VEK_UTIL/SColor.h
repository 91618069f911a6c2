// SColor: a 32-bit colour, red in the low byte, then green, blue and a fourth channel.
#pragma once

#include <cstdint>

class SColor {
public:
    SColor() = default;
    SColor(uint32_t colourValue) : value(colourValue) {}
    SColor(int red, int green, int blue)
        : value((uint32_t)(red & 0xFF) | (uint32_t)(green & 0xFF) << 8 | (uint32_t)(blue & 0xFF) << 16) {}
    virtual ~SColor() = default;
    virtual const char* getClassName() const { return "SColor"; }

    int red() const { return value & 0xFF; }
    int green() const { return (value >> 8) & 0xFF; }
    int blue() const { return (value >> 16) & 0xFF; }
    int alpha() const { return (value >> 24) & 0xFF; }
    uint32_t getValue() const { return value; }
    operator uint32_t() const { return value; }

private:
    uint32_t value = 0;
};
