// icon-gen OUTPUT_DIR: writes the program's pictures into OUTPUT_DIR: app_big.ico (32 x 32
// and 48 x 48), app_smal.ico (16 x 16), setting.bmp (16 x 16 gear) and vek.bmp (70 x 35,
// the information button). Bitmaps stand on white, the colour their controls leave out.
#include "tools/icon-gen/Drawings.h"
#include "tools/icon-gen/ImageFiles.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr, "usage: icon-gen OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    const Rgba white = rgb(0xffffff);
    bool ok = writeIcon(dir + "/app_big.ico", {drawTank(32), drawTank(48)}) &&
              writeIcon(dir + "/app_smal.ico", {drawTank(16)}) &&
              writeBitmap(dir + "/setting.bmp", drawGear(16), white) &&
              writeBitmap(dir + "/vek.bmp", drawInfoButton(70, 35), white);
    if (!ok) std::fprintf(stderr, "icon-gen: cannot write into %s\n", dir.c_str());
    return ok ? 0 : 1;
}
