#include "app/TxtMix1.h"

TxtMix1::TxtMix1(SWindow& window) {
    setParent(&window);
    rect = SRect{-1, -1, 80, 20};
    title = "1";
}

void TxtMix1::onFirstCreateStep() {
    SStatic::onFirstCreateStep();
    device.setFont("Arial", 16, 0, 0, 900);
}
