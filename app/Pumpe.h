// Pumpe: a pump of the plant, a disc coloured by the controller's report (steel blue at or
// below the low limit, red at or above the high limit) over a cached grey disc, lit, with
// its caption ("P1", "P2") in the middle. Pumpe1 and Pumpe2 differ only in their names.
#pragma once

#include "app/GaugeElement.h"

class Pumpe : public GaugeElement {
public:
    Pumpe(SGraphicElementHost* parent, const char* name);
    const char* getClassName() const override { return "Pumpe"; }

    void paintLower(Gdiplus::Graphics& g) override;
    void paintDirect(Gdiplus::Graphics& g) override;

private:
    bool drawable() const { return kind == Gauge && rect.width > 0 && rect.height > 0; }
};
