// plant-gallery: the plant picture with every element of it, and the level gauge and pump in
// all their forms, driven by a sweep of the level. It keeps its own controlpos.ini in
// VEK-Resourcen beside itself: the plant's layout as records the layouter can change.
#include "tools/plant-gallery/PlantGallery.h"

#include "VEK_GUI/SApplication.h"

namespace {

class SweepingGallery : public PlantGallery {
public:
    SweepingGallery() {
        showInfoButton = 1;
        setSweeping(true);
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int show) {
    SweepingGallery gallery;
    return SApplication::entry(instance, previous, show);
}
