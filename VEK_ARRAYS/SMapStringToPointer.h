// SMapStringToPointer: map from texts to pointers (not owned) (the library's map pattern, SMap).
#pragma once

#include "VEK_ARRAYS/SMap.h"

class SMapStringToPointer : public SMap<SString, void*> {
public:
    explicit SMapStringToPointer(bool sortedMap = false) : SMap(sortedMap) {}
    const char* getClassName() const override { return "SMapStringToPointer"; }
};
