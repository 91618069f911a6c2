// Protokoll: the experiment window's protocol view. It collects every step of the sessions,
// every server text and every user error, and is never cleared while the program runs.
#pragma once

#include "VEK_CONTROLS/SEditMultiline.h"

class Protokoll : public SEditMultiline {
public:
    explicit Protokoll(SWindow& window);
    const char* getClassName() const override { return "Protokoll"; }

    int onReflectedNotify(int code, NMHDR* header) override;
    void onAfterCreate() override;
    virtual void onChange() {}

    // Inserts the text as given at the end (callers add CR LF) and shows it.
    void append(const char* text) { SEditMultiline::append(text, 0); }
    // The text and a line break go into the view first, then the box "Fehler".
    void showError(const char* text);
};
