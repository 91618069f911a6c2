#include "VEK_GUI/SDevice.h"

#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SWindow.h"
#include "VEK_UTIL/SDebug.h"
#include "VEK_UTIL/SError.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool isYUpMode(int mode) { return mode >= MM_LOMETRIC && mode <= MM_TWIPS; }

RECT toRECT(const SRect& r) { return RECT{r.left(), r.top(), r.right(), r.bottom()}; }

bool samePen(const LOGPEN& a, const LOGPEN& b) {
    return a.lopnStyle == b.lopnStyle && a.lopnWidth.x == b.lopnWidth.x && a.lopnColor == b.lopnColor;
}

// Logical over physical dots per inch, measured once per run. A context that reports no
// physical size (some printers and metafile references) counts as 1.
struct ResolutionFactors {
    bool known = false;
    double x = 1.0;
    double y = 1.0;
};
ResolutionFactors resolution;

double factorFor(HDC context, int logPixels, int res, int size) {
    double pixels = GetDeviceCaps(context, logPixels);
    double dots = GetDeviceCaps(context, res);
    double millimetres = GetDeviceCaps(context, size);
    if (pixels <= 0 || dots <= 0 || millimetres <= 0) return 1.0;
    return pixels / (dots / (millimetres / 25.4));
}

SRect rectFromCorners(POINT a, POINT b) {
    SRect r{a.x, a.y, b.x - a.x, b.y - a.y};
    r.yUp = b.y < a.y;
    return r;
}

} // namespace

// ---------------------------------------------------------------- life

SDevice::SDevice(SWindow* ownerWindow) : SPainter('s'), owner(ownerWindow) {
    logFont.lfHeight = -13;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = 0;
    // A face that also exists as a bitmap font would otherwise come out ragged at most sizes.
    logFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = 4;
}

SDevice::~SDevice() {
    if (paintOpen) endPaint();
    dropBuffer();
}

const char* SDevice::ownerName() const { return owner ? owner->getClassName() : ""; }

bool SDevice::guard(const char* operation) const {
    if (hdc) return true;
    SString text("Es wurde ein SDevice::");
    text.append(operation).append("(..) au\337erhalb von onPaint(..) bzw. ohne vorheriges "
                                  "SDevice::beginPaint(..) verwendet.");
    globalError.add(text, 0);
    return false;
}

// ---------------------------------------------------------------- paint

void SDevice::beginPaint(HDC outsideContext) {
    if (hdc) {
        SString text("Es wurde ein ");
        text.append(getClassName())
            .append("::beginPaint(..) ohne vorheriges SDevice::endPaint(..) verwendet.\r\n")
            .append("M\366gliche Ursachen sind: beginPaint(..) innerhalb von onPaint() \r\n")
            .append("oder beginnPaint(..) innerhalb von beginnPaint(..)\r\n")
            .append("oder ein vergessenes endPaint(..)\r\n");
        globalError.add(text, 0);
        SString trace("!!!!! Es wurde ein ");
        trace.append(ownerName()).append("->").append(getClassName())
            .append("::beginPaint(..) ohne vorheriges SDevice::endPaint(..) verwendet. (endPaint folgt automatisch)");
        globalDebug.print(trace);
        endPaint();
    }
    drawnEmpty = true;
    drawnBounds = RECT{};
    createdObjects = 0;
    paintOpen = true;
    if (!outsideContext) {
        stateFlags &= ~OutsideContext;
        hdc = BeginPaint(hwnd, &paintStruct);
        if (paintStruct.fErase && backgroundColor != Transparent && !noFlicker) {
            HBRUSH brush = backgroundBrush ? backgroundBrush.get() : globalApplication.getDefaultBrush();
            if (brush) FillRect(hdc, &paintStruct.rcPaint, brush);
        }
    } else {
        hdc = outsideContext;
        savedDC = SaveDC(hdc);
        stateFlags |= OutsideContext;
    }
    bool buffered = noFlicker && hwnd && !outsideContext;
    if (buffered) beginBuffer();
    applyCoordinateState(hdc, true);
    if (realHDC) applyCoordinateState(realHDC, false);
    if (!outsideContext) {
        // Converted always: a window origin or world transform moves it even in MM_TEXT.
        const RECT& r = paintStruct.rcPaint;
        paintRect = deviceToLogical(SRect{r.left, r.top, r.right - r.left, r.bottom - r.top});
    }
    if (realHDC && backgroundColor != Transparent) fillRectangle(paintRect, backgroundColor);
}

