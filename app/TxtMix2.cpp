#include "app/TxtMix2.h"

TxtMix2::TxtMix2(SWindow& window) {
    setParent(&window);
    rect = SRect{-1, -1, 80, 20};
    title = ": 1";
}

void TxtMix2::onFirstCreateStep() {
    SStatic::onFirstCreateStep();
    device.setFont("Arial", 16, 0, 0, 900);
}
