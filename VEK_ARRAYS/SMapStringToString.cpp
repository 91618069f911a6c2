#include "VEK_ARRAYS/SMapStringToString.h"

SString SMapStringToString::expand(const char* text, const char* prefix, const char* suffix) const {
    SString result;
    result.setRaw(text);
    if (result.find(prefix) < 0) return result;
    for (int i = 0; i < count(); ++i) {
        SString placeholder;
        placeholder.setRaw(prefix);
        placeholder.append(getKeyAt(i));
        placeholder.append(suffix);
        result.replace(placeholder, getValueAt(i));
    }
    return result;
}
