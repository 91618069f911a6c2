// FakeHost: a window stand-in for the element model: an element list, a record of the
// areas invalidated and a colour dialog that answers with a set colour or a cancel.
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
    bool chooseElementColor(uint32_t& argb) override {
        ++dialogs;
        if (cancel) return false;
        argb = answer;
        return true;
    }
    SGPosWnd* openPositioning(SGraphicElement&) override { return reinterpret_cast<SGPosWnd*>(&positioningToken); }
    void closePositioning(SGraphicElement&, SGPosWnd*) override { ++closed; }

    SGraphicElementList list;
    std::vector<SRect> invalidated;
    bool exists = true;
    bool cancel = false;
    uint32_t answer = 0xFF112233;
    int dialogs = 0;
    int closed = 0;
    int positioningToken = 0;
};
