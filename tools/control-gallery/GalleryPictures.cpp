#include "tools/control-gallery/GalleryPictures.h"

#include "VEK_GUI/SGdiObject.h"
#include "VEK_SYSTEM/SSystem.h"

#include <windows.h>

#include <functional>
#include <string>

namespace GalleryPictures {
namespace {

const COLORREF Magenta = RGB(255, 0, 255);

// A 24-bit bottom-up bitmap file of width x height drawn by draw on a memory context.
bool writeBitmap(const SString& path, int width, int height, const std::function<void(HDC)>& draw) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    SGdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SMemoryDC dc(nullptr);
    if (!bitmap || !dc || !bits) return false;
    HGDIOBJ previous = SelectObject(dc.get(), bitmap.get());
    draw(dc.get());
    GdiFlush();
    SelectObject(dc.get(), previous);

    const int rowBytes = (width * 3 + 3) & ~3;
    const DWORD imageBytes = (DWORD)(rowBytes * height);
    BITMAPFILEHEADER file{0x4D42, (DWORD)(sizeof file + sizeof info.bmiHeader) + imageBytes, 0, 0,
                          (DWORD)(sizeof file + sizeof info.bmiHeader)};
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    bytes.append(static_cast<const char*>(bits), imageBytes);
    return SSystem::writeFileAtomic(path, bytes.data(), (int)bytes.size());
}

void fill(HDC dc, RECT r, COLORREF colour) {
    SGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush.get());
}

void frame(HDC dc, RECT r, COLORREF colour) {
    SGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FrameRect(dc, &r, brush.get());
}

// A mixing tank half full of water, with its inlet valve.
void drawTank(HDC dc) {
    fill(dc, RECT{0, 0, 96, 64}, RGB(255, 255, 255));
    fill(dc, RECT{28, 8, 68, 60}, RGB(235, 235, 235));
    fill(dc, RECT{29, 32, 67, 59}, RGB(60, 130, 220));
    frame(dc, RECT{28, 8, 68, 60}, RGB(40, 40, 40));
    fill(dc, RECT{4, 12, 28, 16}, RGB(90, 90, 90));
    fill(dc, RECT{10, 6, 20, 22}, RGB(0, 160, 0));
    frame(dc, RECT{10, 6, 20, 22}, RGB(40, 40, 40));
    fill(dc, RECT{68, 52, 92, 56}, RGB(90, 90, 90));
}

// A white page with a folded corner.
void drawNew(HDC dc) {
    fill(dc, RECT{0, 0, 16, 16}, Magenta);
    fill(dc, RECT{3, 1, 13, 15}, RGB(255, 255, 255));
    frame(dc, RECT{3, 1, 13, 15}, RGB(60, 60, 60));
    fill(dc, RECT{10, 1, 13, 4}, RGB(190, 190, 190));
}

// A disk.
void drawSave(HDC dc) {
    fill(dc, RECT{0, 0, 16, 16}, Magenta);
    fill(dc, RECT{1, 1, 15, 15}, RGB(30, 60, 150));
    fill(dc, RECT{4, 1, 12, 6}, RGB(230, 230, 230));
    fill(dc, RECT{4, 9, 12, 15}, RGB(255, 255, 255));
}

// The information button: a blue "i" and the library's letters.
void drawInfo(HDC dc) {
    fill(dc, RECT{0, 0, 70, 35}, RGB(255, 255, 255));
    SGdiObject<HBRUSH> blue(CreateSolidBrush(RGB(40, 80, 170)));
    HGDIOBJ previousBrush = SelectObject(dc, blue.get());
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, 4, 5, 30, 31);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBrush);
    fill(dc, RECT{15, 10, 19, 14}, RGB(255, 255, 255));
    fill(dc, RECT{15, 16, 19, 26}, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(40, 80, 170));
    RECT text{32, 0, 70, 35};
    DrawTextA(dc, "VEK", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

} // namespace

bool writeMissing(const SString& folder) {
    struct Picture {
        const char* name;
        int width, height;
        void (*draw)(HDC);
    };
    const Picture pictures[] = {{Tank, 96, 64, drawTank}, {New, 16, 16, drawNew}, {Save, 16, 16, drawSave},
                                {Info, 70, 35, drawInfo}};
    bool ok = true;
    for (const Picture& p : pictures) {
        SString path(folder);
        path.append("\\").append(p.name);
        if (!SSystem::fileExists(path)) ok = writeBitmap(path, p.width, p.height, p.draw) && ok;
    }
    return ok;
}

} // namespace GalleryPictures
