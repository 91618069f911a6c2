#include "VEK_SYSTEM/SMem.h"

#include "VEK_UTIL/SAssert.h"
#include "VEK_UTIL/SString.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {
const char* const kFile = "VEK_SYSTEM/SMem";
}

SMem::SMem(int n) { resize(n); }

SMem::SMem(const void* bytes, int count) { append(bytes, count); }

SMem::SMem(const SMem& other) { append(other.data, other.size); }

SMem::SMem(SMem&& other) noexcept
    : data(std::exchange(other.data, nullptr)), size(std::exchange(other.size, 0)),
      capacity(std::exchange(other.capacity, 0)) {}

SMem& SMem::operator=(const SMem& other) {
    if (this != &other) {
        size = 0;
        append(other.data, other.size);
    }
    return *this;
}

SMem& SMem::operator=(SMem&& other) noexcept {
    if (this != &other) {
        std::free(data);
        data = std::exchange(other.data, nullptr);
        size = std::exchange(other.size, 0);
        capacity = std::exchange(other.capacity, 0);
    }
    return *this;
}

SMem::~SMem() { std::free(data); }

unsigned char SMem::getAt(int i) const { return i >= 0 && i < size ? data[i] : 0; }

bool SMem::setAt(int i, unsigned char value) {
    if (i < 0 || i >= size) return false;
    data[i] = value;
    return true;
}

void SMem::reserve(int needed) {
    if (needed <= capacity) return;
    // Grow geometrically so that appending chunk by chunk stays linear.
    long long grown = (long long)capacity * 3 / 2 + 64;
    if (grown < needed) grown = needed;
    if (grown > INT_MAX) grown = INT_MAX;
    void* p = std::realloc(data, (size_t)grown);
    VEK_ASSERT(p != nullptr, kFile);
    data = static_cast<unsigned char*>(p);
    capacity = (int)grown;
}

void SMem::resize(int newSize) {
    if (newSize < 0) newSize = 0;
    if (newSize > size) {
        reserve(newSize);
        std::memset(data + size, 0, (size_t)(newSize - size));
    }
    size = newSize;
}

void SMem::append(const void* bytes, int count) {
    if (!bytes || count <= 0) return;
    VEK_ASSERT(count <= INT_MAX - size, kFile);
    if (bytes >= data && bytes < data + size) {
        // Appending a part of ourselves: the block may move.
        SMem part(bytes, count);
        append(part.data, part.size);
        return;
    }
    reserve(size + count);
    std::memcpy(data + size, bytes, (size_t)count);
    size += count;
}

void SMem::append(const SString& text) { append(text.getBuffer(), text.length()); }

void SMem::append(const SMem& other) { append(other.data, other.size); }

SMem SMem::copy(int start, int count) const {
    SMem result;
    if (start < 0) start = 0;
    if (start >= size) return result;
    if (count < 0 || count > size - start) count = size - start;
    result.append(data + start, count);
    return result;
}

void SMem::remove(int start, int count) {
    if (start < 0 || start >= size) return;
    if (count < 0 || count > size - start) count = size - start;
    std::memmove(data + start, data + start + count, (size_t)(size - start - count));
    size -= count;
}
