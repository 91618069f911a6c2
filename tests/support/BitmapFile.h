// BitmapFile: the picture files the library loads, written for a test: a 24-bit BMP from a
// function that gives each pixel's colour as 0xRRGGBB (y counted from the top), and an icon.
#pragma once

#include "tests/support/TempDir.h"

#include <cstdint>
#include <functional>

void writeBitmapFile(const TempDir& dir, const char* name, int width, int height,
                     const std::function<uint32_t(int x, int y)>& colourAt);
// A square 32-bit icon of one opaque colour (0xRRGGBB).
void writeIconFile(const TempDir& dir, const char* name, int size, uint32_t colour);
