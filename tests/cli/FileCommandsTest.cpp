#include "common/TextFile.h"
#include "compiler/FormulaParser.h"
#include "integrator/IntegrationRun.h"
#include "integrator/ProblemCompile.h"
#include "support/FakeUi.h"
#include "support/Paths.h"
#include "workspace/DataFiles.h"
#include "workspace/ExtendedFile.h"
#include "workspace/ProblemDocument.h"
#include "workspace/ProblemFile.h"
#include "workspace/ScriptFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>
#include <sys/wait.h>
#include <utility>

namespace {

struct CliRun {
    int status = -1;
    std::string out, err;
};

class FileCommandsTest : public ::testing::Test {
  protected:
    FileCommandsTest() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvanta-filecli-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        std::filesystem::copy_file(problemPath("lorenz.ode"), path("lorenz.ode"));
    }
    ~FileCommandsTest() override { std::filesystem::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    CliRun run(const std::string& arguments) const {
        const std::string out = path("stdout"), err = path("stderr");
        const int raw =
            std::system((cliPath() + " " + arguments + " >" + out + " 2>" + err).c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readWholeFile(out).value_or(""),
                readWholeFile(err).value_or("")};
    }

    ScriptRecord lorenzScript() const {
        ScriptRecord record;
        record.ProblemName = "lorenz.ode";
        record.RadFactor = 0.25L;
        record.TermCount = 21;
        record.GraphSteps = 40;
        record.ResultsLength = 10; // fewer than the steps: the array is extended for the run
        record.ValuesPerPoint = 4;
        return record;
    }

  private:
    std::filesystem::path folder_;
};

} // namespace

TEST_F(FileCommandsTest, AScriptRunsItsProblemWithItsSettings) {
    FakeUi ui;
    ASSERT_TRUE(writeScriptFile(lorenzScript(), path("lorenz.ode"), ui));
    CliRun script = run("script " + path("lorenz.scr"));
    CliRun integrate =
        run("integrate " + path("lorenz.ode") + " --steps 40 --factor 0.25 --terms 21");
    EXPECT_EQ(0, script.status) << script.err;
    EXPECT_EQ(integrate.out, script.out);
    EXPECT_EQ(0u, script.out.find("t\tx\ty\tz\n"));
    EXPECT_NE(std::string::npos, script.err.find("40 steps (0 step splits).  Total: 40."))
        << script.err;
}

TEST_F(FileCommandsTest, AScriptThatCannotRunSaysWhy) {
    FakeUi ui;
    ScriptRecord record = lorenzScript();
    record.ProblemName = "gone.ode";
    ASSERT_TRUE(writeScriptFile(record, path("gone.ode"), ui));
    CliRun missing = run("script " + path("gone.scr"));
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ("No file " + path("gone.ode") + "\n", missing.err);

    writeFileAtomically(path("old.scr"), "OrvantaScript:2003/08/23\r\nlorenz.ode\r\n");
    CliRun old = run("script " + path("old.scr"));
    EXPECT_EQ(1, old.status);
    EXPECT_EQ("Incompatible script version\n", old.err);

    CliRun none = run("script " + path("none.scr"));
    EXPECT_EQ("Cannot open script file " + path("none.scr") + "\n", none.err);
}

TEST_F(FileCommandsTest, LoadDataContinuesFromTheLastSavedPoint) {
    // 25 steps saved, then 10 more from the files: the same point as 35 steps in one run.
    ProgramState state;
    TCompiledProblem problem;
    ProblemDocument document;
    FakeUi ui;
    ASSERT_TRUE(loadProblemFile(document, problem, state, path("lorenz.ode"), ui));
    FormulaParser parser;
    FormulaAssembly assembly = compileForIntegration(state, document.Panes, problem, parser, false);
    ASSERT_TRUE(createResults(state, problem, ui, "8", false, true).Created);
    ASSERT_EQ(RunEnd::Completed, runMore(state, problem, ui, "25", RunSettings{}).End);
    ASSERT_TRUE(saveData(state, problem, document, path("saved.ode"), assembly.FormulaList, ui));

    CliRun continued = run("load-data " + path("saved.ode") + " --steps 10");
    CliRun whole = run("integrate " + path("lorenz.ode") + " --steps 35");
    EXPECT_EQ(0, continued.status) << continued.err;
    EXPECT_EQ(whole.out, continued.out);

    CliRun loadedOnly = run("load-data " + path("saved.ode"));
    CliRun first = run("integrate " + path("lorenz.ode") + " --steps 25");
    EXPECT_EQ(first.out, loadedOnly.out);
}

