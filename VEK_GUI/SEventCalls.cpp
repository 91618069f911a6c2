#include "VEK_GUI/SEventCalls.h"

int SEventCalls::add(const SEventBinding& binding) { return insert(count(), binding); }

int SEventCalls::insert(int index, const SEventBinding& binding) {
    int i = insertAt(index);
    if (i < 0) return -2;
    (*this)[i] = binding;
    onListChanged(i);
    return i;
}

SEventBinding& SEventCalls::getAt(int index) {
    static SEventBinding spare;
    if (index < 0 || index >= count()) {
        spare = SEventBinding();
        return spare;
    }
    return (*this)[index];
}

bool SEventCalls::removeAt(int index) {
    bool removed = SList::removeAt(index);
    if (removed) onListChanged(-1);
    return removed;
}

void SEventCalls::clear() {
    SList::clear();
    onListChanged(-1);
}

// A binding for the message - or, for WM_COMMAND, any binding with a notification code -
// fires when its control id is 0 (any), or equals the low word of wParam and the code is
// 0 (any) or equals the command's or notification's code.
bool SEventCalls::matches(const SEventBinding& b, UINT message, WPARAM wParam, LPARAM lParam) {
    bool candidate = b.message == message || (message == WM_COMMAND && b.notifyCode != 0);
    if (!candidate) return false;
    if (b.controlId == 0) return true;
    if (b.controlId != (int)LOWORD(wParam)) return false;
    if (b.notifyCode == 0) return true;
    if (message == WM_COMMAND) return b.notifyCode == (int)HIWORD(wParam);
    if (message == WM_NOTIFY && lParam) return b.notifyCode == (int)reinterpret_cast<NMHDR*>(lParam)->code;
    return false;
}

int SEventCalls::fire(UINT message, WPARAM wParam, LPARAM lParam) {
    // Collect first: a handler may change the table (close() clears it).
    std::vector<std::function<void()>> calls;
    for (int i = 0; i < count(); ++i) {
        const SEventBinding& b = (*this)[i];
        if (b.operation && matches(b, message, wParam, lParam)) calls.push_back(b.operation);
    }
    for (auto& call : calls) call();
    return (int)calls.size();
}
