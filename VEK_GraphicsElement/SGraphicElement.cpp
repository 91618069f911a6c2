#include "VEK_GraphicsElement/SGraphicElement.h"

#include "VEK_GraphicsElement/SGraphicElementHost.h"
#include "VEK_GraphicsElement/SGraphicElementList.h"
#include "VEK_GraphicsElement/SGraphicRender.h"
#include "VEK_UTIL/SDebug.h"
#include "VEK_UTIL/SResources.h"

#include <cmath>

namespace {

// The next default rectangle's place.
int cascadeX = 10;
int cascadeY = 10;

// Records come from a file people edit by hand: a rectangle is kept within what a window
// can show, so a wild number neither hides the element far away nor asks for a bitmap of
// gigabytes.
constexpr int kMaxPlace = 8192;
constexpr int kMaxSize = 4096;

bool isDigits(const SString& text, int from, bool hex) {
    if (from >= text.length()) return false;
    for (int i = from; i < text.length(); ++i) {
        const char c = text.getAt(i);
        const bool digit = (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
        if (!digit) return false;
    }
    return true;
}

// A number as the string class reads it: a decimal integer with an optional sign and blanks
// around it, or a colour's bits written 0x... .
bool isNumber(SString text) {
    text.trimRight();
    if (text.startsWith("0x", true)) return isDigits(text, 2, true);
    text.trimLeft();
    return isDigits(text, text.getAt(0) == '-' || text.getAt(0) == '+' ? 1 : 0, false);
}

// The rectangle field: four numbers joined by ",".
bool readRectangle(const SString& field, int values[4]) {
    if (field.count(",") != 3) return false;
    int pos = 0;
    for (int i = 0; i < 4; ++i) {
        SString part = field.token(",", pos);
        if (!isNumber(part)) return false;
        values[i] = part.toNumber();
    }
    return true;
}

// Which records are applied: the rectangle and up to as many fields as the element writes,
// each a number; fields missing at the end keep their values. A word, a stray "|" or a field
// more is not the element's record; applying the part that happens to read would spoil the
// picture.
bool readRecord(const SString& record, int fieldCount, int rectangle[4]) {
    const int fields = record.count("|") + 1;
    if (fields > fieldCount) return false;
    int pos = 0;
    if (!readRectangle(record.token("|", pos), rectangle)) return false;
    for (int i = 1; i < fields; ++i)
        if (!isNumber(record.token("|", pos))) return false;
    return true;
}

// A rectangle with its sizes made positive (moving x and y as setRect does), then kept
// within reach.
SRect withinReach(SRect r) {
    long long x = r.x, y = r.y, w = r.width, h = r.height;
    if (w < 0) {
        x += w;
        w = -w;
    }
    if (h < 0) {
        y += h;
        h = -h;
    }
    auto clamp = [](long long v, long long low, long long high) { return (int)(v < low ? low : v > high ? high : v); };
    return SRect{clamp(x, -kMaxPlace, kMaxPlace), clamp(y, -kMaxPlace, kMaxPlace), clamp(w, 0, kMaxSize),
                 clamp(h, 0, kMaxSize)};
}

// float -> int without overflow for values no window has.
int toIntFloor(float v) {
    double d = std::floor((double)v);
    if (!(d > -1e9)) return -1000000000; // also not a number
    return d > 1e9 ? 1000000000 : (int)d;
}
int toIntCeil(float v) { return -toIntFloor(-v); }
int truncated(float v) { return v < 0 ? -toIntFloor(-v) : toIntFloor(v); }

// An area around the element that also holds its shadow (band and offset) and the edge
// pixels of anti-aliasing.
constexpr int kShadowReach = 12;

} // namespace

SGraphicElement::SGraphicElement(SGraphicElementHost* parentWindow, const char* elementName)
    : parent(parentWindow), name(elementName ? elementName : "") {
    SRect r = nextDefaultRect();
    rect = SRectFloat{(float)r.x, (float)r.y, (float)r.width, (float)r.height};
    if (parent) parent->getGraphicElements().add(this);
}

SGraphicElement::~SGraphicElement() {
    discardPositioning();
    if (!parent) return;
    SGraphicElementList& list = parent->getGraphicElements();
    int index = list.indexOf(this);
    if (index >= 0) list.removeAt(index);
}

SRect SGraphicElement::nextDefaultRect() {
    SRect r{cascadeX, cascadeY, 100, 40};
    cascadeX += 110;
    if (cascadeX > 600) {
        cascadeY += 50;
        cascadeX = 10;
    }
    return r;
}

void SGraphicElement::restartDefaultRects() {
    cascadeX = 10;
    cascadeY = 10;
}

// ---------------------------------------------------------------- model

uint32_t SGraphicElement::getColor() { return valueColor; }

void SGraphicElement::update(bool rebuild) {
    if (rebuild) {
        cachedLayer1.reset();
        cachedLayer2.reset();
    }
    if (!parent || !parent->hostExists()) return;
    parent->invalidateElementArea(paintedArea());
}

void SGraphicElement::setRect(float x, float y, float width, float height) {
    if (width < 0) {
        x += width;
        width = -width;
    }
    if (height < 0) {
        y += height;
        height = -height;
    }
    rect = SRectFloat{x, y, width, height};
    update(true);
}

SRect SGraphicElement::boundingRect() const {
    return SRect{toIntFloor(rect.x), toIntFloor(rect.y), toIntCeil(rect.width), toIntCeil(rect.height)};
}

bool SGraphicElement::contains(float x, float y) const {
    return x >= rect.x && y >= rect.y && x < rect.x + rect.width && y < rect.y + rect.height;
}

bool SGraphicElement::intersects(const SRect& area) const {
    return rect.x < (float)area.x + (float)area.width && (float)area.x < rect.x + rect.width &&
           rect.y < (float)area.y + (float)area.height && (float)area.y < rect.y + rect.height;
}

SRect SGraphicElement::paintedArea() const {
    SRect r = boundingRect();
    return SRect{r.x - kShadowReach, r.y - kShadowReach, r.width + 2 * kShadowReach, r.height + 2 * kShadowReach};
}

bool SGraphicElement::reachesInto(const SRect& area) const {
    const SRect r = paintedArea();
    return r.x < area.x + area.width && area.x < r.x + r.width && r.y < area.y + area.height &&
           area.y < r.y + r.height;
}

void SGraphicElement::setText(const SString& caption, int size) {
    text = caption;
    fontSize = size;
    update(false);
}

void SGraphicElement::setValueColor(uint32_t argb) {
    valueColor = argb;
    update(false);
}

void SGraphicElement::setTextColor(uint32_t argb) {
    textColor = argb;
    update(true);
}

void SGraphicElement::setLighting(int value) {
    lighting = value;
    update(true);
}

bool SGraphicElement::onMouseDown(int) { return false; }

// ---------------------------------------------------------------- menu

bool SGraphicElement::buildMenu() {
    menu.set("Farben/Werte", 118);
    menu.set("Farben/Text", 116);
    static const char* const lights[] = {"Beleuchtung/keine",        "Beleuchtung/oben",  "Beleuchtung/oben rechts",
                                         "Beleuchtung/rechts",       "Beleuchtung/unten rechts",
                                         "Beleuchtung/unten",        "Beleuchtung/unten links",
                                         "Beleuchtung/links",        "Beleuchtung/oben links",
                                         "Beleuchtung/mitte"};
    for (int i = 0; i < 10; ++i) menu.set(lights[i], i);
    menu.set("Ebene/Vordergrund", LayerFront);
    menu.set("Ebene/hoch", LayerUp);
    menu.set("Ebene/runter", LayerDown);
    menu.set("Ebene/Hintergrund", LayerBack);
    return true;
}

void SGraphicElement::onMenu(int index) {
    SString path;
    int value = 0;
    if (!menu.getAt(index, path, value)) return; // a menu closed without a choice
    if (path.startsWith("Beleuchtung")) {
        lighting = value;
        update(true);
    } else if (path == "Farben/Werte") {
        chooseColor(valueColor);
        update(false);
    } else if (path == "Farben/Text") {
        chooseColor(textColor);
        update(true);
    }
    if (path.startsWith("Ebene")) {
        setLayerCommand(value);
        update(true);
    }
}

bool SGraphicElement::chooseColor(uint32_t& argb) { return parent && parent->chooseElementColor(argb); }

void SGraphicElement::setLayerCommand(int command) {
    applyLayerCommand(command);
    if (parent) parent->getGraphicElements().sortByLayer();
}

void SGraphicElement::applyLayerCommand(int command) {
    switch (command) {
    case LayerFront: layer = 1000000; break;
    case LayerBack: layer = 5; break;
    case LayerUp: layer += 15; break;
    case LayerDown:
        if (layer > 15) layer -= 15;
        break;
    default: break;
    }
}

// ---------------------------------------------------------------- text form

SString SGraphicElement::toString() {
    SRect r = boundingRect();
    SString s;
    s.format("%d,%d,%d,%d|%d|%d|%d|%d", r.x, r.y, r.width, r.height, layer, lighting, (int)(int32_t)valueColor,
             (int)(int32_t)textColor);
    return s;
}

SString SGraphicElement::cutField(SString& rest) {
    int bar = rest.findChar('|');
    if (bar < 0) {
        SString field = rest;
        rest.clear();
        return field;
    }
    SString field = rest.left(bar);
    rest = rest.from(bar + 1);
    return field;
}

SString SGraphicElement::fromString(const SString& textForm) {
    SString line;
    line.setRaw("SGraphicElement::fromString(..) ").append(textForm);
    globalDebug.print(line);
    // A subclass reads its own fields only from the rest returned here, so a record this
    // element would not write leaves all of it as it was.
    int r[4] = {0, 0, 0, 0};
    if (textForm.isEmpty() || !readRecord(textForm, toString().count("|") + 1, r)) return SString();
    SString rest = textForm;
    cutField(rest);
    setRect(withinReach(SRect{r[0], r[1], r[2], r[3]}));
    if (!rest.isEmpty()) layer = cutField(rest).toNumber();
    if (!rest.isEmpty()) lighting = cutField(rest).toNumber();
    if (!rest.isEmpty()) valueColor = (uint32_t)cutField(rest).toNumber();
    if (!rest.isEmpty()) textColor = (uint32_t)cutField(rest).toNumber();
    update(true);
    return rest;
}

// ---------------------------------------------------------------- stored records

SString SGraphicElement::recordSection() const {
    SString s;
    if (parent) s.setRaw(parent->hostClassName());
    return s.append("_ge");
}

SString SGraphicElement::recordKey(bool storing) const {
    SString key;
    key.setRaw(storing ? getClassName() : name.getBuffer());
    key.appendFormat(",%d,%d,%d,%d", keyRect.x, keyRect.y, keyRect.width, keyRect.height);
    return key;
}

void SGraphicElement::loadControlpos() {
    globalDebug.printf("SGraphicElement::loadControlpos(..) (a) %d, %d", loaded, parent ? 1 : 0);
    globalDebug.printf("SGraphicElement::loadControlpos(..) (b) %d, %d", keyRect.x, keyRect.y);
    if (loaded || !parent) return;
    loaded = 1;
    keyRect = boundingRect();
    globalDebug.printf("SGraphicElement::loadControlpos(..) mainWnd.graphicElements %d, %d", keyRect.x, keyRect.y);
    SFileIni& positions = globalResources.controlPositions;
    SString value = positions.getString(recordSection(), recordKey(false), "");
    // Records are stored under the class name: an element named otherwise finds its own too.
    if (value.isEmpty() && name != getClassName()) value = positions.getString(recordSection(), recordKey(true), "");
    if (!value.isEmpty()) fromString(value);
}

void SGraphicElement::storeRecord() {
    if (!parent) return;
    globalResources.controlPositions.setString(recordSection(), recordKey(true), toString());
}

// ---------------------------------------------------------------- positioning

void SGraphicElement::startPositioning() {
    if (!parent || positioningWindow) return;
    positioningWindow = parent->openPositioning(*this);
}

void SGraphicElement::stopPositioning() {
    if (!parent) return;
    if (positioningWindow) {
        globalDebug.printf("SGraphicElement::stopPositioning(..) mainWnd.graphicElements %d, %d", keyRect.x,
                           keyRect.y);
        storeRecord();
        discardPositioning();
    }
    update(true);
}

void SGraphicElement::detachFromParent() {
    discardPositioning();
    parent = nullptr;
}

void SGraphicElement::discardPositioning() {
    if (!positioningWindow) return;
    SGPosWnd* window = positioningWindow;
    positioningWindow = nullptr;
    if (parent) parent->closePositioning(*this, window);
}

// ---------------------------------------------------------------- drawing

void SGraphicElement::paint(Gdiplus::Graphics& g) {
    const int x = truncated(rect.x), y = truncated(rect.y);
    const int w = truncated(rect.width), h = truncated(rect.height);
    if (!cachedLayer1) cachedLayer1 = SGraphicRender::makeLayer(g, w, h, [this](Gdiplus::Graphics& l) { paintLower(l); });
    SGraphicRender::drawLayer(g, cachedLayer1.get(), x, y);
    paintDirect(g);
    if (!cachedLayer2) cachedLayer2 = SGraphicRender::makeLayer(g, w, h, [this](Gdiplus::Graphics& l) { paintUpper(l); });
    SGraphicRender::drawLayer(g, cachedLayer2.get(), x, y);
}

void SGraphicElement::buildPath() {}
void SGraphicElement::drawDecoration(Gdiplus::Graphics&, int, Gdiplus::GraphicsPath*) {}
void SGraphicElement::paintLower(Gdiplus::Graphics&) {}
void SGraphicElement::paintUpper(Gdiplus::Graphics&) {}
void SGraphicElement::drawShadow(Gdiplus::Graphics&) {}

void SGraphicElement::drawLighting(Gdiplus::Graphics& g, int light, Gdiplus::GraphicsPath* path) {
    SGraphicRender::lighting(g, light, rect, path);
}

void SGraphicElement::paintDirect(Gdiplus::Graphics& g) {
    if (kind == Plain && rect.width != 0 && rect.height != 0) SGraphicRender::frame(g, rect);
}
