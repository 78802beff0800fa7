#include "workspace/ScriptFile.h"
#include "common/OrvantaError.h"
#include "common/TextFile.h"
#include "support/FakeUi.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

ScriptRecord fullRecord() {
    ScriptRecord r;
    r.ProblemName = "Lorenz.ode";
    r.RadFactor = 0.25L;
    r.TermCount = 21;
    r.Direction = 1;
    r.AngleUnit = 1;
    r.Convergence = 0;
    r.Dimension = 3;
    r.Curves = {{1, 2, 3, "{x, y, z}"}, {0, 1, 0, "{t, x}"}};
    r.ResultsLength = 1000;
    r.ValuesPerPoint = 4;
    r.GraphSteps = 500;
    r.GraphFields = {"-20", "20", "-30", "30", "0", "50", "1.5"};
    r.Colours = {255, 65280};
    r.Turns = ScriptTurns{0.5L, -1.25e-3L, 3.0L};
    r.Figure = ScriptFigure{3, 2};
    return r;
}

std::string joined(std::vector<std::string> lines) {
    return joinLines(lines);
}

std::string readError(const std::string& text) {
    try {
        readScriptText(text);
    } catch (const OrvantaError& error) {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST(ScriptFile, RealsAreWrittenTwentyThreeCharactersWide) {
    EXPECT_EQ(" 5.00000000000000E-0001", formatScriptReal(0.5L));
    EXPECT_EQ("-1.25000000000000E-0003", formatScriptReal(-1.25e-3L));
    EXPECT_EQ(" 0.00000000000000E+0000", formatScriptReal(0));
    EXPECT_EQ(" 1.00000000000000E+1000", formatScriptReal(1e1000L));
    EXPECT_EQ(23u, formatScriptReal(-3.0e-4000L).size());
}

TEST(ScriptFile, IsWrittenLineByLine) {
    EXPECT_EQ(joined({"OrvantaScript:2003/08/24",
                      "Lorenz.ode",
                      "0.25 21",
                      "2 1 1 0",
                      "3",
                      "2",
                      "1 2 3",
                      "0 1 0",
                      "{x, y, z}",
                      "{t, x}",
                      "1000 4",
                      "500",
                      "-20",
                      "20",
                      "-30",
                      "30",
                      "0",
                      "50",
                      "1.5",
                      "255",
                      "65280",
                      " 5.00000000000000E-0001 -1.25000000000000E-0003  3.00000000000000E+0000",
                      "3 2"}),
              scriptText(fullRecord()));
}

TEST(ScriptFile, ReadsBackTheRecordItWrote) {
    auto record = fullRecord();
    EXPECT_EQ(record, readScriptText(scriptText(record)));
    record.Curves.clear();
    record.Colours.clear();
    EXPECT_EQ(record, readScriptText(scriptText(record)));
}

TEST(ScriptFile, AScriptEndingAfterTheGraphFieldsIsComplete) {
    auto record = fullRecord();
    record.Colours.clear();
    record.Turns.reset();
    record.Figure.reset();
    auto read = readScriptText(scriptText(record) + "\r\n  \r\n");
    EXPECT_EQ(record, read);
    EXPECT_TRUE(read.Colours.empty());
    EXPECT_FALSE(read.Turns);
}

TEST(ScriptFile, TheOptionalLastNumbersMayBeMissing) {
    auto record = fullRecord();
    record.Turns->AboutZ.reset();
    record.Figure->FirstCurve.reset();
    EXPECT_EQ(record, readScriptText(scriptText(record)));
    // Any decimal notation reads back, and fewer colours than curves end the tail there.
    std::string text =
        joined({ScriptMagic, "a.ode",  "5e-1 31", "0 0 0 1", "2",  "2",       "0 1 0",
                "0 2 0",     "{t, x}", "{t, y}",  "0 0",     "10", "",        "",
                "",          "",       "",        "",        "",   "16711680"});
    auto read = readScriptText(text);
    EXPECT_EQ(0.5L, read.RadFactor);
    EXPECT_EQ(std::vector<std::int32_t>{16711680}, read.Colours);
    EXPECT_EQ(0, read.ErrorControl);
}

TEST(ScriptFile, WritingWithErrorControlWarnsAndRecordsNoErrorControl) {
    TempFolder folder;
    FakeUi ui;
    auto record = fullRecord();
    record.ErrorControl = 0;
    ASSERT_TRUE(writeScriptFile(record, folder.path("Lorenz.ode"), ui));
    EXPECT_EQ(std::vector<std::string>{"Only \"No error control\" mode allowed in saved scripts"},
              ui.messages);
    auto read = readScriptText(*readWholeFile(folder.path("Lorenz.scr")));
    EXPECT_EQ(NoErrorControlItem, read.ErrorControl);
}

TEST(ScriptFile, BadScriptsGiveTheirMessages) {
    std::string good = scriptText(fullRecord());
    EXPECT_EQ("Incompatible script version", readError(""));
    EXPECT_EQ("Incompatible script version", readError("OrvantaScript:2003/08/24 \r\nx.ode\r\n"));
    EXPECT_EQ("Incompatible script version", readError("orvantascript:2003/08/24\r\n"));
    auto lines = splitLines(good);
    for (std::size_t keep : {1u, 2u, 5u, 9u, 18u}) {
        std::vector<std::string> cut(lines.begin(), lines.begin() + keep);
        EXPECT_EQ("Not enough data in script file", readError(joined(cut))) << keep;
    }
    const std::pair<std::size_t, const char*> broken[] = {
        {2, "abc 31"}, {2, "0.5"},  {3, "2 0 0"},  {5, "201"},
        {5, "-1"},     {6, "1 2"},  {10, "1000"},  {11, "x"},
        {19, "red"},   {21, "0.5"}, {22, "three"}, {5, "99999999999999999999"}};
    for (auto [index, text] : broken) {
        auto copy = lines;
        copy[index] = text;
        EXPECT_EQ("Not enough data in script file", readError(joined(copy)))
            << index << " " << text;
    }
}

TEST(ScriptFile, TheStepFactorIsWrittenInItsShortestExactForm) {
    EXPECT_EQ("0.5", formatShortestReal(0.5L));
    EXPECT_EQ("0.1", formatShortestReal(0.1L));
    EXPECT_EQ("1e-7", formatShortestReal(1e-7L));
    Extended third = 1.0L / 3;
    ScriptRecord record;
    record.RadFactor = third;
    EXPECT_EQ(third, readScriptText(scriptText(record)).RadFactor);
}

TEST(ScriptFile, AShortScriptKeepsWhatItReadAndSaysWhereItStopped) {
    auto lines = splitLines(scriptText(fullRecord()));
    auto cutAfter = [&](std::size_t keep) {
        return readScript(joined({lines.begin(), lines.begin() + keep}));
    };
    EXPECT_EQ(ScriptShortage::ProblemName, cutAfter(1).Shortage);
    EXPECT_EQ(ScriptShortage::Settings, cutAfter(2).Shortage);
    EXPECT_EQ("Lorenz.ode", cutAfter(2).ProblemName);
    EXPECT_EQ(ScriptShortage::Settings, cutAfter(3).Shortage);
    auto afterChoices = cutAfter(4);
    EXPECT_EQ(ScriptShortage::Graph, afterChoices.Shortage);
    EXPECT_EQ(0.25L, afterChoices.RadFactor);
    EXPECT_EQ(21, afterChoices.TermCount);
    EXPECT_EQ(1, afterChoices.Direction);
    EXPECT_EQ(0, afterChoices.Convergence);
    EXPECT_EQ(ScriptShortage::Graph, cutAfter(15).Shortage);
    auto brokenTail = lines;
    brokenTail[21] = "0.5";
    EXPECT_EQ(ScriptShortage::Graph, readScript(joined(brokenTail)).Shortage);
    EXPECT_EQ(ScriptShortage::None, readScript(scriptText(fullRecord())).Shortage);
    EXPECT_THROW(readScript("OrvantaScript:2003/08/23\r\n"), OrvantaError);
}
