// SLabel: a text that belongs to another control (its owner): it sits at an offset from the
// owner in the owner's parent, follows the owner's moves and sizes, hides and shows with it
// and closes with it.
#pragma once

#include "VEK_CONTROLS/SStatic.h"

class SLabel : public SStatic {
public:
    SLabel() = default;
    const char* getClassName() const override { return "SLabel"; }

    // Width or height -1: the owner's. Refused (with a message) while the owner does not exist.
    bool attach(SWindow* owner, const char* text, int offsetX, int offsetY, int width = -1, int height = -1);
    void onWatchedMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, LPARAM userValue) override;
    // Moves the label to its place beside the owner.
    void place();

    SWindow* getOwner() const { return owner; }

protected:
    SWindow* owner = nullptr;
    SString text;
    int offsetX = 0;
    int offsetY = 0;
    int width = -1;
    int height = -1;
};
