// Deckel: the tank's lid, a half ellipse with its flat side down until turned.
#pragma once

#include "VEK_GraphicsElement/SGraphicShape.h"

class Deckel : public SGraphicShape {
public:
    explicit Deckel(SGraphicElementHost* parent) : SGraphicShape(parent, "Deckel", HalfCircle) {}
    const char* getClassName() const override { return "Deckel"; }
};
