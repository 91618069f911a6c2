#include "tests/support/gui/Raise.h"

void raiseAboveAll(HWND root) {
    // Asynchronous, so that a thread that does not answer cannot hang the test.
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS;
    const bool topmost = (GetWindowLongA(root, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    SetWindowPos(root, HWND_TOPMOST, 0, 0, 0, 0, flags);
    if (!topmost) SetWindowPos(root, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    // Sent after the two requests, so it is answered once they are done.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(root, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
}
