// SComportConfigDlg: the dialog in which the user picks a serial port (from the ports
// present now, refilled when a port arrives or goes) and its line settings. It writes into
// the settings it was given only when the user saves; named fields can be locked.
#pragma once

#include "VEK_CONTROLS/SButton.h"
#include "VEK_CONTROLS/SCheckBox.h"
#include "VEK_CONTROLS/SComboBox.h"
#include "VEK_GUI/SDialog.h"
#include "VEK_SYSTEM/SComPortSettings.h"

class SComportConfigDlg : public SDialog {
public:
    SComportConfigDlg();
    const char* getClassName() const override { return "SComportConfigDlg"; }

    void onPreCreateWindow() override;
    void onCreate(CREATESTRUCTA* createStruct) override;
    void onWatchedMessage(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, LPARAM userValue) override;
    int onCancel() override;

    // Required before create.
    void setSettings(SComPortSettings* edited) { settings = edited; }
    // Comma-separated: port, baud, stop, daten, pari, tobrikcmd.
    void setLockedFields(const char* names) { lockedFields.setRaw(names ? names : ""); }

    // The save button's step: checks the baud rate, takes every box into the settings and
    // ends the dialog with 1; a bad baud rate keeps it open with a message.
    void save();
    // Empties the port box and lists the present ports again.
    void fillPortBox();

    SComboBox& getPortBox() { return portBox; }
    SComboBox& getBaudBox() { return baudBox; }
    SComboBox& getStopBox() { return stopBox; }
    SComboBox& getDataBox() { return dataBox; }
    SComboBox& getParityBox() { return parityBox; }
    SCheckBox& getTobrikBox() { return tobrikBox; }
    SButton& getSaveButton() { return saveButton; }

    // A baud rate as typed: digits only (thousands dots allowed), 10 … 10000000; else -1.
    static int parseBaud(const SString& text);

protected:
    void createBoxes();
    void lockFields();
    HWND broadcastWindow() const;
    // The item data of a box's selected item, or `current` when nothing is selected.
    static int selectedData(SComboBox& box, int current);

    SComPortSettings* settings = nullptr;
    SString lockedFields;
    SComboBox portBox;
    SButton saveButton;
    SComboBox baudBox;
    SComboBox stopBox;
    SComboBox dataBox;
    SComboBox parityBox;
    SCheckBox tobrikBox;
};
