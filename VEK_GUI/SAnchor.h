// SAnchor: keeps a control at its place relative to the edges of its parent when the parent
// is resized. Controls near an edge (within 20 % of the parent) follow that edge.
#pragma once

#include "VEK_UTIL/SGeometry.h"

#include <cstdint>

class SAnchor {
public:
    enum : uint32_t {
        Automatic = 0x1,
        Recorded = 0x2,
        NearTop = 0x1000,
        NearLeft = 0x2000,
        NearRight = 0x4000,
        NearBottom = 0x8000,
        EdgeBits = 0xF000,
    };

    virtual ~SAnchor() = default;
    virtual const char* getClassName() const { return "SAnchor"; }

    void setMode(uint32_t value) { mode = value; }
    uint32_t getMode() const { return mode; }
    void setFactors(float x, float y, float width, float height);

    // Sets the edge bits from where the control lies in the parent (automatic mode only).
    void classify(const SRect& parentClientRect, const SRect& controlRect);
    void record(const SRect& controlRect, SSize parentClientSize);
    // The control's new rectangle for a new parent size; false when it does not change.
    bool compute(SRect& out, const SRect& controlRect, SSize parentClientSize);
    // After the layouter: classify and record afresh.
    void rerecord(const SRect& controlRect, SSize parentClientSize);

private:
    uint32_t mode = 0;
    float factorX = 1.0f;
    float factorY = 1.0f;
    float factorWidth = 1.0f;
    float factorHeight = 1.0f;
    SRect referenceRect;
    SSize referenceParentSize;
};
