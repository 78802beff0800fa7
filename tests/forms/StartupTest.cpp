// The program's start-up checks and the file filters of the Qt dialogs.
#include "app/forms/Startup.h"
#include "app/forms/QtUi.h"
#include "support/FakeUi.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(Startup, MissingHelpOrSamplesFolderIsReportedByName) {
    TempFolder temp;
    const auto& folder = temp.folder();
    std::string program = programFolderOf(folder.string());
    ASSERT_EQ(program.back(), '/');

    FakeUi ui;
    EXPECT_FALSE(checkProgramFolders(program, ui));
    EXPECT_EQ(ui.lastMessage(), "Folder \"Help\" inaccessible or not unzipped");

    std::filesystem::create_directory(folder / "Help");
    EXPECT_FALSE(checkProgramFolders(program, ui));
    EXPECT_EQ(ui.lastMessage(), "Folder \"Samples\" inaccessible or not unzipped");

    std::filesystem::create_directory(folder / "Samples");
    ui.messages.clear();
    EXPECT_TRUE(checkProgramFolders(program, ui));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(Startup, TheSourceTreeShipsHelpAndSamples) {
    FakeUi ui;
    EXPECT_TRUE(checkProgramFolders(ORVANTA_SOURCE_DIR "/", ui));
    bool hasSample = false;
    for (const auto& entry : std::filesystem::directory_iterator(ORVANTA_SOURCE_DIR "/Samples"))
        hasSample = hasSample || entry.path().extension() == ".ode";
    EXPECT_TRUE(hasSample);
}

TEST(QtUi, FiltersBecomeQtFilters) {
    EXPECT_EQ(qtFileFilter("ODEs|*.ode"), "ODEs (*.ode)");
    EXPECT_EQ(qtFileFilter("Text|*.txt|All files|*.*"), "Text (*.txt);;All files (*)");
    EXPECT_EQ(qtFileFilter("Bitmap|*.bmp|PNG lossless format|*.png"),
              "Bitmap (*.bmp);;PNG lossless format (*.png)");
}
