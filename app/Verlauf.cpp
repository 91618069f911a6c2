#include "app/Verlauf.h"

Verlauf::Verlauf(SWindow& window) {
    setParent(&window);
    rect = SRect{-1, -1, 200, 100};
    title = "";
}

void Verlauf::onAfterCreate() {
    SChartControl::onAfterCreate();
    setColors(0xFF0000, 0xFFFFFF, SPainter::Transparent);
}
