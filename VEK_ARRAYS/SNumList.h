// SNumList: list of integers (the library's list pattern, SList).
#pragma once

#include "VEK_ARRAYS/SList.h"


class SNumList : public SList<int> {
public:
    const char* getClassName() const override { return "SNumList"; }
};
