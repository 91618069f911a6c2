// SControlPos: a control's rectangle as controlpos.ini stores it ("x,y,width,height"), read
// back and fitted into the parent's client area. Pure logic without the platform (header
// only), so the native build fuzzes it too.
#pragma once

#include "VEK_UTIL/SGeometry.h"
#include "VEK_UTIL/SString.h"

class SControlPos {
public:
    // The rectangle of a stored value. Missing or empty items, and a width or height below
    // 1, keep those of current: a broken file never makes a control vanish.
    static SRect parse(const char* value, const SRect& current) {
        SString all;
        all.setRaw(value ? value : "");
        all.append(",,,");
        int items[4] = {current.x, current.y, current.width, current.height};
        int pos = 0;
        for (int i = 0; i < 4; ++i) {
            SString item = all.token(",", pos).trim();
            if (item.isEmpty()) continue;
            int v = item.toNumber();
            if (i >= 2 && v < 1) continue;
            items[i] = v;
        }
        return SRect{items[0], items[1], items[2], items[3]};
    }

    // r cut to the parent's size, then moved left (up) until it ends at the parent's edge and
    // right (down) to the origin. A parent side of size 0 gives no measure and is skipped.
    static SRect fit(const SRect& r, SSize parent) {
        SRect out = r;
        fitAxis(out.x, out.width, parent.width);
        fitAxis(out.y, out.height, parent.height);
        return out;
    }

    static SString text(const SRect& r) { return SString::formatted("%d,%d,%d,%d", r.x, r.y, r.width, r.height); }

private:
    static void fitAxis(int& start, int& length, int limit) {
        if (limit <= 0) return;
        if (length > limit) length = limit;
        if ((long long)start + length > limit) start = limit - length; // wide: stored numbers may be huge
        if (start < 0) start = 0;
    }
};
