// A program without a main window: start-up must refuse with its "FEHLER" box (recorded
// here on stdout, no real box) and end with exit code 0. A global of the program checks
// that the library's globals are built before it and destroyed after it.
#include "VEK_GUI/SApplication.h"
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SColorMap.h"
#include "VEK_UTIL/SLanguage.h"

#include <cstdio>

namespace {

int printBox(void*, const char* text, const char* caption, unsigned type) {
    std::printf("box [%s] type %u: %s\n", caption, type, text);
    std::fflush(stdout);
    return SSystem::OK;
}

// Built after the library's globals, destroyed before them.
struct OrderProbe {
    OrderProbe() {
        bool built = globalLanguage.getLanguage() == "de" && globalApplication.getDefaultFontFace() == "Arial" &&
                     globalApplication.getDefaultBrush() != nullptr;
        std::printf("construction order %s\n", built ? "ok" : "WRONG");
    }
    ~OrderProbe() {
        bool alive = globalLanguage.getLanguage() == "de" && globalApplication.getDefaultBrush() != nullptr &&
                     globalColors.findName("rot") == 0xFF;
        std::printf("destruction order %s\n", alive ? "ok" : "WRONG");
        std::fflush(stdout);
    }
} probe;

} // namespace

int main() {
    SSystem::setPresenter(printBox);
    int code = SApplication::entry(GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
    std::printf("exit code %d\n", code);
    return code;
}
