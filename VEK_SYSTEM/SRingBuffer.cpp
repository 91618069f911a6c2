#include "VEK_SYSTEM/SRingBuffer.h"

SRingBuffer::SRingBuffer(int capacity) { setCapacity(capacity); }

SRingBuffer::~SRingBuffer() = default;

bool SRingBuffer::put(unsigned char byte) {
    int capacity = getCapacity();
    if (capacity == 0) return false;
    bool dropped = !empty && writeIndex == readIndex;
    storage.setAt(writeIndex, byte);
    writeIndex = (writeIndex + 1) % capacity;
    if (dropped) {
        readIndex = writeIndex;
        ++overflowCount;
    }
    empty = false;
    return dropped;
}

bool SRingBuffer::read(unsigned char* bytes, int n) {
    if (n < 0 || n > count()) return false;
    int capacity = getCapacity();
    for (int i = 0; i < n; ++i) {
        bytes[i] = storage.getAt(readIndex);
        readIndex = (readIndex + 1) % capacity;
    }
    if (n > 0 && readIndex == writeIndex) empty = true;
    return true;
}

unsigned char SRingBuffer::getAt(int index) const {
    if (index < 0 || index >= count()) return 0;
    return storage.getAt((readIndex + index) % getCapacity());
}

int SRingBuffer::count() const {
    if (empty) return 0;
    int capacity = getCapacity();
    int stored = writeIndex - readIndex;
    return stored > 0 ? stored : stored + capacity;
}

void SRingBuffer::setCapacity(int capacity) {
    storage.resize(capacity > 0 ? capacity : 0);
    clear();
}

void SRingBuffer::clear() {
    writeIndex = 0;
    readIndex = 0;
    empty = true;
    overflowCount = 0;
}
