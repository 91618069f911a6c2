// SList<T>: the one pattern behind every list class of the library. Trivially copyable
// elements (numbers, pointers, points) live in their slots; other elements (texts) are
// separately allocated objects owned by the list. The named list classes are thin classes
// over this template that give their own class name.
#pragma once

#include "VEK_ARRAYS/SListBase.h"
#include "VEK_UTIL/SAssert.h"

#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

template <class T>
class SList : public SListBase {
    static constexpr bool kInline = std::is_trivially_copyable_v<T>;
    using Slot = std::conditional_t<kInline, T, T*>;

public:
    SList() = default;
    SList(const SList& other) : SListBase() { addAll(other); }
    SList& operator=(const SList& other) {
        if (this != &other) {
            clear();
            addAll(other);
        }
        return *this;
    }
    ~SList() override {
        if constexpr (!kInline)
            for (int i = 0; i < count_; ++i) delete items[i];
        std::free(items);
    }

    // Negative, zero or positive: the element at index against value. Elements without an
    // order only tell equal (0) from different (1).
    virtual int compareAt(int index, const T& value) const {
        const T& e = ref(index);
        if constexpr (requires { e < value; })
            return e < value ? -1 : value < e ? 1 : 0;
        else
            return e == value ? 0 : 1;
    }

    // Creates a new empty element at index (count appends); -1 after the range error.
    int insertAt(int index) {
        if (!checkRange(index, count_, "insertAt")) return -1;
        grow(count_);
        std::memmove(static_cast<void*>(items + index + 1), items + index, sizeof(Slot) * (count_ - index));
        if constexpr (kInline)
            items[index] = T{};
        else
            items[index] = new T();
        ++count_;
        return index;
    }

    // The element; out of range the error is reported and the nearest element returned,
    // none on an empty list.
    T* getAt(int index) {
        if (!checkRange(index, count_ - 1, "getAt")) {
            if (count_ == 0) return nullptr;
            index = index < 0 ? 0 : count_ - 1;
        }
        return &ref(index);
    }
    const T* getAt(int index) const { return const_cast<SList*>(this)->getAt(index); }

    // Unchecked-looking access for loops: the element, or a spare empty element outside.
    T& operator[](int index) {
        if (index < 0 || index >= count_) return spareElement();
        return ref(index);
    }
    // Outside, one shared empty element that is never written, so readers on several
    // threads do not race.
    const T& operator[](int index) const {
        if (index < 0 || index >= count_) return emptyElement();
        return ref(index);
    }

    bool setAt(int index, const T& value) {
        if (!checkRange(index, count_ - 1, "setAt")) return false;
        ref(index) = value;
        return true;
    }

    bool removeAt(int index) {
        if (!checkRange(index, count_ - 1, "removeAt")) return false;
        if constexpr (!kInline) delete items[index];
        std::memmove(static_cast<void*>(items + index), items + index + 1, sizeof(Slot) * (count_ - index - 1));
        --count_;
        grow(count_);
        return true;
    }

    // With unique set, the index of an equal element when there is one; otherwise a copy
    // is appended and its index returned.
    int add(const T& value, bool unique = false) {
        if (unique) {
            int i = find(value);
            if (i >= 0) return i;
        }
        // The copy comes first: value may be one of our own elements, which growing moves.
        Slot slot = makeSlot(value);
        grow(count_);
        items[count_] = slot;
        return count_++;
    }

    int find(const T& value, int from = 0) const {
        for (int i = from < 0 ? 0 : from; i < count_; ++i)
            if (compareAt(i, value) == 0) return i;
        return -1;
    }

    int removeAll(const T& value) {
        const T wanted = value; // value may be an element that the first removal destroys
        int n = 0;
        for (int i = count_ - 1; i >= 0; --i)
            if (compareAt(i, wanted) == 0) {
                removeAt(i);
                ++n;
            }
        return n;
    }

    void swap(int i, int j) {
        if (i < 0 || j < 0 || i >= count_ || j >= count_) return;
        std::swap(items[i], items[j]);
    }

    // Quicksort with compareAt; direction 1 ascending, -1 descending.
    void sort(int direction = 1) {
        if (count_ > 1) quickSort(0, count_ - 1, direction < 0 ? -1 : 1);
    }

    int addAll(const SList& other, bool unique = false) {
        const int before = count_, n = other.count_; // other may be this list
        for (int i = 0; i < n; ++i) add(other.ref(i), unique);
        return count_ - before;
    }

    void clear() {
        if constexpr (!kInline)
            for (int i = 0; i < count_; ++i) delete items[i];
        count_ = 0;
        grow(0);
    }

protected:
    T& ref(int index) {
        if constexpr (kInline)
            return items[index];
        else
            return *items[index];
    }
    const T& ref(int index) const { return const_cast<SList*>(this)->ref(index); }

private:
    T& spareElement() {
        spare = T{};
        return spare;
    }
    static const T& emptyElement() {
        static const T empty{};
        return empty;
    }
    static Slot makeSlot(const T& value) {
        if constexpr (kInline)
            return value;
        else
            return new T(value);
    }

    void grow(int n) {
        int wanted = slotsFor(n);
        if (wanted == allocated && items) return;
        Slot* p = static_cast<Slot*>(std::realloc(static_cast<void*>(items), sizeof(Slot) * wanted));
        VEK_ASSERT(p != nullptr, "VEK_ARRAYS/SList");
        items = p;
        allocated = wanted;
    }

    void quickSort(int low, int high, int direction) {
        while (low < high) {
            int mid = low + (high - low) / 2;
            std::swap(items[mid], items[high]);
            int store = low;
            for (int i = low; i < high; ++i)
                if (direction * compareAt(i, ref(high)) < 0) std::swap(items[i], items[store++]);
            std::swap(items[store], items[high]);
            if (store - low < high - store) {
                quickSort(low, store - 1, direction);
                low = store + 1;
            } else {
                quickSort(store + 1, high, direction);
                high = store - 1;
            }
        }
    }

    Slot* items = nullptr;
    T spare{};
};
