#include "common/TextFile.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(TextFile, LinesSplitOnAnyLineEnd) {
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(splitLines("").empty());
    EXPECT_EQ(joinLines({"x", ""}), "x\r\n\r\n");
}

TEST(TextFile, AFailedSaveLeavesThePreviousFile) {
    TempFolder temp;
    const auto& folder = temp.folder();
    std::string path = (folder / "a.txt").string();
    ASSERT_TRUE(writeFileAtomically(path, "first"));
    EXPECT_EQ(readWholeFile(path), "first");
    ASSERT_TRUE(writeFileAtomically(path, "second"));
    EXPECT_EQ(readWholeFile(path), "second");
    // A folder that does not exist: the save fails and nothing is left behind.
    EXPECT_FALSE(writeFileAtomically((folder / "missing" / "b.txt").string(), "x"));
    EXPECT_FALSE(readWholeFile((folder / "missing" / "b.txt").string()).has_value());
    EXPECT_FALSE(readWholeFile(folder.string()).has_value());
}
