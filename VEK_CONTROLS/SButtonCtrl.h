// SButtonCtrl: a control of the platform class "BUTTON". A click (or Enter and Escape in a
// dialog, sent as MSG_DIALOG_KEY) reaches onClicked.
#pragma once

#include "VEK_CONTROLS/SControlPredefined.h"

class SButtonCtrl : public SControlPredefined {
public:
    SButtonCtrl();
    const char* getClassName() const override { return "SButtonCtrl"; }

    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override;
    int onReflectedNotify(int code, NMHDR* header) override;
    void onAfterCreate() override;
    virtual void onClicked();

    // Sends the parent the WM_COMMAND of a click.
    void click();
    int getState() { return (int)sendMessage(BM_GETSTATE); }

protected:
    // Whether the button takes a click from the keyboard: visible and enabled by its style.
    bool acceptsKeyClick() const;
};
