// SImageControl: a control that shows a bitmap from the resources, aligned inside it or
// stretched to it, optionally with a transparent colour; a clickable one sends its parent a
// WM_COMMAND on a left click and shows the hand cursor. It paints from a picture of the
// image over its background made once per image, place and colour; changes go through the
// setters, which make it anew.
#pragma once

#include "VEK_CONTROLS/SControlPositioned.h"
#include "VEK_GUI/SGdiObject.h"
#include "VEK_GUI/SImage.h"

class SImageControl : public SControlPositioned {
public:
    // Alignment bits.
    enum : DWORD { AlignVCenter = 0x2, AlignBottom = 0x4, AlignHCenter = 0x200, AlignRight = 0x400 };

    SImageControl();
    ~SImageControl() override;
    const char* getClassName() const override { return "SImageControl"; }

    void onPaint(SDevice& device) override;
    void onSize(int type, int width, int height) override;
    void onLButtonDown(int keys, int x, int y) override;
    void onMouseMove(int keys, int x, int y) override;

    bool setImage(const char* resourceName);
    void setAlignment(DWORD bits);
    // 0 draws the image as it is (aligned); any other mode stretches it to the control.
    void setImageMode(int mode);
    void setTransparentColor(COLORREF colour); // 0xFFFFFFFF: none
    void setClickable(bool on);

    bool isClickable() const { return clickable != 0; }
    SPoint getClickPoint() const { return clickPoint; }
    // Where the image is drawn, in client coordinates.
    SRect getImageRect() const { return imageRect; }
    const SImage& getImage() const { return image; }

protected:
    // Computes imageRect from the alignment or the mode and repaints.
    void placeImage();
    // Whether a paint on target may copy the kept picture: the window's own paint in plain
    // pixels over a background colour of its own (not see-through, not printed).
    bool paintsFromPicture(SDevice& target);
    void makePicture(HDC compatible, COLORREF background);
    void dropPicture();

    SImage image;
    int clickable = 0;
    SPoint clickPoint;
    DWORD alignment = 0;
    COLORREF transparentColor = 0xFFFFFFFF;
    int imageMode = 0;
    SRect imageRect;

private:
    SGdiObject<HBITMAP> pictureBitmap;
    SMemoryDC picture;
    HGDIOBJ pictureDefault = nullptr; // what the context held before the picture
    COLORREF pictureBackground = 0;
};
