// SMapNumToMenuPointer: map from command ids to popup menus (not owned) (the library's map
// pattern, SMap).
#pragma once

#include "VEK_ARRAYS/SMap.h"

class SPopupMenu;

class SMapNumToMenuPointer : public SMap<int, SPopupMenu*> {
public:
    explicit SMapNumToMenuPointer(bool sortedMap = false) : SMap(sortedMap) {}
    const char* getClassName() const override { return "SMapNumToMenuPointer"; }
};
