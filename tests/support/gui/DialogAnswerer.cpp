#include "tests/support/gui/DialogAnswerer.h"

#include <cstring>

namespace {
// The hook is per thread, and so is the answerer it serves.
thread_local DialogAnswerer* active = nullptr;

std::string windowText(HWND hwnd) {
    char buffer[1024] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

std::string itemText(HWND dialog, int id) {
    char buffer[4096] = {};
    if (GetDlgItem(dialog, id)) GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
}

bool isDialog(HWND hwnd) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return std::strcmp(cls, "#32770") == 0;
}
} // namespace

DialogAnswerer::DialogAnswerer(int answerWith) : answer(answerWith), previous(active) {
    hook = SetWindowsHookExA(WH_CBT, cbtProc, nullptr, GetCurrentThreadId());
    active = this;
}

DialogAnswerer::~DialogAnswerer() {
    if (hook) UnhookWindowsHookEx(hook);
    active = previous;
}

LRESULT CALLBACK DialogAnswerer::cbtProc(int code, WPARAM wParam, LPARAM lParam) {
    DialogAnswerer* self = active;
    if (self && code == HCBT_ACTIVATE) self->onActivate((HWND)wParam);
    // A destroyed handle may come back for a new dialog: forget it.
    if (self && code == HCBT_DESTROYWND) self->seen.erase((HWND)wParam);
    return CallNextHookEx(self ? self->hook : nullptr, code, wParam, lParam);
}

void DialogAnswerer::onActivate(HWND dialog) {
    // A dialog is activated again whenever focus comes back to it: answer it once.
    if (!isDialog(dialog) || !seen.insert(dialog).second) return;
    for (const auto& [id, text] : fills)
        if (GetDlgItem(dialog, id)) SetDlgItemTextA(dialog, id, text.c_str());
    int id = answer;
    bool present = GetDlgItem(dialog, id) != nullptr;
    dialogs.push_back({dialog, windowText(dialog), itemText(dialog, 0xFFFF), present ? id : 0});
    if (present) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
        return;
    }
    // A box without the chosen button would ignore the command and wait forever. Enter
    // presses its default button, which is only known once the box has set itself up.
    PostMessageA(dialog, WM_KEYDOWN, VK_RETURN, 0x001C0001);
}
