// TempDir: a fresh directory below the system's temporary directory, removed with all its
// files (not subdirectories' contents beyond one level) when the object goes away.
#pragma once

#include "VEK_UTIL/SString.h"

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const SString& path() const { return dir; }
    SString file(const char* name) const; // path of a file inside
    void write(const char* name, const char* bytes, int length = -1) const;
    SString read(const char* name) const;

private:
    SString dir;
};
