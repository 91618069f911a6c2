// Steuerung: the serial port control of the main window, through which the plant controller
// streams its telemetry. Its received bytes go to the main window's decoder.
#pragma once

#include "VEK_CONTROLS/SComPortControl.h"

class Steuerung : public SComPortControl {
public:
    const char* getClassName() const override { return "Steuerung"; }
};
