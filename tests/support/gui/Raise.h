// Raising a top-level window of any process above all others on the screen, for a copy of it
// or input to it.
#pragma once

#include <windows.h>

// Brings root above all other windows, also on the X screen, and returns once its thread has
// done so (or did not answer within a second). Under Wine HWND_TOP alone restacks the X window
// only when the window becomes the first visible one in the z-order, which a topmost window
// shown anywhere (a tooltip) prevents; and the next pointer motion over the window X still
// shows in front moves that one up again. Making root topmost for a moment always restacks.
void raiseAboveAll(HWND root);
