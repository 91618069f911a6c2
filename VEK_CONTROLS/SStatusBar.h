// SStatusBar: the status bar along the bottom of a frame: one simple text, or parts whose
// right edges a text such as "100,200" gives; clicks reach the frame's onStatusBar… handlers.
#pragma once

#include "VEK_CONTROLS/SControlLoaded.h"

class SStatusBar : public SControlLoaded {
public:
    SStatusBar();
    const char* getClassName() const override { return "SStatusBar"; }

    // Clicks on a part (NM_CLICK, NM_RCLICK, NM_DBLCLK) go to the frame's handlers.
    int onReflectedNotify(int code, NMHDR* header) override;

    // Right edges of the parts, separated by commas; a last part up to the right edge
    // follows. Fewer than two parts make the bar simple (one text).
    bool setParts(const char* text);
    // style: 0, SBT_NOBORDERS, SBT_POPOUT …; in simple mode the part is ignored.
    bool setText(int part, const char* text, int textStyle = 0);
    bool setTipText(int part, const char* text);
    bool isSimple() { return hwnd && sendMessage(SB_ISSIMPLE, 0, 0) != 0; }
    int getPartCount() { return hwnd ? (int)sendMessage(SB_GETPARTS, 0, 0) : 0; }
    SString getText(int part);
    int getHeight() { return hwnd ? getWindowRect(false).height : 0; }
};
