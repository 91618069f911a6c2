#include "app/Protokoll.h"

Protokoll::Protokoll(SWindow& window) { setParent(&window); }

int Protokoll::onReflectedNotify(int code, NMHDR*) {
    if (code != EN_CHANGE) return 0;
    onChange();
    return 1;
}

void Protokoll::onAfterCreate() {
    SEditMultiline::onAfterCreate();
    addLabel("", 0, -20, -1, 20);
}

void Protokoll::showError(const char* text) {
    append(text);
    append("\r\n");
    messageBox(text, "Fehler", MB_ICONERROR);
}
