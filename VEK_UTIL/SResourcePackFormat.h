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

// Entry names become file names inside the unpack directory: only bare names that
// cannot reach outside it are allowed.
inline bool isBareFileName(const char* name, int length) {
    if (!name || length <= 0) return false;
    if ((length == 1 && name[0] == '.')) return false;
    for (int i = 0; i < length; ++i) {
        char c = name[i];
        if (c == 0 || c == '/' || c == '\\' || c == ':') return false;
        if (c == '.' && i + 1 < length && name[i + 1] == '.') return false;
    }
    return true;
}

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
