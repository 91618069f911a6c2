// Behaelter: the tank, its body, level gauge, bottom and lid built in this order (which
// fixes their default rectangles and so the keys of their stored records).
#pragma once

#include "app/Boden.h"
#include "app/Deckel.h"
#include "app/Fuellstand.h"
#include "app/Koerper.h"

class Behaelter {
public:
    explicit Behaelter(SGraphicElementHost* parent) : koerper(parent), fuellstand(parent), boden(parent), deckel(parent) {}
    virtual ~Behaelter() = default;
    Behaelter(const Behaelter&) = delete;
    Behaelter& operator=(const Behaelter&) = delete;
    virtual const char* getClassName() const { return "Behaelter"; }

    Koerper koerper;
    Fuellstand fuellstand;
    Boden boden;
    Deckel deckel;
};
