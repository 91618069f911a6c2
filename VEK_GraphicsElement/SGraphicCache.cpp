#include "VEK_GraphicsElement/SGraphicCache.h"

namespace {

bool sameTransform(const SDevice::Transform& a, const SDevice::Transform& b) {
    return a.scaleX == b.scaleX && a.scaleY == b.scaleY && a.dx == b.dx && a.dy == b.dy;
}

} // namespace

SGraphicCache::~SGraphicCache() { release(); }

// The bitmap is taken out of the context before either goes.
void SGraphicCache::release() {
    if (memory && previous) SelectObject(memory.get(), previous);
    previous = nullptr;
    bitmap.reset();
    memory.reset();
    pixels = nullptr;
    width = height = 0;
}

bool SGraphicCache::fit(int w, int h, const SDevice::Transform& t, uint32_t back) {
    if (w <= 0 || h <= 0) return false;
    if (!sameTransform(t, transform) || back != background) allStale = true;
    transform = t;
    background = back;
    if (bitmap && w == width && h == height) return true;
    release();
    allStale = true;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h; // top-down, as GDI+ reads a row stride
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    SGdiObject<HBITMAP> made(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SMemoryDC dc(nullptr);
    if (!made || !bits || !dc) return false;
    previous = SelectObject(dc.get(), made.get());
    memory = std::move(dc);
    bitmap = std::move(made);
    pixels = bits;
    width = w;
    height = h;
    return true;
}

void SGraphicCache::markStale(const RECT& area) {
    if (allStale || area.right <= area.left || area.bottom <= area.top) return;
    SGdiObject<HRGN> add(CreateRectRgnIndirect(&area));
    if (!add) {
        allStale = true;
        return;
    }
    if (!stale) {
        stale = std::move(add);
        return;
    }
    CombineRgn(stale.get(), stale.get(), add.get(), RGN_OR);
}

bool SGraphicCache::takeStale(SGdiObject<HRGN>& region) {
    if (allStale) {
        region.reset(CreateRectRgn(0, 0, width, height));
        stale.reset();
        allStale = false;
        return (bool)region;
    }
    if (!stale) return false;
    region = std::move(stale);
    return true;
}

void SGraphicCache::copyTo(HDC target, int x, int y, const RECT& area) const {
    if (!memory) return;
    BitBlt(target, x, y, area.right - area.left, area.bottom - area.top, memory.get(), area.left, area.top, SRCCOPY);
}
