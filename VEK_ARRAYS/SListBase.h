// SListBase: what every list and map of the library shares, whatever its element type:
// the element count, the growth rule of the element array and the range-error report.
#pragma once

class SListBase {
public:
    virtual ~SListBase() = default;
    virtual const char* getClassName() const = 0;

    int count() const { return count_; }
    int getAllocated() const { return allocated; } // element slots

protected:
    // Slots to allocate when `n` elements must fit plus one more: unchanged while the array
    // holds n + 1 to n + 149 slots, otherwise n + 101 (steps of 100, shrinking late).
    int slotsFor(int n) const { return allocated >= n + 1 && allocated < n + 150 ? allocated : n + 101; }
    // Reports an index outside 0 .. limit through the error object; true when inside.
    bool checkRange(int index, int limit, const char* operation) const;

    int count_ = 0; // "count"
    int allocated = 0;
};
