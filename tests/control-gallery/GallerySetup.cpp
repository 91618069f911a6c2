#include "tests/control-gallery/GallerySetup.h"

#include "tests/support/TestResources.h"
#include "tests/support/gui/Raise.h"
#include "tools/control-gallery/GalleryFrame.h"

const SString& galleryFolder() {
    return startTestResources(nullptr, "control-gallery.exe");
}

bool openGallery(GalleryFrame& frame) {
    galleryFolder();
    if (!frame.create(nullptr)) return false;
    showInFront(frame.getHwnd());
    return true;
}
