#include "VEK_GraphicsElement/SGraphicElementList.h"

#include "VEK_GraphicsElement/SGraphicElement.h"
#include "VEK_UTIL/SAssert.h"

#include <cstdlib>
#include <cstring>

SGraphicElementList::~SGraphicElementList() { std::free(items); }

int SGraphicElementList::compare(const SGraphicElement* a, const SGraphicElement* b) const {
    if (!a || !b) return 0;
    int la = a->getLayer(), lb = b->getLayer();
    if (la < 0 || lb < 0) return 0;
    return la < lb ? -1 : la > lb ? 1 : 0;
}

void SGraphicElementList::onChanged(int) {}

void SGraphicElementList::resize(int n) {
    int wanted = slotsFor(n);
    if (wanted == allocated && items) return;
    auto* list = static_cast<SGraphicElement**>(std::realloc(static_cast<void*>(items), sizeof(SGraphicElement*) * wanted));
    VEK_ASSERT(list, "VEK_GraphicsElement/SGraphicElementList");
    items = list;
    allocated = wanted;
}

int SGraphicElementList::add(SGraphicElement* element) {
    int index = insertAt(count_);
    if (index >= 0) items[index] = element;
    return index;
}

int SGraphicElementList::insertAt(int index) {
    if (!checkRange(index, count_, "insertAt")) return -1;
    resize(count_);
    std::memmove(static_cast<void*>(items + index + 1), items + index, sizeof(SGraphicElement*) * (count_ - index));
    items[index] = nullptr;
    ++count_;
    onChanged(index);
    return index;
}

bool SGraphicElementList::setAt(int index, SGraphicElement* element) {
    if (!checkRange(index, count_ - 1, "getAt")) return false;
    items[index] = element;
    onChanged(index);
    return true;
}

SGraphicElement*& SGraphicElementList::getAt(int index) {
    if (index < 0 || index >= count_) {
        spare = nullptr;
        return spare;
    }
    return items[index];
}

SGraphicElement* SGraphicElementList::operator[](int index) const {
    return index < 0 || index >= count_ ? nullptr : items[index];
}

bool SGraphicElementList::removeAt(int index) {
    if (!checkRange(index, count_ - 1, "removeAt")) return false;
    std::memmove(static_cast<void*>(items + index), items + index + 1, sizeof(SGraphicElement*) * (count_ - index - 1));
    --count_;
    resize(count_);
    onChanged(-1);
    return true;
}

int SGraphicElementList::indexOf(const SGraphicElement* element) const {
    for (int i = 0; i < count_; ++i)
        if (items[i] == element) return i;
    return -1;
}

void SGraphicElementList::clear() {
    while (count_ > 0) {
        --count_;
        resize(count_);
    }
    onChanged(-1);
}

// An insertion sort: a window has a handful of elements, and equal ones (all unordered
// before the first sort) must keep their construction order.
void SGraphicElementList::sortByLayer() {
    for (int i = 1; i < count_; ++i) {
        SGraphicElement* moving = items[i];
        int j = i;
        while (j > 0 && compare(moving, items[j - 1]) < 0) {
            items[j] = items[j - 1];
            --j;
        }
        items[j] = moving;
    }
    for (int i = 0; i < count_; ++i)
        if (items[i]) items[i]->setLayer((i + 1) * 10);
}
