// SControl: the base of every control. A child window with an identifier from the
// application's running counter and a style name; its parent reflects WM_COMMAND, WM_NOTIFY
// and WM_CTLCOLOR* back to it, so a control handles its own notifications and colours.
#pragma once

#include "VEK_GUI/SWindow.h"

class SControl : public SWindow {
public:
    SControl();
    const char* getClassName() const override { return "SControl"; }

    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override;
    // A notification reflected by the parent (WM_NOTIFY, or WM_COMMAND as SCommandHeader);
    // non-zero marks it handled.
    virtual int onReflectedNotify(int code, NMHDR* header);
    // Colours of a WM_CTLCOLOR* request: the text colours go onto the context; the answer is
    // the brush of the text background (the hollow brush while it is transparent).
    virtual HBRUSH onCtlColor(HDC deviceContext);
    // Without a background of its own it shows what lies behind it; it then takes that
    // picture from a parent that keeps one.
    bool isSeeThrough() { return device.getTextBackColor() == SPainter::Transparent; }
    int onEraseBackground(SDevice& device) override;

    int getControlId() const { return controlId; }
    // Also the window's identifier (the dialog's buttons take 1 and 2).
    void setControlId(int id);
    const SString& getStyleName() const { return styleName; }
    void setStyleName(const char* name) { styleName.setRaw(name ? name : ""); }

protected:
    SString styleName;
    int controlId = 0;
};
