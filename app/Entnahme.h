// Entnahme: the tank's outlet, a shaped element (a rectangle until reshaped).
#pragma once

#include "VEK_GraphicsElement/SGraphicShape.h"

class Entnahme : public SGraphicShape {
public:
    explicit Entnahme(SGraphicElementHost* parent) : SGraphicShape(parent, "Entnahme", Rectangle) {}
    const char* getClassName() const override { return "Entnahme"; }
};
