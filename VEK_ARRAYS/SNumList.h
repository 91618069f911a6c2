// SNumList: list of integers (the library's list pattern, SList).
#pragma once

#include "VEK_ARRAYS/SList.h"
#include "VEK_UTIL/SString.h"

class SNumList : public SList<int> {
public:
    const char* getClassName() const override { return "SNumList"; }

    // Appends the items of a separated text such as a style ("#f0f0ff,#a0a0ff,12"), each
    // trimmed and read with SString::toNumber (colours as #RRGGBB, #RGB, 0x.. or decimal);
    // returns how many were appended.
    int addFromText(const char* text, const char* separator = ",") {
        if (!separator || !*separator) separator = ",";
        SString all;
        all.setRaw(text ? text : "");
        int added = 0;
        for (int pos = 0; pos < all.length();) {
            add(all.token(separator, pos).trim().toNumber());
            ++added;
        }
        return added;
    }
};
