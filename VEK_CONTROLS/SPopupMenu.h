// SPopupMenu: a platform popup menu with the library's item text rules (number prefixes as
// access keys, accelerator texts written without blanks), tracked on a coloured background.
#pragma once

#include "VEK_UTIL/SGeometry.h"
#include "VEK_UTIL/SString.h"

#include <windows.h>

class SPopupMenu {
public:
    SPopupMenu();
    virtual const char* getClassName() const { return "SPopupMenu"; }
    virtual ~SPopupMenu();
    // Called right before the menu is shown; a subclass may change its items.
    virtual void onBeforeTrack();
    SPopupMenu(const SPopupMenu&) = delete;
    SPopupMenu& operator=(const SPopupMenu&) = delete;

    // Returns the id (0 = the application's next control id), or 0 when the item could not
    // be inserted. flags are the item's state bits (MFS_CHECKED, MFS_DISABLED …).
    int appendItem(const char* text, int id = 0, UINT flags = 0);
    int appendSeparator();
    int appendSubmenu(const char* text, SPopupMenu& submenu);
    // position -1 is the end.
    int insertItem(MENUITEMINFOA& item, int position = -1, bool byPosition = true, int id = 0);
    int getCount() const { return menu ? GetMenuItemCount(menu) : 0; }
    HMENU getMenu() const { return menu; }
    // The text an item shows for a given text (the rules of appendItem).
    static SString itemText(const char* text);

    // Shows the menu at a screen point; returns the chosen id or 0.
    int track(HWND owner, SPoint screenPoint);
    // A one-shot menu of separated texts (an empty item is a separator); the chosen text,
    // empty when none was chosen.
    static SString choose(HWND owner, SPoint screenPoint, const char* texts, const char* separator = ",");

    void setSendCommand(bool on) { sendCommand = on ? 1 : 0; }
    void setTrackFlags(UINT flags) { trackFlags = flags; }
    void setAlignFlags(UINT flags) { alignFlags = flags; }
    void setBackgroundColor(COLORREF colour) { backgroundColor = colour; }
    COLORREF getBackgroundColor() const { return backgroundColor; }
    int getSendCommand() const { return sendCommand; }
    bool isSubmenu() const { return submenu != 0; }

    // The library-wide background of menus and bands.
    static constexpr COLORREF DefaultBackground = 0xEBB9B9;

protected:
    UINT trackFlags = 0;
    int sendCommand = 1;
    UINT alignFlags = 0;
    COLORREF backgroundColor = DefaultBackground;
    HMENU menu = nullptr;
    int submenu = 0;
};
