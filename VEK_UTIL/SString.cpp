// SString: growth in 128-byte steps, language lookup on assignment, conversions.
#include "VEK_UTIL/SString.h"

#include "VEK_UTIL/SAssert.h"
#include "VEK_UTIL/SLanguage.h"
#include "VEK_UTIL/SRegExp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#include <oleauto.h>
#endif

namespace {

const char* const kFile = "VEK_UTIL/SString";

// Windows-1252 0x80..0x9F; the unassigned bytes keep their own value (as on Windows).
const unsigned short kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isBlank(unsigned char c) { return c >= 1 && c <= 32; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Folding of the natural comparison: letters to upper case, umlauts to their base letter.
unsigned char foldNatural(unsigned char c) {
    if (c >= 'a' && c <= 'z') return (unsigned char)(c - 32);
    switch (c) {
    case 0xE4: case 0xC4: return 'A';
    case 0xF6: case 0xD6: return 'O';
    case 0xFC: case 0xDC: return 'U';
    case 0xDF: return 'S';
    default: return c;
    }
}

struct Entity {
    unsigned char byte;
    const char* name;
    bool markup; // written only when the mode is not 1
};

const Entity kEntities[] = {
    {0x80, "&euro;", false}, {0xA9, "&copy;", false}, {0xAE, "&reg;", false},
    {0xB2, "&sup2;", false}, {0xB3, "&sup3;", false}, {0xB5, "&micro;", false},
    {0xC4, "&Auml;", false}, {0xD6, "&Ouml;", false}, {0xDC, "&Uuml;", false},
    {0xDF, "&szlig;", false}, {0xE4, "&auml;", false}, {0xF6, "&ouml;", false},
    {0xFC, "&uuml;", false}, {'"', "&quot;", true}, {'&', "&amp;", true},
    {'\'', "&prime;", true}, {'<', "&lt;", true}, {'>', "&gt;", true},
    // read by fromHtml only
    {0xA0, "&nbsp;", false}, {'\'', "&apos;", false}, {0xB0, "&deg;", false},
    {0xA7, "&sect;", false}, {0xD7, "&times;", false}, {0xF7, "&divide;", false},
};
const int kWrittenEntities = 18;

} // namespace

[[noreturn]] void vekAssertFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", condition, file, line);
    std::fflush(stderr);
    std::abort();
}

// ---------------------------------------------------------------- construction

SString::SString() { reserve(0, false); }

SString::SString(const char* text, int count) { set(text, count); }

SString::SString(const SString& other) : precision(10) { setRaw(other.buffer, other.length_); }

SString::SString(SString&& other) noexcept
    : capacity(other.capacity), buffer(other.buffer), length_(other.length_) {
    other.buffer = nullptr;
    other.capacity = 0;
    other.length_ = 0;
    other.reserve(0, false);
}

SString::SString(char c) {
    char text[2] = {c, 0};
    setRaw(text, c ? 1 : 0);
}

#ifdef _WIN32
SString::SString(const wchar_t* bstr) {
    reserve(0, false);
    if (!bstr) return;
    for (const wchar_t* p = bstr; *p; ++p) append(byteOf((unsigned)*p));
}

SString::SString(const tagVARIANT& variant) {
    reserve(0, false);
    const VARIANT& v = reinterpret_cast<const VARIANT&>(variant);
    if (v.vt == VT_BSTR) {
        *this = SString(v.bstrVal);
        return;
    }
    VARIANT converted;
    VariantInit(&converted);
    if (SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(&v), 0, VT_BSTR)))
        *this = SString(converted.bstrVal);
    VariantClear(&converted);
}
#endif

SString::~SString() {
    std::free(buffer);
    std::free(wideBuffer);
}

// Capacity is always 128*k - 1; the buffer is reallocated (growing or shrinking) only
// when the rounded size differs from the current one.
void SString::reserve(int needed, bool keep) {
    VEK_ASSERT(needed >= 0, kFile);
    int wanted = needed | 127;
    if (buffer && wanted == (capacity | 127)) {
        if (!keep) setLength(0);
        return;
    }
    char* p = static_cast<char*>(std::realloc(keep ? buffer : nullptr, (size_t)wanted + 1));
    VEK_ASSERT(p != nullptr, kFile);
    if (!keep) {
        std::free(buffer);
        std::memset(p, 0, (size_t)wanted + 1);
        length_ = 0;
    } else {
        int old = buffer ? capacity + 1 : 0;
        if (wanted + 1 > old) std::memset(p + old, 0, (size_t)(wanted + 1 - old));
        if (length_ > wanted) length_ = wanted;
        p[length_] = 0;
    }
    buffer = p;
    capacity = wanted;
}

