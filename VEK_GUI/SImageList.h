// SImageList: a platform image list of equal-sized images loaded by resource name (toolbar
// buttons). A bitmap's top-left pixel gives its transparent colour. The list counts among the
// library's live GDI handles (SGdiCount).
#pragma once

#include <windows.h>

#include <commctrl.h>

class SImageList {
public:
    SImageList() = default;
    virtual ~SImageList();
    virtual const char* getClassName() const { return "SImageList"; }
    SImageList(const SImageList&) = delete;
    SImageList& operator=(const SImageList&) = delete;

    bool create(int width, int height, UINT flags = ILC_COLOR32 | ILC_MASK, int initial = 10, int grow = 10);
    // Adds a .bmp or .ico file found through the resource manager (or the path itself);
    // the index of its (first) image, or -1.
    int add(const char* name);
    int getCount() const { return list ? ImageList_GetImageCount(list) : 0; }
    HIMAGELIST getHandle() const { return list; }

private:
    void destroy();

    HIMAGELIST list = nullptr;
};
