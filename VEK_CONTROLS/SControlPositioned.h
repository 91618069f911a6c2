// SControlPositioned: a control placed by a design rectangle. Negative coordinates count
// from the parent's right and bottom edges, sizes follow the application's font scale, a
// position stored by the run-time layouter in controlpos.ini wins, and the anchor keeps the
// control at its edges when the parent is resized.
#pragma once

#include "VEK_CONTROLS/SControl.h"

#include <memory>

class SStringList;

class SPositioningWnd;

class SControlPositioned : public SControl {
public:
    // Width or height that keeps the control's default size.
    static constexpr int DefaultSize = -2000000000;

    SControlPositioned();
    ~SControlPositioned() override;
    const char* getClassName() const override { return "SControlPositioned"; }

    // Controls are made with createCtrl; create is refused.
    bool create(SWindow& parent) override;
    bool create(SWindow* parent = nullptr) override;
    bool createPending(SWindow& frame, int x, int y) override;
    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override;

    // Returns the control id.
    virtual int createCtrl(SWindow* parent, const char* text, int x, int y, int width = DefaultSize,
                           int height = DefaultSize, int anchorMode = 1);
    virtual int createControl(SWindow* parent, const char* text, SRect r, int anchorMode);
    virtual void onStartPositioning();
    virtual void onStopPositioning();
    virtual void onAfterCreate();
    virtual void onBeforeCreate();
    virtual void onFirstCreateStep();

    int createCtrl(SWindow& parent, const char* text, int x, int y, int width = DefaultSize,
                   int height = DefaultSize, int anchorMode = 1) {
        return createCtrl(&parent, text, x, y, width, height, anchorMode);
    }

    // Moves the control to its position stored in controlpos.ini, when there is one.
    bool loadControlpos();
    // Reading and fitting a stored value (see SControlPos).
    static SRect parseStoredRect(const char* value, const SRect& current);
    static SRect fitInto(const SRect& r, SSize parentSize);
    // "x,y,width,height" as stored in controlpos.ini.
    static SString rectText(const SRect& r);
    // The position key of controlpos.ini: class name, then the rectangle.
    SString positionKey(const SRect& r) const;

    const SRect& getDesignRect() const { return designRect; }
    bool isPositionable() const { return positionable != 0; }
    void setPositionable(bool on) { positionable = on ? 1 : 0; }
    void setScaleWithFont(bool on) { scaleWithFont = on; }
    // The layouter's overlay while the layouter runs, else null.
    SPositioningWnd* getPositioningWnd() const { return positioningWnd.get(); }

    // Hands the device's font to the platform control (WM_SETFONT). The font comes from the
    // application's cache, which outlives every window: a control never draws with a
    // deleted font.
    void applyFontToControl();

    // The items of a named style text, trimmed; none before the resource manager started
    // (styles are read there). Returns the item count.
    static int styleItems(const char* name, SStringList& items);
    // A style size (points, pixels) times the application's font scale, truncated.
    static int scaled(int value);

protected:
    // A control with a transparent background leaves its old text on the parent: the parent
    // repaints that place before a new text is shown.
    void invalidateBehind();
    // The rectangle of the control in its parent's client coordinates (rect before creation).
    SRect currentRect();
    SSize parentClientSize() const;

    SRect designRect;
    int positionable = 1;
    std::unique_ptr<SPositioningWnd> positioningWnd;
    bool scaleWithFont = true;
};
