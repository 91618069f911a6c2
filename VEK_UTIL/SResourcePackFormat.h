// SResourcePackFormat: what the pack reader (SResourcePack) and the pack builder
// (SResourcePackWriter, tools/vek-pack) must agree on.
#pragma once

#include <cstdint>
#include <cstring>

namespace SResourcePackFormat {

// Every data byte of every entry is XORed with this byte.
constexpr unsigned char KEY = 0xA7;

constexpr char START_MARKER[] = "vekres";
constexpr char END_MARKER[] = "vekend";
constexpr int MARKER_LENGTH = 6;
constexpr int TRAILER_LENGTH = MARKER_LENGTH + 4; // end marker + start offset

// Header after the start marker: its own length, then two words.
constexpr uint32_t HEADER_LENGTH = 16;
constexpr uint32_t HEADER_WORD1 = 2;
constexpr uint32_t HEADER_WORD2 = 0;

constexpr unsigned char BLOCK_ENTRY = 0;
constexpr unsigned char BLOCK_END = 'v'; // the end marker's first byte

// A pack never starts this close to the beginning of a program file.
constexpr uint32_t MIN_START = 100;

// The program's presence flag is an eleven-character literal: START_MARKER, "flag" and a
// digit. It is assembled here at run time so that the literal itself exists only once in
// a program, in SResourcePack.cpp.
constexpr int FLAG_MARKER_LENGTH = 11;
inline void flagMarker(char digit, char out[FLAG_MARKER_LENGTH + 1]) {
    std::memcpy(out, START_MARKER, MARKER_LENGTH);
    std::memcpy(out + MARKER_LENGTH, "flag", 4);
    out[FLAG_MARKER_LENGTH - 1] = digit;
    out[FLAG_MARKER_LENGTH] = 0;
}

// Entry names become file names inside the unpack directory on Windows: longer names than
// this could push the whole path beyond what the ANSI file functions take.
constexpr int MAX_NAME_LENGTH = 128;

namespace detail {

inline char lower(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

// CON, PRN, AUX, NUL, COM0-9, LPT0-9 (also with superscript 1, 2, 3): Windows opens
// the device instead of a file, whatever extension follows and with blanks before it.
inline bool isDeviceName(const char* name, int length) {
    int end = 0;
    while (end < length && name[end] != '.') ++end;
    while (end > 0 && name[end - 1] == ' ') --end;
    char base[4] = {0};
    if (end != 3 && end != 4) return false;
    for (int i = 0; i < 3; ++i) base[i] = lower(name[i]);
    if (end == 3)
        return !std::strcmp(base, "con") || !std::strcmp(base, "prn") || !std::strcmp(base, "aux") ||
               !std::strcmp(base, "nul");
    const unsigned char digit = (unsigned char)name[3];
    const bool port = !std::strcmp(base, "com") || !std::strcmp(base, "lpt");
    return port && ((digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3);
}

} // namespace detail

// Why a name cannot be an entry, or nullptr when it can. Entries are bare names that stay
// inside the unpack directory and that Windows can create as files.
inline const char* nameFault(const char* name, int length) {
    if (!name || length <= 0) return "leerer Name";
    if (length > MAX_NAME_LENGTH) return "Name zu lang";
    if (length == 1 && name[0] == '.') return "kein einfacher Dateiname";
    for (int i = 0; i < length; ++i) {
        const unsigned char c = (unsigned char)name[i];
        if (c == '/' || c == '\\' || c == ':') return "kein einfacher Dateiname";
        if (c == '.' && i + 1 < length && name[i + 1] == '.') return "kein einfacher Dateiname";
        if (c < 32) return "Steuerzeichen im Namen";
        if (std::strchr("<>\"|?*", c)) return "unter Windows unzul\344ssiges Zeichen";
    }
    if (name[length - 1] == '.' || name[length - 1] == ' ') return "Punkt oder Leerzeichen am Ende";
    if (detail::isDeviceName(name, length)) return "Ger\344tename unter Windows";
    return nullptr;
}

inline bool isBareFileName(const char* name, int length) { return nameFault(name, length) == nullptr; }

inline void putU32(unsigned char* p, uint32_t v) {
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16);
    p[3] = (unsigned char)(v >> 24);
}

inline uint32_t getU32(const unsigned char* p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

} // namespace SResourcePackFormat
