#include "workspace/ScriptLocation.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(ScriptLocation, ABareNameIsTakenFromSamplesTogetherWithItsProblem) {
    auto location = locateScript("Lorenz.scr", false, "/opt/orvanta");
    EXPECT_EQ("/opt/orvanta/Samples/Lorenz.scr", location.ScriptPath);
    EXPECT_EQ("/opt/orvanta/Samples/Lorenz.ode", problemPathFor(location, "Lorenz.ode"));
}

TEST(ScriptLocation, APathBelowTheProgramAcceptsEitherSeparator) {
    for (const char* name :
         {"Samples\\Periodic\\FreeFall1.scr", "Samples/Periodic/FreeFall1.scr"}) {
        auto location = locateScript(name, false, "/opt/orvanta");
        EXPECT_EQ("/opt/orvanta/Samples/Periodic/FreeFall1.scr", location.ScriptPath);
        EXPECT_EQ("/opt/orvanta/Samples/Periodic/FreeFall1.ode",
                  problemPathFor(location, "FreeFall1.ode"));
    }
}

TEST(ScriptLocation, AFullPathFindsItsProblemBesideIt) {
    auto location = locateScript("/home/u/runs/a.scr", true, "/opt/orvanta");
    EXPECT_EQ("/home/u/runs/a.scr", location.ScriptPath);
    EXPECT_EQ("/home/u/runs/a.ode", problemPathFor(location, "a.ode"));
}

TEST(ScriptLocation, AProblemWrittenWellAfterTheScriptIsNoticed) {
    TempFolder folder;
    namespace fs = std::filesystem;
    writeBytes(folder.path("a.scr"), "x");
    writeBytes(folder.path("a.ode"), "x");
    auto scriptTime = fs::last_write_time(folder.path("a.scr"));
    fs::last_write_time(folder.path("a.ode"), scriptTime + std::chrono::seconds(8));
    EXPECT_FALSE(problemModifiedAfterScript(folder.path("a.scr"), folder.path("a.ode")));
    fs::last_write_time(folder.path("a.ode"), scriptTime + std::chrono::seconds(9));
    EXPECT_TRUE(problemModifiedAfterScript(folder.path("a.scr"), folder.path("a.ode")));
    EXPECT_FALSE(problemModifiedAfterScript(folder.path("a.scr"), folder.path("none.ode")));
}

TEST(ScriptLocation, TheStartupFileIsAScriptOrAProblemByItsExtension) {
    TempFolder folder;
    writeBytes(folder.path("Demo.SCR"), "x");
    writeBytes(folder.path("p.ode"), "x");
    writeBytes(folder.path("notes.txt"), "x");
    auto script = classifyStartupFile("  Demo.SCR ", folder.folder().string());
    EXPECT_EQ(StartupFile::Script, script.kind);
    EXPECT_EQ(folder.path("Demo.SCR"), script.path);
    EXPECT_EQ(StartupFile::Problem, classifyStartupFile(folder.path("p.ode"), "/elsewhere").kind);
    EXPECT_EQ(StartupFile::Ignored,
              classifyStartupFile("notes.txt", folder.folder().string()).kind);
    EXPECT_EQ(StartupFile::Ignored, classifyStartupFile("gone.scr", folder.folder().string()).kind);
}
