// SScrollBar: a scroll bar control; the frame keeps one along its bottom and one along its
// right edge inside its bars, and its scroll helper drives them.
#pragma once

#include "VEK_CONTROLS/SControlLoaded.h"

class SScrollBar : public SControlLoaded {
public:
    explicit SScrollBar(bool vertical = false);
    const char* getClassName() const override { return "SScrollBar"; }

    bool isVertical() const { return (style & SBS_VERT) != 0; }
};
