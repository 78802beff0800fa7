// The script launcher: clipboard texts acted on once, double clicks, and help file targets.
#include "tools/ScriptLauncher.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

struct ScriptLauncherTest : ::testing::Test {
    TempFolder folder;
    ScriptLauncher launcher;

    void SetUp() override {
        writeBytes(folder.path("Lorenz.scr"), "x");
        writeBytes(folder.path("Orbit.scr"), "x");
        launcher.load({"Demo scripts", "  Lorenz.scr  ", "Orbit.scr", "Gone.scr"}, folder.path(""));
    }
};

} // namespace

TEST_F(ScriptLauncherTest, TheSameClipboardTextRunsOnce) {
    const LaunchRequest first = launcher.intercept("  LORENZ.SCR\r\n");
    EXPECT_EQ(LaunchRequest::Run, first.What);
    EXPECT_EQ(1, first.Line);
    EXPECT_EQ(folder.path("Lorenz.scr"), first.Path);
    EXPECT_EQ(LaunchRequest::Nothing, launcher.intercept("lorenz.scr").What);
    EXPECT_EQ(LaunchRequest::Nothing, launcher.intercept(" Lorenz.scr ").What);
    // Another text in between makes the name new again.
    EXPECT_EQ(LaunchRequest::Run, launcher.intercept("orbit").What);
    EXPECT_EQ(LaunchRequest::Run, launcher.intercept("lorenz.scr").What);
}

TEST_F(ScriptLauncherTest, ATextOnNoLineIsReportedOnceAndAMissingFileNamesItsPath) {
    const LaunchRequest unknown = launcher.intercept(" Nowhere.scr ");
    EXPECT_EQ(LaunchRequest::Report, unknown.What);
    EXPECT_EQ("Nowhere.scr not found in the list", unknown.Message);
    for (int tick = 0; tick < 3; ++tick)
        EXPECT_EQ(LaunchRequest::Nothing, launcher.intercept(" Nowhere.scr ").What);
    const LaunchRequest gone = launcher.intercept("gone");
    EXPECT_EQ(LaunchRequest::Report, gone.What);
    EXPECT_EQ(3, gone.Line);
    EXPECT_EQ(folder.path("Gone.scr") + " file does not exist", gone.Message);
    EXPECT_EQ(LaunchRequest::Nothing, launcher.intercept("   ").What); // empty matches nothing
}

TEST_F(ScriptLauncherTest, ADoubleClickRunsItsLineOrSaysTheFileIsMissing) {
    EXPECT_EQ(LaunchRequest::Run, launcher.lineChosen(2).What);
    EXPECT_EQ(folder.path("Orbit.scr"), launcher.lineChosen(2).Path);
    EXPECT_EQ(folder.path("Demo scripts") + " file does not exist", launcher.lineChosen(0).Message);
    EXPECT_EQ(LaunchRequest::Report, launcher.lineChosen(7).What);
    launcher.clear();
    EXPECT_FALSE(launcher.active());
    EXPECT_EQ(LaunchRequest::Nothing, launcher.intercept("orbit").What);
}

TEST_F(ScriptLauncherTest, HelpFilesGoToTheWindowTheDesktopOrNowhere) {
    std::filesystem::create_directory(folder.path("Help"));
    writeBytes(folder.path("Help/Guide.RTF"), "{\\rtf1}");
    writeBytes(folder.path("Help/Guide.pdf"), "%PDF");
    EXPECT_EQ(folder.path("Help/Guide.RTF"), helpPath(folder.path(""), "Guide.RTF"));
    EXPECT_EQ(HelpTarget::Window, helpTargetOf(helpPath(folder.path(""), "Guide.RTF")));
    EXPECT_EQ(HelpTarget::Desktop, helpTargetOf(helpPath(folder.path(""), "Guide.pdf")));
    EXPECT_EQ(HelpTarget::None, helpTargetOf(helpPath(folder.path(""), "Missing.rtf")));
    EXPECT_EQ(HelpTarget::None, helpTargetOf(folder.path("Help")));
}
