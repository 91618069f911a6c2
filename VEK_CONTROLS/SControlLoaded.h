// SControlLoaded: a control over a common-controls class (rebar, status bar, scroll bar …);
// the subclass names the classes to load in iccClasses.
#pragma once

#include "VEK_CONTROLS/SControlPredefined.h"

class SControlLoaded : public SControlPredefined {
public:
    SControlLoaded() = default;
    const char* getClassName() const override { return "SControlLoaded"; }

    void onPreCreateWindow() override;

    DWORD getIccClasses() const { return iccClasses; }

protected:
    DWORD iccClasses = 0;
};
