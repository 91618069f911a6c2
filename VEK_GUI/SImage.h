// SImage: a bitmap or icon file found by resource name, drawn as is or stretched, with an
// optional transparent colour.
#pragma once

#include "VEK_GUI/SGdiObject.h"
#include "VEK_UTIL/SGeometry.h"
#include "VEK_UTIL/SString.h"

#include <windows.h>

class SDevice;

class SImage {
public:
    SImage() = default;
    virtual ~SImage();
    SImage(const SImage&) = delete;
    SImage& operator=(const SImage&) = delete;
    virtual const char* getClassName() const { return "SImage"; }

    // Loads a .bmp or .ico file found through the resource manager (or the path itself).
    bool load(const char* name);
    bool isLoaded() const;
    void clear();
    SSize getSize() const;
    void setTransparentColor(COLORREF color); // 0xFFFFFFFF: none
    void draw(SDevice& device, int x, int y);          // as is
    void draw(SDevice& device, const SRect& target);   // stretched

private:
    void blit(HDC target, int x, int y, int width, int height);

    SGdiObject<HBITMAP> bitmap;
    SIconHandle icon;
    SSize size;
    COLORREF transparentColor = 0xFFFFFFFF;
};
