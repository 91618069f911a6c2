// Anlage: the desktop client of the mixing-tank laboratory. The library's globals come first
// (their own source file orders them); the main window is the application's one global.
#include "VEK_GUI/SApplication.h"
#include "app/MainWnd.h"

MainWnd mainWnd;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int show) {
    return SApplication::entry(instance, previous, show);
}
