// SGraphicElementList: the graphic elements of one window in paint order (back to front).
// The list does not own its elements: they are members of the window.
#pragma once

#include "VEK_ARRAYS/SListBase.h"

class SGraphicElement;

class SGraphicElementList : public SListBase {
public:
    SGraphicElementList() = default;
    ~SGraphicElementList() override;
    SGraphicElementList(const SGraphicElementList&) = delete;
    SGraphicElementList& operator=(const SGraphicElementList&) = delete;
    const char* getClassName() const override { return "SGraphicElementList"; }

    // By layer: 0 when either layer is negative (not yet ordered), else -1, 0 or 1.
    virtual int compare(const SGraphicElement* a, const SGraphicElement* b) const;
    // After every insert, set and remove with the index concerned (-1 after remove and clear).
    virtual void onChanged(int index);

    int add(SGraphicElement* element);
    // Makes room for an empty entry at 0 <= index <= count; -1 after the range error.
    int insertAt(int index);
    bool setAt(int index, SGraphicElement* element);
    // The entry, or outside the list a spare empty entry (no message).
    SGraphicElement*& getAt(int index);
    SGraphicElement* operator[](int index) const;
    bool removeAt(int index);
    int indexOf(const SGraphicElement* element) const;
    void clear();
    // Sorts ascending by layer (equal elements keep their order) and renumbers the layers
    // 10, 20, 30 ...
    void sortByLayer();

private:
    void resize(int n);

    SGraphicElement** items = nullptr;
    SGraphicElement* spare = nullptr;
};
