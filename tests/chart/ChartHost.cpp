#include "tests/chart/ChartHost.h"

#include "VEK_UTIL/SResources.h"
#include "tests/support/TempDir.h"
#include "tests/support/gui/MessagePump.h"

namespace {

// A frame looks up its icons through the resource manager: started once, with no layout.
void startResources() {
    static TempDir appDir;
    if (globalResources.isInitialised()) return;
    CreateDirectoryA(appDir.file("VEK-Resourcen"), nullptr);
    appDir.write("VEK-Resourcen\\controlpos.ini", "");
    globalResources.setAppDir(appDir.path());
    globalResources.setProgramFile(appDir.file("Anlage.exe"));
    globalResources.init();
}

} // namespace

ChartHost::ChartHost(SSize client) {
    startResources();
    style = WS_POPUP;
    rect = SRect{30, 30, client.width, client.height};
    setShowInfoButton(false);
}

bool ChartHost::open() {
    if (!create(nullptr)) return false;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    MessagePump::flush();
    return true;
}
