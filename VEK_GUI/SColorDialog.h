// SColorDialog: the platform's colour picker; the custom colours live for the whole run and
// are shared by every colour dialog.
#pragma once

#include <windows.h>

class SColorDialog {
public:
    virtual ~SColorDialog() = default;
    virtual const char* getClassName() const { return "SColorDialog"; }
    // The chosen colour, or -2 when the user cancelled.
    COLORREF choose(HWND owner, COLORREF initial);
    static COLORREF* customColors();
};
