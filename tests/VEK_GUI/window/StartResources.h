// Frames look their icons up through the resource manager: the window suite starts it once,
// on an empty folder of its own.
#pragma once

#include "VEK_UTIL/SResources.h"
#include "tests/support/TempDir.h"

inline void startResources() {
    static TempDir appDir;
    if (globalResources.isInitialised()) return;
    globalResources.setAppDir(appDir.path());
    globalResources.setProgramFile(appDir.file("Anlage.exe"));
    globalResources.init();
}
