// SToolbar: a common-controls toolbar of text buttons with images from an image list (the
// top-left pixel of each image is transparent) and one tooltip text per command.
#pragma once

#include "VEK_ARRAYS/SMapNumToString.h"
#include "VEK_CONTROLS/SControlPredefined.h"
#include "VEK_GUI/SImageList.h"

class SToolbar : public SControlPredefined {
public:
    SToolbar();
    const char* getClassName() const override { return "SToolbar"; }

    void onMouseMove(int keys, int x, int y) override;
    const char* getToolTipText() override;
    // Posts the request to open the menu of a button (the menu bar answers it).
    virtual void postOpenMenu(int id);

    // The bar is made by the platform's toolbar function, not by createCtrl.
    bool createToolbar(SWindow* parentWindow);
    bool createToolbar(SWindow& parentWindow) { return createToolbar(&parentWindow); }

    // Returns the id (0 = the application's next control id), or 0 when the button was left
    // out because its image could not be loaded.
    // Under TBSTYLE_EX_MIXEDBUTTONS only buttons with BTNS_SHOWTEXT show their text.
    int addButton(const char* text, const char* imageName = "", int id = 0,
                  BYTE buttonStyle = BTNS_BUTTON | BTNS_SHOWTEXT | BTNS_AUTOSIZE,
                  DWORD_PTR data = 0);
    void setToolTipText(int id, const char* text);
    bool setButtonState(int id, BYTE state);
    int getButtonState(int id) { return (int)sendMessage(TB_GETSTATE, (WPARAM)id, 0); }
    bool enableButton(int id, bool on) { return sendMessage(TB_ENABLEBUTTON, (WPARAM)id, MAKELPARAM(on, 0)) != 0; }
    bool checkButton(int id, bool on) { return sendMessage(TB_CHECKBUTTON, (WPARAM)id, MAKELPARAM(on, 0)) != 0; }
    int getButtonCount() { return hwnd ? (int)sendMessage(TB_BUTTONCOUNT, 0, 0) : 0; }
    // The command id of the button at a client point, 0 when there is none.
    int buttonAt(SPoint p);
    SRect getButtonRect(int id);
    int getHeight() { return hwnd ? getWindowRect(false).height : buttonHeight; }
    const SImageList& getImageList() const { return imageList; }

    static constexpr const char* DefaultToolTip = "Toolbar-Schaltfl\344chen";

protected:
    void onAfterCreate() override;

    int buttonHeight = 22;
    int toolTipMode = 1;
    int toolTipWidth = 200;
    int bitmapWidth = 16;
    int bitmapHeight = 16;
    SImageList imageList;
    SMapNumToString toolTips;
    SPoint mousePosition;
    DWORD extendedStyle = TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS;

private:
    SString toolTipAnswer;
};
