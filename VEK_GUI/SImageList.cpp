#include "VEK_GUI/SImageList.h"

#include "VEK_GUI/SGdiObject.h"
#include "VEK_UTIL/SResources.h"
#include "VEK_UTIL/SString.h"

namespace {

// The colour of a bitmap's top-left pixel: what its painter meant as "no colour".
COLORREF topLeftColour(HBITMAP bitmap) {
    SMemoryDC dc(nullptr);
    if (!dc) return CLR_NONE;
    HGDIOBJ previous = SelectObject(dc.get(), bitmap);
    COLORREF colour = GetPixel(dc.get(), 0, 0);
    SelectObject(dc.get(), previous);
    return colour;
}

} // namespace

SImageList::~SImageList() { destroy(); }

bool SImageList::create(int width, int height, UINT flags, int initial, int grow) {
    destroy();
    list = ImageList_Create(width, height, flags, initial, grow);
    SGdiCount::taken(list);
    return list != nullptr;
}

void SImageList::destroy() {
    if (!list) return;
    ImageList_Destroy(list);
    SGdiCount::given(list);
    list = nullptr;
}

int SImageList::add(const char* name) {
    if (!list || !name || !*name) return -1;
    SString path = globalResources.isInitialised() ? globalResources.getFile(name) : SString().setRaw(name);
    if (path.isEmpty()) return -1;
    if (path.endsWith(".ico", true)) {
        SIconHandle icon((HICON)LoadImageA(nullptr, path, IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
        return icon ? ImageList_ReplaceIcon(list, -1, icon.get()) : -1;
    }
    SGdiObject<HBITMAP> bitmap((HBITMAP)LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!bitmap) return -1;
    return ImageList_AddMasked(list, bitmap.get(), topLeftColour(bitmap.get()));
}
