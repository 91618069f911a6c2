// ExperimentEffects: what the experiment session does to its surroundings. The experiment
// window binds them to its protocol view, workflow buttons, the main window's telemetry
// decoder, the debug trace and its network client; tests bind them to recorders.
#pragma once

#include "VEK_SYSTEM/SMem.h"
#include "VEK_UTIL/SString.h"

class ExperimentEffects {
public:
    enum Button { Verbinden, Upload, Start, Fertig };

    virtual ~ExperimentEffects() = default;
    // Appends to the protocol view as given (callers add CR LF).
    virtual void append(const SString& text) = 0;
    virtual void enableButton(Button button, bool enable) = 0;
    virtual void feedTelemetry(unsigned char byte) = 0;
    virtual void debugLine(const SString& text) = 0;
    virtual void closeStream() = 0;
    // The server's CSV protocol of a 'P' message: offered for saving (the window asks for
    // a file and reports where it went).
    virtual void saveProtocol(const SMem& csv) = 0;
};
