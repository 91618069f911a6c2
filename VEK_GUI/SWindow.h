// SWindow: the base of every library window. Owns the platform window, creates it
// (registering a class named after its own class when needed), turns each message into a
// named virtual handler, paints through its own drawing device and runs modal loops.
#pragma once

#include "VEK_GUI/SAnchor.h"
#include "VEK_GUI/SDevice.h"
#include "VEK_GUI/SEventCalls.h"
#include "VEK_GUI/SImage.h"
#include "VEK_GUI/SMessages.h"
#include "VEK_GUI/SScroll.h"
#include "VEK_UTIL/SGeometry.h"
#include "VEK_UTIL/SString.h"

#include <windows.h>

#include <commctrl.h>

class SToolTip;
struct SWatchedMessage;

class SWindow {
public:
    SWindow();
    virtual ~SWindow();
    SWindow(const SWindow&) = delete;
    SWindow& operator=(const SWindow&) = delete;

    virtual bool create(SWindow& parent) { return create(&parent); }
    virtual int messageBox(const char* text, const char* caption, unsigned type);
    virtual void setWindowText(const char* text);
    virtual void close();
    virtual int showModal(bool hideParent = false);
    virtual void onParentResized(SSize parentClientSize);
    virtual LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result);
    virtual SSize getClientSize();
    virtual int translateAccelerator(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual const char* getClassName() const { return "SWindow"; }
    virtual int onKeyDown(int character, int scanCode, int virtualKey, bool firstPress);
    virtual void onLButtonDown(int keys, int x, int y);
    virtual void onPaint(SDevice& device);
    virtual void initDefaults();
    virtual void onCreate(CREATESTRUCTA* createStruct);
    virtual void onCommand(int id, HWND control, int notifyCode);
    virtual void onFirstShow();
    virtual void onMouseMove(int keys, int x, int y);
    virtual void onTimer(DWORD tickCount);
    virtual int onClose();
    virtual void paintBackground(SDevice& device);
    virtual int onNotify(int id, HWND source, int code, NMHDR* header);
    virtual int onEraseBackground(SDevice& device);
    // Draws what this window shows behind child onto a context of the child's; false where
    // it keeps no picture of its own to take it from.
    virtual bool drawBehind(SWindow& child, HDC dc);
    virtual void onLButtonUp(int keys, int x, int y);
    virtual void onMouseLeave();
    virtual void onMouseHover(int keys);
    virtual void onLButtonDblClk(int keys, int x, int y);
    virtual void onPreCreateWindow();
    virtual void onWatchedMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, LPARAM userValue);
    virtual void onRButtonUp(int keys, int x, int y);
    virtual void onRButtonDown(int keys, int x, int y);
    virtual void onRButtonDblClk(int keys, int x, int y);
    virtual void onSetFocus(HWND previous);
    virtual void onSize(int type, int width, int height);
    virtual void onSizing(int edge, RECT* rectangle);
    virtual void onVScroll();
    virtual int onHelp(HELPINFO* helpInfo);
    virtual void onHScroll();
    virtual int onChar(int character, int scanCode, int characterCode, bool firstPress);
    virtual int onToolTipNotify(int code, NMHDR* header);
    virtual const char* getToolTipText();
    virtual bool create(SWindow* parent = nullptr);
    virtual int onMouseWheel(int keys, int delta, int x, int y);
    virtual int onContextMenu(int x, int y);
    virtual void onShow();
    virtual void onHide();
    virtual void paintTo(SDevice& device);
    virtual void onDestroy();
    virtual void onKillFocus(HWND next);
    virtual void onMButtonDblClk(int keys, int x, int y);
    virtual void onMButtonDown(int keys, int x, int y);
    virtual void onMButtonUp(int keys, int x, int y);
    virtual bool onNcPaint(SDevice& device);

    // Creates a declared control of a frame at its first show (the controls override it).
    virtual bool createPending(SWindow& frame, int x, int y);
    // What runs for a message no handler took: DefWindowProcA here; a subclassed control
    // calls its platform class's own procedure instead.
    virtual LRESULT callDefaultProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);

    void show(int command);
    void hide() { show(SW_HIDE); }
    int moveWindow(int x, int y, int width, int height, bool repaint = true);
    int moveWindow(const SRect& r, bool repaint = true) { return moveWindow(r.x, r.y, r.width, r.height, repaint); }
    virtual void invalidate();
    virtual void invalidate(const SRect& r);
    SString getWindowText();
    SRect getWindowRect(bool screen = false);
    SRect getClientRect();
    SRect getInnerRect();
    SPoint screenToClient(SPoint p);
    SPoint clientToScreen(SPoint p);
    SWindow* getParent() const { return parent; }
    void setParent(SWindow* window);
    bool isCreated() const { return created != 0; }
    bool isWindow() const { return hwnd && IsWindow(hwnd); }
    bool isVisible() const { return hwnd && IsWindowVisible(hwnd); }
    bool isEnabled() const { return hwnd && IsWindowEnabled(hwnd); }
    void enable(bool on) { EnableWindow(hwnd, on); }
    void setFocus() {
        if (hwnd) SetFocus(hwnd); // SetFocus(NULL) would take the focus from every window
    }
    bool hasFocus() const { return created && hwnd && GetFocus() == hwnd; }
    void bringToTop() { BringWindowToTop(hwnd); }
    DWORD getStyle() const { return (DWORD)GetWindowLongA(hwnd, GWL_STYLE); }
    void setStyle(DWORD value) { SetWindowLongA(hwnd, GWL_STYLE, (LONG)value); }
    LRESULT sendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageA(hwnd, msg, wParam, lParam); }
    int getShowState() const;
    bool isMinimized() const;
    void sendToChildren(UINT msg, WPARAM wParam, LPARAM lParam);
    void trackMouse(bool leave, bool hover);
    void setCursor(int id);
    void setCursor(HCURSOR handle);
    void setWaitCursor(bool on);
    int addToolTip(const char* text, const char* title = "", int icon = 0, int maxWidth = 0, bool balloon = false);
    int addTrackingToolTip(const char* text, const char* title = "", int icon = 0, int maxWidth = 0);
    HENHMETAFILE createMetaFile(const SRect& bounds, const char* fileName, const char* footer);
    bool setBackgroundImage(const char* name, int mode);
    void enableTimerMessages(bool on) { timerMessages = on; }

    HWND getHwnd() const { return hwnd; }
    SDevice& getDevice() { return device; }
    SScroll& getScroll() { return scroll; }
    SAnchor& getAnchor() { return anchor; }
    SToolTip* getToolTip() const { return toolTip; }
    SEventCalls& getEventCalls() { return eventCalls; }
    int getKind() const { return kind; }
    DWORD getScrollFixed() const { return scrollFixed; }
    SSize getCreationSize() const { return creationSize; }
    const SRect& getRect() const { return rect; }
    int getModalFlags() const { return (int)modalFlags; }
    void setModalResult(int value) { modalResult = value; }
    void setTitle(const char* text) { title = text; }
    void setStyleBits(DWORD value) { style = value; }
    DWORD getStyleBits() const { return style; }
    void setExStyle(DWORD value) { exStyle = value; }
    void setWindowId(int id) { windowId = id; }
    int getWindowId() const { return windowId; }

    // The first library window ever constructed: the application's main window.
    static SWindow* getLibraryMainWindow() { return libraryMainWindow; }

    enum ModalBits { ModalLoop = 1, ShownModal = 2, ParentDisabled = 4, ParentHidden = 8 };

