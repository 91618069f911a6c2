#include "VEK_ARRAYS/SStringList.h"

#include <cstring>

int SStringList::split(const char* text, const char* separator, bool skipIfEmpty) {
    clear();
    SString all;
    all.setRaw(text);
    if (all.isEmpty() && skipIfEmpty) return 0;
    int sepLen = separator ? (int)std::strlen(separator) : 0;
    int pos = 0;
    for (;;) {
        int hit = sepLen ? all.find(separator, pos) : -1;
        SString piece = hit < 0 ? all.from(pos) : all.mid(pos, hit - pos);
        if (!(skipIfEmpty && piece.isEmpty())) add(piece);
        if (hit < 0) break;
        pos = hit + sepLen;
    }
    return count();
}

SString SStringList::join(const char* separator) const {
    SString out;
    for (int i = 0; i < count(); ++i) {
        if (i) out.append(separator);
        out.append((*this)[i]);
    }
    return out;
}

int SStringList::splitArguments(const char* text) {
    clear();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : "");
    while (*p) {
        while (*p && *p <= 32) ++p;
        if (!*p) break;
        SString piece;
        bool quoted = false;
        while (*p && (quoted || *p > 32)) {
            if (*p == '"') quoted = !quoted;
            piece.append((char)*p++);
        }
        if (piece.length() >= 2 && piece.startsWith("\"") && piece.endsWith("\""))
            piece = piece.mid(1, piece.length() - 2);
        add(piece);
    }
    return count();
}

int SStringList::splitQuoted(const char* text, char separator, bool quoteHandling) {
    clear();
    const char* p = text ? text : "";
    SString piece;
    char quote = 0;
    for (; *p; ++p) {
        if (quoteHandling && (*p == '"' || *p == '\'') && (!quote || quote == *p))
            quote = quote ? 0 : *p;
        if (*p == separator && !quote) {
            add(piece);
            piece.clear();
        } else {
            piece.append(*p);
        }
    }
    add(piece);
    return count();
}

int SStringList::splitTokens(const char* text, const char* separator, bool unique) {
    SString rest;
    rest.setRaw(text);
    int before = count();
    while (!rest.isEmpty()) add(rest.cutFirst(separator), unique);
    return count() - before;
}
