#include "tests/control-gallery/GallerySetup.h"

#include "tests/support/TestResources.h"
#include "tests/support/gui/MessagePump.h"
#include "tools/control-gallery/GalleryFrame.h"

const SString& galleryFolder() {
    return startTestResources(nullptr, "control-gallery.exe");
}

bool openGallery(GalleryFrame& frame) {
    galleryFolder();
    if (!frame.create(nullptr)) return false;
    frame.show(SW_SHOWNORMAL);
    SetForegroundWindow(frame.getHwnd());
    MessagePump::flush();
    return true;
}
