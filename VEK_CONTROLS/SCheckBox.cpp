#include "VEK_CONTROLS/SCheckBox.h"

SCheckBox::SCheckBox() : uncheckedText("nein"), checkedText("ja") {
    style |= BS_AUTOCHECKBOX;
    device.setColors(SPainter::Keep, SPainter::Transparent);
    styleName.setRaw("SCheckBox-normal");
}

int SCheckBox::onReflectedNotify(int code, NMHDR* header) {
    if (code == BN_CLICKED) updateDependents();
    return SButtonCtrl::onReflectedNotify(code, header);
}

void SCheckBox::onAfterCreate() {
    SButtonCtrl::onAfterCreate();
    device.setColors(SPainter::Keep, SPainter::Transparent); // the button base set a face colour
    updateDependents();
}

void SCheckBox::setWindowText(const char* text) {
    invalidateBehind();
    SButtonCtrl::setWindowText(text);
}

void SCheckBox::setChecked(bool on) {
    sendMessage(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
    updateDependents();
}

void SCheckBox::setTexts(const char* checked, const char* unchecked) {
    checkedText = checked;
    uncheckedText = unchecked;
}

void SCheckBox::addDependent(SWindow* window, int mode) {
    if (!window) return;
    dependents.add(window);
    dependentModes.add(mode);
    if (hwnd) updateDependents();
}

void SCheckBox::updateDependents() {
    if (!hwnd) return;
    bool checked = isChecked();
    for (int i = 0; i < dependents.count(); ++i) {
        SWindow* w = static_cast<SWindow*>(dependents[i]);
        if (w->isWindow()) w->enable(dependentModes[i] == 0 ? checked : !checked);
    }
}
