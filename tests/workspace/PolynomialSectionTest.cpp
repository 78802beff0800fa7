#include "workspace/PolynomialSection.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

namespace {

DesignedPolynomial samplePolynomial() {
    DesignedPolynomial p;
    p.Name = "Pot";
    p.Variable = "vx'";
    p.IndepName = "t";
    p.IndepPart = PolynomialTable(3, 2);
    p.IndepPart.setCell(0, 0, "Constant");
    p.IndepPart.setCell(1, 0, "1");
    p.IndepPart.setCell(2, 0, "2");
    p.IndepPart.setCell(0, 1, "0");
    p.IndepPart.setCell(2, 1, "-1.5"); // the t coefficient is left empty
    p.FirstDegree = PolynomialTable(2, 2);
    p.FirstDegree.setCell(0, 0, "x");
    p.FirstDegree.setCell(0, 1, "c");
    p.FirstDegree.setCell(1, 0, "y");
    p.SecondDegree = PolynomialTable(3, 3);
    p.SecondDegree.setCell(1, 0, "x");
    p.SecondDegree.setCell(2, 0, "y");
    p.SecondDegree.setCell(0, 1, "x");
    p.SecondDegree.setCell(0, 2, "y");
    p.SecondDegree.setCell(1, 1, "2*c");
    p.SecondDegree.setCell(1, 2, "1e-3");
    return p;
}

} // namespace

TEST(PolynomialSection, IsWrittenLineForLine) {
    DesignedPolynomial second;
    second.Name = "Q";
    second.Variable = "a";
    second.IndepName = "t";
    auto lines = writePolynomialSection({samplePolynomial(), second});
    std::vector<std::string> expected{
        "[Polynomials]",
        "2",
        "Pot",
        "vx'",
        "t",
        "Q",
        "a",
        "t",
        "3 2 2 6 Pot     {1st degree, 2nd degree, # of nonzero in it }",
        "Constant",
        "0",
        "1",
        "",
        "2",
        "-1.5", // t-table, column by column
        "x",
        "c",
        "y",
        "", // first degree
        "0 1 x",
        "0 2 y",
        "1 0 x",
        "1 1 2*c",
        "1 2 1e-3",
        "2 0 y", // column-major
        "1 0 0 0 Q     {1st degree, 2nd degree, # of nonzero in it }",
        "",
        ""};
    EXPECT_EQ(expected, lines);
}

TEST(PolynomialSection, ReadsBackWhatWasWritten) {
    FakeUi ui;
    DesignedPolynomial second;
    second.Name = "Q";
    std::vector<DesignedPolynomial> written{samplePolynomial(), second};
    auto lines = writePolynomialSection(written);
    EXPECT_EQ(written, readPolynomialSection(lines, 1, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(2, written[0].degree());
}

TEST(PolynomialSection, TrimsTextsAndIgnoresTheRestOfTheCountLine) {
    FakeUi ui;
    std::vector<std::string> lines{
        "1", " P ", "x'", "t", "1 0 0 1 whatever follows", " Constant ", "  7 ", "  0 0   c * 2  "};
    auto read = readPolynomialSection(lines, 0, ui);
    ASSERT_EQ(1u, read.size());
    EXPECT_EQ("P", read[0].Name);
    EXPECT_EQ("Constant", read[0].IndepPart.cell(0, 0));
    EXPECT_EQ("7", read[0].IndepPart.cell(0, 1));
    EXPECT_EQ("c * 2", read[0].SecondDegree.cell(0, 0));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(PolynomialSection, AMalformedBlockIsReportedAndTheNextPolynomialStillRead) {
    FakeUi ui;
    // The first block's cell lies outside its 2x2 table; the second block is fine.
    std::vector<std::string> lines{"2",        "A",         "x'",        "t",        "B",
                                   "y'",       "t",         "1 0 1 1 A", "Constant", "1",
                                   "5 5 oops", "1 0 0 0 B", "Constant",  "4"};
    auto read = readPolynomialSection(lines, 0, ui);
    ASSERT_EQ(2u, read.size());
    EXPECT_EQ(std::vector<std::string>{"Not enough data for polynomials"}, ui.messages);
    EXPECT_EQ("1", read[0].IndepPart.cell(0, 1));
    EXPECT_EQ("4", read[1].IndepPart.cell(0, 1));
}

TEST(PolynomialSection, ShortAndHostileSectionsGiveOneMessageAndAllocateNothingLarge) {
    const std::vector<std::vector<std::string>> hostile{
        {"1000000000000000000", "A", "x'", "t"},               // a count far beyond the lines
        {"nan"},                                               // not a count
        {"1", "A", "x'", "t", "1000000000 0 0 0 A"},           // t-columns beyond the lines
        {"1", "A", "x'", "t", "1 0 0 1000000000 A", "C", "0"}, // cells beyond the lines
        {"1", "A", "x'", "t", "0 0 0 0 A"},
        {"1", "A", "x'", "t", "1 0 2 1 A", "C", "0",
         "0 0 x"},             // two variables, one cell                    // no t-column at all
        {"1", "A", "x'"},      // truncated triple
        {"1", "A", "x'", "t"}, // no block
        {"1", "A", "x'", "t", "1 -1 0 0 A", "C", "0"}, // negative count
    };
    for (const auto& lines : hostile) {
        FakeUi ui;
        auto read = readPolynomialSection(lines, 0, ui);
        EXPECT_EQ(std::vector<std::string>{"Not enough data for polynomials"}, ui.messages)
            << lines[0] << " " << lines.size();
        EXPECT_LE(read.size(), 1u);
    }
}

TEST(PolynomialSection, IsDueOnlyWhenTheFormulasCallAPolynomial) {
    EXPECT_TRUE(formulasMentionPolynomial({"a=1", "x'=POLYNOMIAL(P)"}));
    EXPECT_FALSE(formulasMentionPolynomial({"a=1", "x'=poly(P)"}));
    EXPECT_FALSE(formulasMentionPolynomial({}));
}
