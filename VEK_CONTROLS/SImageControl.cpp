#include "VEK_CONTROLS/SImageControl.h"

SImageControl::SImageControl() { style &= ~WS_TABSTOP; }

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
    if (hwnd) invalidate();
}

void SImageControl::onSize(int type, int width, int height) {
    SControlPositioned::onSize(type, width, height);
    placeImage();
}

void SImageControl::onPaint(SDevice& target) {
    if (image.isLoaded()) image.draw(target, imageRect);
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
