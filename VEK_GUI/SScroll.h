// SScroll: scrolls a window's content by moving its drawing device's offset and its child
// windows, with the window's own scroll bars or separate bar controls.
#pragma once

#include <windows.h>

class SWindow;

struct SRange {
    int min = 0;
    int max = 0;
};

class SScroll {
public:
    explicit SScroll(SWindow* ownerWindow);
    virtual ~SScroll() = default;
    virtual void onHScroll(int request);
    virtual void onVScroll(int request);
    virtual const char* getClassName() const { return "SScroll"; }

    bool showBarHor(bool show);
    bool showBarVert(bool show);
    void enableBarHor(bool on);
    void enableBarVert(bool on);
    void setDocumentWidth(int width);
    void setDocumentHeight(int height);
    void setRangeHor(int min, int max, bool redraw = true);
    void setRangeVert(int min, int max, bool redraw = true);
    void setPosHor(int pos, bool redraw = true);  // -1 keeps the position
    void setPosVert(int pos, bool redraw = true);
    int getPosHor();
    int getPosVert();
    SRange getRangeHor();
    SRange getRangeVert();
    void update();

    // Negative steps are per cent of the page, positive ones scroll units.
    void setSteps(int line, int page) {
        lineStep = line;
        pageStep = page;
    }
    int resolveStep(int step, int page, int documentSize) const;
    void setScrollMode(int value) { scrollMode = (BYTE)value; }
    void setRepaintAfterScroll(bool on) { repaintAfterScroll = on ? 1 : 0; }
    void setBars(SWindow* vertical, SWindow* horizontal) {
        verticalBar = vertical;
        horizontalBar = horizontal;
    }
    // What the platform shows: it shows and hides its own bars as the range needs them.
    bool isHorizontalShown() const { return barShown(true); }
    bool isVerticalShown() const { return barShown(false); }

private:
    // One direction's bar: the handle and SB_CTL for a separate control, else the owner's.
    HWND barWindow(bool horizontal, int& bar) const;
    SCROLLINFO read(bool horizontal);
    // Every change goes through here; the shown flags are read back from the platform.
    void write(bool horizontal, const SCROLLINFO& info, bool redraw);
    bool barShown(bool horizontal) const;
    void scroll(bool horizontal, int request);
    bool showBar(bool horizontal, bool show);
    void enableBar(bool horizontal, bool on);
    void setRange(bool horizontal, int min, int max, bool redraw);
    void setPos(bool horizontal, int pos, bool redraw);
    bool follow(bool horizontal, bool repaint, bool scrollBits);
    void followPlatform(bool horizontal);
    void moveChildren(int dx, int dy);
    void updatePages();

    SWindow* owner;
    int reserved = 0;
    int lineStep = -10;
    int pageStep = -90;
    SWindow* verticalBar = nullptr;
    SWindow* horizontalBar = nullptr;
    BYTE scrollMode = 0;
    BYTE repaintAfterScroll = 1;
    int documentHeight = 0;
    int documentWidth = 0;
    int horizontalShown = 0;
    int verticalShown = 0;
    // A range set with setRangeHor/Vert is the program's: update leaves it alone.
    bool horizontalRangeByHand = false;
    bool verticalRangeByHand = false;
};
