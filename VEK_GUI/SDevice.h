// SPainter / SDevice: the drawing surface of every window. SDevice wraps a GDI device
// context between beginPaint and endPaint, keeps pen, fill, text colours and font as values
// and creates the GDI objects only when those values change; it can draw through an
// off-screen buffer (no flicker) and maps coordinates by mapping mode, zoom and offset.
#pragma once

#include "VEK_ARRAYS/SPointList.h"
#include "VEK_GUI/SFontCache.h"
#include "VEK_GUI/SGdiObject.h"
#include "VEK_GUI/SPainter.h"
#include "VEK_UTIL/SGeometry.h"
#include "VEK_UTIL/SString.h"

#include <windows.h>

#include <cstddef>
#include <vector>

class SWindow;

class SDevice : public SPainter {
public:
    explicit SDevice(SWindow* owner = nullptr);
    ~SDevice() override;
    SDevice(const SDevice&) = delete;
    SDevice& operator=(const SDevice&) = delete;
    const char* getClassName() const override { return "SDevice"; }

    // SPainter
    void bezier(SPoint p0, SPoint p1, SPoint p2, SPoint p3, int penWidth, COLORREF penColor) override;
    int drawText(SRect& rect, const char* text, const char* flags) override;
    void ellipse(const SRect& rect, COLORREF penColor, COLORREF fillColor) override;
    void line(int x1, int y1, int x2, int y2, COLORREF penColor) override;
    void pie(const SRect& rect, double startAngle, double endAngle, int arcDirection, int penWidth,
             COLORREF penColor, COLORREF fillColor) override;
    void rectangle(const SRect& rect, COLORREF penColor, COLORREF fillColor) override;
    void roundRect(const SRect& rect, SSize cornerSize, COLORREF penColor, COLORREF fillColor) override;
    void applyFont() override;
    void applyPen() override;
    void applyBrush() override;
    void setPen(COLORREF color, int width, int style) override;
    SPoint deviceToLogical(SPoint p) override;
    SRect deviceToLogical(const SRect& r) override;
    int deviceToLogicalX(int v) override;
    int deviceToLogicalY(int v) override;
    SPoint logicalToDevice(SPoint p) override;
    SRect logicalToDevice(const SRect& r) override;
    int logicalToDeviceX(int v) override;
    int logicalToDeviceY(int v) override;
    void beginPaint(HDC outsideContext = nullptr) override;
    void endPaint() override;
    void fillRectangle(const SRect& rect, COLORREF color) override;
    void setBold(bool bold) override;
    void setFillColor(COLORREF color) override;
    void setFont(const char* face, int size, int underline, int italic, int weight) override;
    void setColors(COLORREF textColor, COLORREF textBackColor) override;
    void textOut(int x, int y, const char* text, int length = -1) override;
    void polygon(const SPointList& points, COLORREF penColor, COLORREF fillColor) override;
    SSize getTextSize(const char* text) override;

    void setMapMode(int mode, int graphicsMode = -4);
    void setZoom(float zx, float zy);
    void setZoom(float z) { setZoom(z, z); }
    float getZoomX() const { return zoomX; }
    float getZoomY() const { return zoomY; }
    void setOffset(int x, int y);
    int getOffsetX() const { return offsetX; }
    int getOffsetY() const { return offsetY; }
    void setBackgroundColor(COLORREF color);
    COLORREF getBackgroundColor() const { return backgroundColor; }
    int getFontHeight(bool withLeading = false);
    void setNoFlicker(bool on) { noFlicker = on ? 1 : 0; }
    bool isNoFlicker() const { return noFlicker != 0; }
    SRect getDrawnBounds() const;
    HDC getHdc() const { return hdc; }
    HFONT getFont() const { return font.get(); }
    int getMapMode() const { return mapMode; }
    int getGraphicsMode() const { return graphicsMode; }
    void setZoomAndOffsetOnDC(HDC context = nullptr);

    // Logical to device coordinates as one transform (scroll offset, zoom and mapping mode):
    // device = logical * scale + shift. What GDI+ drawing needs to land where GDI draws.
    struct Transform {
        float scaleX = 1, scaleY = 1, dx = 0, dy = 0;
    };
    Transform getTransform();

    // The window core keeps these in step with its window.
    void setHwnd(HWND handle) { hwnd = handle; }
    HWND getHwnd() const { return hwnd; }
    void setOwner(SWindow* window) { owner = window; }
    // Hands a context in for one handler call without BeginPaint/SaveDC (WM_ERASEBKGND,
    // WM_NCPAINT); nullptr ends it.
    void setContext(HDC context) { hdc = context; }
    // The same for a handler that may run in the middle of a paint (an erase or frame paint
    // forced from onPaint): enter returns the context to give back to leave, which also takes
    // the device's objects out of the handed-in context.
    HDC enterContext(HDC context);
    void leaveContext(HDC previous);
    bool isPainting() const { return hdc != nullptr; }

