// SPointerList: list of pointers; the objects pointed to are not owned (the library's list pattern, SList).
#pragma once

#include "VEK_ARRAYS/SList.h"


class SPointerList : public SList<void*> {
public:
    const char* getClassName() const override { return "SPointerList"; }
};