// Draws the paint into a bitmap of client size; endPaint copies the painted part over. The
// bitmap and its context are kept for the following paints of the same size.
void SDevice::beginBuffer() {
    GetClientRect(hwnd, &clientRect);
    if (!bufferBitmap || bufferSize.cx != clientRect.right || bufferSize.cy != clientRect.bottom) {
        dropBuffer();
        SMemoryDC memory(hdc);
        SGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(hdc, clientRect.right, clientRect.bottom));
        if (!memory || !bitmap) return; // drawn directly; endPaint reports the missing bitmap
        createdObjects += 2;
        bufferDC = std::move(memory);
        bufferBitmap = std::move(bitmap);
        oldBitmap = SelectObject(bufferDC.get(), bufferBitmap.get());
        bufferSize = SIZE{clientRect.right, clientRect.bottom};
    }
    // Each paint starts from the state of a new context; endBuffer returns to it.
    bufferFresh = SaveDC(bufferDC.get());
    realHDC = hdc;
    hdc = bufferDC.get();
}

void SDevice::endBuffer() {
    if (!bufferBitmap) {
        globalDebug.print(SString("FEHLER: Es wurde ein ")
                              .append(ownerName()).append("->").append(getClassName())
                              .append("::endPaint(..) noFlicker=true aber kein noFlickerHBitmap"));
    } else if (!realHDC) {
        globalDebug.print(SString("FEHLER: Es wurde ein ")
                              .append(ownerName()).append("->").append(getClassName())
                              .append("::endPaint(..) noFlicker=true aber kein noFlicker_realHDC"));
    } else {
        StretchBlt(realHDC, paintRect.x, paintRect.y, paintRect.width, paintRect.height, hdc, paintRect.x,
                   paintRect.y, paintRect.width, paintRect.height, SRCCOPY);
    }
    // Our pen, brush and font leave the kept context with the rest of this paint's state.
    if (bufferDC && bufferFresh) RestoreDC(bufferDC.get(), bufferFresh);
    bufferFresh = 0;
    if (realHDC) hdc = realHDC;
    realHDC = nullptr;
}

void SDevice::dropBuffer() {
    if (bufferDC) SelectObject(bufferDC.get(), oldBitmap);
    bufferDC.reset();
    bufferBitmap.reset();
    oldBitmap = nullptr;
    bufferSize = SIZE{0, 0};
}

void SDevice::endPaint() {
    if (!hdc) return;
    bool outside = (stateFlags & OutsideContext) != 0;
    if (!outside && noFlicker) endBuffer();
    // Nothing of ours may stay selected when it is deleted below.
    deselectObjects(hdc);
    if (outside)
        RestoreDC(hdc, savedDC);
    else
        EndPaint(hwnd, &paintStruct);
    releaseObjects();
    hdc = nullptr;
    paintOpen = false;
    stateFlags &= ~OutsideContext;
}

HDC SDevice::enterContext(HDC context) {
    HDC previous = hdc;
    hdc = context;
    return previous;
}

void SDevice::leaveContext(HDC previous) {
    if (hdc && hdc != previous) deselectObjects(hdc);
    hdc = previous;
    if (!hdc) return;
    // The handler may have made new ones: the outer context holds the current objects.
    if (pen) SelectObject(hdc, pen.get());
    if (brushSelected) SelectObject(hdc, fillBrush ? (HGDIOBJ)fillBrush.get() : GetStockObject(NULL_BRUSH));
    if (font) SelectObject(hdc, font.get());
}

