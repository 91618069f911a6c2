// SLanguage: three flat heap blocks (keys, texts, index) scanned linearly on lookup.
#include "VEK_UTIL/SLanguage.h"

#include "VEK_UTIL/SAssert.h"

#include <cstdlib>
#include <cstring>

namespace {

const char* const kFile = "VEK_UTIL/SLanguage";

bool isWild(char c) { return c == '?' || (unsigned char)c >= 0x80; }

// Position of the next "~~" in [from, end), or -1.
int findMarker(const char* text, int from, int end) {
    for (int i = from; i + 1 < end; ++i)
        if (text[i] == '~' && text[i + 1] == '~') return i;
    return -1;
}

} // namespace

SLanguage::SLanguage() {
    language.setRaw("de");
    marker.setRaw("~~");
}

SLanguage::~SLanguage() {
    std::free(keyPool);
    std::free(valuePool);
    std::free(index);
}

void SLanguage::clear() {
    std::free(keyPool);
    std::free(valuePool);
    std::free(index);
    keyPool = valuePool = nullptr;
    index = nullptr;
    keyPoolSize = keyPoolUsed = valuePoolSize = valuePoolUsed = 0;
    indexSize = indexAllocated = 0;
    errorText.clear();
    language.setRaw("de");
    missingIds.clear();
}

const char* SLanguage::lookup(const char* text, int& length) {
    if (!text || text[0] != '~' || text[1] != '~' || !enabled) return text;
    if (length < 0) length = (int)std::strlen(text);
    if (length < 2) return text;

    // "~~" id ["~~" German ["~~" English]], cut only within `length`.
    int idEnd = findMarker(text, 2, length);
    int idLen = (idEnd < 0 ? length : idEnd) - 2;
    const char *german = nullptr, *english = nullptr;
    int germanLen = 0, englishLen = 0;
    if (idEnd >= 0) {
        german = text + idEnd + 2;
        int germanEnd = findMarker(text, idEnd + 2, length);
        germanLen = (germanEnd < 0 ? length : germanEnd) - (idEnd + 2);
        if (germanEnd >= 0) {
            english = text + germanEnd + 2;
            englishLen = length - (germanEnd + 2);
        }
    }

    const char* id = text + 2;
    int len = idLen;
    if (find(id, len)) {
        length = len;
        return id;
    }
    if (language.startsWith("de") && german) {
        length = germanLen;
        return german;
    }
    if (language.startsWith("en") && english) {
        length = englishLen;
        return english;
    }
    if (collectMissing) {
        SString line;
        line.setRaw(text + 2, idLen);
        line.append("\r\n");
        if (missingIds.find(line) < 0) missingIds.append(line);
    }
    if (english) {
        length = englishLen;
        return english;
    }
    if (german) {
        length = germanLen;
        return german;
    }
    length = idLen;
    return text + 2;
}

// "?" and bytes from 0x80 on are skipped on either side, so that ids survive umlauts
// written in another code page.
bool SLanguage::keyMatches(const char* id, int length, const char* key) {
    int i = 0;
    for (;;) {
        if (i < length && isWild(id[i])) {
            ++i;
        } else if (*key && isWild(*key)) {
            ++key;
        } else if (i == length || !*key) {
            return i == length && !*key;
        } else if (id[i] != *key) {
            return false;
        } else {
            ++i;
            ++key;
        }
    }
}

bool SLanguage::find(const char*& id, int& length) const {
    int n = entryCount();
    for (int k = 0; k < n; ++k) {
        if (keyMatches(id, length, keyPool + index[k].key)) {
            id = valuePool + index[k].value;
            length = (int)std::strlen(id);
            return true;
        }
    }
    if (length >= 3 && !std::strncmp(id, "obj", 3)) {
        id += 3;
        length -= 3;
        return true;
    }
    return false;
}

uint32_t SLanguage::addToPool(char*& pool, uint32_t& used, uint32_t& size, const SString& text) {
    uint32_t needed = (uint32_t)text.length() + 1;
    if (size - used < needed + 10) {
        size = used + needed + 1000;
        char* p = static_cast<char*>(std::realloc(pool, size));
        VEK_ASSERT(p != nullptr, kFile);
        pool = p;
    }
    uint32_t offset = used;
    std::memcpy(pool + used, text.getBuffer(), needed);
    used += needed;
    return offset;
}

void SLanguage::addEntry(const SString& id, const SString& text) {
    if (indexAllocated - indexSize < sizeof(IndexEntry)) {
        indexAllocated += 1000;
        void* p = std::realloc(index, indexAllocated);
        VEK_ASSERT(p != nullptr, kFile);
        index = static_cast<IndexEntry*>(p);
    }
    IndexEntry& e = index[indexSize / sizeof(IndexEntry)];
    e.key = addToPool(keyPool, keyPoolUsed, keyPoolSize, id);
    e.value = addToPool(valuePool, valuePoolUsed, valuePoolSize, text);
    indexSize += sizeof(IndexEntry);
}

// Cuts every block to its used size (pools keep one extra zero byte).
void SLanguage::trimBlocks() {
    auto cut = [](char*& pool, uint32_t used, uint32_t& size) {
        if (!pool) return;
        size = used + 1;
        char* p = static_cast<char*>(std::realloc(pool, size));
        VEK_ASSERT(p != nullptr, kFile);
        pool = p;
        pool[used] = 0;
    };
    cut(keyPool, keyPoolUsed, keyPoolSize);
    cut(valuePool, valuePoolUsed, valuePoolSize);
    if (index && indexSize) {
        void* p = std::realloc(index, indexSize);
        VEK_ASSERT(p != nullptr, kFile);
        index = static_cast<IndexEntry*>(p);
        indexAllocated = indexSize;
    }
}

bool SLanguage::load(const char* text, int length) {
    if (!text) return false;
    if (length < 0) length = (int)std::strlen(text);
    enabled = false;
    int entry = 0;
    int pos = 0;
    while (pos < length) {
        ++entry;
        while (pos < length && (unsigned char)text[pos] <= 32) ++pos;
        if (pos >= length) break;
        int end = pos;
        while (end < length && text[end] != '\n') ++end;
        char first = text[pos];
        if (first != ';' && first != '#' && first != '[') {
            SString line;
            line.setRaw(text + pos, end - pos);
            // A line without "=" is an id with an empty text.
            int eq = line.findChar('=');
            SString id = eq < 0 ? line : line.left(eq);
            SString value = eq < 0 ? SString() : line.from(eq + 1);
            id.trim();
            value.trim();
            if (id.isEmpty())
                errorText.appendFormat("SLanguage::load(..) Eintrag Nr. %d hat einen leeren Schl\374ssel.\r\n",
                                       entry);
            else
                addEntry(id, value.unescape());
        }
        pos = end + 1;
    }
    trimBlocks();
    enabled = true;
    return true;
}
