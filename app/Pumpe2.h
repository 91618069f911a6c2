// Pumpe2: the plant's pump 2, fed by supply line 2.
#pragma once

#include "app/Pumpe.h"

class Pumpe2 : public Pumpe {
public:
    explicit Pumpe2(SGraphicElementHost* parent) : Pumpe(parent, "Pumpe2") {}
    const char* getClassName() const override { return "Pumpe2"; }
};
