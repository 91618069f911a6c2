// SComPortControl: a serial port with its controls: a button that connects and disconnects,
// a status line with the settings in a colour that tells the state (white closed, light
// green open, light red after a failed connect, amber while waiting for a lost port) and a
// settings icon that opens SComportConfigDlg. The settings live in the user configuration
// file, one section per control. The owner reads and writes through the SComPort base;
// received bytes go to the control's parent window. Clicks that arrive while a connect or
// disconnect is under way (dispatched by its waits) are not taken again: a disconnect asked
// for during the programmer exchange after connecting ends the exchange and follows it.
// A line that dies (its device removed, or it stops answering) is waited for: the control
// keeps its settings, looks for its port twice a second and connects again once the port
// opens under its own name; "trennen" ends the wait. The tooltip shows the line's health
// as the owner's decoder counts it.
#pragma once

#include "VEK_CONTROLS/SButton.h"
#include "VEK_CONTROLS/SControlContainer.h"
#include "VEK_CONTROLS/SImageControl.h"
#include "VEK_CONTROLS/SStatic.h"
#include "VEK_SYSTEM/SComPort.h"

#include <cstdint>

class SComPortControl : public SControlContainer, public SComPort {
public:
    static constexpr COLORREF closedColor = RGB(255, 255, 255);
    static constexpr COLORREF openColor = RGB(100, 255, 100);
    static constexpr COLORREF failedColor = RGB(255, 100, 100);
    static constexpr COLORREF waitingColor = RGB(255, 190, 60);   // amber: the line died, waiting for the port
    static constexpr COLORREF noisyTextColor = RGB(190, 0, 0);   // status text while bytes are rejected

    // The line's health, as the decoder of its bytes counts it for the present connection.
    struct LineHealth {
        uint64_t frames = 0;
        uint64_t rejected = 0; // bytes skipped while hunting for a frame's start
        uint32_t bytesPerSecond = 0;
    };

    SComPortControl();
    ~SComPortControl() override;
    const char* getClassName() const override { return "SComPortControl"; }
    // close(keepState) closes the port, close() the window.
    using SComPort::close;
    using SControlContainer::close;

    void onFirstShow() override;
    void onWatchedMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, LPARAM userValue) override;
    // The button over the whole width, below it the status line and, at its right, the gear
    // as wide as half the control is high; the status line takes what the gear leaves.
    void layoutChildren() override;

    // Called with true at the end of every connect attempt (also the control's own, once its
    // lost port is back), with false before every close.
    virtual void onConnectAction(bool connecting);
    virtual void connect();
    virtual void disconnect();
    virtual void showConfigDialog();
    // The platform's device-change broadcast (WM_DEVICECHANGE).
    virtual void onDeviceChange(WPARAM event, LPARAM data);

    // Button text and status line for the present state.
    void updateDisplay();

    // Told by the owner as often as it likes: shown in the tooltip (refreshed twice a second)
    // and traced every ten seconds while the line runs; rejected bytes colour the status text.
    void setLineHealth(const LineHealth& health);
    const LineHealth& getLineHealth() const { return health; }
    // The line died and the control waits for its port to come back under its own name.
    bool isWaiting() const { return waiting; }
    // Connections made so far (by a click or by the control itself): an owner that counts the
    // line's bytes starts afresh when this changes.
    int getConnectionCount() const { return connections; }

    static constexpr UINT lookForPortMs = 500;   // while waiting, how often the port is tried
    static constexpr DWORD healthTraceMs = 10000; // while open, how often the trace tells the health

    void setPersistSettings(bool on) { persistSettings = on; }
    // Comma-separated names of settings the dialog shows disabled (port, baud, stop, daten,
    // pari, tobrikcmd).
    void setLockedFields(const char* names) { lockedFields.setRaw(names ? names : ""); }
    const SString& getLockedFields() const { return lockedFields; }
    SButton& getConnectButton() { return connectButton; }
    SStatic& getStatusText() { return statusText; }
    SImageControl& getSettingsIcon() { return settingsIcon; }
    // "_Control<id>": the suffix of this control's section in the configuration file.
    SString sectionSuffix() const;

protected:
    void buildChildren();
    void placeChild(SControlPositioned& child, const char* text, const SRect& reference);
    void setStatusColor(COLORREF colour);
    // The line died (or its device went): closed, and waited for.
    void closeLostPort();
    HWND mainWindowHandle() const;
    SString portName() const; // upper-cased, as the status line shows it

    bool persistSettings = true;
    SButton connectButton;
    SString connectText;
    SString disconnectText;
    SString lockedFields;
    SImageControl settingsIcon;
    SStatic statusText;

private:
    // What the control is doing while its waits dispatch messages.
    enum class Busy { no, connecting, disconnecting, configuring };
    void onButtonClicked();
    // One connect; a failure is shown only to a user who asked for it.
    void attemptConnect(bool userAsked);
    static void CALLBACK onTick(HWND h, UINT, UINT_PTR, DWORD now);
    void tick();
    void lookForPort();
    void showTip();
    void showNoise();
    void traceHealth();

    LineHealth health;
    COLORREF plainTextColor = 0;
    bool childrenBuilt = false;
    Busy busy = Busy::no;
    bool disconnectAsked = false;    // during a connect: disconnect once it is done
    bool lostWhileConnecting = false; // during a connect: the line died, wait for it once done
    bool waiting = false;
    bool tipStale = false;
    int connections = 0;
    DWORD lastHealthTrace = 0;
};
