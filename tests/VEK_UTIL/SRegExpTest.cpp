#include "VEK_UTIL/SRegExp.h"

#include "VEK_ARRAYS/SNumList.h"
#include "VEK_ARRAYS/SStringList.h"
#include "tests/support/BoxRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string joined(const SStringList& list) { return std::string(list.join("|").getBuffer()); }

std::vector<int> values(const SNumList& list) {
    std::vector<int> v;
    for (int i = 0; i < list.count(); ++i) v.push_back(list[i]);
    return v;
}

// Boxes are recorded instead of shown.
class Expression : public ::testing::Test {
protected:
    BoxRecorder boxes;
    SRegExp re;
};
using SRegExpFindAll = Expression;
using SRegExpReplace = Expression;
using SRegExpErrors = Expression;

TEST_F(SRegExpFindAll, NumberPatternGroupsAndPositions) {
    SStringList results;
    SNumList positions;
    EXPECT_EQ(re.findAll("/(0b[01]+)|(0x[0-9a-f]+)|(#[0-9a-f]{6})|([0-9]+)/i", "0b101 0x1F #00ff00 42", results,
                         &positions),
              4);
    // Groups after the last one that took part are not reported; earlier ones are empty.
    EXPECT_EQ(joined(results), "0b101|0b101|0x1F||0x1F|#00ff00|||#00ff00|42||||42");
    EXPECT_EQ(values(positions), (std::vector<int>{0, 0, 6, -1, 6, 11, -1, -1, 11, 19, -1, -1, -1, 19}));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(SRegExpFindAll, EmptyMatchesAdvanceAndEnd) {
    SStringList results;
    SNumList positions;
    EXPECT_EQ(re.findAll("/x*/", "abc", results, &positions), 4);
    EXPECT_EQ(values(positions), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(joined(results), "|||");

    // A non-empty match may be followed by an empty one where it ended.
    results.clear();
    positions.clear();
    EXPECT_EQ(re.findAll("/a*/", "aab", results, &positions), 3);
    EXPECT_EQ(joined(results), "aa||");
    EXPECT_EQ(values(positions), (std::vector<int>{0, 2, 3}));

    // In UTF-8 mode the search steps over whole characters (ä is two bytes).
    positions.clear();
    EXPECT_EQ(re.findAll("/x*/u", "\xC3\xA4" "b", results, &positions), 3);
    EXPECT_EQ(values(positions), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(SRegExpReplace, PlaceholdersForGroupsAndRunningNumber) {
    EXPECT_STREQ(re.replace("/a/", "aXa", "[{{nr}}:{{0}}]"), "[1:a]X[2:a]");
    EXPECT_STREQ(re.replace("/(\\w+)@(\\w+)/", "to a@b now", "{{2}} at {{1}}"), "to b at a now");
    // Unknown names stay text, a group that does not exist is empty.
    EXPECT_STREQ(re.replace("/b/", "abc", "{{x}}{{9}}{{{0}}}{{"), "a{{x}}{b}{{c");
    EXPECT_STREQ(re.replace("/x*/", "ab", "-"), "-a-b-");
    EXPECT_STREQ(re.replace("/z/", "abc", "-"), "abc");
    // Without a new pattern the compiled one is used.
    EXPECT_STREQ(re.replace(nullptr, "zaz", "{{nr}}"), "1a2");
    EXPECT_EQ(boxes.count(), 0);
}

TEST(SRegExpFindOne, OffsetsAndGroupsOfTheMatch) {
    BoxRecorder boxes;
    SRegExp re("/(\\d+)-(\\d+)/");
    ASSERT_TRUE(re.isCompiled());
    EXPECT_EQ(re.findOne(nullptr, "x 12-34 5-6"), 2);
    EXPECT_EQ(re.getMatchEnd(), 7);
    SStringList groups;
    EXPECT_EQ(re.groups(groups), 3);
    EXPECT_EQ(joined(groups), "12-34|12|34");

    EXPECT_EQ(re.findOne(nullptr, "x 12-34 5-6", 3), 3);
    EXPECT_EQ(re.findOne(nullptr, "x 12-34 5-6", 5), 8);
    EXPECT_EQ(re.findOne(nullptr, "x 12-34 5-6", 50), -1);
    EXPECT_EQ(re.findOne("/q/", "abc"), -1);
    EXPECT_FALSE(re.isMatched());
    EXPECT_EQ(re.groups(groups), 0);
    // Other delimiters, a slash inside, no closing delimiter; the modifiers after the last one.
    EXPECT_EQ(re.findOne("#a/b#i", "xA/b"), 1);
    EXPECT_EQ(re.findOne("/a/b/", "a/b"), 0);
    EXPECT_EQ(re.findOne("/open", "an open end"), 3);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(SRegExpErrors, BrokenPatternShowsPcreMessageEveryTime) {
    EXPECT_FALSE(re.compile("/a(b/im"));
    EXPECT_FALSE(re.isCompiled());
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().text, "Fehlerhafte Syntax im regul\344ren Ausdruck:\r\na(b\r\n"
                                    "Fehler: missing closing parenthesis\r\n an Offset: 3\r\n Modifier: im");
    EXPECT_STREQ(boxes.last().caption, "Fehler !");
    EXPECT_EQ(boxes.last().type, 16u);

    SStringList results;
    EXPECT_EQ(re.findAll("/a(b/im", "ab", results), 0);
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_EQ(results.count(), 0);

    // A good pattern followed by a bad one leaves nothing compiled.
    EXPECT_TRUE(re.compile("/a/"));
    EXPECT_FALSE(re.compile("/\\y/X"));
    EXPECT_FALSE(re.isCompiled());
}

TEST_F(SRegExpErrors, CallsWithoutPatternAreReportedWithNeutralResults) {
    SStringList results;
    EXPECT_EQ(re.findAll("abc", results), 0);
    EXPECT_EQ(re.findOne(nullptr, "abc"), -1);
    EXPECT_STREQ(re.replace(nullptr, "abc", "x"), "abc");
    ASSERT_EQ(boxes.count(), 3);
    const char* names[] = {"findAll", "findOne", "replace"};
    for (int i = 0; i < 3; ++i) {
        SString expected("Fehler: SRegExp::");
        expected.append(names[i]);
        expected.append("() wurde ohne regul\344ren Ausdruck aufgerufen und es lag keiner vor.");
        EXPECT_STREQ(boxes[i].text, expected);
        EXPECT_STREQ(boxes[i].caption, "Fehler !");
    }
    EXPECT_EQ(results.count(), 0);
}

TEST_F(SRegExpErrors, TooManyGroupsAreCutToTheVector) {
    std::string pattern = "/", text;
    for (int i = 0; i < 1700; ++i) {
        pattern += "(a)";
        text += 'a';
    }
    pattern += "/";
    SStringList results;
    EXPECT_EQ(re.findAll(pattern.c_str(), text.c_str(), results), 1);
    EXPECT_EQ(results.count(), SRegExp::maxPairs);
    EXPECT_STREQ(results[1665], "a");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().text, "Fehler: Zuviel Ergebnisse, es ist nur Platz f\374r1665 Elemente");
}

TEST_F(SRegExpErrors, InvalidUtf8IsARunTimeError) {
    SStringList results;
    // A Windows-1252 umlaut is no UTF-8: PCRE2 reports it instead of reading past it.
    EXPECT_EQ(re.findAll("/a/u", "\344a", results), 0);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().text, "Fehler (-3)bei SString::match()");
    EXPECT_EQ(results.count(), 0);
}

} // namespace
