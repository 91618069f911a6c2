// WindowCapture: the pixels of a window as the user sees them (client area, child windows
// included), or of a memory DC or bitmap, as a 32-bit top-down buffer with helpers to look
// at them and to save them as PNG for a person.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class WindowCapture {
public:
    WindowCapture() = default;

    // The client area as the user sees it, once what is pending is painted. A window of this
    // process is copied from its own drawing, whatever lies over it. A window of another
    // process is copied from the screen: it is raised when another window lies over it, and
    // the copy is taken once its owner has drawn all of it there anew (see the .cpp; a part
    // beyond the screen's edge is copied as it is). A hidden window, or one that could not be
    // copied whole within ten seconds, gives an empty capture.
    static WindowCapture ofWindow(HWND hwnd);
    // The rectangle (x, y, width, height) of any DC, for example a memory DC drawn on in a test.
    static WindowCapture ofDC(HDC dc, int x, int y, int width, int height);
    static WindowCapture ofBitmap(HBITMAP bitmap);

    bool empty() const { return pixels_.empty(); }
    int width() const { return width_; }
    int height() const { return height_; }
    // Pixels as 0x00RRGGBB (the DIB layout), row by row from the top.
    const std::vector<std::uint32_t>& pixels() const { return pixels_; }

    // The colour at (x, y) as COLORREF (0x00BBGGRR); CLR_INVALID outside the capture.
    COLORREF pixel(int x, int y) const;
    // Pixels in r (clipped to the capture) whose colour is within tolerance of colour on each
    // of red, green and blue.
    int countColor(COLORREF colour, RECT r, int tolerance = 0) const;
    // The most frequent colour in r.
    COLORREF dominantColor(RECT r) const;
    // Whether r holds anything besides background, such as text.
    bool hasTextLike(RECT r, COLORREF background) const;
    bool hasTextLike(RECT r) const { return hasTextLike(r, dominantColor(r)); }
    RECT bounds() const { return {0, 0, width_, height_}; }

    bool savePng(const std::string& path) const;

private:
    WindowCapture(int width, int height);
    static WindowCapture ofOtherProcess(HWND hwnd);
    bool copyFrom(HDC source, int x, int y);
    RECT clip(RECT r) const;

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};
