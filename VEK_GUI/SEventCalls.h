// SEventCalls: the table in which a window binds messages of its controls to handlers
// (member functions of any object), e.g. WM_COMMAND from the end button to close().
#pragma once

#include "VEK_ARRAYS/SList.h"

#include <functional>
#include <vector>

#include <windows.h>

// One binding: message, control id (0 = any), notification code (0 = any) and the call.
struct SEventBinding {
    UINT message = 0;
    int controlId = 0;
    int notifyCode = 0;
    void* target = nullptr;         // the object whose operation is called (for finding/removing)
    std::function<void()> operation; // the bound member function, already tied to target

    // Binds `method` of `object`.
    template <class T>
    static SEventBinding make(UINT message, int controlId, int notifyCode, T* object, void (T::*method)()) {
        SEventBinding b;
        b.message = message;
        b.controlId = controlId;
        b.notifyCode = notifyCode;
        b.target = object;
        b.operation = [object, method] { (object->*method)(); };
        return b;
    }
    bool operator==(const SEventBinding& o) const {
        return message == o.message && controlId == o.controlId && notifyCode == o.notifyCode && target == o.target;
    }
};

class SEventCalls : public SList<SEventBinding> {
public:
    const char* getClassName() const override { return "SEventCalls"; }
    // Called after every insertion or change with its index, with -1 after removals.
    virtual void onListChanged(int index) { (void)index; }

    int add(const SEventBinding& binding);
    int insert(int index, const SEventBinding& binding);
    // Outside the list one shared spare binding (which calls nothing) instead of a report.
    SEventBinding& getAt(int index);
    bool removeAt(int index);
    void clear();

    // Calls every binding that matches the message (see SApplication's rules); returns how many.
    int fire(UINT message, WPARAM wParam, LPARAM lParam);
    static bool matches(const SEventBinding& b, UINT message, WPARAM wParam, LPARAM lParam);
};
