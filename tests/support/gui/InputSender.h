// InputSender: mouse and keyboard messages to one window, as the system would deliver them.
// Mode::Send calls the window procedure at once (SendMessage); Mode::Post queues the
// messages and pumps them, so they pass TranslateMessage like real input in a message loop
// (a posted WM_KEYDOWN of a character key then also produces its WM_CHAR).
// Messages do not change the keyboard state: GetKeyState does not see keys sent this way.
#pragma once

#include <windows.h>

#include <string>

class InputSender {
public:
    enum class Mode { Send, Post };

    explicit InputSender(HWND target, Mode mode = Mode::Send) : hwnd(target), mode(mode) {}

    // Mouse, at client coordinates of the target window.
    void click(int x, int y);
    void rightClick(int x, int y);
    void move(int x, int y, WPARAM buttons = 0);
    // Presses the left button at (x0, y0), moves in steps to (x1, y1) and releases it there.
    void drag(int x0, int y0, int x1, int y1, int steps = 4);

    // Keyboard. lParam carries repeat count, scan code, extended-key bit and bits 30/31.
    void keyDown(UINT vk, int repeat = 1);

    // Real input through SendInput for the window that has the keyboard focus (the target
    // is brought to the foreground first). Returns whether every event was accepted.
    bool realKey(UINT vk);
    bool realText(const std::string& text);
    bool realClick(int x, int y); // client coordinates of the target
    // A left-button drag from (x0, y0) to (x1, y1), client coordinates of the target where the
    // drag starts, in steps, each delivered before the next; heldKey (0: none) stays down
    // throughout.
    bool realDrag(int x0, int y0, int x1, int y1, UINT heldKey = 0, int steps = 4);

    static LPARAM keyLParam(UINT vk, int repeat, bool up);

private:
    void deliver(UINT message, WPARAM wParam, LPARAM lParam);
    void settle();

    HWND hwnd;
    Mode mode;
};
