// Boden: the tank's bottom, a trapezoid with its narrow side up until turned.
#pragma once

#include "VEK_GraphicsElement/SGraphicShape.h"

class Boden : public SGraphicShape {
public:
    explicit Boden(SGraphicElementHost* parent) : SGraphicShape(parent, "Boden", Trapez) {}
    const char* getClassName() const override { return "Boden"; }
};
