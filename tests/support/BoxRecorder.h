// BoxRecorder: while it lives, every message box of the library is recorded instead of
// shown, and answered with a chosen button.
#pragma once

#include "VEK_SYSTEM/SSystem.h"
#include "VEK_UTIL/SString.h"

#include <cstddef>
#include <vector>

struct RecordedBox {
    void* owner;
    SString text;
    SString caption;
    unsigned type;
};

class BoxRecorder {
public:
    explicit BoxRecorder(int answer = SSystem::OK);
    ~BoxRecorder();
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    int count() const { return (int)boxes.size(); }
    const RecordedBox& last() const { return boxes.back(); }
    const RecordedBox& operator[](int i) const { return boxes[(std::size_t)i]; }
    void clear() { boxes.clear(); }

    std::vector<RecordedBox> boxes;
    int answer;

private:
    SSystem::Presenter previous;
};
