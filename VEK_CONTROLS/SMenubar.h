// SMenubar: a toolbar whose buttons open popup menus, like a window's menu bar. While a menu
// is open, mouse moves over the bar still reach it (a message-filter hook), so moving to a
// neighbouring button closes the menu and opens that button's menu.
#pragma once

#include "VEK_ARRAYS/SMapNumToMenuPointer.h"
#include "VEK_CONTROLS/SPopupMenu.h"
#include "VEK_CONTROLS/SToolbar.h"

class SMenubar : public SToolbar {
public:
    SMenubar();
    ~SMenubar() override;
    const char* getClassName() const override { return "SMenubar"; }

    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override;
    int onReflectedNotify(int code, NMHDR* header) override;

    // A button whose click opens the popup (not owned); returns the button's id.
    int addMenu(const char* text, SPopupMenu& popup, int id = 0);
    // The id of the button whose menu is open, 0 when none is.
    int getOpenId() const { return openMenubar == this ? openId : 0; }
    // The menu bar that has a menu open now (one in the process at most).
    static SMenubar* getOpenMenubar() { return openMenubar; }

    // The message that opens a button's menu (wParam the button id).
    static constexpr UINT MsgOpenMenu = 0x7E9;

protected:
    void openMenu(int id);

    SMapNumToMenuPointer menus;
    HHOOK hook = nullptr;
    HWND openHwnd = nullptr;
    RECT openRect{0, 0, 0, 0};
    int openId = 0;

private:
    static LRESULT CALLBACK messageFilter(int code, WPARAM wParam, LPARAM lParam);
    static SMenubar* openMenubar;
};
