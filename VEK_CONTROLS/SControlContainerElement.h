// SControlContainerElement: one child of a control container and its rectangle, given
// relative to the container at the container's reference size.
#pragma once

#include "VEK_UTIL/SGeometry.h"

class SControlPositioned;

struct SControlContainerElement {
    SRect rect;
    SControlPositioned* control = nullptr;
};
