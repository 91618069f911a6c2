// Koerper: the tank's body, a shaped element (a rectangle until reshaped).
#pragma once

#include "VEK_GraphicsElement/SGraphicShape.h"

class Koerper : public SGraphicShape {
public:
    explicit Koerper(SGraphicElementHost* parent) : SGraphicShape(parent, "Koerper", Rectangle) {}
    const char* getClassName() const override { return "Koerper"; }
};
