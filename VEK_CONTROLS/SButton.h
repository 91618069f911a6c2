// SButton: an owner-drawn push button styled by the resources: flat when a state's light
// and dark edge colours are equal, raised otherwise, with rounded corners of "SButton-form".
// It can be the default button (Enter) and shows the hand cursor while the mouse is over it.
// It draws with pens and brushes made once per colour for all buttons and with the font the
// window was given, nothing made per paint.
#pragma once

#include "VEK_ARRAYS/SNumList.h"
#include "VEK_CONTROLS/SButtonCtrl.h"

class SButton : public SButtonCtrl {
public:
    SButton();
    const char* getClassName() const override { return "SButton"; }

    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override;
    void onBeforeCreate() override;
    void onMouseMove(int keys, int x, int y) override;
    void onMouseLeave() override;
    // Draws the button into deviceContext for an owner-draw state (ODS_* bits).
    virtual void drawButton(const RECT& r, UINT itemState, HDC deviceContext);
    virtual void onMouseEnter();

    // Before creation marks this button default; afterwards tells its siblings.
    void setDefault();
    bool isDefaultButton() const { return isDefault != 0; }
    bool isMouseOver() const { return mouseOver != 0; }
    SSize getForm() const { return form; }
    const SNumList& getNormalColors() const { return normalColors; }
    const SNumList& getSelectedColors() const { return selectedColors; }
    const SNumList& getMouseOverColors() const { return mouseOverColors; }
    const SNumList& getDisabledColors() const { return disabledColors; }

protected:
    // The list for an owner-draw state: disabled, pressed, under the mouse or normal.
    const SNumList& colorsFor(UINT itemState) const;
    // Takes a colour list from a style of four items; fewer items keep the defaults.
    static void readColors(const char* styleName, SNumList& colors);
    void drawFlat(HDC dc, const SRect& r, const SNumList& c, SRect& textRect);
    void drawRaised(HDC dc, const SRect& r, const SNumList& c, SRect& textRect);

    SSize form;
    SNumList normalColors;
    SNumList selectedColors;
    SNumList mouseOverColors;
    SNumList disabledColors;
    int mouseOver = 0;
    int isDefault = 0;
};
