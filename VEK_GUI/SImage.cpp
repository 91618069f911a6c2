#include "VEK_GUI/SImage.h"

#include "VEK_GUI/SDevice.h"
#include "VEK_UTIL/SResources.h"

namespace {

bool hasExtension(const SString& path, const char* extension) { return path.endsWith(extension, true); }

SSize iconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return SSize{};
    BITMAP bm{};
    SSize result;
    if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bm, &bm))
        result = SSize{bm.bmWidth, bm.bmHeight};
    else if (info.hbmMask && GetObjectA(info.hbmMask, sizeof bm, &bm))
        result = SSize{bm.bmWidth, bm.bmHeight / 2}; // monochrome: AND and XOR mask stacked
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return result;
}

} // namespace

SImage::~SImage() = default;

bool SImage::load(const char* name) {
    clear();
    if (!name || !*name) return false;
    // Before the resource manager has started, the name is the path (tests, early windows).
    SString path = globalResources.isInitialised() ? globalResources.getFile(name) : SString().setRaw(name);
    if (path.isEmpty()) return false;
    if (hasExtension(path, ".ico")) {
        HICON loaded = (HICON)LoadImageA(nullptr, path, IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
        if (!loaded) loaded = ExtractIconA(GetModuleHandleA(nullptr), path, 0);
        // ExtractIconA answers 1 for a file that is not an icon file.
        if ((UINT_PTR)loaded <= 1) return false;
        icon.reset(loaded);
        size = iconSize(loaded);
        return true;
    }
    HBITMAP loaded = (HBITMAP)LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!loaded) return false;
    bitmap.reset(loaded);
    BITMAP bm{};
    GetObjectA(loaded, sizeof bm, &bm);
    size = SSize{bm.bmWidth, bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight};
    return true;
}

bool SImage::isLoaded() const { return bitmap || icon; }

void SImage::clear() {
    bitmap.reset();
    icon.reset();
    size = SSize{};
}

SSize SImage::getSize() const { return size; }

void SImage::setTransparentColor(COLORREF color) { transparentColor = color; }

void SImage::draw(SDevice& device, int x, int y) { draw(device, SRect{x, y, size.width, size.height}); }

void SImage::draw(SDevice& device, const SRect& target) {
    HDC dc = device.getHdc();
    if (!dc || !isLoaded()) return;
    blit(dc, target.left(), target.top(), target.right() - target.left(), target.bottom() - target.top());
}

void SImage::blit(HDC target, int x, int y, int width, int height) {
    if (icon) {
        DrawIconEx(target, x, y, icon.get(), width, height, 0, nullptr, DI_NORMAL);
        return;
    }
    SMemoryDC source(target);
    if (!source) source = SMemoryDC(nullptr); // a metafile context has no compatible memory context
    if (!source) return;
    HGDIOBJ previous = SelectObject(source.get(), bitmap.get());
    if (transparentColor != 0xFFFFFFFF) {
        // gdi32 has it too: no msimg32 to load at every start
        GdiTransparentBlt(target, x, y, width, height, source.get(), 0, 0, size.width, size.height, transparentColor);
    } else {
        int oldMode = SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, x, y, width, height, source.get(), 0, 0, size.width, size.height, SRCCOPY);
        SetStretchBltMode(target, oldMode);
    }
    SelectObject(source.get(), previous);
}
