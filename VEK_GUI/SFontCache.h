// SFontCache: the fonts handed to windows with WM_SETFONT. A window draws with the font it
// was given for as long as it lives, so each description is made once and the fonts are
// deleted only with the application, after every window.
#pragma once

#include "VEK_GUI/SGdiObject.h"

#include <windows.h>

#include <vector>

class SFontCache {
public:
    SFontCache() = default;
    SFontCache(const SFontCache&) = delete;
    SFontCache& operator=(const SFontCache&) = delete;

    // The font for a description, made on first use; nullptr when it cannot be made.
    HFONT get(const LOGFONTA& description);
    int count() const { return (int)entries.size(); }

    // Whether two descriptions give the same font (every field, the face up to its end).
    static bool same(const LOGFONTA& a, const LOGFONTA& b);

private:
    struct Entry {
        LOGFONTA from;
        SGdiObject<HFONT> font;
    };
    std::vector<Entry> entries;
};
