#include "VEK_GUI/SFontCache.h"

#include <cstring>

bool SFontCache::same(const LOGFONTA& a, const LOGFONTA& b) {
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

HFONT SFontCache::get(const LOGFONTA& description) {
    for (const Entry& e : entries)
        if (same(e.from, description)) return e.font.get();
    SGdiObject<HFONT> made(CreateFontIndirectA(&description));
    if (!made) return nullptr;
    HFONT handle = made.get();
    entries.push_back(Entry{description, std::move(made)});
    return handle;
}
