// The library's private window messages: the contract between its windows and controls.
#pragma once

#include "VEK_SYSTEM/SComPortMessages.h" // MSG_RECEIVE_BYTE, MSG_COM_LINE_LOST

enum : unsigned {
    MSG_REFLECT_CTLCOLOR = 0x4401,  // frame -> control: wParam HDC, lParam control; returns a brush or 0
    MSG_SOCKET_NOTIFY = 0x4402,     // asynchronous socket notification (not handled)
    MSG_REFLECT_DRAWITEM = 0x4403,  // frame -> control: lParam DRAWITEMSTRUCT*
    MSG_REFLECT_NOTIFY = 0x4404,    // window -> control: WM_NOTIFY header or a SCommandHeader
    MSG_POSITIONING_START = 0x4450, // frame -> children: enter layouter mode
    MSG_POSITIONING_STOP = 0x4451,  // frame -> children: leave layouter mode
    MSG_POSITIONING_SAVE = 0x4453,  // frame -> children: store your position; lParam the section name
    MSG_PARENT_MOUSEMOVE = 0x4472,  // window -> children: the parent got WM_MOUSEMOVE
    MSG_DEFAULT_BUTTON = 0x4490,    // button -> siblings: lParam the new default button's id
    MSG_DIALOG_KEY = 0x4491,        // dialog -> children: lParam 0 Enter, 2 Escape
    MSG_WATCHED = 0x4B6,            // application -> watcher: lParam SWatchedMessage*
    MSG_NET_MESSAGE = 0x1DD0,       // network client -> its window (sent): lParam a NetDelivery*
};

#include <windows.h>

// What a reflected WM_COMMAND carries in lParam.
struct SCommandHeader {
    HWND control;
    UINT_PTR id;
    UINT code;
};
