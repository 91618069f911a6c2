// FakeHost: a window stand-in for the element model: an element list, a record of the
// areas invalidated, and positioning windows that are only counted.
#pragma once

#include "VEK_GraphicsElement/SGraphicElementHost.h"
#include "VEK_GraphicsElement/SGraphicElementList.h"

#include <vector>

class FakeHost : public SGraphicElementHost {
public:
    SGraphicElementList& getGraphicElements() override { return list; }
    bool hostExists() const override { return exists; }
    void invalidateElementArea(const SRect& area) override { invalidated.push_back(area); }
    const char* hostClassName() const override { return "FakeWnd"; }
    bool chooseElementColor(uint32_t&) override { return false; }
    SGPosWnd* openPositioning(SGraphicElement&) override { return reinterpret_cast<SGPosWnd*>(&positioningToken); }
    void closePositioning(SGraphicElement&, SGPosWnd*) override { ++closed; }

    SGraphicElementList list;
    std::vector<SRect> invalidated;
    bool exists = true;
    int closed = 0;
    int positioningToken = 0;
};
