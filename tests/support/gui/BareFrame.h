// BareFrame: a borderless frame whose client area is exactly its size, the window a GUI suite
// puts what it tests in. Its class name names its section in the layout file.
#pragma once

#include "VEK_UTIL/SGeometry.h"
#include "tests/support/gui/Raise.h"

template <class Frame>
class BareFrame : public Frame {
public:
    BareFrame(const char* className, SSize client) : name(className) {
        this->style = WS_POPUP;
        this->rect = SRect{30, 30, client.width, client.height};
        this->setShowInfoButton(false);
    }
    const char* getClassName() const override { return name; }
    // Created, shown in front and painted; declared controls are created on the way.
    bool open() {
        if (!this->create(nullptr)) return false;
        showInFront(this->hwnd);
        return true;
    }

private:
    const char* name;
};
