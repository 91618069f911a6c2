// The window messages a serial port sends to its window. The library's other private
// messages are in VEK_GUI/SMessages.h, which includes these: the numbers share one range.
#pragma once

enum : unsigned {
    MSG_RECEIVE_BYTE = 0x1DC8,  // serial port -> frame (sent): the byte in the low byte of lParam
    MSG_COM_LINE_LOST = 0x1DC9, // serial port -> its window (posted): the line died; lParam the SComPort*
};
