// SGraphicElement: a vector-drawn element on a graphics frame window (not a platform window
// of its own): a float rectangle, value and text colour, lighting, layer, caption, a context
// menu, a one-line text form stored in controlpos.ini, and two cached layer bitmaps.
//
// How a subclass paints. The window calls, for every element whose shadow reaches the repaint
// area, first buildPath() and drawShadow(g) (all of them, so every shadow lies under every
// element), then, for every element over the area, paint(g), which draws three layers:
//   1. paintLower(g)  - cached: drawn once into a bitmap of the element's size. Bitmap
//                       coordinates: (0, 0) is the element's top-left corner.
//   2. paintDirect(g) - every paint, window coordinates (getRect() as it is).
//   3. paintUpper(g)  - cached like paintLower, bitmap coordinates.
// drawShadow, drawLighting and drawDecoration draw in window coordinates as well.
// update(true) drops both cached layers (use it when what they show changes, e.g. a gauge's
// value or scale); update(false) only repaints, so the value colour, drawn in paintDirect,
// changes without a rebuild. getColor() is the colour paintDirect fills with; gauges return
// a limit-dependent one. drawLighting(g, getLighting(), path) lays the lighting over a path
// (window coordinates), or over the element's rectangle with no path. A subclass that adds
// fields to the text form lets the base read its five fields first and continues on the
// rest that fromString returns; toString appends its fields with "|" before each.
// SGraphicRender has the drawing helpers (fills, paths, lighting, captions); a layer that
// stays transparent is kept as empty and costs nothing on later paints.
#pragma once

#include "VEK_ARRAYS/SMapStringToNum.h"
#include "VEK_GraphicsElement/SGraphicResource.h"
#include "VEK_UTIL/SGeometry.h"
#include "VEK_UTIL/SString.h"

#include <cstdint>
#include <memory>

namespace Gdiplus {
class Graphics;
class GraphicsPath;
} // namespace Gdiplus

class SGraphicElementHost;
class SGPosWnd;

class SGraphicElement {
public:
    enum Kind { Plain = 0, Shaped = 1, Gauge = 2 };
    // Where the light comes from; 0 no lighting and no shadow, 9 a radial highlight.
    enum Lighting { NoLight = 0, LightTop, LightTopRight, LightRight, LightBottomRight, LightBottom,
                    LightBottomLeft, LightLeft, LightTopLeft, LightCentre };
    enum LayerCommand { LayerFront = 1, LayerBack = 2, LayerUp = 3, LayerDown = 4 };

    static constexpr uint32_t DefaultValueColor = 0xFF008000; // opaque green
    static constexpr uint32_t DefaultTextColor = 0xFF000000;  // opaque black
    static constexpr int DefaultLighting = LightTopRight;
    static constexpr int DefaultFontSize = 10;
    static constexpr int MenuCommandBase = 7000; // command id of menu entry 0

    // Registers the element in the host's element list; the rectangle comes from the
    // process-wide cascade of default rectangles.
    explicit SGraphicElement(SGraphicElementHost* parent = nullptr, const char* name = "");
    virtual ~SGraphicElement();
    SGraphicElement(const SGraphicElement&) = delete;
    SGraphicElement& operator=(const SGraphicElement&) = delete;

    virtual uint32_t getColor();
    virtual void update(bool rebuild);
    virtual bool buildMenu();
    virtual void onMenu(int index);
    virtual SString toString();
    // Reads the text form: the rectangle and any of the fields after it that the element
    // writes, each a number (the missing ones keep their values), or nothing at all when it
    // is not such a record. Returns what is left for a subclass's own fields.
    virtual SString fromString(const SString& text);
    // A click on the element; true when handled.
    virtual bool onMouseDown(int keys);
    virtual const char* getClassName() const { return "SGraphicElement"; }

