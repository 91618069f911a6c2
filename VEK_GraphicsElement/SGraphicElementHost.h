// SGraphicElementHost: what a graphic element needs from the window it lives on: the element
// list it registers in, repainting of an area, the window's class name for the stored
// records, the colour dialog and the positioning windows. The graphics frame window is the
// host on Windows; tests of the portable model supply their own.
#pragma once

#include "VEK_UTIL/SGeometry.h"

#include <cstdint>

class SGraphicElement;
class SGraphicElementList;
class SGPosWnd;

class SGraphicElementHost {
public:
    virtual ~SGraphicElementHost() = default;

    virtual SGraphicElementList& getGraphicElements() = 0;
    // True while the platform window exists; only then is anything invalidated.
    virtual bool hostExists() const = 0;
    // Repaints an area given in the coordinates the elements are drawn in.
    virtual void invalidateElementArea(const SRect& area) = 0;
    // The window's class name; its elements' records live in the section name + "_ge".
    virtual const char* hostClassName() const = 0;
    // The colour dialog preset with an ARGB colour; false when cancelled, otherwise the
    // chosen colour as ARGB with alpha 255.
    virtual bool chooseElementColor(uint32_t& argb) = 0;
    // Creates the positioning window of an element over it (nullptr when that fails) and
    // closes one again.
    virtual SGPosWnd* openPositioning(SGraphicElement& element) = 0;
    virtual void closePositioning(SGraphicElement& element, SGPosWnd* window) = 0;
};
