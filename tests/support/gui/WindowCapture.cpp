#include "tests/support/gui/WindowCapture.h"

#include "tests/support/gui/GdiplusScope.h"
#include "tests/support/gui/MessagePump.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {
struct MemoryDC {
    HDC dc = CreateCompatibleDC(nullptr);
    ~MemoryDC() { DeleteDC(dc); }
    MemoryDC() = default;
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
};

struct WindowDC {
    HWND hwnd;
    HDC dc;
    explicit WindowDC(HWND h) : hwnd(h), dc(GetDC(h)) {}
    ~WindowDC() { ReleaseDC(hwnd, dc); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
};

struct DibSection {
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;
    DibSection(int width, int height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    }
    ~DibSection() {
        if (bitmap) DeleteObject(bitmap);
    }
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;
};

COLORREF toColorref(std::uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

bool within(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool pngEncoder(CLSID& clsid) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<unsigned char> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

std::wstring widen(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide((std::size_t)std::max(n, 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}
} // namespace

WindowCapture::WindowCapture(int width, int height)
    : width_(width), height_(height), pixels_((std::size_t)width * (std::size_t)height) {}

bool WindowCapture::copyFrom(HDC source, int x, int y) {
    DibSection dib(width_, height_);
    MemoryDC memory;
    if (!dib.bitmap || !memory.dc) return false;
    HGDIOBJ old = SelectObject(memory.dc, dib.bitmap);
    BOOL copied = BitBlt(memory.dc, 0, 0, width_, height_, source, x, y, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    SelectObject(memory.dc, old);
    if (!copied) return false;
    std::copy_n(static_cast<const std::uint32_t*>(dib.bits), pixels_.size(), pixels_.begin());
    return true;
}

WindowCapture WindowCapture::ofWindow(HWND hwnd) {
    if (!IsWindow(hwnd) || !IsWindowVisible(hwnd)) return {};
    // Paint what is invalid, children included, and let them finish before copying.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MessagePump::flush();
    RECT client;
    GetClientRect(hwnd, &client);
    if (client.right <= 0 || client.bottom <= 0) return {};
    WindowCapture capture(client.right, client.bottom);
    WindowDC dc(hwnd);
    if (!dc.dc || !capture.copyFrom(dc.dc, 0, 0)) return {};
    return capture;
}

WindowCapture WindowCapture::ofDC(HDC dc, int x, int y, int width, int height) {
    if (!dc || width <= 0 || height <= 0) return {};
    WindowCapture capture(width, height);
    if (!capture.copyFrom(dc, x, y)) return {};
    return capture;
}

WindowCapture WindowCapture::ofBitmap(HBITMAP bitmap) {
    BITMAP info;
    if (!bitmap || GetObjectA(bitmap, sizeof info, &info) != sizeof info) return {};
    WindowCapture capture(info.bmWidth, info.bmHeight);
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    MemoryDC memory;
    // Reads the bitmap also while the caller's memory DC still holds it selected.
    int rows = GetDIBits(memory.dc, bitmap, 0, (UINT)info.bmHeight, capture.pixels_.data(), &header,
                         DIB_RGB_COLORS);
    if (rows != info.bmHeight) return {};
    return capture;
}

RECT WindowCapture::clip(RECT r) const {
    return {std::max<LONG>(r.left, 0), std::max<LONG>(r.top, 0), std::min<LONG>(r.right, width_),
            std::min<LONG>(r.bottom, height_)};
}

COLORREF WindowCapture::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return toColorref(pixels_[(std::size_t)y * (std::size_t)width_ + (std::size_t)x]);
}

int WindowCapture::countColor(COLORREF colour, RECT r, int tolerance) const {
    RECT c = clip(r);
    int count = 0;
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x)
            if (within(pixel(x, y), colour, tolerance)) ++count;
    return count;
}

COLORREF WindowCapture::dominantColor(RECT r) const {
    RECT c = clip(r);
    std::map<COLORREF, int> counts;
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x) ++counts[pixel(x, y)];
    auto best = std::max_element(counts.begin(), counts.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    return best == counts.end() ? CLR_INVALID : best->first;
}

bool WindowCapture::hasTextLike(RECT r, COLORREF background) const {
    RECT c = clip(r);
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x)
            if (pixel(x, y) != background) return true;
    return false;
}

bool WindowCapture::savePng(const std::string& path) const {
    if (empty()) return false;
    GdiplusScope gdiplus;
    CLSID png;
    if (!gdiplus.ok() || !pngEncoder(png)) return false;
    // GDI+ only reads the buffer while saving, the cast drops a const it does not need.
    Gdiplus::Bitmap image(width_, height_, width_ * 4, PixelFormat32bppRGB,
                          reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels_.data())));
    return image.GetLastStatus() == Gdiplus::Ok && image.Save(widen(path).c_str(), &png, nullptr) == Gdiplus::Ok;
}
