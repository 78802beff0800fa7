// The numbered-sample runner's catalogues: headers, list lines, and the constants they fill.
#include "workspace/NumberedSamples.h"
#include "common/TextFile.h"
#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"
#include "support/FakeUi.h"
#include "support/Paths.h"
#include "support/TempFolder.h"
#include "workspace/ProblemDocument.h"
#include "workspace/ProblemFile.h"

#include <gtest/gtest.h>

namespace {

struct NumberedSamplesTest : ::testing::Test {
    TempFolder folder;
    FakeUi ui;

    SampleCatalog catalogOf(int kind, const std::vector<std::string>& lines) {
        writeBytes(folder.path("list.txt"), joinLines(lines));
        return {kind,   static_cast<int>(lines.size()), 2,
                "Test", folder.path("list.txt"),        folder.path("problem.ode")};
    }
};

} // namespace

TEST_F(NumberedSamplesTest, OrbitOneReadsTheFirstLineAndAnyOtherItsOwn) {
    const SampleCatalog catalog =
        catalogOf(2, {"0.3471168881 0.5327249454 6.3259139829 I.A i.c. 1 (figure-eight)",
                      "0.25 -0.5 7 second", "1e-3 2 3.5"});
    auto first = readOrbit(catalog, 1, ui);
    ASSERT_TRUE(first);
    EXPECT_EQ((std::vector<Extended>{0.3471168881L, 0.5327249454L}), first->Parameters);
    EXPECT_EQ(6.3259139829L, first->Period);
    EXPECT_EQ("I.A i.c. 1 (figure-eight)", first->Type);
    auto second = readOrbit(catalog, 2, ui);
    ASSERT_TRUE(second);
    EXPECT_EQ(-0.5L, second->Parameters[1]);
    EXPECT_EQ("second", second->Type);
    // A kind-2 line with nothing after the period is named by its number.
    auto third = readOrbit(catalog, 3, ui);
    ASSERT_TRUE(third);
    EXPECT_EQ("3", third->Type);
    EXPECT_EQ(3.5L, third->Period);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(NumberedSamplesTest, KindFiveReadsFourParametersAndTheMass) {
    const SampleCatalog catalog =
        catalogOf(5, {"0.142545600211905 0.349739525795482 0.602459695802159 "
                      "0.00562585581220896 1.0 44.4132581514811 O62(1.0) U choreography"});
    auto orbit = readOrbit(catalog, 1, ui);
    ASSERT_TRUE(orbit);
    ASSERT_EQ(5u, orbit->Parameters.size());
    EXPECT_EQ(1.0L, orbit->Parameters[4]);
    EXPECT_EQ(44.4132581514811L, orbit->Period);
    EXPECT_EQ("O62(1.0) U choreography", orbit->Type);
}

TEST_F(NumberedSamplesTest, AWrongKindOrAShortOrBadLineSaysTheListIsWrong) {
    const std::string wrong = "File " + folder.path("list.txt") + " wrong";
    EXPECT_FALSE(readOrbit(catalogOf(3, {"1 2 3 4"}), 1, ui));
    EXPECT_FALSE(readOrbit(catalogOf(2, {"1 2"}), 1, ui));   // no period
    EXPECT_FALSE(readOrbit(catalogOf(2, {"1 x 3"}), 1, ui)); // not a number
    EXPECT_FALSE(readOrbit(catalogOf(2, {"1 2 3"}), 2, ui)); // past the end
    EXPECT_EQ(std::vector<std::string>(4, wrong), ui.messages);
    SampleCatalog missing = catalogOf(2, {});
    missing.ListPath = folder.path("gone.txt");
    EXPECT_FALSE(readOrbit(missing, 1, ui));
    EXPECT_EQ("Cannot open file " + folder.path("gone.txt"), ui.lastMessage());
}

TEST_F(NumberedSamplesTest, AHeaderWithKindThreeMakesEveryRunSayTheListIsWrong) {
    writeBytes(folder.path("three.hdr"), joinLines({"3 10 2", "Somebody", "list.txt", "p.ode"}));
    writeBytes(folder.path("list.txt"), joinLines({"1 2 3 4 5"}));
    auto catalog = readCatalogHeader(folder.path("three.hdr"), ui);
    ASSERT_TRUE(catalog);
    EXPECT_EQ(3, catalog->Kind);
    EXPECT_EQ(10, catalog->Count);
    EXPECT_EQ("Simulations by Somebody", runnerCaption(*catalog));
    EXPECT_EQ("Enter number of the sample to run between 1 and 10", runnerPrompt(*catalog));
    EXPECT_EQ(folder.path("list.txt"), catalog->ListPath);
    EXPECT_EQ(folder.path("p.ode"), catalog->ProblemPath);
    for (int k : {1, 5})
        EXPECT_FALSE(readOrbit(*catalog, k, ui));
    EXPECT_EQ(std::vector<std::string>(2, "File " + folder.path("list.txt") + " wrong"),
              ui.messages);
}

TEST_F(NumberedSamplesTest, AHeaderWithoutItsFourLinesOrNumbersIsRefused) {
    writeBytes(folder.path("short.hdr"), joinLines({"2 10 2", "Somebody"}));
    EXPECT_FALSE(readCatalogHeader(folder.path("short.hdr"), ui));
    writeBytes(folder.path("bad.hdr"), joinLines({"two", "T", "l", "p"}));
    EXPECT_FALSE(readCatalogHeader(folder.path("bad.hdr"), ui));
    EXPECT_EQ((std::vector<std::string>{"File " + folder.path("short.hdr") + " wrong",
                                        "File " + folder.path("bad.hdr") + " wrong"}),
              ui.messages);
}

TEST_F(NumberedSamplesTest, TheChosenNumberIsCheckedAgainstTheCount) {
    const SampleCatalog catalog{2, 30, 2, "T", "", ""};
    EXPECT_EQ(18, chosenOrbit(" 18 ", catalog, ui));
    EXPECT_EQ(1, chosenOrbit("eighteen", catalog, ui)); // unreadable runs orbit 1
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(chosenOrbit("0", catalog, ui));
    EXPECT_FALSE(chosenOrbit("31", catalog, ui));
    EXPECT_EQ(std::vector<std::string>(2, "Not in range"), ui.messages);
}

TEST_F(NumberedSamplesTest, TheOrbitIsWrittenIntoTheConstantsAfterTheirFirstLine) {
    SampleOrbit orbit{18, {0.2104156341L, 0.1080829305L}, 5.3952449725L, "F18(1,1,1)"};
    SampleCatalog catalog{2, 30, 2, "Free fall", "", "FreeFall1.ode"};
    std::vector<std::string> constants = {"p = -1.5", "a = 1", "b = 2", "q = 3"};
    ASSERT_TRUE(writeOrbitConstants(constants, orbit, catalog, ui));
    EXPECT_EQ((std::vector<std::string>{"p = -1.5",
                                        "a = 0.2104156341 { period 5.3952449725, type F18(1,1,1)}",
                                        "b = 0.1080829305", "q = 3"}),
              constants);
    EXPECT_EQ("Free fall #18 (F18(1,1,1))", orbitCaption(catalog, orbit));
    // Kind 5 fills c, d and m as well; a pane without room for them is refused.
    orbit.Parameters = {1, 2, 3, 4, 0.5L};
    std::vector<std::string> shortPane = {"p = -1.5", "a = 1", "b = 2"};
    EXPECT_FALSE(writeOrbitConstants(shortPane, orbit, catalog, ui));
    EXPECT_EQ("File FreeFall1.ode wrong", ui.lastMessage());
    std::vector<std::string> pane(6, "x = 0");
    ASSERT_TRUE(writeOrbitConstants(pane, orbit, catalog, ui));
    EXPECT_EQ("c = 3", pane[3]);
    EXPECT_EQ("d = 4", pane[4]);
    EXPECT_EQ("m = 0.5", pane[5]);
}

TEST_F(NumberedSamplesTest, TheShippedCataloguesMatchTheirHeadersAndProblems) {
    for (const char* name :
         {"FreeFall", "I2A", "FreeFallMasses", "UnequalMass", "Choreographies3D", "PianoTrio3D"}) {
        SCOPED_TRACE(name);
        auto catalog = readCatalogHeader(sourcePath("Samples/Periodic/") + name + ".hdr", ui);
        ASSERT_TRUE(catalog);
        auto lines = splitLines(*readWholeFile(catalog->ListPath));
        EXPECT_EQ(static_cast<std::size_t>(catalog->Count), lines.size());
        auto last = readOrbit(*catalog, catalog->Count, ui);
        ASSERT_TRUE(last);
        EXPECT_EQ(static_cast<std::size_t>(catalog->Kind), last->Parameters.size());
        ProblemDocument document;
        TCompiledProblem problem;
        ProgramState state;
        ASSERT_TRUE(loadProblemFile(document, problem, state, catalog->ProblemPath, ui));
        EXPECT_TRUE(writeOrbitConstants(document.Panes.Constants, *last, *catalog, ui));
    }
    EXPECT_TRUE(ui.messages.empty()) << ui.lastMessage();
    // The Demo menu's presets are the same catalogues.
    EXPECT_EQ(30, freeFallCatalog(sourcePath("")).Count);
    EXPECT_EQ(695, closedOrbitsCatalog(sourcePath("")).Count);
    EXPECT_EQ(4, choreographyCatalog(sourcePath("")).Count);
    auto presetOrbit = readOrbit(choreographyCatalog(sourcePath("")), 4, ui);
    ASSERT_TRUE(presetOrbit);
    EXPECT_EQ("O524(1.0) S choreography", presetOrbit->Type);
}
