// Drawings: the program's pictures. The application icon is a tank with its blue filling,
// lid, feed pump and outlet; the settings icon a gear; the information button a round "i"
// beside the letters VEK.
#pragma once

#include "tools/icon-gen/Canvas.h"

Canvas drawTank(int size);
Canvas drawGear(int size);
Canvas drawInfoButton(int width, int height);
