// SComPortControl: a serial port with its controls: a button that connects and disconnects,
// a status line with the settings in a colour that tells the state (white closed, light
// green open, light red after a failed connect) and a settings icon that opens
// SComportConfigDlg. The settings live in the user configuration file, one section per
// control. The owner reads and writes through the SComPort base; received bytes go to the
// control's parent window. Clicks that arrive while a connect or disconnect is under way
// (dispatched by its waits) are not taken again: a disconnect asked for during the
// programmer exchange after connecting ends the exchange and follows it.
#pragma once

#include "VEK_CONTROLS/SButton.h"
#include "VEK_CONTROLS/SControlContainer.h"
#include "VEK_CONTROLS/SImageControl.h"
#include "VEK_CONTROLS/SStatic.h"
#include "VEK_SYSTEM/SComPort.h"

class SComPortControl : public SControlContainer, public SComPort {
public:
    static constexpr COLORREF closedColor = RGB(255, 255, 255);
    static constexpr COLORREF openColor = RGB(100, 255, 100);
    static constexpr COLORREF failedColor = RGB(255, 100, 100);

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

    // Called with true at the end of every connect attempt, with false before every close.
    virtual void onConnectAction(bool connecting);
    virtual void connect();
    virtual void disconnect();
    virtual void showConfigDialog();
    // The platform's device-change broadcast (WM_DEVICECHANGE).
    virtual void onDeviceChange(WPARAM event, LPARAM data);

    // Button text and status line for the present state.
    void updateDisplay();

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
    // The line died (or its device went): closed as after a disconnect.
    void closeLostPort();
    HWND mainWindowHandle() const;

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

    bool childrenBuilt = false;
    Busy busy = Busy::no;
    bool disconnectAsked = false; // during a connect: disconnect once it is done
};
