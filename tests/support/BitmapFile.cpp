#include "tests/support/BitmapFile.h"

#include <string>

void writeBitmapFile(const TempDir& dir, const char* name, int width, int height,
                     const std::function<uint32_t(int x, int y)>& colourAt) {
    const int rowBytes = (width * 3 + 3) & ~3;
    std::string bytes(54 + (size_t)rowBytes * height, '\0');
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[(size_t)(at + i)] = (char)((v >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, (uint32_t)bytes.size());
    put32(10, 54);                      // pixels after the two headers
    put32(14, 40);                      // BITMAPINFOHEADER
    put32(18, (uint32_t)width);
    put32(22, (uint32_t)height);        // positive: rows from the bottom up
    bytes[26] = 1;                      // planes
    bytes[28] = 24;                     // bits per pixel, no compression
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t rgb = colourAt(x, y);
            char* p = &bytes[54 + (size_t)(height - 1 - y) * rowBytes + (size_t)x * 3];
            p[0] = (char)(rgb & 0xFF), p[1] = (char)(rgb >> 8 & 0xFF), p[2] = (char)(rgb >> 16 & 0xFF);
        }
    dir.write(name, bytes.data(), (int)bytes.size());
}
