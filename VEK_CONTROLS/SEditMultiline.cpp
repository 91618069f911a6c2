#include "VEK_CONTROLS/SEditMultiline.h"

#include <cstring>

SEditMultiline::SEditMultiline() { style |= ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL; }

LRESULT SEditMultiline::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) {
    // Enter is a line break here: it must not climb to a dialog as its default-button key.
    if (msg == WM_KEYDOWN && wParam == VK_RETURN && h == hwnd && h) {
        handled = true;
        return result = callDefaultProc(h, msg, wParam, lParam);
    }
    return SEdit::windowProc(h, msg, wParam, lParam, handled, result);
}

// The platform's default of 32767 characters would silently stop a growing log.
void SEditMultiline::onAfterCreate() {
    SEdit::onAfterCreate();
    sendMessage(EM_SETLIMITTEXT, 0);
}

void SEditMultiline::append(const char* text, int maxLength) {
    if (!text) text = "";
    long long length = (long long)sendMessage(WM_GETTEXTLENGTH);
    long long adding = (long long)std::strlen(text);
    if (maxLength > 0 && adding > maxLength) {
        text += adding - maxLength; // only the newest part fits at all
        adding = maxLength;
    }
    if (maxLength > 0 && length + adding > maxLength) {
        setSel(0, (int)(length + adding - maxLength));
        replaceSel("");
        length = (long long)sendMessage(WM_GETTEXTLENGTH);
    }
    setSel((int)length, (int)length);
    replaceSel(text);
    sendMessage(EM_LINESCROLL, 0, 100000);
}
