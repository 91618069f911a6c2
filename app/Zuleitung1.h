// Zuleitung1: the plant's first supply line, a shaped element (a rectangle until reshaped).
#pragma once

#include "VEK_GraphicsElement/SGraphicShape.h"

class Zuleitung1 : public SGraphicShape {
public:
    explicit Zuleitung1(SGraphicElementHost* parent) : SGraphicShape(parent, "Zuleitung1", Rectangle) {}
    const char* getClassName() const override { return "Zuleitung1"; }
};
