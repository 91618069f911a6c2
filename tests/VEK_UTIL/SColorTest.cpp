#include "VEK_UTIL/SColor.h"
#include "VEK_UTIL/SColorMap.h"

#include <gtest/gtest.h>

namespace {

TEST(SColorMapNames, SynonymsCaseSensitiveAndSpelling) {
    SColorMap map;
    EXPECT_EQ(map.parse("black"), 0);
    EXPECT_EQ(map.parse("schwarz"), 0);
    EXPECT_EQ(map.parse("purple"), (int)SColor(128, 0, 128).getValue());
    EXPECT_EQ(map.findName("grau"), (int)SColor(128, 128, 128).getValue());
    EXPECT_EQ(map.findName("Gray"), -1);
    EXPECT_EQ(map.findName("gr\374n"), (int)SColor(0, 128, 0).getValue());
    EXPECT_EQ(map.findName("weis"), 0xFFFFFF);
    EXPECT_EQ(map.findName("weiss"), -1);
    EXPECT_EQ(map.findName("ra"), -1); // a part of a synonym is no name
    EXPECT_EQ(map.parse("orange"), -1);
}

TEST(SColorMapTexts, RgbHashAndBack) {
    SColorMap map;
    int orange = (int)SColor(255, 128, 0).getValue();
    EXPECT_EQ(map.parse("255,128,0"), orange);
    EXPECT_EQ(map.parse("255, 128 ,0"), orange);
    EXPECT_EQ(map.parse("#FF8000"), orange);
    EXPECT_STREQ(SColorMap::toText((uint32_t)orange), "#FF8000");
    EXPECT_STREQ(SColorMap::toText(0xFF0000FFu), "#FF0000");
    EXPECT_EQ(map.parse("#5050ff;"), (int)SColor(0x50, 0x50, 0xFF).getValue());
    EXPECT_EQ(map.parse("1,2"), (int)SColor(1, 2, 0).getValue());
    EXPECT_EQ(globalColors.parse("rot"), 0xFF);
}

} // namespace