    // What a paint has created so far (pens, brushes, fonts, bitmaps): for tests and benchmarks.
    int getCreatedObjects() const { return createdObjects; }

    const LOGFONTA& getLogFont() const { return logFont; }
    const LOGPEN& getLogPen() const { return logPen; }
    COLORREF getPenColor() const { return logPen.lopnColor; }
    COLORREF getFillColor() const { return fillColor; }
    COLORREF getTextColor() const { return textColor; }
    COLORREF getTextBackColor() const { return textBackColor; }
    // A brush of the text background colour for WM_CTLCOLOR answers; none while transparent.
    HBRUSH getTextBackBrush();
    // A font selected by someone else (a control's own font) is left alone by applyFont.
    void setFontManagedElsewhere(bool on);
    // Gives the window the font of the current description (setFont does it); the window
    // may keep it for its whole life.
    void giveFontToWindow();

private:
    enum StateBits : DWORD { FontManagedElsewhere = 2, OutsideContext = 4 };

    bool guard(const char* operation) const;
    void applyCoordinateState(HDC context, bool withFont);
    void setPenColorArgument(COLORREF color);
    void setFillColorArgument(COLORREF color);
    void restoreColors(COLORREF penArgument, COLORREF fillArgument);
    void extendDrawnBounds(int left, int top, int right, int bottom, int penWidth);
    void beginBuffer();
    void endBuffer();
    void dropBuffer();
    void releaseObjects();
    static void deselectObjects(HDC context);
    const char* ownerName() const;
    // A context for conversions and metrics outside a paint; the window's, released after use.
    template <class Use>
    auto withContext(Use use);

    SRect paintRect;
    PAINTSTRUCT paintStruct{};
    DWORD stateFlags = 0;
    COLORREF textBackColor = Transparent;
    COLORREF textColor = 0;
    bool drawnEmpty = true;
    RECT drawnBounds{};
    SGdiObject<HPEN> pen;
    SGdiObject<HBRUSH> fillBrush;
    LOGPEN logPen{PS_SOLID, {1, 0}, 0};
    int savedDC = 0;
    LOGFONTA logFont{};
    COLORREF fillColor = Transparent;
    SGdiObject<HBRUSH> textBackBrush;
    COLORREF textBackBrushColor = Transparent;
    LOGFONTA fontMadeFrom{};
    SGdiObject<HBRUSH> backgroundBrush;
    HDC realHDC = nullptr;
    SMemoryDC bufferDC;
    SGdiObject<HBITMAP> bufferBitmap;
    HGDIOBJ oldBitmap = nullptr;
    SIZE bufferSize{0, 0};
    int bufferFresh = 0; // the saved state each buffered paint starts from
    RECT clientRect{};
    LOGPEN penMadeFrom{};
    // Pens and brushes made earlier in this paint: a paint that alternates between a few
    // colours reuses them instead of making an object per shape.
    struct CachedPen {
        LOGPEN from;
        SGdiObject<HPEN> pen;
    };
    struct CachedBrush {
        COLORREF from;
        SGdiObject<HBRUSH> brush;
    };
    static constexpr std::size_t cacheSize = 8;
    std::vector<CachedPen> penCache;
    std::vector<CachedBrush> brushCache;
    bool brushSelected = false;
    COLORREF brushMadeFrom = Transparent;
    COLORREF savedPenColor = Keep;
    COLORREF savedFillColor = Keep;
    bool paintOpen = false;

    SWindow* owner = nullptr;
    HWND hwnd = nullptr;
    HDC hdc = nullptr;
    int noFlicker = 0;
    int mapMode = 0;
    int graphicsMode = 1;
    float zoomX = 1.0f;
    float zoomY = 1.0f;
    int offsetX = 0;
    int offsetY = 0;
    COLORREF backgroundColor = 0xA08D8C;
    SGdiObject<HFONT> font;
    int createdObjects = 0;
    // The transform last worked out outside a paint, and the values it follows from.
    struct TransformKey {
        int mapMode, graphicsMode;
        float zoomX, zoomY;
        int offsetX, offsetY;
        bool operator==(const TransformKey&) const = default;
    };
    bool transformKnown = false;
    TransformKey transformFor{};
    Transform transformFound;
};
