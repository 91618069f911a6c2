#include "VEK_CONTROLS/SImageControl.h"

SImageControl::SImageControl() { style &= ~WS_TABSTOP; }

SImageControl::~SImageControl() { dropPicture(); }

bool SImageControl::setImage(const char* resourceName) {
    bool loaded = image.load(resourceName);
    image.setTransparentColor(transparentColor);
    placeImage();
    return loaded;
}

void SImageControl::setAlignment(DWORD bits) {
    alignment = bits;
    placeImage();
}

void SImageControl::setImageMode(int mode) {
    imageMode = mode;
    placeImage();
}

void SImageControl::setTransparentColor(COLORREF colour) {
    transparentColor = colour;
    image.setTransparentColor(colour);
    placeImage();
}

void SImageControl::setClickable(bool on) {
    clickable = on ? 1 : 0;
    placeImage();
}

// Offsets are the free space (right, bottom) or half of it (centred).
void SImageControl::placeImage() {
    SSize area = hwnd ? getClientSize() : SSize{rect.width, rect.height};
    SSize size = image.getSize();
    if (imageMode != 0) {
        imageRect = SRect{0, 0, area.width, area.height};
    } else {
        int freeX = area.width - size.width, freeY = area.height - size.height;
        int x = (alignment & AlignRight) ? freeX : (alignment & AlignHCenter) ? freeX / 2 : 0;
        int y = (alignment & AlignBottom) ? freeY : (alignment & AlignVCenter) ? freeY / 2 : 0;
        imageRect = SRect{x, y, size.width, size.height};
    }
    dropPicture();
    if (hwnd) invalidate();
}

void SImageControl::onSize(int type, int width, int height) {
    SControlPositioned::onSize(type, width, height);
    placeImage();
}

void SImageControl::onPaint(SDevice& target) {
    if (!image.isLoaded()) return;
    if (!paintsFromPicture(target)) {
        image.draw(target, imageRect);
        return;
    }
    HDC dc = target.getHdc();
    if (!picture || pictureBackground != target.getBackgroundColor()) makePicture(dc, target.getBackgroundColor());
    if (!picture) {
        image.draw(target, imageRect);
        return;
    }
    BitBlt(dc, imageRect.x, imageRect.y, imageRect.width, imageRect.height, picture.get(), 0, 0, SRCCOPY);
}

bool SImageControl::paintsFromPicture(SDevice& target) {
    if (&target != &device || !target.getHdc() || printing || paintingToMetaFile || isSeeThrough()) return false;
    if (target.getBackgroundColor() == SPainter::Transparent || imageRect.width <= 0 || imageRect.height <= 0)
        return false;
    const SDevice::Transform t = target.getTransform();
    return t.scaleX == 1 && t.scaleY == 1 && t.dx == 0 && t.dy == 0;
}

// What a paint of the window shows there: the background colour its paint fills in, the
// image drawn over it.
void SImageControl::makePicture(HDC compatible, COLORREF background) {
    dropPicture();
    SGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(compatible, imageRect.width, imageRect.height));
    SMemoryDC context(compatible);
    if (!bitmap || !context) return;
    pictureDefault = SelectObject(context.get(), bitmap.get());
    pictureBitmap = std::move(bitmap);
    picture = std::move(context);
    pictureBackground = background;
    SGdiObject<HBRUSH> fill(CreateSolidBrush(background));
    RECT all{0, 0, imageRect.width, imageRect.height};
    FillRect(picture.get(), &all, fill.get());
    SDevice painter;
    painter.beginPaint(picture.get());
    image.draw(painter, SRect{0, 0, imageRect.width, imageRect.height});
    painter.endPaint();
}

void SImageControl::dropPicture() {
    if (picture) SelectObject(picture.get(), pictureDefault);
    picture.reset();
    pictureBitmap.reset();
    pictureDefault = nullptr;
}

void SImageControl::onLButtonDown(int keys, int x, int y) {
    SControlPositioned::onLButtonDown(keys, x, y);
    if (!clickable || !parent || !parent->getHwnd()) return;
    clickPoint = SPoint{x, y};
    SendMessageA(parent->getHwnd(), WM_COMMAND, (WPARAM)controlId, (LPARAM)hwnd);
}

void SImageControl::onMouseMove(int keys, int x, int y) {
    SControlPositioned::onMouseMove(keys, x, y);
    setCursor(clickable ? 32649 : 32512); // IDC_HAND, IDC_ARROW
}