    virtual void buildPath();
    virtual void drawDecoration(Gdiplus::Graphics& g, int value, Gdiplus::GraphicsPath* path);
    virtual void drawLighting(Gdiplus::Graphics& g, int lighting, Gdiplus::GraphicsPath* path);
    virtual void paintLower(Gdiplus::Graphics& g);
    virtual void paintUpper(Gdiplus::Graphics& g);
    virtual void paintDirect(Gdiplus::Graphics& g);
    virtual void drawShadow(Gdiplus::Graphics& g);

    void paint(Gdiplus::Graphics& g);

    // A negative width or height is made positive by moving x or y by it; rebuilds.
    void setRect(float x, float y, float width, float height);
    void setRect(const SRect& r) { setRect((float)r.x, (float)r.y, (float)r.width, (float)r.height); }
    const SRectFloat& getRect() const { return rect; }
    // x and y rounded down, width and height rounded up.
    SRect boundingRect() const;
    bool contains(float x, float y) const;
    bool intersects(const SRect& area) const;
    // The bounding rectangle grown by what the shadow and anti-aliasing may cover around it.
    SRect paintedArea() const;
    // Whether the element or its shadow may cover part of area.
    bool reachesInto(const SRect& area) const;

    void setText(const SString& caption, int size);
    const SString& getText() const { return text; }
    int getFontSize() const { return fontSize; }
    void setLayerCommand(int command);

    // Reads the element's stored record once (before its window is created).
    void loadControlpos();
    void startPositioning();
    void stopPositioning();
    // The stored record's key: name (loading) or class name (storing), then the key rect.
    SString recordKey(bool storing) const;
    // Section of the records: the window's class name followed by "_ge".
    SString recordSection() const;
    // Writes the element's record (key from the key rect, value its text form).
    void storeRecord();

    SGraphicElementHost* getParent() const { return parent; }
    // The window goes before the element: closes its positioning window and forgets it.
    void detachFromParent();
    const SString& getName() const { return name; }
    void setName(const char* elementName) { name = elementName; }
    uint32_t getValueColor() const { return valueColor; }
    void setValueColor(uint32_t argb);
    uint32_t getTextColor() const { return textColor; }
    void setTextColor(uint32_t argb);
    int getLighting() const { return lighting; }
    void setLighting(int value);
    int getLayer() const { return layer; }
    void setLayer(int value) { layer = value; }
    int getKind() const { return kind; }
    SMapStringToNum& getMenu() { return menu; }
    bool isLoaded() const { return loaded != 0; }
    const SRect& getKeyRect() const { return keyRect; }
    SGPosWnd* getPositioningWindow() const { return positioningWindow; }
    bool hasCachedLayers() const { return cachedLayer1 || cachedLayer2; }

    // The default-rectangle cascade: x from 10 in steps of 110, a new row 50 lower once x
    // passes 600. Restarting it lets a program (or a test) build its elements again with the
    // same default rectangles, and so with the same stored keys.
    static SRect nextDefaultRect();
    static void restartDefaultRects();

protected:
    // The colour dialog for one of the element's colours; true when one was chosen.
    bool chooseColor(uint32_t& argb);
    // Reads the next "|"-separated field of rest (the whole rest without a "|").
    static SString cutField(SString& rest);
    void setKind(int value) { kind = value; }

    SGraphicElementHost* parent = nullptr;
    SString name;
    uint32_t valueColor = DefaultValueColor;
    int lighting = DefaultLighting;
    uint32_t textColor = DefaultTextColor;
    SMapStringToNum menu{false};
    int layer = -1;
    SString text;
    int kind = Plain;
    std::unique_ptr<SGraphicResource> cachedLayer1;
    std::unique_ptr<SGraphicResource> cachedLayer2;
    SGPosWnd* positioningWindow = nullptr;
    SRectFloat rect;
    int loaded = 0;
    SRect keyRect;
    int fontSize = DefaultFontSize;

private:
    void applyLayerCommand(int command);
    void discardPositioning();
};
