#include "VEK_UTIL/SString.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

SString raw(const char* s, int n = -1) {
    SString r;
    r.setRaw(s, n);
    return r;
}

TEST(SStringSubstrings, MidLeftRightFromWithNegativePositions) {
    SString s("abcdef");
    EXPECT_STREQ(s.mid(-3, 2), "de");
    EXPECT_STREQ(s.mid(1, -2), "bcd");
    EXPECT_STREQ(s.mid(1, -10), "");
    EXPECT_STREQ(s.mid(10, 2), "");
    EXPECT_STREQ(s.mid(-10, 2), "");
    EXPECT_STREQ(s.mid(4, 100), "ef");
    EXPECT_STREQ(s.right(10), "abcdef");
    EXPECT_STREQ(s.from(-2), "ef");
}

TEST(SStringSubstrings, CutFirstAndToken) {
    SString s("key=value=x");
    EXPECT_STREQ(s.cutFirst("="), "key");
    EXPECT_STREQ(s, "value=x");
    SString none("no separator");
    EXPECT_STREQ(none.cutFirst(";"), "no separator");
    EXPECT_TRUE(none.isEmpty());

    SString t("a,b,,c");
    int pos = -5;
    EXPECT_STREQ(t.token(",", pos), "a");
    EXPECT_STREQ(t.token(",", pos), "b");
    EXPECT_STREQ(t.token(",", pos), "");
    EXPECT_STREQ(t.token(",", pos), "c");
    EXPECT_STREQ(t.token(",", pos), "");
}

TEST(SStringSubstrings, AbbreviateKeepsNMinusOneBytesAndDots) {
    SString s("Hello World");
    EXPECT_STREQ(s.abbreviate(5), "Hell...");
    SString shortText("Hello");
    EXPECT_STREQ(shortText.abbreviate(5), "Hello");
    SString one("abc");
    EXPECT_STREQ(one.abbreviate(0), "...");
}

TEST(SStringBuilding, InsertRemoveAppendSelf) {
    SString s("world");
    s.insert(0, "hello ");
    EXPECT_STREQ(s, "hello world");
    s.insert(-5, "big ");
    EXPECT_STREQ(s, "hello big world");
    s.insert(100, "!");
    EXPECT_STREQ(s, "hello big world!");
    s.remove(5, 4);
    EXPECT_STREQ(s, "hello world!");
    s.remove(-1, 3);
    s.remove(100, 3);
    EXPECT_STREQ(s, "hello world!");
    s.remove(5, 100);
    EXPECT_STREQ(s, "hello");
    s += s;
    EXPECT_STREQ(s, "hellohello");
    s.append(s.getBuffer() + 5);
    EXPECT_STREQ(s, "hellohellohello");
    SString r;
    r.repeat("ab", 3);
    EXPECT_STREQ(r, "ababab");
}

TEST(SStringBuilding, FormatGrowsBeyondTheFirstWindow) {
    SString s;
    std::string big(5000, 'q');
    s.format("<%s>", big.c_str());
    EXPECT_EQ(s.length(), 5002);
    EXPECT_EQ(s.getAt(0), '<');
    EXPECT_EQ(s.getAt(5001), '>');
    s.appendFormat("%d", 42);
    EXPECT_TRUE(s.endsWith(">42"));
    s.appendFormat("|%s", s.getBuffer()); // the string's own bytes, longer than any window
    EXPECT_EQ(s.length(), 2 * 5004 + 1);
    EXPECT_EQ(s.getAt(5005), '<');
    EXPECT_TRUE(s.endsWith(">42"));
    SString self("abc");
    self.format("%s-%s", self.getBuffer(), self.getBuffer());
    EXPECT_STREQ(self, "abc-abc");
    self.appendFormat("%s", self.getBuffer());
    EXPECT_STREQ(self, "abc-abcabc-abc");
    EXPECT_EQ(self.appendFormat("+%c+", 0).length(), 15); // the text ends at a zero byte
}

TEST(SStringSearch, FindCountAndCaseInsensitiveUmlauts) {
    SString s("Gr\366\337e GR\326SSE aaaa");
    EXPECT_EQ(s.find("GR"), 6);
    EXPECT_EQ(s.find("gr\366", 0, true), 0);
    EXPECT_EQ(s.find("gr\366", 1, true), 6);
    EXPECT_EQ(s.find(""), -1);
    EXPECT_EQ(s.find("x", -5), -1);
    EXPECT_EQ(SString("aaaa").count("aa"), 3);
    EXPECT_EQ(SString("abcabc").findReverse("bc", -2, false), 1);
    EXPECT_EQ(SString("abcabc").findReverse("bc", 2, false), 4);
    EXPECT_TRUE(SString("Hello").endsWith("LLO", true));
    EXPECT_FALSE(SString("lo").endsWith("Hello"));
}

TEST(SStringCompare, NaturalOrderAndModes) {
    EXPECT_LT(SString("file9").compareAs("file10", "n"), 0);
    EXPECT_GT(SString("file10").compareAs("file9", ""), 0);
    EXPECT_EQ(SString("\304pfel").compareAs("Apfel", "n"), 0);
    EXPECT_EQ(SString("a  b").compareAs("ab", "n"), 0);
    EXPECT_GT(SString("abc").compareAs("ab", "n"), 0);
    EXPECT_LT(SString("10").compareAs("9", "s"), 0);
    EXPECT_GT(SString("10").compareAs("9", "i"), 0);
    EXPECT_LT(SString("1.5").compareAs("1.25e1", "f"), 0);
    EXPECT_EQ(SString("ABC").compare("abc", true), 0);
    EXPECT_LT(SString("ABC").compare("abc"), 0);
}

