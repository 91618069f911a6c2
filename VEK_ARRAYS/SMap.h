// SMap<K, V>: the one pattern behind every map class of the library. Pairs are kept in
// insertion order and found linearly, or, when the map is sorted, kept in key order and
// found by binary search. The named map classes are thin classes over this template.
#pragma once

#include "VEK_ARRAYS/SListBase.h"
#include "VEK_UTIL/SAssert.h"
#include "VEK_UTIL/SString.h"

#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

template <class K, class V>
class SMap : public SListBase {
    struct Pair {
        K key;
        V value;
    };

public:
    explicit SMap(bool sortedMap = false) : sorted(sortedMap) {}
    SMap(const SMap& other) : SListBase(), sorted(other.sorted), order(other.order) { addAll(other); }
    SMap& operator=(const SMap& other) {
        if (this != &other) {
            clear();
            sorted = other.sorted;
            order = other.order;
            addAll(other);
        }
        return *this;
    }
    ~SMap() override {
        for (int i = 0; i < count_; ++i) delete pairs[i];
        std::free(pairs);
    }

    // -1 when the key at index is less than key, 1 when greater, 0 when equal.
    virtual int compareAt(int index, const K& key) const {
        const K& k = pairs[index]->key;
        if constexpr (std::is_same_v<K, SString>) {
            int c = k.compare(key);
            return c < 0 ? -1 : c > 0 ? 1 : 0;
        } else {
            return k < key ? -1 : key < k ? 1 : 0;
        }
    }

    bool isSorted() const { return sorted; }

    // Index of key, or the one's complement of the place where it would be inserted.
    int find(const K& key) const {
        if (!sorted) {
            for (int i = 0; i < count_; ++i)
                if (compareAt(i, key) == 0) return i;
            return ~count_;
        }
        int low = 0, high = count_ - 1;
        while (low <= high) {
            int probe = low + (high - low + 1) / 2;
            int c = order * compareAt(probe, key);
            if (c == 0) return probe;
            if (c < 0)
                low = probe + 1;
            else
                high = probe - 1;
        }
        return ~low;
    }

    // 1 for a new pair, 0 when the value of an existing key was replaced.
    int set(const K& key, const V& value) {
        int i = find(key);
        if (i >= 0) {
            pairs[i]->value = value;
            return 0;
        }
        insertPair(sorted ? ~i : count_, key, value);
        return 1;
    }

    // The value for key. A missing key creates an empty entry when `create` is set;
    // otherwise a spare empty value is returned.
    V& get(const K& key, bool create = false) {
        int i = find(key);
        if (i >= 0) return pairs[i]->value;
        if (!create) return spareValue();
        return pairs[insertPair(sorted ? ~i : count_, key, V{})]->value;
    }
    bool contains(const K& key) const { return find(key) >= 0; }

    bool getAt(int index, K& key, V& value) const {
        if (index < 0 || index >= count_) return false;
        key = pairs[index]->key;
        value = pairs[index]->value;
        return true;
    }
    // Outside the map: one shared empty key or value that is never written, so that
    // readers on several threads do not race.
    const K& getKeyAt(int index) const {
        if (index < 0 || index >= count_) return empty<K>();
        return pairs[index]->key;
    }
    const V& getValueAt(int index) const {
        if (index < 0 || index >= count_) return empty<V>();
        return pairs[index]->value;
    }
    V& valueAt(int index) {
        if (index < 0 || index >= count_) return spareValue();
        return pairs[index]->value;
    }

    bool removeAt(int index) {
        if (!checkRange(index, count_ - 1, "removeAt")) return false;
        delete pairs[index];
        std::memmove(static_cast<void*>(pairs + index), pairs + index + 1, sizeof(Pair*) * (count_ - index - 1));
        --count_;
        grow(count_);
        return true;
    }
    bool remove(const K& key) {
        int i = find(key);
        return i >= 0 && removeAt(i);
    }

    void clear() {
        for (int i = 0; i < count_; ++i) delete pairs[i];
        count_ = 0;
        grow(0);
    }

    // Copies all pairs of another map; returns how many keys were new.
    int addAll(const SMap& other) {
        int added = 0;
        for (int i = 0; i < other.count_; ++i) added += set(other.pairs[i]->key, other.pairs[i]->value);
        return added;
    }

    // Reads "key<keySep>value<pairSep>key<keySep>value..." (the last pair needs no pairSep, a
    // missing keySep gives an empty value); returns the number of pairs read.
    int setFromText(const char* text, const char* pairSeparator, const char* keySeparator, bool clearFirst) {
        if (clearFirst) clear();
        SString rest;
        rest.setRaw(text);
        int n = 0;
        while (!rest.isEmpty()) {
            SString pair = rest.cutFirst(pairSeparator);
            int sep = pair.find(keySeparator);
            SString key = sep < 0 ? pair : pair.left(sep);
            SString value = sep < 0 ? SString() : pair.from(sep + (int)std::strlen(keySeparator));
            set(fromText<K>(key), fromText<V>(value));
            ++n;
        }
        return n;
    }

    // Quicksort of the pairs by key; direction 1 ascending, -1 descending. A sorted map
    // keeps the new order for its searches and insertions.
    void sort(int direction = 1) {
        order = direction < 0 ? -1 : 1;
        if (count_ > 1) quickSort(0, count_ - 1, order);
    }

private:
    template <class X>
    static X fromText(const SString& text) {
        if constexpr (std::is_same_v<X, SString>)
            return text;
        else
            return static_cast<X>(text.toNumber());
    }

    int insertPair(int index, const K& key, const V& value) {
        grow(count_);
        std::memmove(static_cast<void*>(pairs + index + 1), pairs + index, sizeof(Pair*) * (count_ - index));
        pairs[index] = new Pair{key, value};
        ++count_;
        return index;
    }

    void grow(int n) {
        int wanted = slotsFor(n);
        if (wanted == allocated && pairs) return;
        Pair** p = static_cast<Pair**>(std::realloc(static_cast<void*>(pairs), sizeof(Pair*) * wanted));
        VEK_ASSERT(p != nullptr, "VEK_ARRAYS/SMap");
        pairs = p;
        allocated = wanted;
    }

    void quickSort(int low, int high, int direction) {
        while (low < high) {
            std::swap(pairs[low + (high - low) / 2], pairs[high]);
            int store = low;
            for (int i = low; i < high; ++i)
                if (direction * compareAt(i, pairs[high]->key) < 0) std::swap(pairs[i], pairs[store++]);
            std::swap(pairs[store], pairs[high]);
            if (store - low < high - store) {
                quickSort(low, store - 1, direction);
                low = store + 1;
            } else {
                quickSort(store + 1, high, direction);
                high = store - 1;
            }
        }
    }

    V& spareValue() {
        spare.value = V{};
        return spare.value;
    }
    template <class X>
    static const X& empty() {
        static const X value{};
        return value;
    }

    Pair** pairs = nullptr;
    bool sorted = false;
    int order = 1; // 1 ascending, -1 descending key order of a sorted map
    Pair spare{};
};
