// The debugging view's texts and the exact value window's split of a value into its bits.
#include "workspace/forms/DebugView.h"
#include "compiler/CompiledProblem.h"
#include "tools/ExactConversion.h"
#include "tools/forms/TCalcForm.h"

#include <gtest/gtest.h>

TEST(DebugView, NamesShowPrimesRightAlignedInTenCharacters) {
    EXPECT_EQ(debugVariableName("vxDeriv= -x"), "       vx'");
    EXPECT_EQ(debugVariableName("  alpha =2"), "     alpha");
    EXPECT_EQ(debugVariableName(""), "          ");
}

TEST(DebugView, TableHasHeadersAndDerivativesScaleByFactorial) {
    const Extended series[] = {2, 0.5L, 0.25L, 0.125L};
    const Extended constant[] = {7};
    std::vector<std::span<const Extended>> entries{std::span<const Extended>(constant, 1),
                                                   std::span<const Extended>(series, 4)};
    auto rows = debugTableTexts(entries, {"c = 7", "x = 2"}, 0, 4, false);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0],
              (std::vector<std::string>{"Index", "Variable", "Order:    0", "1", "2", "3"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"0", "         c", "7", "", "", ""}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{"1", "         x", "2", "0.5", "0.25", "0.125"}));
    auto derivatives = debugTableTexts(entries, {"c = 7", "x = 2"}, 0, 4, true);
    EXPECT_EQ(derivatives[2][5], "0.75") << "order 3 is multiplied by 3! = 6";
}

TEST(DebugView, OneTermGivesOnlyTheValueColumn) {
    auto rows = debugTableTexts({}, {}, 0, 1, false);
    ASSERT_EQ(rows.size(), 2u) << "at least one row below the header";
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Index", "Variable", "Order:    0"}));
}

TEST(DebugView, InstructionsShowTheirOperandsValues) {
    CoefficientTable values;
    values.layout({1, 1, 1});
    values[0][0] = 0.5L;
    values[1][0] = 2;
    values[2][0] = 1;
    auto shown = [&](std::uint16_t op) {
        TInstruction instruction;
        instruction.Op = op;
        instruction.Op1 = 1;
        instruction.Op2 = 0;
        instruction.Res = 2;
        return instructionWithValues(instruction, values);
    };
    EXPECT_EQ(shown(OpSin), "1 = sin(2){0.5}");
    EXPECT_EQ(shown(OpExp), "1 = exp(2)");
    EXPECT_EQ(shown(OpLog), "1 = log(2,0.5)");
    EXPECT_EQ(shown(OpFactorial), "1 = 2!");
    EXPECT_EQ(shown(OpOnePlusSquare), "1 = 1 + (2)^2");
    EXPECT_EQ(shown(OpSquare), "1 = (2)^2");
    EXPECT_EQ(shown(OpOneMinusSquare), "1 = 1 - (2)^2");
    EXPECT_EQ(shown(OpCopy), "1 = 2");
    EXPECT_EQ(shown(OpDiv), "1 = (2) / (0.5)");
}

TEST(ExactValue, SignificandAndExponentOfAValue) {
    ExtendedParts tenth = extendedParts(0.1L);
    EXPECT_EQ(tenth.mantissa, "CCCCCCCCCCCCCCCD");
    EXPECT_EQ(tenth.exponent, -3);
    ExtendedParts negative = extendedParts(-0.1L);
    EXPECT_EQ(negative.mantissa, tenth.mantissa) << "the sign is not part of the significand";
    EXPECT_EQ(extendedParts(1).mantissa, "8000000000000000");
    EXPECT_EQ(extendedParts(1).exponent, 1);
    EXPECT_EQ(extendedParts(0).mantissa, "0000000000000000");
}
