// A program whose second window is still open when the main window ends the message loop:
// that window must be closed while its object is whole, so its own onClose and onDestroy run
// (and report here on stdout) before the program returns.
#include "VEK_GUI/SApplication.h"
#include "VEK_GUI/SWindow.h"
#include "VEK_SYSTEM/SSystem.h"

#include <cstdio>

namespace {

void say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

int printBox(void*, const char* text, const char* caption, unsigned type) {
    std::printf("box [%s] type %u: %s\n", caption, type, text);
    return SSystem::OK;
}

class ToolWindow : public SWindow {
public:
    int onClose() override { return say("tool onClose"), 1; }
    void onDestroy() override { say("tool onDestroy"); }
};

// Opens the tool window, then closes itself, which ends the loop.
class MainWindow : public SWindow {
public:
    void onFirstShow() override;
    void onDestroy() override { say("main onDestroy"); }
};

MainWindow mainWindow; // the first window constructed: the main window
ToolWindow tool;

void MainWindow::onFirstShow() {
    tool.create(nullptr);
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

} // namespace

int main() {
    SSystem::setPresenter(printBox);
    int code = SApplication::entry(GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
    std::printf("exit code %d\n", code);
    std::fflush(stdout);
    return code;
}
