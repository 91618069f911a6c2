// BitmapFile: a 24-bit BMP file, the form the library loads its pictures from, written from a
// function that gives each pixel's colour as 0xRRGGBB (y counted from the top).
#pragma once

#include "tests/support/TempDir.h"

#include <cstdint>
#include <functional>

void writeBitmapFile(const TempDir& dir, const char* name, int width, int height,
                     const std::function<uint32_t(int x, int y)>& colourAt);
