// SEditMultiline: a multi-line edit field with a vertical scroll bar that keeps Enter for
// itself and can be appended to with a maximum length (a log view).
#pragma once

#include "VEK_CONTROLS/SEdit.h"

class SEditMultiline : public SEdit {
public:
    SEditMultiline();
    const char* getClassName() const override { return "SEditMultiline"; }

    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override;
    void onAfterCreate() override;

    // Appends text at the end and scrolls to it; with maxLength > 0 the oldest characters go
    // first, so the field never holds more than maxLength characters.
    void append(const char* text, int maxLength = 0);
};
