// SMapStringToNum: map from texts to integers (the library's map pattern, SMap).
#pragma once

#include "VEK_ARRAYS/SMap.h"

class SMapStringToNum : public SMap<SString, int> {
public:
    explicit SMapStringToNum(bool sortedMap = false) : SMap(sortedMap) {}
    const char* getClassName() const override { return "SMapStringToNum"; }
};