// Appending grows the buffer by at least half, so that a text built piece by piece moves
// each byte only a few times; the capacity keeps its form 128*k - 1.
void SString::growFor(int needed) {
    if (buffer && needed <= capacity) return;
    long long wanted = buffer ? capacity + capacity / 2 : 0;
    if (wanted < needed) wanted = needed;
    if (wanted > 0x7FFFFF7F) wanted = needed;
    reserve((int)wanted);
}

void SString::setLength(int n) {
    length_ = n;
    buffer[n] = 0;
}

SString& SString::setRaw(const char* text, int count) {
    if (!text) text = "";
    if (count < 0) count = (int)std::strlen(text);
    if (text >= buffer && buffer && text <= buffer + capacity) {
        SString copy(*this); // the text lies in our own buffer
        copy.setRaw(text, count);
        return *this = std::move(copy);
    }
    reserve(count, false);
    std::memcpy(buffer, text, (size_t)count);
    setLength(count);
    return *this;
}

SString& SString::set(const char* text, int count) {
    if (text) text = globalLanguage.lookup(text, count);
    return setRaw(text, count);
}

SString& SString::operator=(const SString& other) {
    if (this != &other) setRaw(other.buffer, other.length_);
    return *this;
}

SString& SString::operator=(SString&& other) noexcept {
    if (this == &other) return *this;
    std::free(buffer);
    buffer = other.buffer;
    capacity = other.capacity;
    length_ = other.length_;
    other.buffer = nullptr;
    other.capacity = 0;
    other.length_ = 0;
    other.reserve(0, false);
    return *this;
}

SString& SString::operator=(const char* text) { return set(text); }

SString& SString::operator=(char c) { return *this = SString(c); }

SString& SString::operator=(int value) { return format("%d", value); }

SString& SString::operator=(long value) { return format("%ld", value); }

SString& SString::operator=(double value) {
    int digits = precision < 100 ? precision : 100;
    if (digits < 1) digits = 1;
    char text[128];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return setRaw(text);
}

// printf-style formatting onto the end. A short result goes through a stack buffer, a
// longer one through one heap buffer of its exact size, so arguments may point into this
// string and a call costs only what it adds. Results are cut at 10,000,000 bytes.
SString& SString::appendFormatV(const char* fmt, va_list args) {
    const int limit = 10000000;
    int len = -1;
    const char* chosen = globalLanguage.lookup(fmt ? fmt : "", len);
    SString copy; // a German variant ends at "~~" and needs a terminator of its own
    const char* pattern = chosen;
    if (len >= 0 && chosen[len] != 0) pattern = copy.setRaw(chosen, len).getBuffer();

    char small[512];
    char* room = small;
    char* heap = nullptr;
    int window = (int)sizeof small;
    int n;
    for (;;) {
        va_list again;
        va_copy(again, args);
        n = std::vsnprintf(room, (size_t)window, pattern, again);
        va_end(again);
        if (n >= 0 && n < window) break;
        if (window > limit) { // cut: what fitted, or nothing without a count
            n = n < 0 ? 0 : window - 1;
            break;
        }
        // A runtime that only says "too small" (-1) gets ten times the room.
        window = n >= 0 ? n + 1 : window * 10;
        if (window > limit + 1) window = limit + 1;
        char* p = static_cast<char*>(std::realloc(heap, (size_t)window));
        VEK_ASSERT(p != nullptr, kFile);
        room = heap = p;
    }
    // Up to the first zero byte, as strlen would take it (a "%c" of 0 ends the text).
    const void* zero = std::memchr(room, 0, (size_t)n);
    append(room, zero ? (int)(static_cast<const char*>(zero) - room) : n);
    std::free(heap);
    return *this;
}

SString& SString::formatV(const char* fmt, va_list args) {
    SString out;
    out.appendFormatV(fmt, args);
    return *this = std::move(out);
}

