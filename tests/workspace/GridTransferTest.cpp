#include "workspace/GridTransfer.h"
#include "common/OrvantaError.h"

#include <gtest/gtest.h>

TEST(GridTransfer, CopyAllSeparatesCellsByTabsAndEndsLinesWithACarriageReturn) {
    EXPECT_EQ("Name\tInitial\rx\t1\ry\t2.5\r",
              gridAsClipboardText({{"Name", "Initial"}, {"x", "1"}, {"y", "2.5"}}));
    EXPECT_EQ("", gridAsClipboardText({}));
}

TEST(GridTransfer, PasteTakesOneLineForEachVariableRow) {
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3"}), pastedInitialValues("1\r\n2\n3\r", 3));
    EXPECT_EQ((std::vector<std::string>{"1", ""}), pastedInitialValues("1\n\n7\n8", 2));
    try {
        pastedInitialValues("1\r\n2\r\n", 3);
        FAIL();
    } catch (const OrvantaError& error) {
        EXPECT_STREQ("Not enough elements in Clipboard column", error.what());
    }
}

// What "Copy all" wrote comes back as its value column: the header row goes, each row gives the
// text between its first and second tab.
TEST(GridTransfer, PasteOfACopiedTableTakesItsValueColumn) {
    const std::string copied = gridAsClipboardText(
        {{"", "Initial values", "Current values"}, {"x", "1.5", "2"}, {"y", "-3e-7", "4"}});
    EXPECT_EQ((std::vector<std::string>{"1.5", "-3e-7"}), pastedInitialValues(copied, 2));
    EXPECT_EQ((std::vector<std::string>{"1.5"}), pastedInitialValues("\tInitial\nx\t1.5", 1));
    EXPECT_THROW(pastedInitialValues(copied, 3), OrvantaError);
}