// Stock objects in place of ours, so that ours can be deleted.
void SDevice::deselectObjects(HDC context) {
    SelectObject(context, GetStockObject(BLACK_PEN));
    SelectObject(context, GetStockObject(WHITE_BRUSH));
    SelectObject(context, GetStockObject(SYSTEM_FONT));
}

void SDevice::releaseObjects() {
    fillBrush.reset();
    brushSelected = false;
    pen.reset();
    penCache.clear();
    brushCache.clear();
    if (!(stateFlags & FontManagedElsewhere)) font.reset();
}

void SDevice::applyCoordinateState(HDC context, bool withFont) {
    if (mapMode != 0) SetMapMode(context, mapMode);
    SetGraphicsMode(context, graphicsMode);
    setZoomAndOffsetOnDC(context);
    if (withFont && font) SelectObject(context, font.get());
}

// ---------------------------------------------------------------- coordinates

void SDevice::setZoomAndOffsetOnDC(HDC context) {
    if (!context) context = hdc;
    if (!context) return;
    if (!resolution.known) {
        resolution.x = factorFor(context, LOGPIXELSX, HORZRES, HORZSIZE);
        resolution.y = factorFor(context, LOGPIXELSY, VERTRES, VERTSIZE);
        resolution.known = true;
    }
    if (graphicsMode == GM_COMPATIBLE) {
        SetWindowOrgEx(context, offsetX, offsetY, nullptr);
        return;
    }
    XFORM form{1, 0, 0, 1, 0, 0};
    GetWorldTransform(context, &form);
    if (zoomX > 0) form.eM11 = (FLOAT)(resolution.x * zoomX);
    if (zoomY > 0) form.eM22 = (FLOAT)(resolution.y * zoomY);
    form.eDx = form.eM11 * (FLOAT)-offsetX;
    form.eDy = form.eM22 * (FLOAT)offsetY;
    if (!SetWorldTransform(context, &form)) {
        DWORD error = GetLastError();
        globalError.add("SetWorldTransform-Error in SDevice::setZoomAndOffsetOnDC()", error);
        globalDebug.printf("!!! SetWorldTransform-Error in SDevice::setZoomAndOffsetOnDC(): Error=%d, %f,%f",
                           (int)error, (double)form.eM11, (double)form.eM22);
    }
}

void SDevice::setMapMode(int mode, int newGraphicsMode) {
    mapMode = mode;
    if (newGraphicsMode == -4)
        newGraphicsMode = (mode == MM_TEXT || mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC) ? GM_COMPATIBLE
                                                                                          : GM_ADVANCED;
    graphicsMode = newGraphicsMode;
    // Inside a paint the change applies at once (handlers switch modes while drawing).
    if (hdc) applyCoordinateState(hdc, false);
}

void SDevice::setZoom(float zx, float zy) {
    zx = std::fabs(zx);
    zy = std::fabs(zy);
    zoomX = zx == 0 ? 1.0f : zx;
    zoomY = zy == 0 ? 1.0f : zy;
    setZoomAndOffsetOnDC();
}

void SDevice::setOffset(int x, int y) {
    bool changed = false;
    if (x != -2 && x != offsetX) {
        offsetX = x;
        changed = true;
    }
    if (y != -2 && y != offsetY) {
        offsetY = y;
        changed = true;
    }
    setZoomAndOffsetOnDC();
    if (changed && owner) owner->getScroll().update();
}

template <class Use>
auto SDevice::withContext(Use use) {
    if (hdc) return use(hdc);
    HDC context = GetDC(hwnd);
    int saved = SaveDC(context);
    applyCoordinateState(context, false);
    auto result = use(context);
    RestoreDC(context, saved);
    ReleaseDC(hwnd, context);
    return result;
}

SPoint SDevice::deviceToLogical(SPoint p) {
    return withContext([&](HDC context) {
        POINT pt{p.x, p.y};
        DPtoLP(context, &pt, 1);
        return SPoint{pt.x, pt.y};
    });
}

