// SRingBuffer: bytes of fixed capacity in arrival order. A full buffer drops its oldest
// byte for a new one and counts the loss. Not synchronised: an owner that fills it on one
// thread and empties it on another holds one lock around every call (SComPort does).
#pragma once

#include "VEK_SYSTEM/SMem.h"

class SRingBuffer {
public:
    explicit SRingBuffer(int capacity = 0);
    SRingBuffer(const SRingBuffer&) = delete;
    SRingBuffer& operator=(const SRingBuffer&) = delete;
    virtual ~SRingBuffer();
    virtual const char* getClassName() const { return "SRingBuffer"; }

    // Stores the byte; returns true when the oldest byte had to make room for it. With a
    // capacity of 0 nothing is buffered and nothing counts as dropped.
    bool put(unsigned char byte);
    // Takes `count` bytes in arrival order, but only when that many are stored; otherwise
    // takes nothing and returns false.
    bool read(unsigned char* bytes, int count);
    bool readByte(unsigned char& byte) { return read(&byte, 1); }
    // The index-th oldest stored byte, without taking it; 0 outside the stored bytes.
    unsigned char getAt(int index) const;

    int count() const;
    bool isEmpty() const { return empty; }
    int getCapacity() const { return storage.getSize(); }
    // Resizes the storage (a negative capacity counts as 0) and clears the buffer.
    void setCapacity(int capacity);
    // Empties the buffer and resets the overflow count.
    void clear();
    int getOverflowCount() const { return overflowCount; }

private:
    SMem storage;
    int writeIndex = 0;
    int readIndex = 0;
    bool empty = true;
    int overflowCount = 0;
};
