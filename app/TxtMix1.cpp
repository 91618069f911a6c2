#include "app/TxtMix1.h"

TxtMix1::TxtMix1(SWindow& window) {
    setParent(&window);
    rect = SRect{-1, -1, 80, 20};
    title = "1";
    // Ends a space before the colon of TxtMix2 beside it, however many digits it has.
    style |= SS_RIGHT;
}

void TxtMix1::onFirstCreateStep() {
    SStatic::onFirstCreateStep();
    device.setFont("Arial", 16, 0, 0, 900);
}
