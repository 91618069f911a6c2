// control-gallery: the library's controls in one frame. It keeps its own controlpos.ini in
// VEK-Resourcen beside itself: what the layouter arranges there shows at the next start.
#include "tools/control-gallery/GalleryFrame.h"

#include "VEK_GUI/SApplication.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int show) {
    GalleryFrame frame;
    return SApplication::entry(instance, previous, show);
}
