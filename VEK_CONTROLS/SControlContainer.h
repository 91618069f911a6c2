// SControlContainer: a control that keeps other controls (siblings in the same parent) in
// place over itself and scales them with its own size. Base of composite controls such as
// the serial port control.
#pragma once

#include "VEK_CONTROLS/SControlContainerElement.h"
#include "VEK_CONTROLS/SControlPositioned.h"

#include <vector>

class SControlContainer : public SControlPositioned {
public:
    SControlContainer();
    const char* getClassName() const override { return "SControlContainer"; }

    void onSize(int type, int width, int height) override;
    void onAfterCreate() override;
    // A move without a change of size (the layouter, a stored place) takes the children too.
    LRESULT windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled, LRESULT& result) override;
    // Moves every child to its rectangle scaled from the reference size to the present one.
    virtual void layoutChildren();
    // After a child was added (its index) or all were removed (-1).
    virtual void onElementsChanged(int index);

    // rect is relative to the container; without one the child keeps where it is now. The
    // layouter leaves children of a container alone, and so do their anchors: the container
    // places them wherever it goes.
    int addChild(SControlPositioned* child, const SRect* rect = nullptr);
    void removeAll();
    int getElementCount() const { return (int)elements.size(); }
    // Outside the list one shared empty element.
    const SControlContainerElement& getElement(int index) const;

    // The size for which the element rectangles are given (the container's size at creation
    // unless set).
    void setReferenceSize(SSize size) { referenceSize = size; }
    SSize getReferenceSize() const { return referenceSize; }

protected:
    SSize referenceSize;
    std::vector<SControlContainerElement> elements;
    int currentIndex = 0;
};
