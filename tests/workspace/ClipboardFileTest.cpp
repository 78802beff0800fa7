#include "workspace/ClipboardFile.h"
#include "common/OrvantaError.h"
#include "support/FakeUi.h"
#include "support/TempFolder.h"
#include "workspace/ExtendedFile.h"

#include <gtest/gtest.h>

namespace {

std::string readError(const std::string& path, const std::string& caption, std::size_t count) {
    try {
        readClipboardValues(path, caption, count);
    } catch (const OrvantaError& error) {
        return error.what();
    }
    return "no error";
}

void writeNumbers(const std::string& path, const std::vector<Extended>& numbers) {
    ExtendedFileWriter out;
    out.put(numbers.data(), numbers.size());
    ASSERT_TRUE(out.save(path));
}

} // namespace

TEST(ClipboardFile, CarriesTheCaptionAndTheValuesToAnotherWindow) {
    TempFolder folder;
    FakeUi ui;
    std::string path = clipboardFilePath(folder.folder().string());
    EXPECT_EQ(folder.path("DataClipBoard.$$$"), path);
    ASSERT_TRUE(writeClipboardFile(path, "Kepler", {0.5L, -1.0L / 3}, ui));
    EXPECT_EQ(10u * (2 + 6 + 2), readBytes(path).size());
    EXPECT_EQ("Clipboard: Kepler", clipboardIndicatorText(clipboardFileCaption(path)));
    EXPECT_EQ((std::vector<Extended>{0.5L, -1.0L / 3}), readClipboardValues(path, "Other", 2));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ClipboardFile, ADifferentNumberOfMainVariablesIsIncompatible) {
    TempFolder folder;
    FakeUi ui;
    std::string path = folder.path("DataClipBoard.$$$");
    ASSERT_TRUE(writeClipboardFile(path, "Kepler", {1, 2, 3, 4}, ui));
    EXPECT_EQ("Kepler and Lorenz incompatible", readError(path, "Lorenz", 3));
    // The counts are compared first, even when the file lost some of its values.
    writeNumbers(path, {0, 5, 1, 2, 3});
    EXPECT_EQ(" and Lorenz incompatible", readError(path, "Lorenz", 3));
}

TEST(ClipboardFile, AMissingFileIsReportedOnRequestOnly) {
    TempFolder folder;
    std::string path = folder.path("DataClipBoard.$$$");
    EXPECT_EQ("No clipboard file", clipboardIndicatorText(clipboardFileCaption(path)));
    EXPECT_EQ("No clipboard file available", readError(path, "x", 1));
    FakeUi ui;
    ASSERT_TRUE(writeClipboardFile(path, "a", {1}, ui));
    deleteClipboardFile(path);
    deleteClipboardFile(path);
    EXPECT_FALSE(clipboardFileCaption(path));
}

TEST(ClipboardFile, AWriteIntoAMissingFolderIsReported) {
    FakeUi ui;
    EXPECT_FALSE(writeClipboardFile("/nonexistent-folder/DataClipBoard.$$$", "a", {1}, ui));
    EXPECT_EQ(std::vector<std::string>{"Cannot open Data ClipBoard"}, ui.messages);
}

TEST(ClipboardFile, HostileFilesAreWrongDataAndAllocateNothing) {
    TempFolder folder;
    std::string path = folder.path("DataClipBoard.$$$");
    const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
    const std::vector<std::vector<Extended>> hostile{
        {1e9L, 1, 65},   // a caption of a billion characters
        {nan, 1, 65, 1}, // NaN length
        {1, nan, 65, 1}, // NaN count
        {1, 1, 300, 1},  // not a character code
        {1},             // truncated header
        {},              // empty file
    };
    for (const auto& numbers : hostile) {
        writeNumbers(path, numbers);
        EXPECT_EQ("No clipboard file", clipboardIndicatorText(clipboardFileCaption(path)));
        EXPECT_EQ("Wrong data in clipboard file", readError(path, "w", 1)) << numbers.size();
    }
    // A count far beyond the file is compared with the problem's before any value is read.
    writeNumbers(path, {1, 1e18L, 65, 1});
    EXPECT_EQ("Clipboard: A", clipboardIndicatorText(clipboardFileCaption(path)));
    EXPECT_EQ("A and w incompatible", readError(path, "w", 1));
    writeNumbers(path, {2, 1, 65, 66}); // the header is sound but the value is missing
    EXPECT_EQ("Clipboard: AB", clipboardIndicatorText(clipboardFileCaption(path)));
    EXPECT_EQ("Wrong data in clipboard file", readError(path, "w", 1));
}
