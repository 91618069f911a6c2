// SGPosWnd: the positioning window of one graphic element: the layouter's overlay with its
// handles over the element's rectangle; dragging moves and resizes the element, the right
// button opens the element's context menu, and at the end it stores the element's record.
#pragma once

#include "VEK_CONTROLS/SPositioningWnd.h"

class SGraphicElement;

class SGPosWnd : public SPositioningWnd {
public:
    SGPosWnd();
    const char* getClassName() const override { return "SGPosWnd"; }

    using SPositioningWnd::bind;
    // Takes the element's bounding rectangle; handles larger than a third of it get smaller.
    void bind(SGraphicElement* element);
    SGraphicElement* getElement() const { return element; }

    void onFirstShow() override;
    void onMouseMove(int keys, int x, int y) override;
    bool onDrag(SPoint point) override;
    void onRButtonUp(int keys, int x, int y) override;

    // The element's context menu at a screen point; the chosen entry's index, or -1.
    int trackElementMenu(SPoint screenPoint);
    // Writes the element's record (window class + "_ge", class name and key rect, text form).
    void storeRecord();

protected:
    void savePosition(const char* section) override;

    SGraphicElement* element = nullptr;
};