char* SString::prepareWrite(int room) {
    reserve(room, false);
    return buffer;
}

void SString::commitWrite() { setLength((int)std::strlen(buffer)); }

SString& SString::format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    formatV(fmt, args);
    va_end(args);
    return *this;
}

SString& SString::appendFormat(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    appendFormatV(fmt, args);
    va_end(args);
    return *this;
}

SString SString::formatted(const char* fmt, ...) {
    SString s;
    va_list args;
    va_start(args, fmt);
    s.formatV(fmt, args);
    va_end(args);
    return s;
}

// ---------------------------------------------------------------- appending and building

SString& SString::append(const char* text, int count) {
    if (!text) return *this;
    if (count < 0) count = (int)std::strlen(text);
    if (count == 0) return *this;
    if (buffer && text >= buffer && text <= buffer + capacity) {
        SString copy;
        copy.setRaw(text, count); // appending (a part of) ourselves
        return append(copy.buffer, count);
    }
    growFor(length_ + count);
    std::memcpy(buffer + length_, text, (size_t)count);
    setLength(length_ + count);
    return *this;
}

SString& SString::append(const SString& text) { return append(text.buffer, text.length_); }

SString& SString::append(char c) {
    if (c == 0) return *this;
    growFor(length_ + 1);
    buffer[length_] = c;
    setLength(length_ + 1);
    return *this;
}

SString& SString::append(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return append(text);
}

SString& SString::repeat(const char* text, int n) {
    SString piece;
    piece.setRaw(text);
    for (int i = 0; i < n; ++i) append(piece);
    return *this;
}

SString& SString::insert(int pos, const char* text, int count) {
    if (!text) return *this;
    if (count < 0) count = (int)std::strlen(text);
    if (pos < 0) pos += length_;
    if (pos < 0) pos = 0;
    if (pos >= length_) return append(text, count);
    SString piece;
    piece.setRaw(text, count);
    growFor(length_ + count);
    std::memmove(buffer + pos + count, buffer + pos, (size_t)(length_ - pos));
    std::memcpy(buffer + pos, piece.buffer, (size_t)count);
    setLength(length_ + count);
    return *this;
}

SString& SString::remove(int pos, int count) {
    if (pos < 0 || pos >= length_) return *this;
    if (count < 0 || count > length_ - pos) count = length_ - pos;
    std::memmove(buffer + pos, buffer + pos + count, (size_t)(length_ - pos - count));
    setLength(length_ - count);
    reserve(length_);
    return *this;
}

SString& SString::clear() {
    reserve(0, false);
    return *this;
}

// ---------------------------------------------------------------- access and substrings

char SString::getAt(int i) const { return i >= 0 && i < length_ ? buffer[i] : 0; }

bool SString::setAt(int i, char c) {
    if (i < 0 || i >= length_) return false;
    buffer[i] = c;
    if (c == 0) setLength(i);
    return true;
}

SString SString::mid(int start, int count) const {
    if (start < 0) start += length_;
    if (start < 0 || start >= length_ || count == 0) return SString();
    if (count < 0) count = length_ - start + count;
    if (count <= 0) return SString();
    if (count > length_ - start) count = length_ - start;
    SString s;
    s.setRaw(buffer + start, count);
    return s;
}

SString SString::from(int start) const {
    if (start < 0) return right(-start);
    return mid(start, length_ - start);
}

SString SString::right(int n) const {
    if (n <= 0) return SString();
    if (n > length_) n = length_;
    return mid(length_ - n, n);
}

SString SString::cutFirst(const char* separator) {
    int pos = find(separator);
    SString head;
    if (pos < 0) {
        head = *this;
        clear();
        return head;
    }
    head = left(pos);
    remove(0, pos + (int)std::strlen(separator));
    return head;
}

SString SString::token(const char* separator, int& pos) const {
    if (pos < 0) pos = 0;
    if (pos >= length_) return SString();
    int hit = find(separator, pos);
    SString piece;
    if (hit < 0) {
        piece = from(pos);
        pos = length_;
    } else {
        piece = mid(pos, hit - pos);
        pos = hit + (int)std::strlen(separator);
    }
    return piece;
}

