// The gallery made and closed many times leaves no GDI object of the library and no window
// behind. The platform's count of GDI objects (GetGuiResources) answers 0 under Wine, so the
// library's owners count what they hold (SGdiCount) and the thread's windows are enumerated.
#include "tests/control-gallery/GallerySetup.h"

#include "VEK_GUI/SGdiObject.h"
#include "tests/support/BoxRecorder.h"
#include "tests/support/gui/MessagePump.h"
#include "tools/control-gallery/GalleryFrame.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

BOOL CALLBACK countOne(HWND, LPARAM counter) { return ++*reinterpret_cast<int*>(counter), TRUE; }

BOOL CALLBACK countWithChildren(HWND h, LPARAM counter) {
    countOne(h, counter);
    EnumChildWindows(h, countOne, counter);
    return TRUE;
}

// The thread's top-level windows and all their descendants.
int threadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWithChildren, (LPARAM)&count);
    return count;
}

// One gallery: made, shown, painted with every control, closed; whileOpen (if given) runs
// while it is open.
void galleryRound(const std::function<void()>& whileOpen = nullptr) {
    auto frame = std::make_unique<GalleryFrame>();
    ASSERT_TRUE(frame->create(nullptr));
    frame->show(SW_SHOWNORMAL);
    RedrawWindow(frame->getHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (whileOpen) whileOpen();
    frame.reset();
    MessagePump::dispatchPending();
}

TEST(GalleryLeaks, TwoHundredGalleriesLeaveTheGdiObjectsAndWindowsWhereTheyWere) {
    BoxRecorder boxes;
    galleryFolder();
    galleryRound(); // the first fills what lives with the application: fonts, classes, pictures
    const long gdiBefore = SGdiCount::live();
    const int windowsBefore = threadWindows();
    galleryRound([&] { // the counts see an open gallery
        EXPECT_GT(SGdiCount::live(), gdiBefore + 5);
        EXPECT_GT(threadWindows(), windowsBefore + 20);
    });
    for (int i = 0; i < 200 && !HasFatalFailure(); ++i) galleryRound();
    EXPECT_EQ(SGdiCount::live(), gdiBefore);
    EXPECT_EQ(threadWindows(), windowsBefore);
    EXPECT_EQ(boxes.count(), 0);
}

} // namespace
