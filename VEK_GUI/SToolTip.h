// SToolTip: the tooltip of one window (text supplied on request), or a tracking tip the
// program positions itself.
#pragma once

#include "VEK_UTIL/SGeometry.h"
#include "VEK_UTIL/SString.h"

#include <windows.h>

#include <commctrl.h>

class SWindow;

class SToolTip {
public:
    explicit SToolTip(SWindow* ownerWindow = nullptr);
    virtual ~SToolTip();
    SToolTip(const SToolTip&) = delete;
    SToolTip& operator=(const SToolTip&) = delete;

    // Answers the tip's text request for the owner.
    virtual LRESULT onMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result);
    virtual const char* getClassName() const { return "SToolTip"; }

    bool create(HWND ownerHandle, bool balloon, bool tracking = false);
    void setText(const char* text, const char* title = "", int icon = 0);
    void setMaxWidth(int width);
    void setDelay(int milliseconds);
    void activate(bool on);
    void setRect(const SRect& r);
    void trackActivate(bool on);
    void trackPosition(SPoint p);
    void pop();
    void removeTool();
    // A tip of the whole window keeps covering its client area when the window is resized.
    void fitOwner();
    // Hands a mouse message of the owner to the tip, which shows and hides itself by them.
    void relay(HWND from, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND getHwnd() const { return hwnd; }
    const SString& getText() const { return text; }
    int getMaxWidth() const;

private:
    LRESULT send(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd = nullptr;
    TOOLINFOA info{};
    int offsetX = 15;
    int offsetY = 15;
    HWND owner = nullptr;
    bool tracking = false;
    SString text;
};
