// SPointList: list of integer points (the library's list pattern, SList).
#pragma once

#include "VEK_ARRAYS/SList.h"
#include "VEK_UTIL/SGeometry.h"

class SPointList : public SList<SPoint> {
public:
    const char* getClassName() const override { return "SPointList"; }
};
