// SPainter: the abstract drawing interface. The screen device (SDevice) and the PDF device
// implement it, so drawing code written against it runs on both.
#pragma once

#include "VEK_ARRAYS/SPointList.h"
#include "VEK_UTIL/SGeometry.h"

#include <windows.h>

class SPainter {
public:
    // Special colour arguments of the drawing calls.
    static constexpr COLORREF Transparent = 0xFFFFFFFF; // also: hollow fill
    static constexpr COLORREF Keep = 0xFFFFFFFE;
    static constexpr COLORREF Restore = 0xFFFFFFFD;
    static constexpr COLORREF DeleteBrush = 0xFFFFFFFB; // setFillColor only

    explicit SPainter(char kind) : deviceKind(kind) {}
    virtual ~SPainter() = default;
    SPainter(const SPainter&) = delete;
    SPainter& operator=(const SPainter&) = delete;

    virtual void bezier(SPoint p0, SPoint p1, SPoint p2, SPoint p3, int penWidth, COLORREF penColor) = 0;
    virtual int drawText(SRect& rect, const char* text, const char* flags) = 0;
    virtual void ellipse(const SRect& rect, COLORREF penColor, COLORREF fillColor) = 0;
    virtual void line(int x1, int y1, int x2, int y2, COLORREF penColor) = 0;
    virtual void pie(const SRect& rect, double startAngle, double endAngle, int arcDirection, int penWidth,
                     COLORREF penColor, COLORREF fillColor) = 0;
    virtual void rectangle(const SRect& rect, COLORREF penColor, COLORREF fillColor) = 0;
    virtual void roundRect(const SRect& rect, SSize cornerSize, COLORREF penColor, COLORREF fillColor) = 0;
    virtual void applyFont() = 0;
    virtual void applyPen() = 0;
    virtual void applyBrush() = 0;
    virtual void setPen(COLORREF color, int width, int style) = 0;
    virtual SPoint deviceToLogical(SPoint p) = 0;
    virtual SRect deviceToLogical(const SRect& r) = 0;
    virtual int deviceToLogicalX(int v) = 0;
    virtual int deviceToLogicalY(int v) = 0;
    virtual SPoint logicalToDevice(SPoint p) = 0;
    virtual SRect logicalToDevice(const SRect& r) = 0;
    virtual int logicalToDeviceX(int v) = 0;
    virtual int logicalToDeviceY(int v) = 0;
    virtual void beginPaint(HDC outsideContext = nullptr) = 0;
    virtual void endPaint() = 0;
    virtual void fillRectangle(const SRect& rect, COLORREF color) = 0;
    virtual void setBold(bool bold) = 0;
    virtual void setFillColor(COLORREF color) = 0;
    virtual void setFont(const char* face, int size, int underline, int italic, int weight) = 0;
    virtual void setColors(COLORREF textColor, COLORREF textBackColor) = 0;
    virtual void textOut(int x, int y, const char* text, int length = -1) = 0;
    virtual void polygon(const SPointList& points, COLORREF penColor, COLORREF fillColor) = 0;
    virtual SSize getTextSize(const char* text) = 0;
    virtual const char* getClassName() const { return "SPainter"; }

    // 's' for the screen device.
    char getDeviceKind() const { return deviceKind; }

private:
    char deviceKind;
};
