// Move-only owners of GDI handles: objects (pens, brushes, fonts, bitmaps), memory device
// contexts and icons. Each releases its handle once, in its destructor or on reset.
#pragma once

#include <windows.h>

#include <atomic>

// How many handles the library's owners hold right now. A leak check compares it before and
// after: the platform's own count (GetGuiResources) is not available everywhere.
class SGdiCount {
public:
    static long live() { return count.load(std::memory_order_relaxed); }
    static void taken(const void* handle) {
        if (handle) count.fetch_add(1, std::memory_order_relaxed);
    }
    static void given(const void* handle) {
        if (handle) count.fetch_sub(1, std::memory_order_relaxed);
    }

private:
    static inline std::atomic<long> count{0};
};

template <class Handle>
class SGdiObject {
public:
    SGdiObject() = default;
    explicit SGdiObject(Handle h) : handle(h) { SGdiCount::taken(h); }
    ~SGdiObject() { reset(); }
    SGdiObject(SGdiObject&& other) noexcept : handle(other.handle) { other.handle = nullptr; }
    SGdiObject& operator=(SGdiObject&& other) noexcept {
        if (this != &other) {
            reset();
            handle = other.handle;
            other.handle = nullptr;
        }
        return *this;
    }
    SGdiObject(const SGdiObject&) = delete;
    SGdiObject& operator=(const SGdiObject&) = delete;

    Handle get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }
    Handle release() {
        Handle h = handle;
        SGdiCount::given(h);
        handle = nullptr;
        return h;
    }
    // The caller makes sure the old object is no longer selected into a context.
    void reset(Handle h = nullptr) {
        if (handle) {
            DeleteObject(handle);
            SGdiCount::given(handle);
        }
        handle = h;
        SGdiCount::taken(h);
    }

private:
    Handle handle = nullptr;
};

class SMemoryDC {
public:
    SMemoryDC() = default;
    explicit SMemoryDC(HDC compatibleTo) : dc(CreateCompatibleDC(compatibleTo)) { SGdiCount::taken(dc); }
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
        SGdiCount::given(dc);
        dc = nullptr;
    }

private:
    HDC dc = nullptr;
};

class SIconHandle {
public:
    SIconHandle() = default;
    explicit SIconHandle(HICON h) : icon(h) { SGdiCount::taken(h); }
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
        SGdiCount::given(icon);
        icon = h;
        SGdiCount::taken(h);
    }

private:
    HICON icon = nullptr;
};
