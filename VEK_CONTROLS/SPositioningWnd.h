// SPositioningWnd: the run-time layouter's overlay over one control. A transparent child of
// the control's parent that paints only eight square handles: dragging the body moves the
// control, dragging a handle resizes it, both on a grid (free while the left Shift key is
// down). On the frame's save message it stores where its control now lies.
#pragma once

#include "VEK_GUI/SWindow.h"

class SPositioningWnd : public SWindow {
public:
    // 0 nothing, 1 the body, 2-9 the handles clockwise from the top left.
    enum Zone { NoZone = 0, Body = 1, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

    static constexpr COLORREF Blue = 0xFF0000;
    static constexpr COLORREF Green = 0x00FF00;

    SPositioningWnd();
    const char* getClassName() const override { return "SPositioningWnd"; }

    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override;
    void onLButtonDown(int keys, int x, int y) override;
    void onMouseMove(int keys, int x, int y) override;
    void onLButtonUp(int keys, int x, int y) override;
    void onMouseLeave() override;
    void onPaint(SDevice& device) override;

    // Moves the overlay and its target for the pointer at point (client coordinates) while a
    // zone is dragged; false when the pointer has not travelled since the press.
    virtual bool onDrag(SPoint point);

    // Takes the target's window rectangle (parent coordinates) as its own; handles larger
    // than a third of that are made smaller.
    void bind(SWindow* window);
    void setDesignRect(const SRect& r) { designRect = r; }
    // Creates the overlay over the bound target as a child of the target's parent, on top.
    bool createOverTarget();

    // The zone at a client point: the first handle containing it (edges included), else
    // the body. With lastHandle the last one, as the cursor shows it.
    int zoneAt(SPoint p, bool lastHandle = false);
    SRect handleRect(int zone);
    SSize getHandleSize() const { return SSize{handleWidth, handleHeight}; }
    int getActiveZone() const { return activeZone; }
    COLORREF getFrameColor() const { return frameColor; }
    bool isHovered() const { return hovered != 0; }
    SWindow* getTarget() const { return target; }
    const SRect& getDesignRect() const { return designRect; }

protected:
    // Writes the target's entry: class and design rectangle as key, its place as value.
    virtual void savePosition(const char* section);
    // Where the dragged zone puts the overlay for the pointer at point (client coordinates):
    // false when the pointer has not travelled since the press.
    bool dragRect(SPoint point, SRect& result);
    int snap(int value) const;
    static int zoneCursor(int zone);
    SSize size();

    int handleWidth = 12;
    int handleHeight = 12;
    int grid = 10;
    COLORREF frameColor = Blue;
    COLORREF handleFillColor = 0xFFFFFF;
    SRect designRect;
    SPoint pressPoint;
    SRect startRect;
    int activeZone = NoZone;
    SWindow* target = nullptr;
    int hovered = 0;
};
