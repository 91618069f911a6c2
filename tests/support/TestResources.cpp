#include "tests/support/TestResources.h"

#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SResources.h"
#include "tests/support/TempDir.h"

const SString& startTestResources(const char* controlpos, const char* programName) {
    static TempDir appDir;
    if (globalResources.isInitialised()) return appDir.path();
    if (controlpos) {
        SSystem::createDirectory(appDir.file("VEK-Resourcen"));
        appDir.write("VEK-Resourcen/controlpos.ini", controlpos);
    }
    globalResources.setAppDir(appDir.path());
    globalResources.setProgramFile(appDir.file(programName));
    globalResources.init();
    return appDir.path();
}
