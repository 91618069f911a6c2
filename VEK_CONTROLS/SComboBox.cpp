#include "VEK_CONTROLS/SComboBox.h"

#include "VEK_CONTROLS/SEdit.h"
#include "VEK_CONTROLS/SLabel.h"
#include "VEK_UTIL/SError.h"

SComboBox::SComboBox() {
    className = "COMBOBOX";
    style |= CBS_DROPDOWN;
    rect.height = 120; // with the dropped list
}

SComboBox::~SComboBox() = default;

bool SComboBox::addLabel(const char* text, int x, int y, int w, int h) {
    return SEdit::addLabelTo(*this, label, text, x, y, w, h);
}

int SComboBox::addString(const char* text, LPARAM data) {
    int index = (int)sendMessage(CB_ADDSTRING, 0, (LPARAM)(text ? text : ""));
    if (index >= 0) setItemData(index, data);
    return index;
}

int SComboBox::insertString(const char* text, int index, LPARAM data) {
    int at = (int)sendMessage(CB_INSERTSTRING, (WPARAM)index, (LPARAM)(text ? text : ""));
    if (at >= 0) setItemData(at, data);
    return at;
}

SString SComboBox::getItemText(int index) {
    int length = (int)sendMessage(CB_GETLBTEXTLEN, (WPARAM)index);
    SString text;
    if (length <= 0) return text;
    char* room = text.prepareWrite(length + 1);
    sendMessage(CB_GETLBTEXT, (WPARAM)index, (LPARAM)room);
    text.commitWrite();
    return text;
}

int SComboBox::findString(const char* text, bool exact, int start) {
    return (int)sendMessage(exact ? CB_FINDSTRINGEXACT : CB_FINDSTRING, (WPARAM)(start - 1),
                            (LPARAM)(text ? text : ""));
}

int SComboBox::selectString(const char* text, int start) {
    return (int)sendMessage(CB_SELECTSTRING, (WPARAM)(start - 1), (LPARAM)(text ? text : ""));
}

void SComboBox::styleNoEdit() {
    if (created) {
        globalError.show("SCombobox::styleNoEdit(..) muss vor createCtrl(..) aufgerufen werden.", 0, "Fehler !", 16);
        return;
    }
    style = (style & ~(DWORD)0x3) | CBS_DROPDOWNLIST;
}
