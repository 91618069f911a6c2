#include "VEK_CONTROLS/SCoolbar.h"

#include "VEK_CONTROLS/SPopupMenu.h"
#include "VEK_GUI/SFrameWindow.h"

SCoolbar::SCoolbar() {
    className = REBARCLASSNAMEA;
    iccClasses = ICC_COOL_CLASSES;
    style = WS_CHILD | WS_VISIBLE | WS_BORDER | RBS_BANDBORDERS | RBS_VARHEIGHT | CCS_NODIVIDER | CCS_NOPARENTALIGN;
    exStyle |= WS_EX_TOPMOST;
    rect.height = 40;
    positionable = 0; // the frame places its bars
    scaleWithFont = false;
    bandTemplate.cbSize = sizeof bandTemplate;
    bandTemplate.fMask = RBBIM_STYLE | RBBIM_COLORS | RBBIM_TEXT | RBBIM_CHILD | RBBIM_CHILDSIZE;
    bandTemplate.fStyle = RBBS_BREAK | RBBS_CHILDEDGE | RBBS_NOVERT | RBBS_FIXEDBMP | RBBS_NOGRIPPER;
    bandTemplate.clrFore = 0xFFFFFF;
    bandTemplate.clrBack = SPopupMenu::DefaultBackground;
    bandTemplate.cxMinChild = 50;
    bandTemplate.cyMinChild = 20;
    bandTemplate.cx = 0;
}

int SCoolbar::addBand(SWindow& child, const char* text) {
    if (!hwnd || !child.getHwnd()) return 0;
    REBARBANDINFOA band = bandTemplate;
    SString label(text ? text : "");
    band.lpText = const_cast<char*>(label.getBuffer());
    band.hwndChild = child.getHwnd();
    int r = (int)sendMessage(RB_INSERTBANDA, (WPARAM)-1, (LPARAM)&band);
    relayoutParent();
    return r;
}

bool SCoolbar::deleteBand(int index) {
    if (!hwnd) return false;
    bool r = sendMessage(RB_DELETEBAND, (WPARAM)index, 0) != 0;
    relayoutParent();
    return r;
}

void SCoolbar::relayoutParent() {
    if (SFrameWindow* frame = dynamic_cast<SFrameWindow*>(parent)) frame->layoutBars();
}