SString& SString::abbreviate(int n) {
    if (n < 1) n = 1;
    if (length_ <= n) return *this;
    setLength(n);
    buffer[n - 1] = '.';
    return append("..");
}

// ---------------------------------------------------------------- search and comparison

int SString::find(const char* text, int start, bool ignoreCase) const {
    if (!text || !*text) return -1;
    if (start < 0) start = 0;
    int n = (int)std::strlen(text);
    for (int i = start; i + n <= length_; ++i) {
        int j = 0;
        for (; j < n; ++j) {
            char c = buffer[i + j];
            if (ignoreCase ? c != lowerChar(text[j]) && c != upperChar(text[j]) : c != text[j]) break;
        }
        if (j == n) return i;
    }
    return -1;
}

int SString::findReverse(const char* text, bool ignoreCase) const {
    int last = -1;
    for (int hit = find(text, 0, ignoreCase); hit >= 0; hit = find(text, hit + 1, ignoreCase))
        last = hit;
    return last;
}

int SString::findReverse(const char* text, int limit, bool ignoreCase) const {
    if (limit < 0) return mid(0, limit).findReverse(text, ignoreCase);
    int hit = from(limit).findReverse(text, ignoreCase);
    return hit < 0 ? -1 : hit + limit;
}

int SString::findChar(char c, int start) const {
    if (start < 0) start = 0;
    for (int i = start; i < length_; ++i)
        if (buffer[i] == c) return i;
    return -1;
}

int SString::findLastChar(char c) const {
    for (int i = length_ - 1; i >= 0; --i)
        if (buffer[i] == c) return i;
    return -1;
}

int SString::count(const char* text) const {
    int n = 0;
    for (int hit = find(text); hit >= 0; hit = find(text, hit + 1)) ++n;
    return n;
}

int SString::match(const char* pattern, SStringList& results, SNumList* positions) const {
    SRegExp expression;
    return expression.findAll(pattern, buffer, results, positions);
}

bool SString::startsWith(const char* text, bool ignoreCase) const {
    if (!text) return false;
    int n = (int)std::strlen(text);
    if (n > length_) return false;
    for (int i = 0; i < n; ++i) {
        char a = buffer[i], b = text[i];
        if (ignoreCase ? lowerChar(a) != lowerChar(b) : a != b) return false;
    }
    return true;
}

bool SString::endsWith(const char* text, bool ignoreCase) const {
    if (!text) return false;
    int n = (int)std::strlen(text);
    if (n > length_) return false;
    return right(n).startsWith(text, ignoreCase) || n == 0;
}

int SString::compare(const char* other, bool ignoreCase) const {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(buffer);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(other ? other : "");
    for (;; ++a, ++b) {
        int x = *a, y = *b;
        if (ignoreCase) { // _stricmp folds ASCII letters only
            if (x >= 'A' && x <= 'Z') x += 32;
            if (y >= 'A' && y <= 'Z') y += 32;
        }
        if (x != y) return x < y ? -1 : 1;
        if (!x) return 0;
    }
}

int SString::compareAs(const SString& other, const char* mode) const {
    if (mode && !std::strcmp(mode, "i")) {
        int a = toNumber(), b = other.toNumber();
        return a < b ? -1 : a > b ? 1 : 0;
    }
    if (mode && !std::strcmp(mode, "f")) {
        double a = toDouble(), b = other.toDouble();
        return a < b ? -1 : a > b ? 1 : 0;
    }
    if (mode && !std::strcmp(mode, "s")) return compare(other);
    return compareNatural(buffer, other.buffer);
}

int SString::compareNatural(const char* a, const char* b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b ? b : "");
    for (;;) {
        while (*p == ' ' || (*p >= 9 && *p <= 13)) ++p;
        while (*q == ' ' || (*q >= 9 && *q <= 13)) ++q;
        if (!*p || !*q) return *p ? 1 : *q ? -1 : 0;
        if (isDigit((char)*p) && isDigit((char)*q)) {
            const unsigned char *ps = p, *qs = q;
            while (isDigit((char)*p)) ++p;
            while (isDigit((char)*q)) ++q;
            if (p - ps != q - qs) return p - ps < q - qs ? -1 : 1;
            int c = std::memcmp(ps, qs, (size_t)(p - ps));
            if (c) return c < 0 ? -1 : 1;
            continue;
        }
        unsigned char x = foldNatural(*p++), y = foldNatural(*q++);
        if (x != y) return x < y ? -1 : 1;
    }
}