TEST(SStringCase, UmlautsFollowButSharpSStays) {
    SString s("\344\366\374\337 ABC");
    s.toUpper();
    EXPECT_STREQ(s, "\304\326\334\337 ABC");
    s.toLower();
    EXPECT_STREQ(s, "\344\366\374\337 abc");
}

TEST(SStringTrim, BlanksButNeverHighBytes) {
    SString s(" \t\r\nabc \xA0\r\n ");
    s.trim();
    EXPECT_STREQ(s, "abc \xA0");
    SString t("--x--");
    EXPECT_STREQ(t.trim("-"), "x");
    SString allBlank("   ");
    EXPECT_STREQ(allBlank.trim(), "");
}

TEST(SStringReplace, AllStrategiesAndRepeat) {
    SString s("a.b.c");
    EXPECT_EQ(s.replace(".", "/"), 2);
    EXPECT_STREQ(s, "a/b/c");
    EXPECT_EQ(s.replace("/", "::"), 2);
    EXPECT_STREQ(s, "a::b::c");
    EXPECT_EQ(s.replace("::", ""), 2);
    EXPECT_STREQ(s, "abc");
    EXPECT_EQ(s.replace("", "x"), 0);
    SString r("aaaa");
    EXPECT_EQ(r.replace("a", "aa"), 4); // never searches the replacement itself
    EXPECT_STREQ(r, "aaaaaaaa");
    SString rep("a    b");
    EXPECT_EQ(rep.replace("  ", " ", true), 3);
    EXPECT_STREQ(rep, "a b");
    SString guard("ab");
    EXPECT_EQ(guard.replace("a", "aa", true), 1); // would never end
    EXPECT_EQ(SString("a,b;c").replaceChars(",;", ' '), 2);
}

TEST(SStringNumbers, ToNumberForms) {
    EXPECT_EQ(SString("#FF0000").toNumber(), 0x0000FF);
    EXPECT_EQ(SString("#F00").toNumber(), 0x0000FF);
    EXPECT_EQ(SString("#5050ff;").toNumber(), 0xFF5050);
    EXPECT_EQ(SString("#ab").toNumber(), 0);
    EXPECT_EQ(SString("0x1Azz").toNumber(), 26);
    EXPECT_EQ(SString("0b101").toNumber(), 5);
    EXPECT_EQ(SString("42").toNumber(), 42);
    EXPECT_EQ(SString(" -17x").toNumber(), -17);
    EXPECT_EQ(SString("99999999999").toNumber(), 2147483647);
    EXPECT_EQ(SString("0xFFFFFFFF").toNumber(), -1);
    EXPECT_STREQ(SString().fromColor(0x00FF8000), "#0080FF");
    EXPECT_DOUBLE_EQ(SString("2.5").toDouble(), 2.5);
}

TEST(SStringConvert, UrlEncodeDecode) {
    EXPECT_STREQ(SString("a b/\374").urlEncode(), "a%20b%2F%FC");
    EXPECT_STREQ(SString("a+b%2F").urlDecode(), "a b/");
    EXPECT_STREQ(SString("100%").urlDecode(), "100%");
    EXPECT_STREQ(SString("%4").urlDecode(), "%4");
    EXPECT_STREQ(SString("%zz").urlDecode(), "%zz");
}

TEST(SStringConvert, EscapeRoundTripAndOctal) {
    SString s(raw("a\r\n\t'\"\\\x01z"));
    SString e = s.escape();
    EXPECT_STREQ(e, "a\\r\\n\\t\\'\\\"\\\\\\x01z");
    EXPECT_STREQ(e.unescape(), s);
    EXPECT_STREQ(SString("\\101\\x42\\q").unescape(), "ABq");
    EXPECT_STREQ(SString("end\\").unescape(), "end\\");
}

TEST(SStringConvert, QuotedTokens) {
    EXPECT_EQ(SString::quotedLength("\"a\\\"b\" rest"), 6);
    EXPECT_EQ(SString::quotedLength("'x' y"), 3);
    EXPECT_EQ(SString::quotedLength("\"open"), 0);
    EXPECT_EQ(SString::quotedLength("plain"), 0);
    SString text("say \"hi there\" now");
    SString token = SString::takeQuoted(text, 4, true, true);
    EXPECT_STREQ(token, "hi there");
    EXPECT_STREQ(text, "say  now");
}

TEST(SStringConvert, HtmlEntities) {
    SString s("<\344 & \"x\">");
    EXPECT_STREQ(s.toHtml(), "&lt;&auml; &amp; &quot;x&quot;&gt;");
    EXPECT_STREQ(s.toHtml(1), "<&auml; & \"x\">");
    EXPECT_STREQ(s.toHtml().fromHtml(), s);
    EXPECT_STREQ(SString("&#228;&#xFC;&unknown;").fromHtml(), "\344\374&unknown;");
}

TEST(SStringConvert, Utf8AndWide) {
    SString s(raw("\344\200x"));
    SString u = s.toUtf8();
    EXPECT_STREQ(u, "\xC3\xA4\xE2\x82\xAC" "x");
    SString back;
    EXPECT_EQ(back.fromUtf8(u), 3);
    EXPECT_STREQ(back, s);
    EXPECT_EQ(back.fromUtf8("\xE4\xB8\xAD\xFF"), 2); // outside the code page, malformed
    EXPECT_STREQ(back, "??");
    EXPECT_EQ(back.fromUtf8("\xC3"), 1); // cut short
    const wchar_t* w = s.toWide();
    EXPECT_EQ(w[0], (wchar_t)0xE4);
    EXPECT_EQ(w[1], (wchar_t)0x20AC);
    EXPECT_EQ(w[3], (wchar_t)0);
}

} // namespace
