#include "VEK_GUI/SAnchor.h"

#include <cmath>

void SAnchor::setFactors(float x, float y, float width, float height) {
    factorX = x;
    factorY = y;
    factorWidth = width;
    factorHeight = height;
}

void SAnchor::classify(const SRect& parent, const SRect& control) {
    if (!(mode & Automatic)) return;
    mode &= ~EdgeBits;
    int tx = (int)std::lround(parent.width * 0.2);
    int ty = (int)std::lround(parent.height * 0.2);
    if (control.x < tx) mode |= NearLeft;
    if (control.y < ty) mode |= NearTop;
    if (control.x + control.width > parent.width - tx) mode |= NearRight;
    if (control.y + control.height > parent.height - ty) mode |= NearBottom;
}

void SAnchor::record(const SRect& control, SSize parentSize) {
    if (mode & Recorded) return;
    referenceRect = control;
    referenceParentSize = parentSize;
    mode |= Recorded;
}

void SAnchor::rerecord(const SRect& control, SSize parentSize) {
    mode &= ~Recorded;
    classify(SRect{0, 0, parentSize.width, parentSize.height}, control);
    record(control, parentSize);
}

bool SAnchor::compute(SRect& out, const SRect& control, SSize parentSize) {
    if (!(mode & Recorded)) {
        record(control, parentSize);
        return false;
    }
    if (!(mode & EdgeBits)) return false;
    out = control;
    int w = parentSize.width - referenceParentSize.width;
    int h = parentSize.height - referenceParentSize.height;
    if (mode & NearRight) {
        if (mode & NearLeft)
            out.width = referenceRect.width + (int)(factorWidth * w);
        else
            out.x = referenceRect.x + (int)(factorX * w);
    }
    if (mode & NearBottom) {
        if (mode & NearTop)
            out.height = referenceRect.height + (int)(factorHeight * h);
        else
            out.y = referenceRect.y + (int)(factorY * h);
    }
    return !(out == control); // a control that keeps its place is neither moved nor repainted
}
