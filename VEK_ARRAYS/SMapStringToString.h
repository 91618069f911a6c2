// SMapStringToString: map from texts to texts (the library's map pattern, SMap); it also
// fills "{{name}}" placeholders from its pairs.
#pragma once

#include "VEK_ARRAYS/SMap.h"

class SMapStringToString : public SMap<SString, SString> {
public:
    explicit SMapStringToString(bool sortedMap = false) : SMap(sortedMap) {}
    const char* getClassName() const override { return "SMapStringToString"; }

    // text with every prefix + key + suffix replaced by the key's value, pair by pair in
    // map order.
    SString expand(const char* text, const char* prefix = "{{", const char* suffix = "}}") const;
};
