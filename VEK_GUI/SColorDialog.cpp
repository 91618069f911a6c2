#include "VEK_GUI/SColorDialog.h"

#include <commdlg.h>

COLORREF* SColorDialog::customColors() {
    static COLORREF colors[16] = {0};
    return colors;
}

COLORREF SColorDialog::choose(HWND owner, COLORREF initial) {
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = initial;
    cc.lpCustColors = customColors();
    cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (!ChooseColorA(&cc)) return (COLORREF)-2;
    return cc.rgbResult;
}
