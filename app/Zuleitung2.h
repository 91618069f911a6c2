// Zuleitung2: the plant's second supply line, a shaped element (a rectangle until reshaped).
#pragma once

#include "VEK_GraphicsElement/SGraphicShape.h"

class Zuleitung2 : public SGraphicShape {
public:
    explicit Zuleitung2(SGraphicElementHost* parent) : SGraphicShape(parent, "Zuleitung2", Rectangle) {}
    const char* getClassName() const override { return "Zuleitung2"; }
};
