// GdiplusScope: GDI+ is started for the lifetime of the object. Start-up is reference
// counted by GDI+, so a scope inside a program that already runs GDI+ is harmless.
#pragma once

#include <cstdint>

class GdiplusScope {
public:
    GdiplusScope();
    ~GdiplusScope();
    GdiplusScope(const GdiplusScope&) = delete;
    GdiplusScope& operator=(const GdiplusScope&) = delete;

    bool ok() const { return started; }

private:
    std::uintptr_t token = 0;
    bool started = false;
};
