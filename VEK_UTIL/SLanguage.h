// SLanguage: the process-wide language table. Marked texts "~~id~~Deutsch~~English" are
// resolved to a loaded entry for the id, to the variant of the current language, or to a
// fallback; texts without the marker pass unchanged.
#pragma once

#include "VEK_UTIL/SString.h"

#include <cstdint>

class SLanguage {
public:
    SLanguage();
    virtual ~SLanguage();
    virtual const char* getClassName() const { return "SLanguage"; }

    // The text to use for `text` and its length (-1 on entry: up to the terminator). The
    // result is not always terminated at `length`: a German part stops before "~~".
    const char* lookup(const char* text, int& length);
    // Looks an id of `length` bytes up; on success id and length describe the entry's text.
    bool find(const char*& id, int& length) const;
    // Appends the entries of one language file's text.
    bool load(const char* text, int length = -1);
    void clear();

    const SString& getLanguage() const { return language; }
    void setLanguage(const char* code) { language.setRaw(code); }
    const SString& getErrorText() const { return errorText; }
    const SString& getMissingIds() const { return missingIds; }
    void setCollectMissing(bool on) { collectMissing = on; }
    bool isEnabled() const { return enabled; }
    int entryCount() const { return (int)(indexSize / sizeof(IndexEntry)); }

private:
    struct IndexEntry {
        uint32_t key;   // offset in keyPool
        uint32_t value; // offset in valuePool
    };
    static bool keyMatches(const char* id, int length, const char* key);
    uint32_t addToPool(char*& pool, uint32_t& used, uint32_t& size, const SString& text);
    void addEntry(const SString& id, const SString& text);
    void trimBlocks();

    SString language;
    SString errorText;
    bool enabled = true;
    SString missingIds;
    bool collectMissing = false;
    char* keyPool = nullptr;
    uint32_t keyPoolSize = 0;
    uint32_t keyPoolUsed = 0;
    IndexEntry* index = nullptr;
    uint32_t indexSize = 0;      // bytes in use
    uint32_t indexAllocated = 0; // bytes allocated
    char* valuePool = nullptr;
    uint32_t valuePoolSize = 0;
    uint32_t valuePoolUsed = 0;
    SString marker;
};

extern SLanguage globalLanguage;
