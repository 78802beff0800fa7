#include "workspace/ProblemFile.h"
#include "compiler/CompiledProblem.h"
#include "integrator/ProgramState.h"
#include "support/FakeUi.h"
#include "support/TempFolder.h"
#include "workspace/ExtendedFile.h"
#include "workspace/PolynomialSection.h"

#include <gtest/gtest.h>

namespace {

struct ProblemFileTest : ::testing::Test {
    TempFolder folder;
    FakeUi ui;
    ProblemDocument document;
    TCompiledProblem problem;
    ProgramState state;

    ProblemDocument sampleDocument() {
        ProblemDocument d;
        d.Panes.Constants = {"  a = 2  ", "", "b=3 {comment}"};
        d.Panes.Initial = {"t = 0", "\tx = a"};
        d.Panes.ODEs = {"t' = 1", "", "x' = -b*x"};
        return d;
    }
};

} // namespace

TEST_F(ProblemFileTest, IsWrittenAsFourSectionsWithTheLinesUnchanged) {
    ProblemDocument d = sampleDocument();
    ASSERT_TRUE(writeProblemFile(d, folder.path("decay.ode"), {}, ui));
    EXPECT_EQ("[Constants]\r\n  a = 2  \r\n\r\nb=3 {comment}\r\n\r\n"
              "[Main variables]\r\nt = 0\r\n\tx = a\r\n\r\n"
              "[Aux variables]\r\n\r\n"
              "[ODEs]\r\nt' = 1\r\n\r\nx' = -b*x\r\n\r\n",
              readBytes(folder.path("decay.ode")));
    EXPECT_EQ("decay", d.Caption);
    EXPECT_FALSE(d.Modified);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProblemFileTest, ReadsBackTheLinesTrimmedAndWithoutEmptyOnes) {
    ProblemDocument d = sampleDocument();
    ASSERT_TRUE(writeProblemFile(d, folder.path("decay.ode"), {}, ui));
    document.Modified = true;
    ASSERT_TRUE(loadProblemFile(document, problem, state, folder.path("decay.ode"), ui));
    EXPECT_EQ((std::vector<std::string>{"a = 2", "b=3 {comment}"}), document.Panes.Constants);
    EXPECT_EQ((std::vector<std::string>{"t = 0", "x = a"}), document.Panes.Initial);
    EXPECT_TRUE(document.Panes.Aux.empty());
    EXPECT_EQ((std::vector<std::string>{"t' = 1", "x' = -b*x"}), document.Panes.ODEs);
    EXPECT_EQ(folder.path("decay.ode"), document.Path);
    EXPECT_EQ("decay", document.Caption);
    EXPECT_FALSE(document.Modified);
    EXPECT_FALSE(problem.hasSpecialPoint());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProblemFileTest, TheExtensionIsComparedInLowerCase) {
    writeBytes(folder.path("Upper.ODE"), "[ODEs]\r\nx' = 1\r\n");
    ASSERT_TRUE(readProblemDocument(document, folder.path("Upper.ODE"), ui));
    EXPECT_EQ(std::vector<std::string>{"x' = 1"}, document.Panes.ODEs);
    EXPECT_EQ("Upper", document.Caption);
}

TEST_F(ProblemFileTest, AFailedOpenLeavesThePreviousProblemInPlace) {
    document = sampleDocument();
    document.Path = "/somewhere/decay.ode";
    const ProblemPanes before = document.Panes;
    writeBytes(folder.path("notes.txt"), "[ODEs]\r\nx' = 1\r\n");
    EXPECT_FALSE(readProblemDocument(document, folder.path("notes.txt"), ui));
    EXPECT_FALSE(readProblemDocument(document, folder.path("missing.ode"), ui));
    EXPECT_EQ((std::vector<std::string>{"Wrong file extension",
                                        "Cannot open " + folder.path("missing.ode")}),
              ui.messages);
    EXPECT_EQ(before.Constants, document.Panes.Constants);
    EXPECT_EQ(before.ODEs, document.Panes.ODEs);
    EXPECT_EQ("/somewhere/decay.ode", document.Path);
    EXPECT_TRUE(document.Modified); // Save was enabled before the check
}

TEST_F(ProblemFileTest, HeadersDecideThePanes) {
    writeBytes(folder.path("odd.ode"), "x = 1\n  [ODEs]  \nx' = 2\n\n[Main variables]\r x = 1 \r"
                                       "[ODEs]\n[odes]\n");
    ASSERT_TRUE(readProblemDocument(document, folder.path("odd.ode"), ui));
    EXPECT_TRUE(document.Panes.Constants.empty()); // the line before any header is dropped
    EXPECT_EQ((std::vector<std::string>{"x' = 2", "[odes]"}), document.Panes.ODEs);
    EXPECT_EQ(std::vector<std::string>{"x = 1"}, document.Panes.Initial);

    writeBytes(folder.path("plain.ode"), "x' = 1\r\nno headers at all\r\n");
    ASSERT_TRUE(readProblemDocument(document, folder.path("plain.ode"), ui));
    EXPECT_TRUE(document.Panes.ODEs.empty() && document.Panes.Initial.empty());
}

