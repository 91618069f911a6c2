// SPointFloatList: list of float points (the library's list pattern, SList).
#pragma once

#include "VEK_ARRAYS/SList.h"
#include "VEK_UTIL/SGeometry.h"

class SPointFloatList : public SList<SPointFloat> {
public:
    const char* getClassName() const override { return "SPointFloatList"; }
};
