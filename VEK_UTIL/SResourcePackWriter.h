// SResourcePackWriter: builds a resource pack and appends it to a program file, setting
// the program's presence flag. Used by tools/vek-pack and by the tests.
#pragma once

#include "VEK_UTIL/SString.h"

#include <cstdint>
#include <vector>

class SResourcePackWriter {
public:
    virtual ~SResourcePackWriter() = default;
    virtual const char* getClassName() const { return "SResourcePackWriter"; }

    // Adds an entry under its lower-cased name; refuses, naming it and why, a name that is not
    // a bare file name Windows can create, or that is already there.
    bool addEntry(const char* name, const char* data, int length);
    int getCount() const { return (int)entries.size(); }

    // The pack bytes for a pack that starts at offset `start` of the program file.
    SString buildPack(uint32_t start) const;

    // The program's bytes with the flag digit set to "1" and the pack appended. Refuses a
    // program that is already packed or whose flag literal is missing or not unique.
    bool packProgram(const SString& program, SString& packed);

    // Reads programFile and writes the packed program to outFile (may be the same path)
    // through a temporary file and a rename.
    bool packFile(const char* programFile, const char* outFile);

    const SString& getErrorText() const { return errorText; }

private:
    struct Entry {
        SString name;
        SString data;
    };
    bool fail(const char* text, const char* detail = nullptr);

    std::vector<Entry> entries;
    SString errorText;
};
