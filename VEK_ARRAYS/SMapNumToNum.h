// SMapNumToNum: map from integers to integers (the library's map pattern, SMap).
#pragma once

#include "VEK_ARRAYS/SMap.h"

class SMapNumToNum : public SMap<int, int> {
public:
    explicit SMapNumToNum(bool sortedMap = false) : SMap(sortedMap) {}
    const char* getClassName() const override { return "SMapNumToNum"; }
};
