// element-gallery: every shape of the graphic elements in every quadrant under every
// lighting, captions and a chart fed with a sine. The capture test opens the same window and
// saves what it shows as PNG files; the information button's menu starts positioning mode.
#include "tools/element-gallery/ElementGallery.h"

#include "VEK_GUI/SApplication.h"

namespace {

class InteractiveGallery : public ElementGallery {
public:
    InteractiveGallery() {
        showInfoButton = 1;
        setChartRunning(true);
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int show) {
    InteractiveGallery gallery;
    return SApplication::entry(instance, previous, show);
}
