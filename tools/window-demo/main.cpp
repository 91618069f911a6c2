// window-demo: shows the window framework at work: the frame, and the dialog shown
// modally on a double click. The capture test opens the same windows and saves what they
// show as PNG files.
#include "tools/window-demo/DemoWindows.h"

#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SApplicationBasic.h"

#include <cstring>

namespace {

class InteractiveFrame : public DemoFrame {
public:
    void onLButtonDblClk(int, int, int) override {
        DemoDialog dialog;
        if (dialog.create(this)) dialog.showModal();
    }
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int show) {
    InteractiveFrame frame;
    return SApplication::entry(instance, previous, show);
}