TEST_F(ProblemFileTest, ThePolynomialSectionIsWrittenOnlyWhenTheFormulasCallAPolynomial) {
    ProblemDocument d = sampleDocument();
    DesignedPolynomial p;
    p.Name = "P";
    p.Variable = "x'";
    p.IndepName = "t";
    p.IndepPart.setCell(0, 0, "Constant");
    p.IndepPart.setCell(0, 1, "4");
    d.Polynomials = {p};
    // Never compiled: no formula list, no section.
    ASSERT_TRUE(writeProblemFile(d, folder.path("poly.ode"), {}, ui));
    EXPECT_EQ(std::string::npos, readBytes(folder.path("poly.ode")).find("[Polynomials]"));

    ASSERT_TRUE(writeProblemFile(d, folder.path("poly.ode"), {"xDeriv = Polynomial(0)"}, ui));
    std::string text = readBytes(folder.path("poly.ode"));
    EXPECT_NE(std::string::npos,
              text.find("[ODEs]\r\nt' = 1\r\n\r\nx' = -b*x\r\n\r\n[Polynomials]\r\n1\r\nP\r\n"));
    ASSERT_TRUE(readProblemDocument(document, folder.path("poly.ode"), ui));
    EXPECT_EQ(d.Polynomials, document.Polynomials);
    // Opening a file without the section removes the designed polynomials.
    ASSERT_TRUE(writeProblemFile(d, folder.path("plain.ode"), {}, ui));
    ASSERT_TRUE(readProblemDocument(document, folder.path("plain.ode"), ui));
    EXPECT_TRUE(document.Polynomials.empty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProblemFileTest, SavingUnderAnotherExtensionWritesAnOdeFile) {
    document = sampleDocument();
    ASSERT_TRUE(writeProblemFile(document, folder.path("renamed.txt"), {}, ui));
    EXPECT_EQ(folder.path("renamed.ode"), document.Path);
    EXPECT_FALSE(std::filesystem::exists(folder.path("renamed.txt")));
    EXPECT_TRUE(std::filesystem::exists(folder.path("renamed.ode")));
    EXPECT_EQ("renamed", document.Caption);
}

TEST_F(ProblemFileTest, FailedSavesAreReported) {
    document = sampleDocument();
    document.Modified = true;
    EXPECT_FALSE(writeProblemFile(document, "", {}, ui));
    EXPECT_FALSE(writeProblemFile(document, "/no-such-folder/a.ode", {}, ui));
    EXPECT_EQ(
        (std::vector<std::string>{"No file name specified", "Cannot save /no-such-folder/a.ode"}),
        ui.messages);
    EXPECT_EQ("/no-such-folder/a.ode", document.Path);
    EXPECT_TRUE(document.Modified);
}

TEST_F(ProblemFileTest, OpeningLoadsTheSpecialPointBesideTheFile) {
    ProblemDocument d = sampleDocument();
    ASSERT_TRUE(writeProblemFile(d, folder.path("decay.ode"), {}, ui));
    ExtendedFileWriter sing;
    sing.put(2.5L);
    for (int k = 0; k < state.TermCount; ++k)
        sing.put(k == 1 ? 1.0L : 0.0L);
    ASSERT_TRUE(sing.save(folder.path("decay.sing")));
    ASSERT_TRUE(loadProblemFile(document, problem, state, folder.path("decay.ode"), ui));
    ASSERT_TRUE(problem.hasSpecialPoint());
    EXPECT_EQ(2.5L, problem.SpecialPoint);
    EXPECT_EQ(static_cast<std::size_t>(state.TermCount), problem.SpecialValues.size());
}

TEST(ProblemDocument, ClearingAndEditingFollowTheSaveState) {
    ProblemDocument d;
    EXPECT_EQ("Unnamed ODEs", d.Caption);
    EXPECT_TRUE(d.markEdited());
    EXPECT_FALSE(d.markEdited());
    FakeUi ui;
    ui.confirmAnswers = {false, true};
    EXPECT_FALSE(confirmDiscard(d, ui));
    EXPECT_TRUE(confirmDiscard(d, ui));
    EXPECT_EQ("Unnamed ODEs not saved. Go ahead anyway? ", ui.lastMessage());
    d.Path = "x.ode";
    d.Panes.ODEs = {"x' = 1"};
    d.clear();
    EXPECT_EQ("Unnamed", d.Caption);
    EXPECT_TRUE(d.Path.empty() && d.Panes.ODEs.empty() && !d.Modified);
    EXPECT_TRUE(confirmDiscard(d, ui));
    EXPECT_EQ(2u, ui.messages.size());
}