// ---------------------------------------------------------------- case and trimming

char SString::lowerChar(char c) {
    unsigned char u = (unsigned char)c;
    if ((u >= 'A' && u <= 'Z') || u == 0xC4 || u == 0xD6 || u == 0xDC) return (char)(u + 32);
    return c;
}

char SString::upperChar(char c) {
    unsigned char u = (unsigned char)c;
    if ((u >= 'a' && u <= 'z') || u == 0xE4 || u == 0xF6 || u == 0xFC) return (char)(u - 32);
    return c;
}

SString& SString::toLower() {
    for (int i = 0; i < length_; ++i) buffer[i] = lowerChar(buffer[i]);
    return *this;
}

SString& SString::toUpper() {
    for (int i = 0; i < length_; ++i) buffer[i] = upperChar(buffer[i]);
    return *this;
}

SString& SString::trim() { return trimRight().trimLeft(); }

SString& SString::trimLeft() {
    int n = 0;
    while (n < length_ && isBlank((unsigned char)buffer[n])) ++n;
    return remove(0, n);
}

SString& SString::trimRight() {
    int n = length_;
    while (n > 0 && isBlank((unsigned char)buffer[n - 1])) --n;
    setLength(n);
    reserve(n);
    return *this;
}

SString& SString::trim(const char* set) {
    if (!set || !*set) return *this;
    int end = length_;
    while (end > 0 && std::strchr(set, buffer[end - 1])) --end;
    int start = 0;
    while (start < end && std::strchr(set, buffer[start])) ++start;
    return *this = mid(start, end - start);
}

// ---------------------------------------------------------------- replacing

int SString::replace(const char* oldText, const char* newText, bool repeat) {
    if (!oldText || !*oldText) return 0;
    if (!newText) newText = "";
    int oldLen = (int)std::strlen(oldText), newLen = (int)std::strlen(newText);
    int total = 0;
    for (;;) {
        SString out;
        int done = 0, pos = 0;
        for (int hit = find(oldText); hit >= 0; hit = find(oldText, pos)) {
            out.append(buffer + pos, hit - pos);
            out.append(newText, newLen);
            pos = hit + oldLen; // never search inside the replacement
            ++done;
        }
        if (!done) break;
        out.append(buffer + pos, length_ - pos);
        *this = std::move(out);
        total += done;
        // A replacement that contains the searched text would repeat forever.
        if (!repeat || std::strstr(newText, oldText)) break;
    }
    return total;
}

int SString::replaceChar(char a, char b) {
    int n = 0;
    for (int i = 0; i < length_; ++i)
        if (buffer[i] == a) {
            buffer[i] = b;
            ++n;
        }
    if (b == 0 && n) setLength((int)std::strlen(buffer));
    return n;
}

int SString::replaceChars(const char* set, char c) {
    int n = 0;
    if (!set) return 0;
    for (int i = 0; i < length_; ++i)
        if (std::strchr(set, buffer[i]) && buffer[i]) {
            buffer[i] = c;
            ++n;
        }
    if (c == 0 && n) setLength((int)std::strlen(buffer));
    return n;
}

// ---------------------------------------------------------------- conversions

int SString::toNumber(const char* text) {
    if (!text) return 0;
    int len = (int)std::strlen(text);
    auto hex2 = [](const char* p) {
        int h = hexValue(p[0]), l = hexValue(p[1]);
        return (uint32_t)((h < 0 ? 0 : h) * 16 + (l < 0 ? 0 : l));
    };
    if (text[0] == '#' && len > 6) // #RRGGBB -> 0x00BBGGRR
        return (int)(hex2(text + 1) | hex2(text + 3) << 8 | hex2(text + 5) << 16);
    if (text[0] == '#' && len > 3) { // #RGB, every digit doubled
        uint32_t v = 0;
        for (int i = 0; i < 3; ++i) {
            int d = hexValue(text[1 + i]);
            v |= (uint32_t)((d < 0 ? 0 : d) * 17) << (8 * i);
        }
        return (int)v;
    }
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        uint32_t v = 0;
        for (const char* p = text + 2; hexValue(*p) >= 0; ++p) v = v * 16 + (uint32_t)hexValue(*p);
        return (int)v;
    }
    if (text[0] == '0' && (text[1] == 'b' || text[1] == 'B')) {
        uint32_t v = 0;
        for (int i = 2; i < 35 && (text[i] == '0' || text[i] == '1'); ++i) v = v * 2 + (uint32_t)(text[i] - '0');
        return (int)v;
    }
    long long v = std::strtoll(text, nullptr, 10); // atol, saturated to 32 bits
    if (v > 2147483647LL) v = 2147483647LL;
    if (v < -2147483647LL - 1) v = -2147483647LL - 1;
    return (int)v;
}