TEST_F(FileCommandsTest, LoadDataWithoutItsFilesSaysWhichIsMissing) {
    CliRun run1 = run("load-data " + path("lorenz.ode") + " --steps 3");
    EXPECT_EQ(1, run1.status);
    EXPECT_EQ("No restart data file for lorenz\n", run1.err);
    CliRun run2 = run("load-data " + path("lorenz.ode") + " --terms 5");
    EXPECT_EQ(1, run2.status);
    EXPECT_NE(std::string::npos, run2.err.find("--terms is taken from the data files"));
}

TEST_F(FileCommandsTest, IntegrateSavesDataThatLoadDataContinues) {
    // Without --results the run keeps its last 16 points.
    for (const auto& [results, points] : {std::pair{" --results 6 --circular", 6}, {"", 16}}) {
        CliRun saved = run("integrate " + path("lorenz.ode") + " --steps 20" + results +
                           " --save-data " + path("saved.txt"));
        EXPECT_EQ(0, saved.status) << saved.err;
        EXPECT_NE(std::string::npos, saved.err.find("Elements saved for saved")) << saved.err;
        ASSERT_TRUE(std::filesystem::exists(path("saved.ivp")));
        ASSERT_TRUE(std::filesystem::exists(path("saved.elm")));
        // Three counts, then t, x, y and z with 31 terms each per point, 10 bytes a value.
        EXPECT_EQ(std::filesystem::file_size(path("saved.elm")), (3u + points * 4u * 31u) * 10u);

        CliRun continued = run("load-data " + path("saved.ode") + " --steps 15");
        CliRun whole = run("integrate " + path("lorenz.ode") + " --steps 35");
        EXPECT_EQ(0, continued.status) << continued.err;
        EXPECT_EQ(whole.out, continued.out);
    }
}

TEST_F(FileCommandsTest, ASpecialPointLetsARemovableSingularityBeIntegrated) {
    // y' = sin(t)/t from t = 0: the quotient is 0/0 there, and the special point supplies its
    // series 1 - t^2/3! + t^4/5! - ... so that y(1) is the sine integral Si(1).
    writeFileAtomically(path("si.ode"), "[Main variables]\r\nt = 0\r\ny = 0\r\n"
                                        "[ODEs]\r\nt' = 1\r\ny' = sin(t)/t\r\n");
    std::string bytes;
    auto append = [&](Extended value) {
        unsigned char raw[ExtendedBytes];
        encodeExtended(value, raw);
        bytes.append(reinterpret_cast<const char*>(raw), ExtendedBytes);
    };
    append(0); // the special point
    Extended term = 1;
    for (int k = 0; k < 31; ++k) {
        append(k % 2 == 0 ? term : 0);
        if (k % 2 == 0)
            term = -term / ((k + 2) * (k + 3));
    }
    writeFileAtomically(path("si.sing"), bytes);

    CliRun without = run("integrate " + path("si.ode") + " --steps 1");
    EXPECT_EQ(1, without.status);
    EXPECT_NE(std::string::npos, without.err.find("Singularity! Instruction")) << without.err;

    CliRun with = run("integrate " + path("si.ode") + " --steps 10 --to 1 --special " +
                      path("si.sing") + " --assume-radius-limit");
    EXPECT_EQ(0, with.status) << with.err;
    const auto lines = splitLines(with.out);
    ASSERT_EQ(2u, lines.size()) << with.out;
    const auto tab = lines[1].find('\t');
    EXPECT_EQ("1", lines[1].substr(0, tab));
    EXPECT_NEAR(0.946083070367183015L, std::stold(lines[1].substr(tab + 1)), 1e-16L);

    CliRun missing = run("integrate " + path("si.ode") + " --steps 1 --special " + path("no.sing"));
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ("Cannot open " + path("no.sing") + "\n", missing.err);
}
