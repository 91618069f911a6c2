#include "VEK_SYSTEM/SMem.h"

#include "VEK_UTIL/SString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string bytesOf(const SMem& m) { return std::string((const char*)m.getData(), (std::size_t)m.getSize()); }

TEST(SMem, BuildsGrowsAndGuardsItsBounds) {
    SMem m(3);
    EXPECT_EQ(bytesOf(m), std::string(3, '\0'));
    EXPECT_TRUE(m.setAt(1, 0xAB));
    EXPECT_FALSE(m.setAt(3, 1));
    EXPECT_EQ(m.getAt(-5), 0);

    m.resize(5);
    EXPECT_EQ(bytesOf(m), std::string("\0\xAB\0\0\0", 5));
    m.resize(1);
    m.resize(2); // bytes that grow in again are zero, not the old ones
    EXPECT_EQ(bytesOf(m), std::string(2, '\0'));
}

TEST(SMem, AppendsBytesTextAndItself) {
    SMem m;
    m.append("ab\0c", 4);
    m.append(SString("xyz"));
    m.append(nullptr, 5);
    m.append("q", 0);
    EXPECT_EQ(bytesOf(m), std::string("ab\0cxyz", 7));
    for (int i = 0; i < 12; ++i) m.append(m.getData(), m.getSize()); // may move while copying
    EXPECT_EQ(m.getSize(), 7 << 12);
    EXPECT_EQ(bytesOf(m).substr(7 * 4095), std::string("ab\0cxyz", 7));

    SMem copy(m), moved(std::move(copy));
    EXPECT_EQ(bytesOf(moved), bytesOf(m));
    EXPECT_EQ(copy.getSize(), 0);
}

TEST(SMem, CopiesAndRemovesClippedRanges) {
    SMem m("0123456789", 10);
    EXPECT_EQ(bytesOf(m.copy(2, 3)), "234");
    EXPECT_EQ(bytesOf(m.copy(8, 50)), "89");
    EXPECT_EQ(bytesOf(m.copy(-3, 2)), "01");
    EXPECT_EQ(m.copy(10, 1).getSize(), 0);

    m.remove(3, 2);
    EXPECT_EQ(bytesOf(m), "01256789");
    m.removeFront(2);
    EXPECT_EQ(bytesOf(m), "256789");
    m.remove(4, 100);
    EXPECT_EQ(bytesOf(m), "2567");
    m.remove(-1, 1);
    EXPECT_EQ(bytesOf(m), "2567");
    m.removeFront(99);
    EXPECT_TRUE(m.isEmpty());
}

} // namespace
