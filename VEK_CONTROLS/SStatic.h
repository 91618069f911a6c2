// SStatic: a static text ("STATIC") on a transparent background, styled by "SStatic-normal".
#pragma once

#include "VEK_CONTROLS/SControlPredefined.h"

class SStatic : public SControlPredefined {
public:
    SStatic();
    const char* getClassName() const override { return "SStatic"; }

    void onBeforeCreate() override;
    void setWindowText(const char* text) override;
};
