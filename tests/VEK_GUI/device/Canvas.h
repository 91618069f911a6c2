// Canvas: a memory DC over a 32-bit top-down DIB section whose pixels a test reads back.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>

class Canvas {
public:
    Canvas(int width, int height, COLORREF background = RGB(255, 255, 255)) : w(width), h(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
        old = SelectObject(dc, dib);
        const std::uint32_t fill = (GetRValue(background) << 16) | (GetGValue(background) << 8) | GetBValue(background);
        std::fill_n(bits, w * h, fill);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(dib);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC get() const { return dc; }
    COLORREF at(int x, int y) const {
        GdiFlush();
        std::uint32_t v = bits[y * w + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    int count(COLORREF colour, RECT r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += at(x, y) == colour;
        return n;
    }
    int count(COLORREF colour) const { return count(colour, RECT{0, 0, w, h}); }
    // The smallest rectangle holding every pixel that differs from colour; empty when none.
    RECT boundsOfOther(COLORREF colour) const {
        RECT r{w, h, 0, 0};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (at(x, y) != colour) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return r.right > r.left ? r : RECT{};
    }
    bool samePixels(const Canvas& other) const {
        GdiFlush();
        for (int i = 0; i < w * h; ++i)
            if (bits[i] != other.bits[i]) return false;
        return true;
    }

private:
    int w, h;
    HDC dc = nullptr;
    HBITMAP dib = nullptr;
    HGDIOBJ old = nullptr;
    std::uint32_t* bits = nullptr;
};
