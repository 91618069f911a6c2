// Pumpe1: the plant's pump 1, fed by supply line 1.
#pragma once

#include "app/Pumpe.h"

class Pumpe1 : public Pumpe {
public:
    explicit Pumpe1(SGraphicElementHost* parent) : Pumpe(parent, "Pumpe1") {}
    const char* getClassName() const override { return "Pumpe1"; }
};
