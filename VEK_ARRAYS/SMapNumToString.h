// SMapNumToString: map from integers to texts (the library's map pattern, SMap).
#pragma once

#include "VEK_ARRAYS/SMap.h"

class SMapNumToString : public SMap<int, SString> {
public:
    explicit SMapNumToString(bool sortedMap = false) : SMap(sortedMap) {}
    const char* getClassName() const override { return "SMapNumToString"; }
};
