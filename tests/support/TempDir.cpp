#include "tests/support/TempDir.h"

#include "VEK_SYSTEM/SSystem.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

TempDir::TempDir() {
    static int counter = 0;
    for (;;) {
        dir = SSystem::tempDirectory();
        dir.appendFormat("vektest_%lld_%d", (long long)SSystem::unixTime(), counter++);
        if (!SSystem::pathExists(dir)) break;
    }
    SSystem::createDirectory(dir);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(dir.getBuffer()), ignored);
}

SString TempDir::file(const char* name) const {
    SString p(dir);
    p.append(SSystem::pathSeparator());
    p.append(name);
    return p;
}

void TempDir::write(const char* name, const char* bytes, int length) const {
    if (length < 0) length = (int)std::strlen(bytes);
    FILE* f = std::fopen(file(name), "wb");
    if (!f) return;
    std::fwrite(bytes, 1, (size_t)length, f);
    std::fclose(f);
}

SString TempDir::read(const char* name) const {
    SString content;
    SSystem::readFile(file(name), content);
    return content;
}
