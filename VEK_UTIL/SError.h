// SError: shows errors at once in a message box, or collects them for one summary that
// is shown when the main window goes away.
#pragma once

#include "VEK_UTIL/SString.h"

class SError {
public:
    virtual ~SError() = default;
    virtual const char* getClassName() const { return "SError"; }

    // Shows text (with the error number and the system's text for a non-zero code) in a
    // box owned by the active window; returns the box's answer.
    int show(const char* text, unsigned code = 0, const char* title = "Fehler !", unsigned flags = 16);
    // Collects an entry; an entry that is already in the log is not added again.
    void add(const char* text, unsigned code = 0);
    void showCollected();

    const SString& getLog() const { return log; }
    void clearLog() { log.clear(); }

private:
    SString log;
};

extern SError globalError;
