#include "VEK_CONTROLS/SScrollBar.h"

SScrollBar::SScrollBar(bool vertical) {
    className = "SCROLLBAR";
    iccClasses = ICC_BAR_CLASSES;
    style = WS_CHILD | WS_CLIPSIBLINGS | (vertical ? SBS_VERT : 0);
    exStyle |= WS_EX_TOPMOST;
    positionable = 0; // the frame places its bars
    scaleWithFont = false;
}
