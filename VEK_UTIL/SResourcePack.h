// SResourcePack: reads the resource pack appended to a program file and unpacks every
// entry into a new directory below the temporary path.
#pragma once

#include "VEK_ARRAYS/SMapStringToString.h"
#include "VEK_UTIL/SResourcePackFormat.h"
#include "VEK_UTIL/SString.h"

class SResourcePack {
public:
    static constexpr unsigned char KEY = SResourcePackFormat::KEY;

    SResourcePack() = default;
    SResourcePack(const SResourcePack&) = delete;
    SResourcePack& operator=(const SResourcePack&) = delete;
    virtual ~SResourcePack() = default;
    virtual const char* getClassName() const { return "SResourcePack"; }

    // The flag digit of the program's marker literal: "1" once a pack has been appended.
    static bool markerSaysPacked();

    // Reads the pack of programFile (whatever the marker says; the caller asks it first).
    // True when the pack was read completely; on failure the one message box has been
    // shown. Files of an earlier load are removed first, and so are the unpack directories
    // that runs which have ended left behind. The new directory is this run's alone.
    bool load(const char* programFile);

    const SString& getTempDir() const { return tempDir; }
    SMapStringToString& getEntries() { return entries; } // lower-case name -> full path
    const SString& getErrorText() const { return errorText; }

    // Deletes every entry file and the directory, and empties the entry map.
    void removeFiles();

    // The directory below which the unpack directory is made; empty means the system's
    // temporary directory. Must end with the path separator.
    void setTempPath(const char* path) { tempPath.setRaw(path); }

private:
    SString tempPath;
    SString tempDir;
    SMapStringToString entries;
    SString errorText;
};