protected:
    // Key translation of WM_KEYDOWN/WM_CHAR: the character (0 when none) and the scan code.
    static int translateKey(WPARAM wParam, LPARAM lParam, int& scanCode);
    LRESULT handleNotify(WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT handleKeyDown(WPARAM wParam, LPARAM lParam, bool& handled);
    void handleDestroy();
    bool handleActivate(WPARAM wParam);
    void handlePaint();
    bool handleNcPaint();
    // Whether the object's class has an onPaint or onNcPaint of its own rather than the
    // default, which draws nothing: where it has none, no context is made for it.
    bool hasOwnPaint();
    bool hasOwnNcPaint();
    void runModalLoop();
    void checkFirstShow();
    int createToolTip(const char* text, const char* tipTitle, int icon, int maxWidth, bool balloon, bool tracking);

    HWND hwnd = nullptr;
    SString className;
    DWORD style = WS_OVERLAPPEDWINDOW;
    SRect rect{-1, -1, 600, 400};
    SString title;
    int windowId = 0;
    DWORD exStyle = 0;
    SDevice device;
    SToolTip* toolTip = nullptr;
    SScroll scroll;
    SRect barInsets;
    DWORD scrollFixed = 0;
    SEventCalls eventCalls;
    WNDCLASSEXA windowClass{};
    bool firstShowPending = true;
    bool timerMessages = true;
    SImage backgroundImage;
    int backgroundMode = 0;
    DWORD modalFlags = 0;
    int modalResult = 0;
    SWindow* parent = nullptr;
    int created = 0;
    SAnchor anchor;
    SSize creationSize{-1, -1};
    int kind = 0;
    HCURSOR cursor = nullptr;
    int waitCount = 0;
    int positioningActive = 0;
    int cursorId = 32512;
    HCURSOR waitCursor = nullptr;
    bool paintingToMetaFile = false;
    bool printing = false;
    HWND focusChild = nullptr; // what had the focus when the window was last deactivated

private:
    // What windowProc does with the messages that take more than a call of their handler.
    void handleCreate(HWND h, CREATESTRUCTA* create);
    void handleResize(int type, int width, int height);
    void handleFocus(bool gained, HWND other);
    bool handleClose();
    void handleShowWindow(bool shown);
    bool handleSetCursor(HWND over, int hitTest);
    bool handleChar(WPARAM wParam, LPARAM lParam);
    LRESULT reflectCommand(WPARAM wParam, LPARAM lParam);
    void handleWatched(const SWatchedMessage* watched);

    static SWindow* libraryMainWindow;
};
