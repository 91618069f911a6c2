#include "VEK_UTIL/SError.h"

#include "VEK_SYSTEM/SSystem.h"
#include "tests/support/BoxRecorder.h"

#include <gtest/gtest.h>

namespace {

TEST(SErrorShow, TextCodeAndSystemTextInOneBox) {
    BoxRecorder boxes(SSystem::CANCEL);
    SError error;
    EXPECT_EQ(error.show("Etwas ging schief", 0), SSystem::CANCEL);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().text, "Etwas ging schief");
    EXPECT_STREQ(boxes.last().caption, "Fehler !");
    EXPECT_EQ(boxes.last().type, 16u);

    error.show("Datei", 2, "Titel", 0x30);
    SString expected("Datei\r\n Fehlernummer: 2\r\n");
    expected.append(SSystem::systemErrorText(2));
    EXPECT_STREQ(boxes.last().text, expected);
    EXPECT_STREQ(boxes.last().caption, "Titel");
}

TEST(SErrorCollect, EntriesAreIndentedAndDeduplicated) {
    SError error;
    error.add("eins");
    error.add("eins");
    error.add("zwei\r\nZeile");
    error.add("  eins  ");
    EXPECT_STREQ(error.getLog(), "eins\r\nzwei\r\n\tZeile\r\n");
    error.add("ein"); // a part of an entry is a new entry
    EXPECT_STREQ(error.getLog(), "eins\r\nzwei\r\n\tZeile\r\nein\r\n");
    error.add("Code", 2);
    EXPECT_NE(error.getLog().find("Code\r\n\tFehlernummer: 2\r\n\t"), -1);
}

TEST(SErrorCollect, ShowCollectedOnlyWithEntries) {
    BoxRecorder boxes;
    SError error;
    error.showCollected();
    EXPECT_EQ(boxes.count(), 0);
    error.add("eins");
    error.showCollected();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_STREQ(boxes.last().text,
                 "Folgende Fehler sind w\344hrend der Abarbeitung des Programmes protokolliert worden:\r\neins\r\n");
}

} // namespace
