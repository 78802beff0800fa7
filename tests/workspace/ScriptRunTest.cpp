#include "workspace/ScriptRun.h"
#include "common/TextFile.h"
#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"
#include "support/FakeUi.h"
#include "support/Paths.h"
#include "support/TempFolder.h"
#include "workspace/ProblemDocument.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

// A script beside a copy of lorenz.ode, cut after some of its lines.
struct ScriptRunTest : ::testing::Test {
    TempFolder folder;
    FakeUi ui;
    ProgramState state;
    TCompiledProblem problem;
    ProblemDocument document;
    FormulaAssembly assembly;

    void SetUp() override {
        std::filesystem::copy_file(problemPath("lorenz.ode"), folder.path("lorenz.ode"));
    }
    std::vector<std::string> scriptLines() const {
        ScriptRecord record;
        record.ProblemName = "lorenz.ode";
        record.RadFactor = 0.25L;
        record.TermCount = 21;
        record.Curves = {{1, 2, 0, "{x, y}"}};
        record.ResultsLength = 100;
        record.ValuesPerPoint = 4;
        record.GraphSteps = 10;
        return splitLines(scriptText(record));
    }
    std::optional<ScriptRecord> open(std::vector<std::string> lines) {
        writeBytes(folder.path("lorenz.scr"), joinLines(lines));
        return openScript(location(), "lorenz.scr", ui);
    }
    ScriptLocation location() const { return locateScript(folder.path("lorenz.scr"), true, ""); }
    bool prepare(const ScriptRecord& record) {
        return prepareScript(record, location(), state, problem, document, assembly, ui);
    }
};

} // namespace

TEST_F(ScriptRunTest, AWholeScriptPreparesItsRun) {
    auto record = open(scriptLines());
    ASSERT_TRUE(record);
    ASSERT_TRUE(prepare(*record));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(problem.Compiled);
    EXPECT_EQ(21, state.TermCount);
    EXPECT_EQ(0.25L, state.RadFactor);
    EXPECT_EQ(100, state.Results.Length);
}

TEST_F(ScriptRunTest, AScriptShortAfterItsChoicesStillLoadsAndCompilesItsProblem) {
    auto lines = scriptLines();
    lines.resize(6); // the curve's line and everything after it are missing
    auto record = open(lines);
    ASSERT_TRUE(record);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(prepare(*record));
    EXPECT_EQ(std::vector<std::string>{"Not enough data in script file"}, ui.messages);
    EXPECT_TRUE(problem.Compiled);
    EXPECT_EQ(folder.path("lorenz.ode"), document.Path);
    EXPECT_EQ(21, state.TermCount);
    EXPECT_EQ(0.25L, state.RadFactor);
    EXPECT_TRUE(state.Results.empty());
}

TEST_F(ScriptRunTest, AMissingProblemIsNamedBeforeTheShortScript) {
    auto lines = scriptLines();
    lines[1] = "gone.ode";
    lines.resize(4);
    auto record = open(lines);
    ASSERT_TRUE(record);
    EXPECT_FALSE(prepare(*record));
    EXPECT_EQ(std::vector<std::string>{"No file " + folder.path("gone.ode")}, ui.messages);
}

TEST_F(ScriptRunTest, ALaterProblemIsNoticedBeforeTheSettingsAreRead) {
    namespace fs = std::filesystem;
    auto lines = scriptLines();
    lines.resize(3); // the four choices are missing
    writeBytes(folder.path("lorenz.scr"), joinLines(lines));
    fs::last_write_time(folder.path("lorenz.ode"),
                        fs::last_write_time(folder.path("lorenz.scr")) + std::chrono::seconds(60));
    EXPECT_FALSE(openScript(location(), "lorenz.scr", ui));
    EXPECT_EQ(
        (std::vector<std::string>{ModifiedAfterScriptMessage, "Not enough data in script file"}),
        ui.messages);
    EXPECT_EQ(31, state.TermCount); // nothing was applied

    ui.messages.clear();
    lines.resize(1); // not even the problem's name
    EXPECT_FALSE(open(lines));
    EXPECT_EQ(std::vector<std::string>{"Not enough data in script file"}, ui.messages);
}