SRect SDevice::deviceToLogical(const SRect& r) {
    return withContext([&](HDC context) {
        POINT corners[2] = {{r.left(), r.top()}, {r.right(), r.bottom()}};
        DPtoLP(context, corners, 2);
        return rectFromCorners(corners[0], corners[1]);
    });
}

int SDevice::deviceToLogicalX(int v) { return deviceToLogical(SPoint{v, 0}).x; }
int SDevice::deviceToLogicalY(int v) { return deviceToLogical(SPoint{0, v}).y; }

SPoint SDevice::logicalToDevice(SPoint p) {
    return withContext([&](HDC context) {
        POINT pt{p.x, p.y};
        LPtoDP(context, &pt, 1);
        return SPoint{pt.x, pt.y};
    });
}

SRect SDevice::logicalToDevice(const SRect& r) {
    return withContext([&](HDC context) {
        POINT corners[2] = {{r.left(), r.top()}, {r.right(), r.bottom()}};
        LPtoDP(context, corners, 2);
        return rectFromCorners(corners[0], corners[1]);
    });
}

// Read back from the context, so that every mapping mode and zoom is covered exactly as
// GDI applies it; far points keep the scale's fraction.
SDevice::Transform SDevice::getTransform() {
    // Outside a paint it follows from the device's own values alone: asked again with the
    // same values, it needs no context of the window.
    const TransformKey key{mapMode, graphicsMode, zoomX, zoomY, offsetX, offsetY};
    if (!hdc && transformKnown && key == transformFor) return transformFound;
    const bool outside = !hdc;
    Transform found = withContext([&](HDC context) {
        POINT p[3] = {{0, 0}, {10000, 0}, {0, 10000}};
        LPtoDP(context, p, 3);
        Transform t;
        t.scaleX = (float)(p[1].x - p[0].x) / 10000.0f;
        t.scaleY = (float)(p[2].y - p[0].y) / 10000.0f;
        t.dx = (float)p[0].x;
        t.dy = (float)p[0].y;
        return t;
    });
    if (outside) {
        transformFor = key;
        transformFound = found;
        transformKnown = true;
    }
    return found;
}

int SDevice::logicalToDeviceX(int v) { return logicalToDevice(SPoint{v, 0}).x; }
int SDevice::logicalToDeviceY(int v) { return logicalToDevice(SPoint{0, v}).y; }

// ---------------------------------------------------------------- pens, brushes, colours

void SDevice::setPenColorArgument(COLORREF color) {
    if (color == Keep) return;
    if (color == Restore) {
        if (savedPenColor != Keep) logPen.lopnColor = savedPenColor;
        savedPenColor = Keep;
        return;
    }
    savedPenColor = logPen.lopnColor;
    logPen.lopnColor = color;
}

void SDevice::setFillColorArgument(COLORREF color) {
    if (color == Keep) return;
    if (color == Restore) {
        if (savedFillColor != Keep) fillColor = savedFillColor;
        savedFillColor = Keep;
        return;
    }
    savedFillColor = fillColor;
    fillColor = color;
}

// Only what the call changed is put back: a kept colour has nothing saved for it.
void SDevice::restoreColors(COLORREF penArgument, COLORREF fillArgument) {
    if (penArgument != Keep && penArgument != Restore) setPenColorArgument(Restore);
    if (fillArgument != Keep && fillArgument != Restore) setFillColorArgument(Restore);
}

void SDevice::setPen(COLORREF color, int width, int style) {
    setPenColorArgument(color);
    if (width != -2) logPen.lopnWidth.x = width;
    if (style != -2) logPen.lopnStyle = (UINT)style;
}

void SDevice::setFillColor(COLORREF color) {
    if (color == DeleteBrush) {
        if (hdc && brushSelected) SelectObject(hdc, GetStockObject(NULL_BRUSH));
        fillBrush.reset();
        brushSelected = false;
        return;
    }
    setFillColorArgument(color);
}

