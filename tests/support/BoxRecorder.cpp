#include "tests/support/BoxRecorder.h"

namespace {
BoxRecorder* active = nullptr;

int record(void* owner, const char* text, const char* caption, unsigned type) {
    RecordedBox box{owner, SString(), SString(), type};
    box.text.setRaw(text);
    box.caption.setRaw(caption);
    active->boxes.push_back(box);
    return active->answer;
}
} // namespace

BoxRecorder::BoxRecorder(int answerWith) : answer(answerWith) {
    active = this;
    previous = SSystem::setPresenter(record);
}

BoxRecorder::~BoxRecorder() {
    SSystem::setPresenter(previous);
    active = nullptr;
}
