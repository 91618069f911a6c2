#include "app/TxtAufzeichnung.h"

TxtAufzeichnung::TxtAufzeichnung(SWindow& window) {
    setParent(&window);
    rect = SRect{-1, -1, 80, 20};
    title = "";
}
