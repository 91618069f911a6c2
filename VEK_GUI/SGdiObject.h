// Move-only owners of GDI handles: objects (pens, brushes, fonts, bitmaps), memory device
// contexts and icons. Each releases its handle once, in its destructor or on reset.
#pragma once

#include <windows.h>

template <class Handle>
class SGdiObject {
public:
    SGdiObject() = default;
    explicit SGdiObject(Handle h) : handle(h) {}
    ~SGdiObject() { reset(); }
    SGdiObject(SGdiObject&& other) noexcept : handle(other.release()) {}
    SGdiObject& operator=(SGdiObject&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    SGdiObject(const SGdiObject&) = delete;
    SGdiObject& operator=(const SGdiObject&) = delete;

    Handle get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }
    Handle release() {
        Handle h = handle;
        handle = nullptr;
        return h;
    }
    // The caller makes sure the old object is no longer selected into a context.
    void reset(Handle h = nullptr) {
        if (handle) DeleteObject(handle);
        handle = h;
    }

private:
    Handle handle = nullptr;
};

class SMemoryDC {
public:
    SMemoryDC() = default;
    explicit SMemoryDC(HDC compatibleTo) : dc(CreateCompatibleDC(compatibleTo)) {}
    ~SMemoryDC() { reset(); }
    SMemoryDC(SMemoryDC&& other) noexcept : dc(other.dc) { other.dc = nullptr; }
    SMemoryDC& operator=(SMemoryDC&& other) noexcept {
        if (this != &other) {
            reset();
            dc = other.dc;
            other.dc = nullptr;
        }
        return *this;
    }
    SMemoryDC(const SMemoryDC&) = delete;
    SMemoryDC& operator=(const SMemoryDC&) = delete;

    HDC get() const { return dc; }
    explicit operator bool() const { return dc != nullptr; }
    void reset() {
        if (dc) DeleteDC(dc);
        dc = nullptr;
    }

private:
    HDC dc = nullptr;
};

class SIconHandle {
public:
    SIconHandle() = default;
    explicit SIconHandle(HICON h) : icon(h) {}
    ~SIconHandle() { reset(); }
    SIconHandle(SIconHandle&& other) noexcept : icon(other.icon) { other.icon = nullptr; }
    SIconHandle& operator=(SIconHandle&& other) noexcept {
        if (this != &other) {
            reset();
            icon = other.icon;
            other.icon = nullptr;
        }
        return *this;
    }
    SIconHandle(const SIconHandle&) = delete;
    SIconHandle& operator=(const SIconHandle&) = delete;

    HICON get() const { return icon; }
    explicit operator bool() const { return icon != nullptr; }
    void reset(HICON h = nullptr) {
        if (icon) DestroyIcon(icon);
        icon = h;
    }

private:
    HICON icon = nullptr;
};
