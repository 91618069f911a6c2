#include "VEK_UTIL/SLanguage.h"

#include <gtest/gtest.h>

namespace {

// Resolves a marked text the way an assignment does.
SString resolve(SLanguage& table, const char* text) {
    int length = -1;
    const char* chosen = table.lookup(text, length);
    SString s;
    s.setRaw(chosen, length);
    return s;
}

TEST(SLanguageLookup, VariantsByLanguageWithEnglishFallback) {
    SLanguage table;
    const char* text = "~~idConnect~~verbinden~~connect";
    EXPECT_STREQ(resolve(table, text), "verbinden");
    table.setLanguage("en");
    EXPECT_STREQ(resolve(table, text), "connect");
    table.setLanguage("fr");
    EXPECT_STREQ(resolve(table, text), "connect");
    EXPECT_STREQ(resolve(table, "~~port~~Dem Port "), "Dem Port ");
    EXPECT_STREQ(resolve(table, "~~onlyId"), "onlyId");
    EXPECT_STREQ(resolve(table, "~~objSaveButton"), "SaveButton");
    EXPECT_STREQ(resolve(table, "a~~b"), "a~~b");
}

TEST(SLanguageLookup, LengthLimitsTheParts) {
    SLanguage table;
    int length = 13; // "~~id~~Deutsch" only; the rest lies beyond the length
    const char* chosen = table.lookup("~~id~~Deutsch~~English", length);
    EXPECT_EQ(SString(chosen, length), SString("Deutsch"));
}

TEST(SLanguageLookup, GlobalTableServesAssignmentsAndFormat) {
    SString s("~~idConnect~~verbinden~~connect");
    EXPECT_STREQ(s, "verbinden");
    s.format("~~idLevel~~Stand %d", 5);
    EXPECT_STREQ(s, "Stand 5");
}

TEST(SLanguageTable, LoadedEntriesWinForEveryLanguage) {
    SLanguage table;
    ASSERT_TRUE(table.load("idConnect=Verbindung aufbauen\r\n"));
    EXPECT_STREQ(resolve(table, "~~idConnect~~verbinden~~connect"), "Verbindung aufbauen");
    table.setLanguage("en");
    EXPECT_STREQ(resolve(table, "~~idConnect~~verbinden~~connect"), "Verbindung aufbauen");
}

TEST(SLanguageTable, WildcardsOnBothSides) {
    SLanguage table;
    table.load("Gr??e=Size\nMa\337=Measure\n");
    EXPECT_STREQ(resolve(table, "~~Gr\366\337e"), "Size");
    EXPECT_STREQ(resolve(table, "~~Ma?"), "Measure");
    EXPECT_STREQ(resolve(table, "~~Grxxe"), "Grxxe");
    EXPECT_STREQ(resolve(table, "~~Gre"), "Size"); // wildcards match nothing, they are skipped
}

TEST(SLanguageTable, FileSyntaxCommentsEscapesAndErrors) {
    SLanguage table;
    table.load("; comment\r\n# other\r\n[section]\r\n\r\n  key1 =  Zeile 1\\nZeile 2  \r\n=abc\r\nno equals\r\nkey2=x\r\n");
    EXPECT_EQ(table.entryCount(), 3);
    EXPECT_STREQ(resolve(table, "~~key1"), "Zeile 1\nZeile 2");
    EXPECT_STREQ(resolve(table, "~~key2"), "x");
    EXPECT_STREQ(resolve(table, "~~no equals~~Vorgabe"), ""); // an entry with an empty text
    EXPECT_STREQ(table.getErrorText(), "SLanguage::load(..) Eintrag Nr. 5 hat einen leeren Schl\374ssel.\r\n");
    EXPECT_TRUE(table.isEnabled());
}

TEST(SLanguageTable, LoadsAppendAndClearResets) {
    SLanguage table;
    table.load("a=1\n");
    table.load("b=2\na=3\n");
    EXPECT_STREQ(resolve(table, "~~a"), "1"); // first entry in file order wins
    EXPECT_STREQ(resolve(table, "~~b"), "2");
    table.setLanguage("en");
    table.clear(); // back to German, without entries
    EXPECT_STREQ(resolve(table, "~~a~~x"), "x");
}

TEST(SLanguageString, TranslateReplacesKnownIds) {
    globalLanguage.load("idTranslateTest=\334bersetzt\n");
    SString s;
    s.setRaw("idTranslateTest");
    EXPECT_TRUE(s.translate());
    EXPECT_STREQ(s, "\334bersetzt");
    SString other;
    other.setRaw("unknownId");
    EXPECT_FALSE(other.translate());
    globalLanguage.clear();
}

} // namespace
