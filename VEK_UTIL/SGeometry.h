// Plain geometry records shared by windows, the drawing device and graphic elements.
#pragma once

struct SPoint {
    int x = 0;
    int y = 0;
    bool operator==(const SPoint&) const = default;
};

struct SSize {
    int width = 0;
    int height = 0;
    bool operator==(const SSize&) const = default;
};

// x, y, width, height. `yUp` marks a rectangle of a mapping mode whose y axis points up:
// its bottom then lies at y - |height|.
struct SRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool yUp = false;

    int left() const { return x; }
    int top() const { return y; }
    int right() const { return x + (width < 0 ? -width : width); }
    int bottom() const { return yUp ? y - (height < 0 ? -height : height) : y + (height < 0 ? -height : height); }
    bool isEmpty() const { return width == 0 || height == 0; }
    bool operator==(const SRect& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

struct SPointFloat {
    float x = 0;
    float y = 0;
    bool operator==(const SPointFloat&) const = default;
};

struct SSizeFloat {
    float width = 0;
    float height = 0;
    bool operator==(const SSizeFloat&) const = default;
};

struct SRectFloat {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
    bool operator==(const SRectFloat&) const = default;
};
