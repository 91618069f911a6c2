#include "VEK_UTIL/SColor.h"
#include "VEK_UTIL/SColorMap.h"

#include <gtest/gtest.h>

namespace {

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
    EXPECT_EQ(map.parse("schwarz"), 0);
    EXPECT_EQ(map.findName("Gray"), -1); // names are case-sensitive
}

} // namespace
