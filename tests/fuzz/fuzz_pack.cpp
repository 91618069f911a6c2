// Fuzzes the resource pack reader with whole program files; every entry file must land
// inside the unpack directory and removeFiles must leave nothing behind.
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SResourcePack.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace {

int silentBox(void*, const char*, const char*, unsigned) { return SSystem::OK; }

const SString& workDir() {
    static SString dir = [] {
        SString d = SSystem::tempDirectory();
        d.appendFormat("vekfuzz_pack_%lld", (long long)SSystem::unixTime());
        SSystem::createDirectory(d);
        d.append(SSystem::pathSeparator());
        return d;
    }();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SSystem::setPresenter(silentBox);
    SString program = workDir() + "prog.exe";
    FILE* f = std::fopen(program, "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    SResourcePack pack;
    pack.setTempPath(workDir());
    pack.load(program);
    SString inside = pack.getTempDir() + SString(SSystem::pathSeparator());
    SMapStringToString& entries = pack.getEntries();
    for (int i = 0; i < entries.count(); ++i) {
        const SString& path = entries.getValueAt(i);
        if (!path.startsWith(inside) || path.from(inside.length()).findChar(SSystem::pathSeparator()) >= 0 ||
            !SSystem::fileExists(path))
            __builtin_trap();
    }
    pack.removeFiles();
    int left = 0;
    for (const auto& e : std::filesystem::directory_iterator(workDir().getBuffer()))
        left += e.is_directory() ? 1 : 0;
    if (left != 0) __builtin_trap();
    return 0;
}
