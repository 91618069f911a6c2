// SStringList: list of texts (the library's list pattern, SList) with splitting and joining.
#pragma once

#include "VEK_ARRAYS/SList.h"
#include "VEK_UTIL/SString.h"

class SStringList : public SList<SString> {
public:
    const char* getClassName() const override { return "SStringList"; }

    // Clears the list and adds the pieces between the separators (the last one too);
    // with skipIfEmpty empty pieces are left out. Returns the number of pieces.
    int split(const char* text, const char* separator, bool skipIfEmpty = false);
    SString join(const char* separator) const;
    // Splits at blanks (bytes up to 32) outside double quotes; "a b" loses its quotes.
    int splitArguments(const char* text);
    // Splits at a one-byte separator; with quoteHandling separators inside '…' or "…" count
    // as text.
    int splitQuoted(const char* text, char separator, bool quoteHandling = true);
    // Cuts the text piece by piece before the separator and adds each; returns how many
    // were added.
    int splitTokens(const char* text, const char* separator, bool unique = false);
};
