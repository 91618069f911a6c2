// pack_probe PROGRAM: reads the pack of PROGRAM (normally this program itself) the way the
// application does and prints what it found, for the vek-pack tests.
#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SResourcePack.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (!SResourcePack::markerSaysPacked()) {
        std::printf("ungepackt\n");
        return 3;
    }
    SResourcePack pack;
    if (argc < 2 || !pack.load(argv[1])) return 1;
    SMapStringToString& entries = pack.getEntries();
    std::printf("entries=%d\n", entries.count());
    for (int i = 0; i < entries.count(); ++i) {
        SString content;
        SSystem::readFile(entries.getValueAt(i), content);
        std::printf("%s=[%s]\n", entries.getKeyAt(i).getBuffer(), content.getBuffer());
    }
    SString dir = pack.getTempDir();
    pack.removeFiles();
    std::printf("removed=%d\n", SSystem::pathExists(dir) ? 0 : 1);
    return 0;
}
