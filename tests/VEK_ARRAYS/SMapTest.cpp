#include "VEK_ARRAYS/SMapNumToNum.h"
#include "VEK_ARRAYS/SMapNumToString.h"
#include "VEK_ARRAYS/SMapStringToNum.h"
#include "VEK_ARRAYS/SMapStringToString.h"
#include "VEK_ARRAYS/SStringList.h"

#include <gtest/gtest.h>

namespace {

TEST(SMapSorted, KeyOrderBinarySearchAndReplace) {
    SMapStringToString map(true);
    EXPECT_EQ(map.set("m", "1"), 1);
    EXPECT_EQ(map.set("c", "2"), 1);
    EXPECT_EQ(map.set("x", "3"), 1);
    EXPECT_EQ(map.set("a", "4"), 1);
    EXPECT_STREQ(map.getKeyAt(0), "a");
    EXPECT_STREQ(map.getKeyAt(3), "x");
    EXPECT_EQ(map.set("c", "22"), 0);
    EXPECT_EQ(map.count(), 4);
    EXPECT_STREQ(map.get("c"), "22");
    EXPECT_EQ(map.find("c"), 1);
    EXPECT_EQ(map.find("b"), ~1);
    EXPECT_EQ(map.find("zz"), ~4);
    EXPECT_EQ(map.find("A"), ~0); // case-sensitive byte order
}

TEST(SMapSorted, DescendingOrderStaysSearchable) {
    SMapStringToString map(true);
    for (const char* k : {"c", "a", "e", "b", "d"}) map.set(k, k);
    map.sort(-1);
    EXPECT_EQ(map.set("a", "x"), 0);
    EXPECT_EQ(map.set("b", "y"), 0);
    EXPECT_EQ(map.set("c0", "new"), 1);
    SStringList keys;
    for (int i = 0; i < map.count(); ++i) keys.add(map.getKeyAt(i));
    EXPECT_STREQ(keys.join(","), "e,d,c0,c,b,a");
    map.sort(1);
    EXPECT_EQ(map.set("c0", "again"), 0);
    EXPECT_EQ(map.find("c0"), 3);
}

// Out of range the const getters hand out one empty value that no later call writes: a
// value taken first stays valid.
TEST(SMapUnsorted, OutOfRangeConstGettersWriteNothing) {
    SMapStringToNum numbers;
    numbers.set("z", 1);
    EXPECT_STREQ(numbers.getKeyAt(0), "z"); // insertion order
    EXPECT_EQ(numbers.find("q"), ~1);
    SMapStringToString map;
    map.set("k", "v");
    const SMapStringToString& reader = map;
    const char* value = reader.getValueAt(-1);
    reader.getKeyAt(6);
    EXPECT_STREQ(value, "");
    const SStringList list;
    const char* element = list[3];
    (void)list[4];
    EXPECT_STREQ(element, "");
}

TEST(SMapText, SetFromTextAddAllAndExpand) {
    SMapStringToString map;
    EXPECT_EQ(map.setFromText("a=1;b=2;c", ";", "=", true), 3);
    EXPECT_STREQ(map.get("c"), "");
    EXPECT_STREQ(map.get("b"), "2");
    SMapStringToString other;
    other.set("b", "20");
    other.set("d", "4");
    EXPECT_EQ(map.addAll(other), 1);
    EXPECT_STREQ(map.get("b"), "20");

    SMapStringToString vars;
    vars.set("vek_color_win_back", "#f0f0ff");
    vars.set("x", "{{vek_color_win_back}}!");
    EXPECT_STREQ(vars.expand("{{vek_color_win_back}},{{unknown}}"), "#f0f0ff,{{unknown}}");
    // Pairs are applied in map order: x comes after the colour, so its own placeholder stays.
    EXPECT_STREQ(vars.expand("[{{x}}]"), "[{{vek_color_win_back}}!]");

    SMapNumToNum numbers;
    EXPECT_EQ(numbers.setFromText("1:0x10,2:#FF0000", ",", ":", true), 2);
    EXPECT_EQ(numbers.get(1), 16);
    EXPECT_EQ(numbers.get(2), 0xFF);
    SMapNumToString names(true);
    names.set(3, "drei");
    names.set(1, "eins");
    EXPECT_EQ(names.getKeyAt(0), 1);
}

} // namespace
