#include "workspace/DataFiles.h"
#include "common/TextFile.h"
#include "compiler/FormulaParser.h"
#include "integrator/IntegrationRun.h"
#include "integrator/ProblemCompile.h"
#include "integrator/ResultsArray.h"
#include "support/FakeUi.h"
#include "support/Paths.h"
#include "support/TempFolder.h"
#include "workspace/ExtendedFile.h"
#include "workspace/ProblemDocument.h"
#include "workspace/ProblemFile.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using Point = std::vector<Extended>; // main variables' coefficients, one after the other

// A problem window's worth of state: document, compiled problem and the program-wide state.
struct Session {
    ProgramState state;
    TCompiledProblem problem;
    ProblemDocument document;
    FormulaAssembly assembly;
    FakeUi ui;

    Point point() const {
        Point p;
        for (std::int32_t v = 0; v < problem.NumMain; ++v)
            p.insert(p.end(), problem.Coefficients[problem.NumConst + v],
                     problem.Coefficients[problem.NumConst + v] + state.TermCount);
        return p;
    }
    // Integrates `steps` steps and returns every point reached.
    std::vector<Point> run(int steps) {
        std::vector<Point> points;
        RunSettings settings;
        settings.MainNames = assembly.MainNames;
        settings.PointAccepted = [&] { points.push_back(point()); };
        RunOutcome outcome = runMore(state, problem, ui, std::to_string(steps), settings);
        EXPECT_EQ(RunEnd::Completed, outcome.End);
        return points;
    }
};

bool sameBits(const Point& a, const Point& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i], &b[i], ExtendedBytes) != 0)
            return false;
    return true;
}

struct DataFilesTest : ::testing::Test {
    TempFolder folder;
    Session original;

    // Opens lorenz.ode, compiles it with a circular Results array of `length` points and
    // integrates `steps` steps.
    std::vector<Point> startOriginal(int length, int steps, bool circular = true) {
        EXPECT_TRUE(loadProblemFile(original.document, original.problem, original.state,
                                    problemPath("lorenz.ode"), original.ui));
        FormulaParser parser;
        original.assembly = compileForIntegration(original.state, original.document.Panes,
                                                  original.problem, parser, false);
        EXPECT_TRUE(createResults(original.state, original.problem, original.ui,
                                  std::to_string(length), false, circular)
                        .Created);
        std::vector<Point> points{original.point()};
        auto more = original.run(steps);
        points.insert(points.end(), more.begin(), more.end());
        return points;
    }
    std::string saved(const char* name) const { return folder.path(name); }
};

} // namespace

TEST_F(DataFilesTest, AWrappedCircularArrayIsSavedOldestPointFirst) {
    auto points = startOriginal(10, 25);
    ASSERT_TRUE(saveData(original.state, original.problem, original.document, saved("run.ode"),
                         original.assembly.FormulaList, original.ui));
    EXPECT_EQ(std::vector<std::string>{"Elements saved for run"}, original.ui.messages);

    ExtendedFileReader in;
    ASSERT_TRUE(in.open(saved("run.elm")));
    const std::size_t pointSize = 4 * 31;
    ASSERT_EQ(3 + 10 * pointSize, in.remaining());
    EXPECT_EQ(10, *in.next());
    EXPECT_EQ(4, *in.next());
    EXPECT_EQ(31, *in.next());
    for (std::size_t p = 16; p <= 25; ++p) { // the last ten of the points 0 .. 25
        Point stored(pointSize);
        ASSERT_TRUE(in.read(stored.data(), pointSize));
        EXPECT_TRUE(sameBits(points[p], stored)) << p;
    }
    ASSERT_TRUE(in.open(saved("run.ivp")));
    ASSERT_EQ(4u, in.remaining());
    for (std::size_t v = 0; v < 4; ++v)
        EXPECT_EQ(points[25][v * 31], *in.next());
}

