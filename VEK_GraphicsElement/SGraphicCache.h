// SGraphicCache: a window's graphic elements as last drawn, in its client pixels. A paint
// copies from it; only the parts where elements changed are drawn again. A new client size,
// scroll offset, zoom or background makes all of it stale.
#pragma once

#include "VEK_GUI/SDevice.h"
#include "VEK_GUI/SGdiObject.h"

#include <windows.h>

#include <cstdint>

class SGraphicCache {
public:
    SGraphicCache() = default;
    ~SGraphicCache();
    SGraphicCache(const SGraphicCache&) = delete;
    SGraphicCache& operator=(const SGraphicCache&) = delete;

    // Fits the cache to what the window shows now; false if no bitmap could be made.
    bool fit(int width, int height, const SDevice::Transform& transform, uint32_t background);
    // Marks an area (client pixels) to be drawn again; all of it with markAllStale.
    void markStale(const RECT& area);
    void markAllStale() { allStale = true; }
    // Hands over the stale part (client pixels) and counts it as drawn; false if none.
    bool takeStale(SGdiObject<HRGN>& region);

    // The cache's pixels: 32-bit, top-down, width * 4 bytes a row.
    void* getPixels() const { return pixels; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    // Copies an area (client pixels) to (x, y) of a context whose mapping is the identity.
    void copyTo(HDC target, int x, int y, const RECT& area) const;

private:
    void release();

    SMemoryDC memory;
    SGdiObject<HBITMAP> bitmap;
    HGDIOBJ previous = nullptr;
    void* pixels = nullptr;
    int width = 0, height = 0;
    SDevice::Transform transform;
    uint32_t background = 0;
    SGdiObject<HRGN> stale;
    bool allStale = true;
};
