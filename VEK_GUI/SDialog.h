// SDialog: a frame with OK (id 1) and Cancel (id 2) handling, Enter/Escape sent to its
// buttons and Tab moving the focus through its tab stops.
#pragma once

#include "VEK_CONTROLS/SButton.h"
#include "VEK_GUI/SFrameWindow.h"

class SDialog : public SFrameWindow {
public:
    SDialog();
    const char* getClassName() const override { return "SDialog"; }

    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override;
    int onKeyDown(int character, int scanCode, int virtualKey, bool firstPress) override;
    virtual int onCancel();
    virtual int onOK();

    // Ends a modal run with `value`, or closes a dialog that is not shown modally.
    void endDialog(int value);
    int getModalResult() const { return modalResult; }

    // The next (or previous) child with WS_TABSTOP that can take the focus after the
    // focused one, wrapping once.
    HWND nextTabStop(bool backwards) const;

    // The dialog's own buttons, OK with id 1 and Cancel with id 2; the dialog creates them
    // with createCtrl where it wants them.
    SButton& getOkButton() { return okButton; }
    SButton& getCancelButton() { return cancelButton; }

protected:
    SButton okButton;
    SButton cancelButton;
};
