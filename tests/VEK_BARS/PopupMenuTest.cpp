// Popup menus: the texts items show, and what track and choose answer when a person picks
// an item with the keyboard.
#include "VEK_CONTROLS/SPopupMenu.h"
#include "tests/VEK_BARS/BarsFrame.h"

#include <gtest/gtest.h>

namespace {

std::string itemString(const SPopupMenu& menu, int position) {
    char text[128] = {0};
    GetMenuStringA(menu.getMenu(), (UINT)position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(PopupMenu, ItemsShowTheNumberAsAccessKeyAndTheAcceleratorWithoutBlanks) {
    SPopupMenu menu;
    int save = menu.appendItem("Speichern\tStrg + S");
    int first = menu.appendItem("1. Datei \366ffnen", 4711);
    menu.appendSeparator();
    menu.appendItem("Beenden\t Alt +  F4 ");
    menu.appendItem("1.5 Liter");
    EXPECT_EQ(menu.getCount(), 5);
    EXPECT_EQ(itemString(menu, 0), "Speichern\tStrg+S");
    EXPECT_EQ(itemString(menu, 1), "&1. Datei \366ffnen");
    EXPECT_EQ(itemString(menu, 3), "Beenden\tAlt+F4");
    EXPECT_EQ(itemString(menu, 4), "1.5 Liter"); // no full stop before the blank: no prefix
    EXPECT_EQ(first, 4711);
    EXPECT_NE(save, 0); // id 0 asks for the application's next id
    EXPECT_NE(save, first);
}

class TrackTest : public ::testing::Test {
protected:
    BoxRecorder boxes;
    BarsFrame frame;
    void SetUp() override {
        ASSERT_TRUE(frame.open());
    }
    SPoint at() { return frame.clientToScreen(SPoint{40, 40}); }
};

TEST_F(TrackTest, TrackAndChooseAnswerThePickAndOnlyTrackSendsItWhenAsked) {
    SPopupMenu menu;
    menu.appendItem("Erster", 501);
    menu.appendItem("Zweiter", 502);
    MenuKeys guard;

    menu.setSendCommand(false);
    answerMenu({VK_DOWN, VK_DOWN, VK_RETURN}, frame.getHwnd());
    EXPECT_EQ(menu.track(frame.getHwnd(), at()), 502);
    MessagePump::flush();
    EXPECT_TRUE(frame.commands.empty());

    menu.setSendCommand(true);
    answerMenu({VK_DOWN, VK_RETURN}, frame.getHwnd());
    EXPECT_EQ(menu.track(frame.getHwnd(), at()), 501);
    EXPECT_EQ(frame.commands, std::vector<int>{501});

    answerMenu({VK_ESCAPE}, frame.getHwnd());
    EXPECT_EQ(menu.track(frame.getHwnd(), at()), 0);
    EXPECT_EQ(frame.commands.size(), 1u);

    // choose: the chosen text; separators are skipped, and its ids (1, 2 …) never reach the
    // owner, where they would be OK and Cancel.
    answerMenu({VK_DOWN, VK_DOWN, VK_RETURN}, frame.getHwnd());
    EXPECT_STREQ(SPopupMenu::choose(frame.getHwnd(), at(), "Eins;;Zwei;Drei", ";"), "Zwei");
    answerMenu({VK_ESCAPE}, frame.getHwnd());
    EXPECT_TRUE(SPopupMenu::choose(frame.getHwnd(), at(), "Eins,Zwei").isEmpty());
    MessagePump::flush();
    EXPECT_EQ(frame.commands.size(), 1u);
}

} // namespace
