// SCoolbar: the rebar along the top of a frame that holds its toolbar (and other bars) as
// bands. Its height is the frame's top bar inset.
#pragma once

#include "VEK_CONTROLS/SControlLoaded.h"

class SCoolbar : public SControlLoaded {
public:
    SCoolbar();
    const char* getClassName() const override { return "SCoolbar"; }

    // Returns the result of RB_INSERTBANDA (non-zero when the band was added).
    int addBand(SWindow& child, const char* text = "");
    bool deleteBand(int index);
    int getBandCount() { return hwnd ? (int)sendMessage(RB_GETBANDCOUNT, 0, 0) : 0; }

protected:
    // The frame lays its bars out again for the rebar's new height.
    void relayoutParent();

    REBARBANDINFOA bandTemplate{};
};
