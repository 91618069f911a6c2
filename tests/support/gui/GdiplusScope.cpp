#include "tests/support/gui/GdiplusScope.h"

#include <windows.h>

#include <gdiplus.h>

GdiplusScope::GdiplusScope() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR t = 0;
    started = Gdiplus::GdiplusStartup(&t, &input, nullptr) == Gdiplus::Ok;
    token = (std::uintptr_t)t;
}

GdiplusScope::~GdiplusScope() {
    if (started) Gdiplus::GdiplusShutdown((ULONG_PTR)token);
}