void SDevice::applyPen() {
    LOGPEN wanted = logPen;
    if (wanted.lopnColor == Transparent) {
        wanted.lopnStyle = PS_NULL;
        wanted.lopnColor = 0;
    }
    if (pen && samePen(wanted, penMadeFrom)) {
        if (hdc) SelectObject(hdc, pen.get());
        return;
    }
    SGdiObject<HPEN> made;
    for (auto it = penCache.begin(); it != penCache.end(); ++it) {
        if (samePen(it->from, wanted)) {
            made = std::move(it->pen);
            penCache.erase(it);
            break;
        }
    }
    if (!made) {
        made.reset(CreatePenIndirect(&wanted));
        if (!made) return;
        ++createdObjects;
    }
    if (hdc) SelectObject(hdc, made.get()); // before the old pen may be deleted
    if (pen) penCache.push_back(CachedPen{penMadeFrom, std::move(pen)});
    if (penCache.size() > cacheSize) penCache.erase(penCache.begin());
    pen = std::move(made);
    penMadeFrom = wanted;
}

void SDevice::applyBrush() {
    if (brushSelected && fillColor == brushMadeFrom) {
        if (hdc) SelectObject(hdc, fillBrush ? (HGDIOBJ)fillBrush.get() : GetStockObject(NULL_BRUSH));
        return;
    }
    SGdiObject<HBRUSH> made;
    if (fillColor != Transparent) {
        for (auto it = brushCache.begin(); it != brushCache.end(); ++it) {
            if (it->from == fillColor) {
                made = std::move(it->brush);
                brushCache.erase(it);
                break;
            }
        }
        if (!made) {
            made.reset(CreateSolidBrush(fillColor));
            if (!made) return;
            ++createdObjects;
        }
    }
    if (hdc) SelectObject(hdc, made ? (HGDIOBJ)made.get() : GetStockObject(NULL_BRUSH));
    if (fillBrush) brushCache.push_back(CachedBrush{brushMadeFrom, std::move(fillBrush)});
    if (brushCache.size() > cacheSize) brushCache.erase(brushCache.begin());
    fillBrush = std::move(made);
    brushMadeFrom = fillColor;
    brushSelected = true;
}

void SDevice::setColors(COLORREF newTextColor, COLORREF newTextBackColor) {
    if (newTextColor != Keep) textColor = newTextColor;
    if (newTextBackColor != Keep) textBackColor = newTextBackColor;
}

void SDevice::setBackgroundColor(COLORREF color) {
    backgroundBrush.reset(color == Transparent ? nullptr : CreateSolidBrush(color));
    backgroundColor = color;
    if (color != Transparent) textBackColor = color;
}

HBRUSH SDevice::getTextBackBrush() {
    if (textBackColor == Transparent) return nullptr;
    if (!textBackBrush || textBackBrushColor != textBackColor) {
        textBackBrush.reset(CreateSolidBrush(textBackColor));
        textBackBrushColor = textBackColor;
    }
    return textBackBrush.get();
}

// ---------------------------------------------------------------- fonts

void SDevice::setFontManagedElsewhere(bool on) {
    if (on)
        stateFlags |= FontManagedElsewhere;
    else
        stateFlags &= ~FontManagedElsewhere;
}

void SDevice::applyFont() {
    if (!(stateFlags & FontManagedElsewhere) && (!font || !SFontCache::same(logFont, fontMadeFrom))) {
        SGdiObject<HFONT> made(CreateFontIndirectA(&logFont));
        if (!made) {
            SString text("Font konnte nicht erzeugt werden: ");
            text.append(logFont.lfFaceName);
            globalError.add(text, GetLastError());
        } else {
            ++createdObjects;
            if (hdc) SelectObject(hdc, made.get());
            font = std::move(made);
            fontMadeFrom = logFont;
        }
    } else if (hdc && font) {
        SelectObject(hdc, font.get());
    }
    if (!hdc) return;
    SetBkColor(hdc, textBackColor);
    SetTextColor(hdc, textColor);
    SetBkMode(hdc, textBackColor == Transparent ? TRANSPARENT : OPAQUE);
}

