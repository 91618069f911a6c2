// SString: the one string type of the library. Growable, zero-terminated Windows-1252
// text; literals assigned to it pass through the language table (SLanguage).
#pragma once

#include <cstdarg>
#include <cstdint>

// printf checking of format texts. MinGW checks against the printf it links (gnu_printf
// with the C99 stdio that C++ programs get there), which its stdio.h names. A marked text
// whose German and English parts both carry the conversions is checked as one text: pass
// it through an SString first (which resolves it) and format with that.
#ifdef __MINGW32__
#include <cstdio>
#endif
#if defined(__MINGW32__) && defined(__MINGW_PRINTF_FORMAT)
#define VEK_PRINTF(fmt, args) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, args)))
#elif defined(__GNUC__)
#define VEK_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define VEK_PRINTF(fmt, args)
#endif

class SStringList;
class SNumList;
#ifdef _WIN32
struct tagVARIANT;
#endif

class SString {
public:
    SString();
    SString(const char* text, int count = -1);
    SString(const SString& other);
    SString(SString&& other) noexcept;
    explicit SString(char c);
#ifdef _WIN32
    explicit SString(const wchar_t* bstr); // a BSTR or any UTF-16 text
    explicit SString(const tagVARIANT& variant);
#endif
    virtual ~SString();
    virtual const char* getClassName() const { return "SString"; }

    // Construction and assignment
    SString& set(const char* text, int count = -1); // through the language table
    SString& setRaw(const char* text, int count = -1); // bytes as they are
    SString& operator=(const SString& other);
    SString& operator=(SString&& other) noexcept;
    SString& operator=(const char* text);
    SString& operator=(char c);
    SString& operator=(int value);
    SString& operator=(long value);
    SString& operator=(double value);
    SString& format(const char* fmt, ...) VEK_PRINTF(2, 3);
    SString& appendFormat(const char* fmt, ...) VEK_PRINTF(2, 3);
    SString& formatV(const char* fmt, va_list args) VEK_PRINTF(2, 0);
    SString& appendFormatV(const char* fmt, va_list args) VEK_PRINTF(2, 0);
    static SString formatted(const char* fmt, ...) VEK_PRINTF(1, 2);

    // Appending and building
    SString& append(const char* text, int count = -1);
    SString& append(const SString& text);
    SString& append(char c);
    SString& append(int value);
    SString& operator+=(const char* text) { return append(text); }
    SString& operator+=(const SString& text) { return append(text); }
    SString& operator+=(char c) { return append(c); }
    SString& operator+=(int value) { return append(value); }
    SString& repeat(const char* text, int n);
    SString& insert(int pos, const char* text, int count = -1);
    SString& remove(int pos, int count = -1);
    SString& clear();

    // Access and substrings
    int length() const { return length_; }
    bool isEmpty() const { return length_ < 1; }
    const char* getBuffer() const { return buffer; }
    const char* getBufferOrNull() const { return length_ > 0 ? buffer : nullptr; }
    operator const char*() const { return buffer; }
    int getCapacity() const { return capacity; }
    int getPrecision() const { return precision; }
    void setPrecision(int digits) { precision = digits; }
    char getAt(int i) const;
    bool setAt(int i, char c);
    SString mid(int start, int count) const;
    SString left(int n) const { return mid(0, n); }
    SString from(int start) const;
    SString right(int n) const;
    SString cutFirst(const char* separator);
    SString token(const char* separator, int& pos) const;
    SString& abbreviate(int n);

    // Search and comparison
    int find(const char* text, int start = 0, bool ignoreCase = false) const;
    int findReverse(const char* text, bool ignoreCase = false) const;
    int findReverse(const char* text, int limit, bool ignoreCase) const;
    int findChar(char c, int start = 0) const;
    int findLastChar(char c) const;
    int count(const char* text) const;
    // Every match of a regular expression ("/expr/modifiers") in this text, see SRegExp::findAll.
    int match(const char* pattern, SStringList& results, SNumList* positions = nullptr) const;
    bool startsWith(const char* text, bool ignoreCase = false) const;
    bool endsWith(const char* text, bool ignoreCase = false) const;
    int compare(const char* other, bool ignoreCase = false) const;
    int compareAs(const SString& other, const char* mode) const;
    static int compareNatural(const char* a, const char* b);
    bool operator==(const SString& o) const { return compare(o) == 0; }
    bool operator==(const char* o) const { return compare(o) == 0; }
    bool operator!=(const SString& o) const { return compare(o) != 0; }
    bool operator!=(const char* o) const { return compare(o) != 0; }
    bool operator<(const SString& o) const { return compare(o) < 0; }
    bool operator<=(const SString& o) const { return compare(o) <= 0; }
    bool operator>(const SString& o) const { return compare(o) > 0; }
    bool operator>=(const SString& o) const { return compare(o) >= 0; }

    // Case and trimming
    SString& toLower();
    SString& toUpper();
    static char lowerChar(char c);
    static char upperChar(char c);
    SString& trim();
    SString& trimLeft();
    SString& trimRight();
    SString& trim(const char* set);

    // Replacing
    int replace(const char* oldText, const char* newText, bool repeat = false);
    int replaceChar(char a, char b);
    int replaceChars(const char* set, char c);

    // Conversions
    int toNumber() const { return toNumber(buffer); }
    static int toNumber(const char* text);
    double toDouble() const;
    int toInt() const { return (int)toNumber(); }
    SString& fromColor(uint32_t colour);
    const wchar_t* toWide();
    SString toUtf8() const;
    int fromUtf8(const char* text, int count = -1);
    SString urlEncode() const;
    SString urlDecode() const;
    SString escape() const;
    SString unescape() const;
    static int quotedLength(const char* text);
    static SString takeQuoted(SString& text, int pos, bool remove, bool unquote);
    SString toHtml(int mode = 0) const;
    SString fromHtml() const;
    bool translate();

    // Windows-1252 byte <-> Unicode code point. The five unassigned bytes map to the C1
    // code points of the same value (as Windows does); code points outside the page to '?'.
    static unsigned codePointOf(unsigned char c);
    static char byteOf(unsigned codePoint);

    // Direct writing for C APIs: a zeroed buffer of `room` bytes plus the terminator, then
    // the length is taken with strlen.
    char* prepareWrite(int room);
    void commitWrite();

private:
    void reserve(int needed, bool keep = true);
    void growFor(int needed);
    void setLength(int n);

    int precision = 10;
    int capacity = 0;
    char* buffer = nullptr;
    int length_ = 0; // "length": the byte count before the terminator
    wchar_t* wideBuffer = nullptr;
    int wideSize = 0;
};

SString operator+(const SString& a, const SString& b);
SString operator+(const SString& a, const char* b);
SString operator+(const char* a, const SString& b);
