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

void writeIconFile(const TempDir& dir, const char* name, int size, uint32_t colour) {
    std::string bytes;
    auto put = [&](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bytes += (char)((v >> (8 * i)) & 0xFF);
    };
    const int maskRow = ((size + 31) / 32) * 4;
    put(0, 2), put(1, 2), put(1, 2);                               // an icon file of one image
    put((uint32_t)size, 1), put((uint32_t)size, 1), put(0, 2), put(1, 2), put(32, 2);
    put(40 + (uint32_t)(size * size * 4 + size * maskRow), 4), put(22, 4); // its size and offset
    put(40, 4), put((uint32_t)size, 4), put((uint32_t)size * 2, 4), put(1, 2), put(32, 2);
    for (int i = 0; i < 6; ++i) put(0, 4);
    for (int i = 0; i < size * size; ++i) put(0xFF000000 | colour, 4);
    bytes.append((size_t)(size * maskRow), '\0'); // AND mask: all opaque
    dir.write(name, bytes.data(), (int)bytes.size());
}
