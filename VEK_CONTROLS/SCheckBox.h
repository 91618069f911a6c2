// SCheckBox: a check box with a text for each state and dependent windows that it enables
// or disables with its state.
#pragma once

#include "VEK_ARRAYS/SNumList.h"
#include "VEK_ARRAYS/SPointerList.h"
#include "VEK_CONTROLS/SButtonCtrl.h"

class SCheckBox : public SButtonCtrl {
public:
    SCheckBox();
    const char* getClassName() const override { return "SCheckBox"; }

    int onReflectedNotify(int code, NMHDR* header) override;
    void onAfterCreate() override;
    void setWindowText(const char* text) override;

    bool isChecked() { return sendMessage(BM_GETCHECK) == BST_CHECKED; }
    void setChecked(bool on);
    // checkedText while checked, else uncheckedText.
    const SString& getCheckedText() { return isChecked() ? checkedText : uncheckedText; }
    void setTexts(const char* checked, const char* unchecked);
    // Mode 0: the window is enabled while the box is checked; mode 1: while it is not.
    void addDependent(SWindow* window, int mode);
    void updateDependents();

protected:
    SString uncheckedText;
    SString checkedText;
    SPointerList dependents;
    SNumList dependentModes;
};
