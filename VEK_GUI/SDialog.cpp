#include "VEK_GUI/SDialog.h"

SDialog::SDialog() {
    okButton.setControlId(IDOK);
    okButton.setTitle("OK");
    cancelButton.setControlId(IDCANCEL);
    cancelButton.setTitle("Abbrechen");
}

LRESULT SDialog::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) {
    if (msg == WM_COMMAND && (h == hwnd || h == nullptr)) {
        // wParam as a whole: only notification code 0 (a click or Enter) counts.
        if (wParam == IDOK && onOK() != 0) endDialog(IDOK);
        if (wParam == IDCANCEL && onCancel() != 0) endDialog(IDCANCEL);
    }
    return SFrameWindow::windowProc(h, msg, wParam, lParam, handled, result);
}

int SDialog::onCancel() { return 0; }
int SDialog::onOK() { return 0; }

void SDialog::endDialog(int value) {
    modalResult = value;
    if (modalFlags & ShownModal)
        modalFlags &= ~ModalLoop;
    else
        close();
}

int SDialog::onKeyDown(int character, int, int, bool) {
    switch (character) {
    case 13: sendToChildren(MSG_DIALOG_KEY, 0, 0); return 1;
    case 27: sendToChildren(MSG_DIALOG_KEY, 0, 2); return 1;
    case 9: {
        HWND next = nextTabStop(GetKeyState(VK_SHIFT) < 0);
        if (next) SetFocus(next);
        return 1;
    }
    default: return 0;
    }
}

namespace {

// A disabled or hidden window refuses or hides the focus: Tab would stay there.
bool takesTab(HWND child) {
    DWORD style = (DWORD)GetWindowLongA(child, GWL_STYLE);
    return (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

// The direct child of the dialog that holds the focus, also when the focus is in one of its
// own children (the edit of a combo box); none when the focus is elsewhere.
HWND focusedChild(HWND dialog) {
    HWND focus = GetFocus();
    if (!focus || !IsChild(dialog, focus)) return nullptr;
    while (GetAncestor(focus, GA_PARENT) != dialog) focus = GetAncestor(focus, GA_PARENT);
    return focus;
}

} // namespace

HWND SDialog::nextTabStop(bool backwards) const {
    HWND first = GetWindow(hwnd, GW_CHILD);
    if (!first) return nullptr;
    HWND last = GetWindow(first, GW_HWNDLAST);
    HWND from = focusedChild(hwnd);
    UINT step = backwards ? GW_HWNDPREV : GW_HWNDNEXT;
    HWND start = backwards ? last : first;
    HWND current = from ? GetWindow(from, step) : start;
    for (int pass = 0; pass < 2; ++pass) {
        for (HWND c = current; c; c = GetWindow(c, step))
            if (takesTab(c)) return c;
        current = start; // wrap once
    }
    return nullptr;
}
