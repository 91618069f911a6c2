#include "VEK_ARRAYS/SNumList.h"
#include "VEK_ARRAYS/SPointList.h"
#include "VEK_ARRAYS/SStringList.h"
#include "tests/support/BoxRecorder.h"

#include <gtest/gtest.h>

namespace {

SStringList threeStrings() {
    SStringList list;
    list.add("a");
    list.add("b");
    list.add("c");
    return list;
}

// Out of range: insertAt and removeAt refuse with a box, getAt clamps.
TEST(SListRange, RefusalsSayWhichCallAndGetAtClamps) {
    BoxRecorder boxes;
    SStringList list = threeStrings();
    EXPECT_EQ(list.insertAt(3), 3);
    EXPECT_TRUE(list[3].isEmpty());
    list.removeAt(3);

    EXPECT_EQ(list.insertAt(4), -1);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().text,
                 "Fehler in der Liste: SStringList.insertAt(..)\r\nEs wurde ein Element au\337erhalb des Bereiches "
                 "angefordert.\r\nAngefordert wurde: 4\r\nm\366glich ist: 0...2");
    EXPECT_STREQ(boxes.last().caption, "Fehler !");
    EXPECT_EQ(boxes.last().type, 16u);
    EXPECT_STREQ(*list.getAt(5), "c");
    EXPECT_STREQ(*list.getAt(-1), "a");
    EXPECT_FALSE(list.setAt(3, "x"));
    EXPECT_FALSE(list.removeAt(-1));
    EXPECT_EQ(boxes.count(), 5);
    EXPECT_NE(boxes.last().text.find("SStringList.removeAt(..)"), -1);
    EXPECT_EQ(list.count(), 3);
    SNumList empty;
    EXPECT_EQ(empty.getAt(0), nullptr);
}

TEST(SListOperations, AddUniqueFindRemoveAllSwapSort) {
    SNumList list;
    for (int v : {5, 3, 5, 1, 5}) list.add(v);
    EXPECT_EQ(list.add(3, true), 1);
    EXPECT_EQ(list.count(), 5);
    EXPECT_EQ(list.find(5, 1), 2);
    EXPECT_EQ(list.find(9), -1);
    EXPECT_EQ(list.removeAll(5), 3);
    list.swap(0, 9);
    for (int v : {9, 4, 7}) list.add(v);
    list.sort(-1);
    EXPECT_EQ(list[0], 9);
    EXPECT_EQ(list[4], 1);
}

TEST(SListOperations, StringsAreCopiesOwnedByTheList) {
    SStringList list;
    SString text("original");
    list.add(text);
    text = "changed";
    EXPECT_STREQ(list[0], "original");
    SStringList copy(list);
    copy[0] = "copy";
    EXPECT_STREQ(list[0], "original");
    list.add("file10");
    list.add("file9");
    list.sort();
    EXPECT_STREQ(list.join(","), "file10,file9,original"); // byte order
}

// Adding an element of the list itself must copy it before the array moves, and adding
// a list to itself doubles it once.
TEST(SListOperations, AddingFromItselfAtTheGrowthStep) {
    SNumList nums;
    for (int i = 0; i < 101; ++i) nums.add(i + 7); // full: the next add reallocates
    ASSERT_EQ(nums.getAllocated(), 101);
    nums.add(nums[0]);
    EXPECT_EQ(nums[101], 7);
    SPointList points;
    for (int i = 0; i < 101; ++i) points.add(SPoint{i, -i});
    points.add(*points.getAt(100));
    EXPECT_EQ(points.find(SPoint{100, -100}, 101), 101);
    EXPECT_EQ(nums.addAll(nums), 102);
    EXPECT_EQ(nums[203], 7);
    SStringList texts = threeStrings();
    EXPECT_EQ(texts.addAll(texts), 3);
    EXPECT_STREQ(texts.join(""), "abcabc");
    EXPECT_EQ(texts.removeAll(texts[4]), 2); // the value dies with the first removal
}

TEST(SStringListSplit, PiecesQuotesAndTokens) {
    SStringList list;
    EXPECT_EQ(list.split("a;;b", ";"), 3);
    EXPECT_TRUE(list[1].isEmpty());
    EXPECT_EQ(list.split("a;;b", ";", true), 2);
    EXPECT_EQ(list.split("", ";", true), 0);
    EXPECT_EQ(list.split("", ";"), 1);
    EXPECT_EQ(list.split("a::b", "::"), 2);
    EXPECT_STREQ(list.join("+"), "a+b");

    EXPECT_EQ(list.splitArguments("  prog.exe \"C:\\my dir\\x\"  -v\t"), 3);
    EXPECT_STREQ(list[0], "prog.exe");
    EXPECT_STREQ(list[1], "C:\\my dir\\x");
    EXPECT_STREQ(list[2], "-v");

    EXPECT_EQ(list.splitQuoted("a,'b,c',\"d,e\",f", ','), 4);
    EXPECT_STREQ(list[1], "'b,c'");
    EXPECT_EQ(list.splitQuoted("a,'b,c'", ',', false), 3);

    list.clear();
    EXPECT_EQ(list.splitTokens("x|y|x|z", "|", true), 3);
    EXPECT_EQ(list.splitTokens("w|x", "|", true), 1);
    EXPECT_EQ(list.count(), 4);
    SStringList other;
    other.add("x");
    other.add("new");
    EXPECT_EQ(list.addAll(other, true), 1);
}

} // namespace