void SDevice::setFont(const char* face, int size, int underline, int italic, int weight) {
    if (face && *face) {
        std::strncpy(logFont.lfFaceName, face, LF_FACESIZE - 1);
        logFont.lfFaceName[LF_FACESIZE - 1] = 0;
    }
    if (size != -2) {
        int height;
        switch (mapMode) {
        case MM_HIMETRIC: height = (int)(size * 100 * 25.4 / 72); break;
        case MM_LOMETRIC: height = (int)(size * 10 * 25.4 / 72); break;
        case MM_HIENGLISH: height = size * 1000 / 72; break;
        case MM_LOENGLISH: height = size * 100 / 72; break;
        case 0:
        case MM_TEXT: height = (int)(size * 96 / 72.0 + 0.5); break;
        default: height = size; break;
        }
        logFont.lfHeight = -height;
        logFont.lfWidth = 0;
    }
    if (underline != -2) logFont.lfUnderline = (BYTE)underline;
    if (italic != -2) logFont.lfItalic = (BYTE)italic;
    if (weight != -2) logFont.lfWeight = weight;
    logFont.lfCharSet = 0;
    applyFont();
    giveFontToWindow();
}

// Not the device's own font, which ends with the paint: a window keeps the font it was given.
// Sent only when it changes, because a control invalidates itself on WM_SETFONT and one that
// sets its font while it draws would otherwise be drawn for ever.
void SDevice::giveFontToWindow() {
    if (!hwnd || (stateFlags & FontManagedElsewhere)) return;
    HFONT shared = globalApplication.getFontCache().get(logFont);
    if (!shared || (HFONT)SendMessageA(hwnd, WM_GETFONT, 0, 0) == shared) return;
    SendMessageA(hwnd, WM_SETFONT, (WPARAM)shared, TRUE);
}

void SDevice::setBold(bool bold) { setFont("", -2, -2, -2, bold ? FW_BOLD : FW_NORMAL); }

int SDevice::getFontHeight(bool withLeading) {
    applyFont();
    return withContext([&](HDC context) {
        HGDIOBJ previous = font ? SelectObject(context, font.get()) : nullptr;
        TEXTMETRICA metrics{};
        GetTextMetricsA(context, &metrics);
        if (previous && context != hdc) SelectObject(context, previous);
        return (int)(metrics.tmHeight + (withLeading ? metrics.tmExternalLeading : 0));
    });
}

SSize SDevice::getTextSize(const char* text) {
    if (!guard("getTextSize")) return SSize{};
    applyFont();
    SIZE size{};
    if (text) GetTextExtentPoint32A(hdc, text, (int)std::strlen(text), &size);
    return SSize{size.cx, size.cy};
}

// ---------------------------------------------------------------- text

int SDevice::drawText(SRect& rect, const char* text, const char* flags) {
    if (!guard("drawText")) return 0;
    if (!text) text = "";
    if (isYUpMode(mapMode) && rect.height > 0 && !rect.yUp) {
        SString message("Es wurde SDevice::drawText(..) mit falschen Vorzeichen in SRect::height verwendet.\r\n"
                        "(Text: '");
        message.append(text, (int)std::min<size_t>(std::strlen(text), 15)).append("...')");
        globalError.add(message, 0);
        rect.height = -rect.height;
        rect.yUp = true;
    }
    UINT format = 0;
    bool prefix = false;
    for (const char* f = flags ? flags : ""; *f; ++f) {
        switch (*f) {
        case 't': format |= DT_TOP; break;
        case 'l': format |= DT_LEFT; break;
        case 'r': format |= DT_RIGHT; break;
        case 'b': format |= DT_BOTTOM; break;
        case 'v': format |= DT_VCENTER | DT_SINGLELINE; break;
        case 'h': format |= DT_CENTER; break;
        case 'w': format |= DT_WORDBREAK; break;
        case 'e': format |= DT_WORD_ELLIPSIS; break;
        case 'x': format |= DT_EXPANDTABS; break;
        case '&': prefix = true; break;
        default: break;
        }
    }
    if (!prefix) format |= DT_NOPREFIX;
    applyFont();
    RECT r = toRECT(rect);
    return std::abs(DrawTextA(hdc, text, (int)std::strlen(text), &r, format));
}

