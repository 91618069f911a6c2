#include "tests/control-gallery/GallerySetup.h"

#include "VEK_UTIL/SResources.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/MessagePump.h"
#include "tools/control-gallery/GalleryFrame.h"

const SString& galleryFolder() {
    static TempDir folder;
    if (!globalResources.isInitialised()) {
        globalResources.setAppDir(folder.path());
        globalResources.setProgramFile(folder.file("control-gallery.exe"));
        globalResources.init();
    }
    return folder.path();
}

bool openGallery(GalleryFrame& frame) {
    galleryFolder();
    if (!frame.create(nullptr)) return false;
    frame.show(SW_SHOWNORMAL);
    SetForegroundWindow(frame.getHwnd());
    MessagePump::flush();
    return true;
}
