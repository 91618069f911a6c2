#include "app/TxtAktion.h"

TxtAktion::TxtAktion(SWindow& window) {
    setParent(&window);
    rect = SRect{-1, -1, 80, 20};
    title = "OK";
}

void TxtAktion::onFirstCreateStep() {
    SStatic::onFirstCreateStep();
    device.setFont("Arial", 16, 0, 0, 900);
}