void SDevice::textOut(int x, int y, const char* text, int length) {
    if (!guard("textOut")) return;
    if (!text) return;
    // Never past the terminator, whatever length the caller claims.
    int available = (int)std::strlen(text);
    if (length < 0 || length > available) length = available;
    applyFont();
    TextOutA(hdc, x, y, text, length);
}

// ---------------------------------------------------------------- shapes

void SDevice::extendDrawnBounds(int left, int top, int right, int bottom, int penWidth) {
    int grow = (penWidth + 1) / 2;
    RECT r{std::min(left, right) - grow, std::min(top, bottom) - grow, std::max(left, right) + grow,
           std::max(top, bottom) + grow};
    if (drawnEmpty) {
        drawnBounds = r;
        drawnEmpty = false;
        return;
    }
    drawnBounds.left = std::min(drawnBounds.left, r.left);
    drawnBounds.top = std::min(drawnBounds.top, r.top);
    drawnBounds.right = std::max(drawnBounds.right, r.right);
    drawnBounds.bottom = std::max(drawnBounds.bottom, r.bottom);
}

SRect SDevice::getDrawnBounds() const {
    if (drawnEmpty) return SRect{};
    return SRect{drawnBounds.left, drawnBounds.top, drawnBounds.right - drawnBounds.left,
                 drawnBounds.bottom - drawnBounds.top};
}

void SDevice::rectangle(const SRect& rect, COLORREF penColor, COLORREF fillColorArgument) {
    if (!guard("rectangle")) return;
    extendDrawnBounds(rect.left(), rect.top(), rect.right(), rect.bottom(), logPen.lopnWidth.x);
    setPenColorArgument(penColor);
    setFillColorArgument(fillColorArgument);
    applyPen();
    applyBrush();
    Rectangle(hdc, rect.left(), rect.top(), rect.right(), rect.bottom());
    restoreColors(penColor, fillColorArgument);
}

void SDevice::ellipse(const SRect& rect, COLORREF penColor, COLORREF fillColorArgument) {
    if (!guard("ellipse")) return;
    extendDrawnBounds(rect.left(), rect.top(), rect.right(), rect.bottom(), logPen.lopnWidth.x);
    setPenColorArgument(penColor);
    setFillColorArgument(fillColorArgument);
    applyPen();
    applyBrush();
    Ellipse(hdc, rect.left(), rect.top(), rect.right(), rect.bottom());
    restoreColors(penColor, fillColorArgument);
}

void SDevice::roundRect(const SRect& rect, SSize cornerSize, COLORREF penColor, COLORREF fillColorArgument) {
    if (!guard("roundRect")) return;
    extendDrawnBounds(rect.left(), rect.top(), rect.right(), rect.bottom(), logPen.lopnWidth.x);
    setPenColorArgument(penColor);
    setFillColorArgument(fillColorArgument);
    applyPen();
    applyBrush();
    RoundRect(hdc, rect.left(), rect.top(), rect.right(), rect.bottom(), cornerSize.width, cornerSize.height);
    restoreColors(penColor, fillColorArgument);
}

void SDevice::fillRectangle(const SRect& rect, COLORREF color) {
    if (!guard("fillRectangle")) return;
    extendDrawnBounds(rect.left(), rect.top(), rect.right(), rect.bottom(), 0);
    // Through the fill brush, so repeated colours reuse one brush.
    setFillColorArgument(color);
    applyBrush();
    RECT r = toRECT(rect);
    if (fillBrush) FillRect(hdc, &r, fillBrush.get());
    restoreColors(Keep, color);
}