TEST_F(DataFilesTest, LoadDataContinuesExactlyAsTheOriginalRun) {
    startOriginal(10, 25);
    ASSERT_TRUE(saveData(original.state, original.problem, original.document, saved("run.ode"),
                         original.assembly.FormulaList, original.ui));
    auto expected = original.run(10);

    Session loaded;
    ASSERT_TRUE(loadData(loaded.state, loaded.problem, loaded.document, loaded.assembly,
                         saved("run.ode"), loaded.ui));
    EXPECT_TRUE(loaded.ui.messages.empty());
    EXPECT_EQ(20, loaded.state.Results.Length); // the points plus 10
    EXPECT_EQ(9, loaded.state.StepIndex);
    EXPECT_FALSE(loaded.state.Results.Circular);
    EXPECT_EQ(0, loaded.state.Results.ResultsIndep[0]); // t is the first stored variable
    EXPECT_EQ(-1, loaded.state.Results.ResultsIndep[10]);
    auto continued = loaded.run(10);
    ASSERT_EQ(expected.size(), continued.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(sameBits(expected[i], continued[i])) << i;
    EXPECT_EQ(original.problem.CurrentIndep, loaded.problem.CurrentIndep);
}

TEST_F(DataFilesTest, TheNumberOfTaylorTermsComesFromTheFile) {
    original.state.TermCount = 21;
    BuildRecurrenceTables(original.state);
    startOriginal(100, 5, false);
    ASSERT_TRUE(saveData(original.state, original.problem, original.document, saved("run.ode"),
                         original.assembly.FormulaList, original.ui));
    auto expected = original.run(5);

    Session loaded; // 31 terms until the file says otherwise
    ASSERT_TRUE(loadData(loaded.state, loaded.problem, loaded.document, loaded.assembly,
                         saved("run.ode"), loaded.ui));
    EXPECT_EQ(21, loaded.state.TermCount);
    EXPECT_EQ(16, loaded.state.Results.Length);
    auto continued = loaded.run(5);
    ASSERT_EQ(expected.size(), continued.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(sameBits(expected[i], continued[i])) << i;
}

TEST_F(DataFilesTest, WithoutStoredPointsOnlyTheProblemAndRestartValuesAreWritten) {
    startOriginal(10, 0);
    original.state.Results.clear();
    ASSERT_TRUE(saveData(original.state, original.problem, original.document, saved("none.txt"),
                         original.assembly.FormulaList, original.ui));
    EXPECT_TRUE(std::filesystem::exists(saved("none.ode")));
    EXPECT_TRUE(std::filesystem::exists(saved("none.ivp")));
    EXPECT_FALSE(std::filesystem::exists(saved("none.elm")));
    EXPECT_TRUE(original.ui.messages.empty());
}

TEST_F(DataFilesTest, AnUncompiledProblemSavesItsProblemFileOnly) {
    ASSERT_TRUE(readProblemDocument(original.document, problemPath("lorenz.ode"), original.ui));
    ASSERT_TRUE(saveData(original.state, original.problem, original.document, saved("raw.ode"), {},
                         original.ui));
    EXPECT_TRUE(std::filesystem::exists(saved("raw.ode")));
    EXPECT_FALSE(std::filesystem::exists(saved("raw.ivp")));
    EXPECT_TRUE(original.ui.messages.empty());
}

TEST_F(DataFilesTest, MissingSideFilesAreNamed) {
    startOriginal(10, 3);
    ASSERT_TRUE(saveData(original.state, original.problem, original.document, saved("run.ode"),
                         original.assembly.FormulaList, original.ui));
    std::filesystem::remove(saved("run.elm"));
    Session loaded;
    EXPECT_FALSE(loadData(loaded.state, loaded.problem, loaded.document, loaded.assembly,
                          saved("run.ode"), loaded.ui));
    EXPECT_EQ(std::vector<std::string>{"No file of elements for run"}, loaded.ui.messages);
    // The restart values are in place all the same.
    EXPECT_EQ(original.problem.CurrentIndep, loaded.problem.CurrentIndep);
    std::filesystem::remove(saved("run.ivp"));
    EXPECT_FALSE(loadData(loaded.state, loaded.problem, loaded.document, loaded.assembly,
                          saved("run.ode"), loaded.ui));
    EXPECT_EQ("No restart data file for run", loaded.ui.lastMessage());
}

TEST_F(DataFilesTest, AProblemThatDoesNotCompileLoadsNoData) {
    writeBytes(saved("bad.ode"), "[Main variables]\r\nx = 1\r\n[ODEs]\r\nx' = (\r\n");
    ExtendedFileWriter restart;
    restart.put(2.0L);
    ASSERT_TRUE(restart.save(saved("bad.ivp")));
    Session loaded;
    EXPECT_FALSE(loadData(loaded.state, loaded.problem, loaded.document, loaded.assembly,
                          saved("bad.ode"), loaded.ui));
    EXPECT_EQ("Cannot compile ODEs. No data loaded", loaded.ui.lastMessage());
    EXPECT_EQ(2u, loaded.ui.messages.size()); // the compiler's own message first
    EXPECT_NE(std::vector<Extended>{2}, loaded.problem.InitialValues); // the file is not read

    // The restart file is looked for first.
    std::filesystem::remove(saved("bad.ivp"));
    Session again;
    EXPECT_FALSE(loadData(again.state, again.problem, again.document, again.assembly,
                          saved("bad.ode"), again.ui));
    EXPECT_EQ("No restart data file for bad", again.ui.lastMessage());
    EXPECT_EQ(2u, again.ui.messages.size());
}

TEST_F(DataFilesTest, BadFilesOfElementsChangeNeitherTheArrayNorTheTermCount) {
    startOriginal(10, 3);
    ASSERT_TRUE(saveData(original.state, original.problem, original.document, saved("run.ode"),
                         original.assembly.FormulaList, original.ui));
    const std::string good = readBytes(saved("run.elm"));
    const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
    auto withHeader = [&](Extended p, Extended w, Extended k) {
        ExtendedFileWriter header;
        header.put(p);
        header.put(w);
        header.put(k);
        header.save(saved("header"));
        return readBytes(saved("header")) + good.substr(30);
    };
    const std::vector<std::pair<std::string, std::string>> bad{
        {"one number too many", good + std::string(10, '\0')},
        {"one number short", good.substr(0, good.size() - 10)},
        {"a byte short", good.substr(0, good.size() - 1)},
        {"header only", good.substr(0, 30)},
        {"huge point count", withHeader(1e18L, 4, 31)},
        {"NaN point count", withHeader(nan, 4, 31)},
        {"NaN term count", withHeader(4, 4, nan)},
        {"counts whose product wraps", withHeader(4294967296.0L, 4294967296.0L, 31)},
        {"a variable count the problem does not have", withHeader(8, 2, 31)},
        {"too few terms", withHeader(62, 4, 2)},
        {"no points", withHeader(0, 4, 31).substr(0, 30)},
    };
    for (const auto& [what, bytes] : bad) {
        Session loaded;
        writeBytes(saved("run.elm"), bytes);
        loaded.state.TermCount = 31;
        EXPECT_FALSE(loadData(loaded.state, loaded.problem, loaded.document, loaded.assembly,
                              saved("run.ode"), loaded.ui))
            << what;
        EXPECT_EQ(std::vector<std::string>{"Inconsistent file of elements"}, loaded.ui.messages)
            << what;
        EXPECT_TRUE(loaded.state.Results.empty()) << what;
        EXPECT_EQ(31, loaded.state.TermCount) << what;
    }
    // A file too short to hold the three counts cannot be read at all.
    for (const std::string& bytes : {std::string(), good.substr(0, 20), good.substr(0, 29)}) {
        Session loaded;
        writeBytes(saved("run.elm"), bytes);
        EXPECT_FALSE(loadData(loaded.state, loaded.problem, loaded.document, loaded.assembly,
                              saved("run.ode"), loaded.ui))
            << bytes.size();
        EXPECT_EQ(std::vector<std::string>{"Failed to open file of elements run"},
                  loaded.ui.messages)
            << bytes.size();
        EXPECT_TRUE(loaded.state.Results.empty());
    }
}

TEST(IndependentVariableOfPoint, IsTheLastSeriesThatIsOneStepOfOne) {
    const Extended point[] = {5, 1, 0, /**/ 2, 0, 0, /**/ 7, 0, 1, /**/ 1, 1, 1};
    EXPECT_EQ(2, independentVariableOfPoint(point, 4, 3));
    EXPECT_EQ(0, independentVariableOfPoint(point, 2, 3));
    const Extended none[] = {0, 0, 0, 0, 2, 0};
    EXPECT_EQ(-1, independentVariableOfPoint(none, 2, 3));
}