double SString::toDouble() const { return std::atof(buffer); }

SString& SString::fromColor(uint32_t colour) {
    return format("#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

unsigned SString::codePointOf(unsigned char c) { return c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c; }

char SString::byteOf(unsigned codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return (char)codePoint;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == codePoint) return (char)(0x80 + i);
    return '?';
}

const wchar_t* SString::toWide() {
    int size = 2 * (capacity + 1);
    if (!wideBuffer || wideSize < size) {
        std::free(wideBuffer);
        wideBuffer = static_cast<wchar_t*>(std::calloc((size_t)capacity + 1, sizeof(wchar_t)));
        VEK_ASSERT(wideBuffer != nullptr, kFile);
        wideSize = size;
    }
    for (int i = 0; i < length_; ++i) wideBuffer[i] = (wchar_t)codePointOf((unsigned char)buffer[i]);
    wideBuffer[length_] = 0;
    return wideBuffer;
}

SString SString::toUtf8() const {
    SString out;
    for (int i = 0; i < length_; ++i) {
        unsigned cp = codePointOf((unsigned char)buffer[i]);
        if (cp < 0x80) {
            out.append((char)cp);
        } else if (cp < 0x800) {
            out.append((char)(0xC0 | (cp >> 6)));
            out.append((char)(0x80 | (cp & 0x3F)));
        } else {
            out.append((char)(0xE0 | (cp >> 12)));
            out.append((char)(0x80 | ((cp >> 6) & 0x3F)));
            out.append((char)(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

// Decodes UTF-8; malformed sequences and characters outside Windows-1252 become '?'.
int SString::fromUtf8(const char* text, int count) {
    if (!text) text = "";
    if (count < 0) count = (int)std::strlen(text);
    SString out;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    for (int i = 0; i < count;) {
        unsigned c = p[i];
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || i + extra >= count) {
            out.append('?');
            ++i;
            continue;
        }
        unsigned cp = extra ? c & (0x3F >> extra) : c;
        int k = 1;
        for (; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) break;
            cp = cp << 6 | (p[i + k] & 0x3F);
        }
        if (k <= extra) {
            out.append('?');
            i += k;
            continue;
        }
        i += extra + 1;
        char b = byteOf(cp);
        if (b) out.append(b);
    }
    *this = std::move(out);
    return length_;
}

SString SString::urlEncode() const {
    SString out;
    for (int i = 0; i < length_; ++i) {
        unsigned char c = (unsigned char)buffer[i];
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            out.append((char)c);
        else
            out.appendFormat("%%%02X", c);
    }
    return out;
}

SString SString::urlDecode() const {
    SString out;
    for (int i = 0; i < length_; ++i) {
        char c = buffer[i];
        if (c == '%' && i + 2 < length_ && hexValue(buffer[i + 1]) >= 0 && hexValue(buffer[i + 2]) >= 0) {
            char b = (char)(hexValue(buffer[i + 1]) * 16 + hexValue(buffer[i + 2]));
            if (b) out.append(b);
            i += 2;
        } else {
            out.append(c == '+' ? ' ' : c);
        }
    }
    return out;
}

SString SString::escape() const {
    SString out;
    for (int i = 0; i < length_; ++i) {
        unsigned char c = (unsigned char)buffer[i];
        switch (c) {
        case '\r': out.append("\\r"); break;
        case '\n': out.append("\\n"); break;
        case '\t': out.append("\\t"); break;
        case '\'': out.append("\\'"); break;
        case '"': out.append("\\\""); break;
        case '\\': out.append("\\\\"); break;
        default:
            if (c < 32)
                out.appendFormat("\\x%02X", c);
            else
                out.append((char)c);
        }
    }
    return out;
}

SString SString::unescape() const {
    SString out;
    for (int i = 0; i < length_; ++i) {
        char c = buffer[i];
        if (c != '\\' || i + 1 >= length_) {
            out.append(c);
            continue;
        }
        char e = buffer[++i];
        switch (e) {
        case 'r': out.append('\r'); break;
        case 'n': out.append('\n'); break;
        case 't': out.append('\t'); break;
        case 'x': {
            int v = 0, k = 0;
            while (k < 2 && i + 1 < length_ && hexValue(buffer[i + 1]) >= 0) v = v * 16 + hexValue(buffer[++i]), ++k;
            if (k == 0) out.append('x');
            else if (v) out.append((char)v);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                int v = e - '0';
                for (int k = 1; k < 3 && i + 1 < length_ && buffer[i + 1] >= '0' && buffer[i + 1] <= '7'; ++k)
                    v = v * 8 + (buffer[++i] - '0');
                if (v & 0xFF) out.append((char)(v & 0xFF)); // a NUL cannot live in the text
            } else {
                out.append(e); // \' \" \\ and unknown escapes give the byte itself
            }
        }
    }
    return out;
}

int SString::quotedLength(const char* text) {
    if (!text || (text[0] != '"' && text[0] != '\'')) return 0;
    char quote = text[0];
    for (int i = 1; text[i]; ++i) {
        if (text[i] == '\\') {
            if (!text[i + 1]) return 0;
            ++i;
        } else if (text[i] == quote) {
            return i + 1;
        }
    }
    return 0;
}

SString SString::takeQuoted(SString& text, int pos, bool remove, bool unquote) {
    if (pos < 0 || pos >= text.length()) return SString();
    int n = quotedLength(text.getBuffer() + pos);
    if (n == 0) return SString();
    SString token = text.mid(pos, n);
    if (remove) text.remove(pos, n);
    if (unquote) token = token.mid(1, n - 2);
    return token;
}

SString SString::toHtml(int mode) const {
    SString out;
    for (int i = 0; i < length_; ++i) {
        unsigned char c = (unsigned char)buffer[i];
        const char* entity = nullptr;
        for (int k = 0; k < kWrittenEntities && !entity; ++k)
            if (kEntities[k].byte == c && (mode != 1 || !kEntities[k].markup)) entity = kEntities[k].name;
        if (entity)
            out.append(entity);
        else
            out.append((char)c);
    }
    return out;
}

SString SString::fromHtml() const {
    SString out;
    for (int i = 0; i < length_; ++i) {
        if (buffer[i] != '&') {
            out.append(buffer[i]);
            continue;
        }
        bool done = false;
        for (const Entity& e : kEntities) {
            int n = (int)std::strlen(e.name);
            if (!std::strncmp(buffer + i, e.name, (size_t)n)) {
                out.append((char)e.byte);
                i += n - 1;
                done = true;
                break;
            }
        }
        if (!done && buffer[i + 1] == '#') { // &#228; and &#xE4;
            int k = i + 2, v = 0, digits = 0;
            bool hex = buffer[k] == 'x' || buffer[k] == 'X';
            if (hex) ++k;
            for (; digits < 7 && (hex ? hexValue(buffer[k]) >= 0 : isDigit(buffer[k])); ++k, ++digits)
                v = v * (hex ? 16 : 10) + (hex ? hexValue(buffer[k]) : buffer[k] - '0');
            if (digits && buffer[k] == ';' && v > 0) {
                out.append(byteOf((unsigned)v));
                i = k;
                done = true;
            }
        }
        if (!done) out.append('&');
    }
    return out;
}

bool SString::translate() {
    const char* text = buffer;
    int len = length_;
    if (!globalLanguage.find(text, len)) return false;
    setRaw(text, len);
    return true;
}

// ---------------------------------------------------------------- free operators

SString operator+(const SString& a, const SString& b) {
    SString s(a);
    return s.append(b);
}

// Literals on either side pass through the language table, as on assignment.
SString operator+(const SString& a, const char* b) {
    SString s(a);
    return s.append(SString(b));
}

SString operator+(const char* a, const SString& b) {
    SString s(a);
    return s.append(b);
}
