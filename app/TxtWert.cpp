#include "app/TxtWert.h"

TxtWert::TxtWert(SWindow& window) {
    setParent(&window);
    rect = SRect{-1, -1, 80, 20};
    title = "Level = 0";
}

void TxtWert::onFirstCreateStep() {
    SStatic::onFirstCreateStep();
    device.setFont("Arial", 16, 0, 0, 900);
}