void SDevice::line(int x1, int y1, int x2, int y2, COLORREF penColor) {
    if (!guard("line")) return;
    extendDrawnBounds(x1, y1, x2, y2, logPen.lopnWidth.x);
    setPenColorArgument(penColor);
    applyPen();
    MoveToEx(hdc, x1, y1, nullptr);
    LineTo(hdc, x2, y2);
    restoreColors(penColor, Keep);
}

void SDevice::polygon(const SPointList& points, COLORREF penColor, COLORREF fillColorArgument) {
    if (!guard("polygon")) return;
    int count = points.count();
    if (count < 1) return;
    std::vector<POINT> corners((size_t)count);
    for (int i = 0; i < count; ++i) {
        const SPoint& p = *points.getAt(i);
        corners[(size_t)i] = POINT{p.x, p.y};
        extendDrawnBounds(p.x, p.y, p.x, p.y, logPen.lopnWidth.x);
    }
    setPenColorArgument(penColor);
    setFillColorArgument(fillColorArgument);
    applyPen();
    applyBrush();
    Polygon(hdc, corners.data(), count);
    restoreColors(penColor, fillColorArgument);
}

// Width and style are the call's own and are put back with the colour.
void SDevice::bezier(SPoint p0, SPoint p1, SPoint p2, SPoint p3, int penWidth, COLORREF penColor) {
    if (!hdc) return;
    POINT points[4] = {{p0.x, p0.y}, {p1.x, p1.y}, {p2.x, p2.y}, {p3.x, p3.y}};
    for (const POINT& p : points) extendDrawnBounds(p.x, p.y, p.x, p.y, penWidth);
    LOGPEN before = logPen;
    setPenColorArgument(penColor);
    logPen.lopnWidth.x = penWidth;
    applyPen();
    PolyBezier(hdc, points, 4);
    restoreColors(penColor, Keep);
    logPen.lopnWidth = before.lopnWidth;
}

// 0 degrees at 12 o'clock, growing clockwise. arcDirection AD_CLOCKWISE or
// AD_COUNTERCLOCKWISE as in GDI; 0 sweeps along growing angles.
void SDevice::pie(const SRect& rect, double startAngle, double endAngle, int arcDirection, int penWidth,
                  COLORREF penColor, COLORREF fillColorArgument) {
    if (!hdc) return;
    const double toRadians = 3.14159265358979323846 / 180.0;
    int left = rect.left(), top = rect.top(), right = rect.right(), bottom = rect.bottom();
    int width = right - left, height = bottom - top;
    int cx = left + width / 2, cy = top + height / 2;
    auto at = [&](double angle) {
        return POINT{cx + (int)(width * std::sin(angle * toRadians) / 2),
                     cy - (int)(height * std::sin((90.0 - angle) * toRadians) / 2)};
    };
    POINT start = at(startAngle), end = at(endAngle);
    LOGPEN before = logPen;
    logPen.lopnWidth.x = penWidth;
    logPen.lopnStyle = PS_SOLID;
    if (startAngle == endAngle) {
        line(cx, cy, start.x, start.y, penColor);
    } else {
        extendDrawnBounds(left, top, right, bottom, penWidth);
        int previous = SetArcDirection(hdc, arcDirection == AD_COUNTERCLOCKWISE ? AD_COUNTERCLOCKWISE : AD_CLOCKWISE);
        setPenColorArgument(penColor);
        setFillColorArgument(fillColorArgument);
        applyPen();
        applyBrush();
        Pie(hdc, left, top, right, bottom, start.x, start.y, end.x, end.y);
        restoreColors(penColor, fillColorArgument);
        if (previous) SetArcDirection(hdc, previous);
    }
    logPen.lopnWidth = before.lopnWidth;
    logPen.lopnStyle = before.lopnStyle;
}
