#include "tools/icon-gen/ImageFiles.h"

#include <cstdint>
#include <fstream>

namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void put32(Bytes& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

uint8_t channel(float v) { return (uint8_t)(v <= 0 ? 0 : v >= 1 ? 255 : v * 255.0f + 0.5f); }

// BITMAPINFOHEADER; an icon image states twice its height (colour rows, then mask rows).
void putInfoHeader(Bytes& out, int width, int height, int bits, uint32_t imageSize) {
    put32(out, 40);
    put32(out, (uint32_t)width);
    put32(out, (uint32_t)height);
    put16(out, 1);
    put16(out, (uint32_t)bits);
    put32(out, 0); // BI_RGB
    put32(out, imageSize);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
}

// One icon image: BGRA rows bottom-up, then the AND mask (1 = transparent), rows padded to 4 bytes.
Bytes iconImage(const Canvas& c) {
    const int maskRow = ((c.width() + 31) / 32) * 4;
    Bytes out;
    putInfoHeader(out, c.width(), c.height() * 2, 32, (uint32_t)(c.width() * c.height() * 4 + maskRow * c.height()));
    for (int y = c.height() - 1; y >= 0; --y)
        for (int x = 0; x < c.width(); ++x) {
            const Rgba& p = c.at(x, y);
            out.push_back(channel(p.b));
            out.push_back(channel(p.g));
            out.push_back(channel(p.r));
            out.push_back(channel(p.a));
        }
    for (int y = c.height() - 1; y >= 0; --y) {
        Bytes row((size_t)maskRow, 0);
        for (int x = 0; x < c.width(); ++x)
            if (channel(c.at(x, y).a) < 128) row[(size_t)x / 8] |= (uint8_t)(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

bool save(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), (std::streamsize)bytes.size());
    return (bool)file;
}

} // namespace

bool writeIcon(const std::string& path, const std::vector<Canvas>& images) {
    Bytes out;
    put16(out, 0);
    put16(out, 1); // icon
    put16(out, (uint32_t)images.size());
    std::vector<Bytes> data;
    for (const Canvas& c : images) data.push_back(iconImage(c));
    uint32_t offset = 6 + 16 * (uint32_t)images.size();
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back((uint8_t)(images[i].width() >= 256 ? 0 : images[i].width()));
        out.push_back((uint8_t)(images[i].height() >= 256 ? 0 : images[i].height()));
        out.push_back(0); // no palette
        out.push_back(0);
        put16(out, 1);  // planes
        put16(out, 32); // bits
        put32(out, (uint32_t)data[i].size());
        put32(out, offset);
        offset += (uint32_t)data[i].size();
    }
    for (const Bytes& d : data) out.insert(out.end(), d.begin(), d.end());
    return save(path, out);
}

bool writeBitmap(const std::string& path, const Canvas& image, Rgba background) {
    const int row = (image.width() * 3 + 3) / 4 * 4;
    const uint32_t pixelBytes = (uint32_t)(row * image.height());
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + pixelBytes);
    put32(out, 0);
    put32(out, 54);
    putInfoHeader(out, image.width(), image.height(), 24, pixelBytes);
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgba& p = image.at(x, y);
            out.push_back(channel(p.b * p.a + background.b * (1 - p.a)));
            out.push_back(channel(p.g * p.a + background.g * (1 - p.a)));
            out.push_back(channel(p.r * p.a + background.r * (1 - p.a)));
        }
        for (int pad = image.width() * 3; pad < row; ++pad) out.push_back(0);
    }
    return save(path, out);
}
