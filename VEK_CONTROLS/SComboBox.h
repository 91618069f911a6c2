// SComboBox: a combo box ("COMBOBOX", editable drop-down by default) with item data and an
// optional label. Each operation is one message to the platform control.
#pragma once

#include "VEK_CONTROLS/SControlPredefined.h"

#include <memory>

class SLabel;

class SComboBox : public SControlPredefined {
public:
    SComboBox();
    ~SComboBox() override;
    const char* getClassName() const override { return "SComboBox"; }

    bool addLabel(const char* text, int offsetX, int offsetY, int width = -1, int height = -1);
    SLabel* getLabel() const { return label.get(); }

    // Index of the new item, or CB_ERR.
    int addString(const char* text, LPARAM data = 0);
    int insertString(const char* text, int index, LPARAM data = 0);
    int deleteString(int index) { return (int)sendMessage(CB_DELETESTRING, (WPARAM)index); }
    void resetContent() { sendMessage(CB_RESETCONTENT); }
    int getCount() { return (int)sendMessage(CB_GETCOUNT); }
    int getCurSel() { return (int)sendMessage(CB_GETCURSEL); }
    int setCurSel(int index) { return (int)sendMessage(CB_SETCURSEL, (WPARAM)index); }
    LPARAM getItemData(int index) { return (LPARAM)sendMessage(CB_GETITEMDATA, (WPARAM)index); }
    int setItemData(int index, LPARAM data) { return (int)sendMessage(CB_SETITEMDATA, (WPARAM)index, data); }
    // Empty for an index outside the list.
    SString getItemText(int index);
    // Searches after item start - 1 (0: the whole list); exact or by prefix, case-insensitive.
    int findString(const char* text, bool exact, int start = 0);
    int selectString(const char* text, int start = 0);
    void setDroppedWidth(int width) { sendMessage(CB_SETDROPPEDWIDTH, (WPARAM)width); }
    // A list to choose from, without an edit field; only before createCtrl.
    void styleNoEdit();

protected:
    std::unique_ptr<SLabel> label;
};
