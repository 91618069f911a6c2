// SMem: a growable byte buffer (network frames, whole-file reads). Out-of-range reads
// and removals do nothing; an allocation failure ends the program through VEK_ASSERT.
#pragma once

class SString;

class SMem {
public:
    SMem() = default;
    explicit SMem(int size); // `size` zero bytes
    SMem(const void* data, int count);
    SMem(const SMem& other);
    SMem(SMem&& other) noexcept;
    SMem& operator=(const SMem& other);
    SMem& operator=(SMem&& other) noexcept;
    virtual ~SMem();
    virtual const char* getClassName() const { return "SMem"; }

    unsigned char getAt(int i) const; // 0 outside the buffer
    bool setAt(int i, unsigned char value);
    unsigned char* getData() { return data; }
    const unsigned char* getData() const { return data; }
    int getSize() const { return size; }
    bool isEmpty() const { return size == 0; }

    // Keeps the first bytes; bytes that grow in are zero.
    void resize(int newSize);
    void clear() { size = 0; }
    void append(const void* bytes, int count);
    void append(const SString& text); // the characters, without the terminator
    void append(const SMem& other);
    // A copy of `count` bytes from `start` (clipped to the buffer; -1: up to the end).
    SMem copy(int start, int count = -1) const;
    // Removes `count` bytes at `start` (clipped; -1: up to the end).
    void remove(int start, int count = -1);
    void removeFront(int count) { remove(0, count); }

private:
    void reserve(int needed);

    unsigned char* data = nullptr;
    int size = 0;
    int capacity = 0;
};
